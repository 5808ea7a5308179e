// The progress window on the panel sizes the mill uses: both tabs with data, every control
// inside its frame, captions and grid captions whole, buttons finger sized with their caption.
#include "ProgressFixture.h"

#include "stations/progress/WorkloadListPart.h"
#include "support/LayoutCheck.h"
#include "widgets/EditGrid.h"

#include <QPushButton>
#include <QTabWidget>
#include <QTest>

class TestWorkloadLayout : public QObject {
    Q_OBJECT
private slots:
    void fitsThePanel_data()
    {
        QTest::addColumn<QSize>("size");
        for (const QSize s : {QSize(1024, 768), QSize(1366, 768), QSize(1920, 1080)})
            QTest::newRow(qPrintable(QString("%1x%2").arg(s.width()).arg(s.height()))) << s;
    }
    void fitsThePanel()
    {
        QFETCH(QSize, size);
        ProgressFixture fx("Projects=织造,配布,染色,定型,复检,包装,验布,打卷,全部配布,\n");
        fx.exec("insert into BillStatusDetail(barcode,billstatus,viewcount,viewnumber,usercode,remark,endUser) values('K002','织造',1250.5,21,'001','第一缸','001')");
        frmWorkload& f = fx.open();
        f.resize(size);
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        fx.enter("K002", 1, "001");
        for (int tab = 0; tab < 2; ++tab) {
            f.SSTab1->setCurrentIndex(tab);
            if (tab == 1)
                QTest::mouseClick(f.list()->SearchWLBtn[0], Qt::LeftButton);
            QCoreApplication::processEvents();
            const QString where = QString("%1 tab %2").arg(size.width()).arg(tab);
            checkInsideAndReadable(f, where);
            for (const QPushButton* b : f.findChildren<QPushButton*>())
                if (b->isVisible())
                    QVERIFY2(b->fontMetrics().horizontalAdvance(b->text()) < b->width() && b->height() >= 36,
                             qPrintable(b->objectName() + " at " + where));
            const QString dir = qEnvironmentVariable("MIREL_SHOT_DIR");
            if (!dir.isEmpty())
                f.grab().save(dir + "/load-" + QString::number(size.width()) + "-" + QString::number(tab) + ".png");
        }
        QCOMPARE(f.list()->pggBase->rows(), 2);
    }
};

QTEST_MAIN(TestWorkloadLayout)
#include "TestWorkloadLayout.moc"
