// The quality window worked as the quality office works it: bars touched with the mouse narrow
// the other views, bad filters and a vanished database give a message and keep the overview, and
// the report and workbook come out with their pages and sheets.
#include "QualityFixture.h"

#include "sheet/SheetFile.h"
#include "shell/Journal.h"
#include "shell/MessageBox.h"
#include "stations/Stations.h"
#include "stations/quality/QualityChartViews.h"
#include "stations/quality/QualityPictures.h"
#include "support/ReadBack.h"
#include "widgets/PictureView.h"
#include "widgets/UserControl4.h"

#include <QAbstractBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QDateEdit>
#include <QDir>
#include <QToolButton>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QTableWidget>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Where a real finger lands on bar `index` of bar set `set` (stacked sets counted from below).
QPoint barPoint(QChartView* view, int set, int index)
{
    auto* series = qobject_cast<QAbstractBarSeries*>(view->chart()->series().first());
    double y = series->barSets()[set]->at(index) / 2;
    if (series->type() == QAbstractSeries::SeriesTypeStackedBar)
        for (int below = 0; below < set; ++below)
            y += series->barSets()[below]->at(index);
    return view->mapFromScene(view->chart()->mapToPosition(QPointF(index, y), series));
}

QStringList column0(QTableWidget* t)
{
    QStringList keys;
    for (int r = 0; r < t->rowCount(); ++r)
        keys << t->item(r, 0)->text() + u'/' + t->item(r, t->columnCount() - 5)->text();
    return keys;
}

} // namespace

