// The mark-label and fiber-box windows with their pallet lists, and the item selection dialog
// with its results, on the panel sizes the mill uses: commands in view, controls inside their
// frames, captions and list columns whole.
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
    // The pallet list open, as the stations start: the mark labels with three packages, the
    // fiber boxes one box short of a full pallet.
    void stationFitsThePanel_data()
    {
        QTest::addColumn<bool>("fiberBox");
        QTest::addColumn<QSize>("size");
        for (const QSize& s : {QSize(1024, 768), QSize(1366, 768), QSize(1920, 1080)})
            for (bool fiberBox : {false, true})
                QTest::addRow("%s %dx%d", fiberBox ? "huaxian" : "maitou", s.width(), s.height()) << fiberBox << s;
    }
    void stationFitsThePanel()
    {
        QFETCH(bool, fiberBox);
        QFETCH(QSize, size);
        const QString where = QString::number(size.width());
        CheckFixture fx;
        stackBoxes(fx, u"241206003"_s, fiberBox ? 18 : 0);
        frmMaitou& f = openMaitou(fx, fiberBox);
        QVERIFY(showWithParts(f, size));
        const auto& c = f.controls();
        chooseItem(f, u"府绸"_s);
        c.TxtBox[5]->setText(u"20"_s);
        c.TxtBox[14]->setText(u"21.36"_s);
        if (fiberBox) {
            save(f, u"20.86"_s);
            QCOMPARE(f.palletSummary()->text(), u"净重:389.86  箱数:19"_s);
            for (const auto& [field, caption] : {std::pair{7, "净重"}, {14, "毛重"}, {18, "箱号"}, {3, "批号"}, {20, "筒数"}})
                QCOMPARE(c.TxtBox[field]->accessibleName(), QString::fromUtf8(caption));
        } else {
            QTest::mouseClick(f.cmdBangbtn(), Qt::LeftButton);
            for (const char* q : {"25.5", "30", "28.8"})
                save(f, QString::fromLatin1(q));
            QCOMPARE(f.ppgCheckGrid2()->rows(), 4);
        }
        QCOMPARE(c.SSTab1->currentWidget(), f.ppgCheckGrid2()->parentWidget());
        checkInsideAndReadable(f, where);
        checkLabelsWhole(f, where);
        // The commands stay in view beside the pallet's list, which has room for four packages
        // without scrolling and reads its pallet numbers whole.
        checkCommandsInView(f, where);
        const QTableWidget* list = f.ppgCheckGrid2()->table();
        QVERIFY2(list->viewport()->height() >= 4 * list->rowHeight(0),
                 qPrintable(u"list %1 high, rows %2"_s.arg(list->viewport()->height()).arg(list->rowHeight(0))));
        const int pallet = int(f.ppgCheckGrid2()->header().indexOf(u"板号"_s));
        QVERIFY(list->fontMetrics().horizontalAdvance(f.ppgCheckGrid2()->textMatrix(1, pallet)) < list->columnWidth(pallet));
        // The new controls are finger sized and do not cover the fields beside them.
        for (QWidget* w : {static_cast<QWidget*>(f.cmdSelectItem()), static_cast<QWidget*>(f.cmdBangbtn())}) {
            QVERIFY2(w->height() >= size.height() / 30, qPrintable(w->objectName()));
            for (QWidget* other : c.Frame6->findChildren<QWidget*>())
                if (other != w && other->isVisible() && other->parentWidget() == w->parentWidget())
                    QVERIFY2(!other->geometry().intersects(w->geometry()), qPrintable(w->objectName() + " covers " + other->objectName()));
        }
        QVERIFY(f.cmdBangbtn()->fontMetrics().horizontalAdvance(f.cmdBangbtn()->text()) < f.cmdBangbtn()->width());
        shoot(f, fiberBox ? u"huaxian"_s : u"maitou"_s, size);
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
