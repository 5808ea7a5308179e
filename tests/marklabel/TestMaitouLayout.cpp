// The mark-label window with its pallet list, and the item selection dialog with its results,
// on the panel sizes the mill uses: controls inside their frames, captions whole.
#include "MaitouFixture.h"

#include "dialogs/frmArticle.h"

#include "support/LayoutCheck.h"
#include "widgets/ComboEx.h"

#include <QLabel>
#include <QGroupBox>
#include <QTabWidget>
#include <QTableWidget>

using namespace Qt::StringLiterals;

namespace {

void sizes()
{
    QTest::addColumn<QSize>("size");
    for (const QSize& s : {QSize(1024, 768), QSize(1366, 768), QSize(1920, 1080)})
        QTest::newRow(qPrintable(u"%1x%2"_s.arg(s.width()).arg(s.height()))) << s;
}

void shoot(QWidget& w, const QString& name, const QSize& size)
{
    const QString dir = qEnvironmentVariable("MIREL_SHOT_DIR");
    if (!dir.isEmpty())
        w.grab().save(dir + u'/' + name + u'-' + QString::number(size.width()) + u".png"_s);
}

} // namespace

class TestMaitouLayout : public QObject {
    Q_OBJECT
private slots:
    void stationFitsThePanel_data() { sizes(); }
    void stationFitsThePanel()
    {
        QFETCH(QSize, size);
        CheckFixture fx;
        frmMaitou& f = openMaitou(fx);
        QVERIFY(showWithParts(f, size));
        chooseItem(f, u"府绸"_s);
        QTest::mouseClick(f.cmdBangbtn(), Qt::LeftButton);
        for (const char* q : {"25.5", "30", "28.8"}) {
            f.controls().TxtBox[7]->setText(QString::fromLatin1(q));
            QTest::mouseClick(f.controls().checkCommand[2], Qt::LeftButton);
        }
        QCOMPARE(f.ppgCheckGrid2()->rows(), 4);
        QCOMPARE(f.controls().SSTab1->currentWidget(), f.ppgCheckGrid2()->parentWidget());
        checkInsideAndReadable(f, QString::number(size.width()));
        checkLabelsWhole(f, QString::number(size.width()));
        // The commands stay in view beside the pallet's list, which has room for four packages
        // without scrolling and reads its pallet numbers whole.
        checkCommandsInView(f, QString::number(size.width()));
        const QTableWidget* list = f.ppgCheckGrid2()->table();
        QVERIFY2(list->viewport()->height() >= 4 * list->rowHeight(0),
                 qPrintable(u"list %1 high, rows %2"_s.arg(list->viewport()->height())
                                .arg(list->rowHeight(0))));
        const int pallet = int(f.ppgCheckGrid2()->header().indexOf(u"板号"_s));
        QVERIFY(pallet >= 0);
        QVERIFY2(list->fontMetrics().horizontalAdvance(f.ppgCheckGrid2()->textMatrix(1, pallet)) < list->columnWidth(pallet),
                 qPrintable(f.ppgCheckGrid2()->textMatrix(1, pallet)));
        // The new controls are finger sized and do not cover the fields beside them.
        for (QWidget* w : {static_cast<QWidget*>(f.cmdSelectItem()), static_cast<QWidget*>(f.cmdBangbtn())}) {
            QVERIFY2(w->height() >= size.height() / 30, qPrintable(w->objectName()));
            for (QWidget* other : f.controls().Frame6->findChildren<QWidget*>())
                if (other != w && other->isVisible() && other->parentWidget() == w->parentWidget())
                    QVERIFY2(!other->geometry().intersects(w->geometry()),
                             qPrintable(w->objectName() + " covers " + other->objectName()));
        }
        QVERIFY(f.cmdBangbtn()->fontMetrics().horizontalAdvance(f.cmdBangbtn()->text())
                < f.cmdBangbtn()->width());
        shoot(f, u"maitou"_s, size);
    }

    void dialogFitsThePanel_data() { sizes(); }
    void dialogFitsThePanel()
    {
        QFETCH(QSize, size);
        CheckFixture fx;
        fx.exec(u"insert into item(itemname,itemcode,itemspec,itemclass,isstop) values"
                "('全棉府绸','T02','40x40 133x100',1,0),('涤棉府绸弹力','T03','45x45 110x76',1,0)"_s);
        QWidget station;
        station.resize(size);
        station.show();
        frmSelectItem d(&station);
        d.prepare(nullptr, u"府绸"_s, 0, 0);
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        QCOMPARE(d.girdItem()->rows(), 4);
        QVERIFY(d.width() <= size.width() && d.height() <= size.height());
        for (QWidget* w : d.findChildren<QWidget*>())
            if (w->isVisible() && w->parentWidget() && !w->isWindow()
                && (w->parentWidget() == &d || w->parentWidget()->objectName() == u"Frame1"_s))
                QVERIFY2(w->parentWidget()->rect().contains(w->geometry()), qPrintable(w->objectName()));
        checkInsideAndReadable(d, QString::number(size.width()));
        for (QPushButton* b : d.findChildren<QPushButton*>())
            QVERIFY2(b->fontMetrics().horizontalAdvance(b->text()) < b->width(), qPrintable(b->text()));
        shoot(d, u"select-item"_s, size);
        // The article form behind 新增商品 / 修改商品, over the same station.
        frmArticle article(&station);
        article.prepare(ItemArticle{});
        article.show();
        QVERIFY(QTest::qWaitForWindowExposed(&article));
        QVERIFY(article.width() <= size.width() && article.height() <= size.height());
        checkInsideAndReadable(article, QString::number(size.width()));
        for (QPushButton* b : article.findChildren<QPushButton*>())
            QVERIFY2(b->fontMetrics().horizontalAdvance(b->text()) < b->width(), qPrintable(b->text()));
        shoot(article, u"article"_s, size);
    }
};

QTEST_MAIN(TestMaitouLayout)
#include "TestMaitouLayout.moc"
