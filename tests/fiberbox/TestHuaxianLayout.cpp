// The fiber box window near a full pallet on the panel sizes the mill uses: controls inside their
// frames, captions and the box list's columns whole.
#include "HuaxianFixture.h"

#include "support/LayoutCheck.h"

#include <QLabel>
#include <QTabWidget>
#include <QTableWidget>

using namespace Qt::StringLiterals;

class TestHuaxianLayout : public QObject {
    Q_OBJECT
private slots:
    void stationFitsThePanel_data()
    {
        QTest::addColumn<QSize>("size");
        for (const QSize& s : {QSize(1024, 768), QSize(1366, 768), QSize(1920, 1080)})
            QTest::newRow(qPrintable(u"%1x%2"_s.arg(s.width()).arg(s.height()))) << s;
    }
    void stationFitsThePanel()
    {
        QFETCH(QSize, size);
        CheckFixture fx;
        stackBoxes(fx, u"241206003"_s, 18);
        frmHuaxian& f = openHuaxian(fx);
        QVERIFY(showWithParts(f, size));
        chooseItem(f, u"府绸"_s);
        f.controls().TxtBox[5]->setText(u"20"_s);
        f.controls().TxtBox[14]->setText(u"21.36"_s);
        saveBox(f, u"20.86"_s);
        QCOMPARE(f.ppgCheckGrid2()->rows(), 20); // 19 boxes: one short of the full pallet
        QCOMPARE(f.palletSummary()->text(), u"净重:389.86  箱数:19"_s);
        for (const auto& [field, caption] : {std::pair{7, "净重"}, {14, "毛重"}, {18, "箱号"}, {3, "批号"}, {20, "筒数"}})
            QCOMPARE(f.controls().TxtBox[field]->accessibleName(), QString::fromUtf8(caption));
        checkInsideAndReadable(f, QString::number(size.width()));
        checkCommandsInView(f, QString::number(size.width()));
        const QTableWidget* list = f.ppgCheckGrid2()->table(); // four boxes in view at least
        QVERIFY(list->viewport()->height() >= 4 * list->rowHeight(0));
        const QString dir = qEnvironmentVariable("MIREL_SHOT_DIR");
        if (!dir.isEmpty())
            f.grab().save(dir + u"/huaxian-"_s + QString::number(size.width()) + u".png"_s);
    }
};

QTEST_MAIN(TestHuaxianLayout)
#include "TestHuaxianLayout.moc"