class TestFrmQuality : public QObject {
    Q_OBJECT
private slots:
    void touchedBarNarrowsTheOthers_data()
    {
        QTest::addColumn<QString>("chart");
        QTest::addColumn<int>("set");
        QTest::addColumn<int>("bar");
        QTest::addColumn<QString>("rolls");
        QTest::addColumn<QStringList>("machines"); // machine/rolls
        QTest::addColumn<int>("paretoBars");
        QTest::addColumn<QString>("defects"); // the defects per 100 m: what, and how many
        QTest::newRow("defect 油污")
            << "chartPareto" << 0 << 1 << "2" << QStringList{"001/1", "002/1"} << 2
            << "百米疵点（油污） 1.37";
        QTest::newRow("A品 on 11-03")
            << "chartGrades" << 0 << 1 << "1" << QStringList{"001/1"} << 0 << "百米疵点 0.00";
        QTest::newRow("B品 on 11-02")
            << "chartGrades" << 1 << 0 << "1" << QStringList{"002/1"} << 1 << "百米疵点 2.19";
        QTest::newRow("points of 11-02") << "chartPoints" << 0 << 0 << "2"
                                         << QStringList{"001/1", "002/1"} << 2 << "百米疵点 3.43";
    }
    void touchedBarNarrowsTheOthers()
    {
        QFETCH(QString, chart);
        QFETCH(int, set);
        QFETCH(int, bar);
        QualityFixture fx;
        frmQuality& f = fx.open();
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        QCOMPARE(f.labFigureNow[QualityText::Rolls]->text(), u"3"_s);
        auto* view = f.findChild<QChartView*>(chart);
        const QPoint at = barPoint(view, set, bar);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
        QTEST(f.labFigureNow[QualityText::Rolls]->text(), "rolls");
        QTEST(column0(f.gridMachine), "machines");
        QTEST(int(f.overview().pareto.size()), "paretoBars");
        QTEST(f.labFigure[QualityText::DefectsPer100m]->text() + u' ' + f.labFigureNow[QualityText::DefectsPer100m]->text(), "defects");
        QVERIFY(f.labTouched->text().startsWith(u"已选："_s));
        // The same bar again widens the views back.
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, barPoint(view, set, bar));
        QCOMPARE(f.labFigureNow[QualityText::Rolls]->text(), u"3"_s);
        QCOMPARE(f.gridMachine->rowCount(), 2);
    }

    // A touched defect brings its latest pictures forward; a touch on one shows it full-screen
    // (closed by a touch, as on the frames); the touch dropped, the tab says how to get pictures.
    void touchedDefectShowsItsPictures()
    {
        QualityFixture fx;
        QImage img(400, 300, QImage::Format_RGB32);
        img.fill(Qt::red);
        QVERIFY(QDir(fx.home().path()).mkpath(u"照片/2611"_s) && img.save(fx.home().file(u"照片/2611/a.jpg"_s)));
        fx.execNative(u"insert into checkDetailPhoto(detailId, fileName, takenAt) values (2, '2611/a.jpg', "
                      "'2026-11-02 09:20:00'), (1, '2611/gone.jpg', '2026-11-02 09:10:00')"_s, u"mill.db"_s);
        frmQuality& f = fx.open();
        f.show();
        QCOMPARE(f.tabTables->currentWidget(), f.gridMachine); // nothing touched, no pictures
        f.touchDefect(u"破洞"_s);
        QCOMPARE(f.tabTables->currentWidget(), f.pictures);
        QVERIFY(f.pictures->thumbs[1]->isVisible() && !f.pictures->thumbs[2]->isVisible());
        QCOMPARE(f.pictures->thumbs[0]->text(), u"SC1 001  0.0m\n11-02 09:20"_s);
        QVERIFY(f.pictures->thumbs[1]->icon().isNull()); // its file is gone: the caption stays
        QVERIFY(!f.pictures->thumbs[0]->icon().isNull());
        QTest::mouseClick(f.pictures->thumbs[0], Qt::LeftButton);
        auto* view = f.findChild<PictureView*>();
        QVERIFY(view && view->isVisible());
        QCOMPARE(view->image().size(), QSize(400, 300));
        f.touchDefect(u"破洞"_s);
        QVERIFY(!f.pictures->thumbs[0]->isVisible() && f.pictures->labNote->isVisible());
    }

    // Arrow keys on a focused chart touch the bars in turn; Esc widens the views back.
    void keysStepThroughTheBars_data()
    {
        QTest::addColumn<QString>("chart");
        QTest::addColumn<QString>("keys"); // R right, L left, E Esc
        QTest::addColumn<QString>("defect");
        QTest::addColumn<QDate>("day");
        QTest::addColumn<QString>("rolls");
        const auto row = [](const char* name, const char* chart, const char* keys,
                            const char* defect, QDate day, const char* rolls) {
            QTest::newRow(name) << chart << keys << defect << day << rolls;
        };
        row("first defect", "chartPareto", "R", "破洞", QDate(), "1");
        row("next defect", "chartPareto", "RR", "油污", QDate(), "2");
        row("wraps round", "chartPareto", "RRR", "破洞", QDate(), "1");
        row("last day", "chartGrades", "L", "", QDate(2026, 11, 4), "0");
        row("day before", "chartPoints", "LL", "", QDate(2026, 11, 3), "1");
        row("Esc", "chartPareto", "RE", "", QDate(), "3");
    }
    void keysStepThroughTheBars()
    {
        QFETCH(QString, chart);
        QFETCH(QString, keys);
        QualityFixture fx;
        frmQuality& f = fx.open();
        auto* view = f.findChild<QChartView*>(chart);
        for (QChar k : keys)
            QTest::keyClick(view, k == u'R'   ? Qt::Key_Right
                                  : k == u'L' ? Qt::Key_Left
                                              : Qt::Key_Escape);
        QTEST(f.overview().filter.defect, "defect");
        QTEST(f.overview().filter.day, "day");
        QTEST(f.labFigureNow[QualityText::Rolls]->text(), "rolls");
    }

    // The quick pick offers the machines of the range; a tap fills the field, Enter queries.
    void quickPickFillsTheFilter()
    {
        QualityFixture fx;
        frmQuality& f = fx.open();
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        QTest::mouseClick(f.cmdPickMachine, Qt::LeftButton);
        QVERIFY(f.picker->isVisible());
        QCOMPARE(f.picker->count(), 2);
        QCOMPARE(f.picker->button(1)->text(), u"002"_s);
        QTest::mouseClick(f.picker->button(1), Qt::LeftButton);
        QVERIFY(!f.picker->isVisible());
        QCOMPARE(f.txtMachine->text(), u"002"_s);
        QTest::keyClick(f.txtMachine, Qt::Key_Return);
        QCOMPARE(f.labFigureNow[QualityText::Rolls]->text(), u"1"_s);
        QCOMPARE(f.gridInspector->item(0, 1)->text(), u"李秀英"_s);
    }

    void badInputKeepsTheOverview_data()
    {
        QTest::addColumn<QDate>("from");
        QTest::addColumn<QDate>("to");
        QTest::addColumn<QString>("database"); // "gone", or "back" once the query failed
        QTest::addColumn<QString>("message"); // start of the message box, "" for none
        QTest::addColumn<QString>("status");  // start of the status line
        QTest::newRow("from after to")
            << QDate(2026, 11, 5) << QDate(2026, 11, 2) << "" << "开始日期不能晚于结束日期"
            << "共 3 卷";
        QTest::newRow("more than a year")
            << QDate(2025, 11, 2) << QDate(2026, 11, 4) << "" << "日期范围不能超过366天"
            << "共 3 卷";
        QTest::newRow("database gone")
            << QDate(2026, 11, 2) << QDate(2026, 11, 4) << "gone" << "查询失败："
            << "查询失败";
        QTest::newRow("database back") << QDate(2026, 11, 2) << QDate(2026, 11, 4) << "back"
                                       << "查询失败：" << "共 3 卷";
        QTest::newRow("nothing inspected") << QDate(2026, 1, 1) << QDate(2026, 1, 7) << "" << ""
                                           << "所选范围内没有验布记录";
    }
    void badInputKeepsTheOverview()
    {
        QFETCH(QDate, from);
        QFETCH(QDate, to);
        QFETCH(QString, database);
        QFETCH(QString, message);
        QualityFixture fx;
        frmQuality& f = fx.open();
        f.dtpFrom->setDate(from);
        f.dtpTo->setDate(to);
        const QString away = fx.databasePath() + u".away"_s;
        if (database == u"gone"_s)
            for (const char* suffix : {"", "-wal", "-shm"})
                QFile::remove(fx.databasePath() + QString::fromLatin1(suffix));
        else if (database == u"back"_s)
            QVERIFY(QFile::rename(fx.databasePath(), away));
        MessageBox::clearShown();
        QTest::mouseClick(f.cmdQuery, Qt::LeftButton);
        if (database == u"back"_s) {
            QVERIFY(QFile::rename(away, fx.databasePath()));
            JournalReplayResult pass; // the journal's retry finds the database answering
            pass.reached = true;
            Journal::onReplayed(pass, -1, 0);
        }
        QCOMPARE(MessageBox::shown().isEmpty(), message.isEmpty());
        if (!message.isEmpty())
            QVERIFY2(MessageBox::lastShown().text.startsWith(message),
                     qPrintable(MessageBox::lastShown().text));
        QFETCH(QString, status);
        QVERIFY2(f.lab_status->text().startsWith(status), qPrintable(f.lab_status->text()));
        QCOMPARE(f.labFigureNow[QualityText::Rolls]->text(), message.isEmpty() ? u"0"_s : u"3"_s);
        QVERIFY(f.cmdQuery->isEnabled());
        QCOMPARE(offlineStatusLine(&f), f.lab_status); // the offline mark keeps off the export buttons
    }

    // The report: figures and tables from the first page on, a table that reaches the foot of a
    // page going on below its header again (40 machines and 40 inspectors), then one page per
    // chart with its bars' captions, also from a hidden window.
    void reportPages()
    {
        QualityFixture fx;
        for (int i = 1; i <= 40; ++i)
            fx.execNative(u"insert into checkinfo(onCount, checkcount, grade, machineId, checkUsercode, createDate) "
                          "values(50, 1, 'A品', 'M%1', 'U%1', '2026-11-03')"_s.arg(i, 2, 10, QLatin1Char('0')), u"mill.db"_s);
        frmQuality& f = fx.open();
        const QString pdf = fx.home().file(u"总览.pdf"_s);
        MessageBox::setNextFileName(pdf);
        QTest::mouseClick(f.cmdPdf, Qt::LeftButton);
        QVERIFY2(QFile::exists(pdf), qPrintable(f.lab_status->text()));
        const QStringList pages = ReadBack::pdfPages(pdf);
        QVERIFY2(pages.size() >= 6, qPrintable(QString::number(pages.size())));
        const qsizetype charts = pages.size() - 3;
        const QStringList titles{QualityChartViews::paretoTitle(), QualityChartViews::gradesTitle(),
                                 QualityChartViews::pointsTitle()};
        for (qsizetype i = 0; i < pages.size(); ++i) {
            const QString title = i < charts ? u"质量总览"_s : titles[i - charts];
            QVERIFY2(pages[i].startsWith(title), qPrintable(pages[i].left(80)));
            QVERIFY(pages[i].contains(u"2026-11-02 至 2026-11-04"_s));
        }
        const QString tables = pages.mid(0, charts).join(u' ');
        for (int i = 1; i <= 40; ++i)
            for (const char* key : {"M%1", "U%1"})
                QVERIFY(tables.contains(QString::fromLatin1(key).arg(i, 2, 10, QLatin1Char('0'))));
        QVERIFY(tables.contains(u"李秀英"_s));
        QVERIFY(pages.mid(0, charts).filter(u"验布员"_s).size() >= 2);
        QVERIFY(pages[charts].contains(u"油污"_s));
        QVERIFY(pages[charts + 1].contains(u"11-03"_s));
        QVERIFY(pages[charts + 2].contains(u"C品 40"_s));
    }

    // Without its charts module the overview still shows its figures and tables, says where the
    // module was looked for, and the report has no chart pages.
    void worksWithoutTheChartsModule()
    {
        qputenv("MIREL_CHARTS_MODULE", "/nonexistent/libmirel_charts.so");
        const auto restore = qScopeGuard([] { qunsetenv("MIREL_CHARTS_MODULE"); });
        QualityFixture fx;
        frmQuality& f = fx.open();
        QVERIFY(!f.charts());
        const auto* missing = f.findChild<QLabel*>(u"labChartsMissing"_s);
        QVERIFY(missing && missing->text().contains(u"/nonexistent/libmirel_charts.so"_s));
        QVERIFY(f.query());
        QVERIFY(f.overview().now.rolls > 0);
        const QString pdf = fx.home().file(u"总览.pdf"_s);
        QVERIFY(f.exportPdf(pdf));
        for (const QString& page : ReadBack::pdfPages(pdf))
            QVERIFY2(page.startsWith(u"质量总览"_s), qPrintable(page.left(80)));
    }

    // The workbook's figures as on the screen: real numbers in the screen's formats, with the
    // change against the range before, the ranges, the narrowings and the time of export.
    void workbookHasTheFigures()
    {
        QualityFixture fx;
        frmQuality& f = fx.open();
        const QString xlsx = fx.home().file(u"总览.xlsx"_s);
        MessageBox::setNextFileName(xlsx);
        QTest::mouseClick(f.cmdXlsx, Qt::LeftButton);
        sheet::SheetGrid grid;
        QString error;
        QVERIFY2(sheet::readFirstSheet(xlsx, &grid, &error), qPrintable(error));
        QCOMPARE(grid.text(2, 1), u"卷数"_s);
        QCOMPARE(grid.cell(2, 2).toDouble(), 3.0);
        QCOMPARE(grid.cell(2, 3).toDouble(), 1.0);
        QCOMPARE(grid.cell(2, 4).toDouble(), 2.0); // +200.0%
        QCOMPARE(grid.cell(3, 2).toDouble(), 225.72);
        QCOMPARE(grid.cell(4, 2).toDouble(), 180 / 225.72);
        QCOMPARE(grid.text(8, 2), u"2026-11-02 至 2026-11-04"_s);
        QCOMPARE(grid.text(9, 2), u"2026-10-30 至 2026-11-01"_s);
        QCOMPARE(grid.text(10, 2), u"无"_s);
        QCOMPARE(grid.text(11, 1), u"导出时间"_s);
        QVERIFY(!grid.text(11, 2).isEmpty());
        QProcess unzip;
        unzip.start(u"python3"_s, {u"-c"_s,
                                   u"import sys,zipfile;print(zipfile.ZipFile(sys.argv[1])"
                                   ".read('xl/styles.xml').decode())"_s,
                                   xlsx});
        QVERIFY(unzip.waitForFinished());
        const QString styles = QString::fromUtf8(unzip.readAllStandardOutput());
        for (const char* format : {"formatCode=\"0.0%\"", "formatCode=\"0.0\"",
                                   "formatCode=\"0.00\"", "formatCode=\"+0.0%;-0.0%;0.0%\""})
            QVERIFY2(styles.contains(QString::fromLatin1(format)), format);
    }
};

QTEST_MAIN(TestFrmQuality)
#include "TestFrmQuality.moc"
