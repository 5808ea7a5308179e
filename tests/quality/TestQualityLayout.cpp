// The quality window on the panel sizes of the mill: every control inside its frame, captions,
// figures and table captions whole, the charts side by side without overlapping, with and
// without a touched bar.
#include "QualityFixture.h"

#include "stations/quality/QualityChartViews.h"
#include "support/LayoutCheck.h"

#include <QFrame>
#include <QTabWidget>
#include <QTest>

class TestQualityLayout : public QObject {
    Q_OBJECT
private slots:
    void fitsThePanel_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("touched");
        for (const QSize& s : {QSize(1024, 768), QSize(1366, 768), QSize(1920, 1080)})
            for (bool touched : {false, true})
                QTest::newRow(
                    qPrintable(QStringLiteral("%1x%2%3")
                                   .arg(s.width())
                                   .arg(s.height())
                                   .arg(touched ? QStringLiteral(" touched") : QString())))
                    << s << touched;
    }
    void fitsThePanel()
    {
        QFETCH(QSize, size);
        QFETCH(bool, touched);
        QualityFixture fx;
        frmQuality& f = fx.open();
        f.resize(size);
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        if (touched) {
            f.touchDefect(QStringLiteral("破洞"));
            f.touchDay(QDate(2026, 11, 2), QStringLiteral("A品"));
        }
        const QString where = QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
        checkInsideAndReadable(f, where);
        checkLabelsWhole(f, where);
        QList<QWidget*> blocks = f.charts()->views();
        blocks << f.tabTables;
        for (QWidget* w : f.figureBox)
            blocks << w;
        for (int i = 0; i < blocks.size(); ++i) {
            QVERIFY2(f.rect().contains(blocks[i]->geometry()), qPrintable(blocks[i]->objectName()));
            for (int j = i + 1; j < blocks.size(); ++j)
                QVERIFY2(!blocks[i]->geometry().intersects(blocks[j]->geometry()),
                         qPrintable(blocks[i]->objectName() + " over " + blocks[j]->objectName()));
        }
        // The charts grow with the panel: a bigger panel never gets smaller charts.
        QVERIFY(f.charts()->pareto()->width() >= size.width() * 45 / 100);
        QVERIFY(f.charts()->pareto()->height() >= size.height() * 30 / 100);
    }
};

QTEST_MAIN(TestQualityLayout)
#include "TestQualityLayout.moc"
