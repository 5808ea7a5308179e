// The stock board: the row walk and reload, the scrolling line, the type sizes, the stored
// widths, the settings frame worked by touch, and a database that goes away under the board.
#include "KanbanFixture.h"

#include "screen/Twips.h"
#include "shell/Database.h"
#include "shell/DbInfoCache.h"
#include "shell/MessageBox.h"
#include "shell/SysUtil.h"
#include "stations/kanban/KanbanColumns.h"
#include "stations/kanban/KanbanSettings.h"
#include "widgets/EditGrid.h"

#include <QAction>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <numeric>
#include <optional>

using namespace Qt::StringLiterals;

class TestFrmKanban : public QObject {
    Q_OBJECT
private slots:
    void topRowWalksAndReloads_data()
    {
        QTest::addColumn<int>("batches");
        QTest::newRow("empty") << 0;
        QTest::newRow("one") << 1;
        QTest::newRow("five") << 5;
    }
    void topRowWalksAndReloads()
    {
        QFETCH(int, batches);
        KanbanFixture fx(batches);
        frmKanban& f = fx.open();
        QCOMPARE(f.pGrid->rows(), batches + 1);
        QCOMPARE(f.pGrid->textMatrix(0, 1), QStringLiteral("产品名称"));
        const int last = std::max(batches, 1);
        for (int guard = 0; f.currentRow() != last && guard < 10; ++guard)
            f.tick();
        QCOMPARE(f.currentRow(), last);
        // A batch booked in meanwhile shows once the walk starts again at the top.
        fx.addBatch(QStringLiteral("NEW"));
        QCOMPARE(f.pGrid->rows(), batches + 1);
        f.tick();
        QCOMPARE(f.currentRow(), 1);
        QCOMPARE(f.pGrid->rows(), batches + 2);
        QCOMPARE(f.pGrid->row(), 1);
        for (int expected = 2; expected <= batches + 1; ++expected) {
            f.tick();
            QCOMPARE(f.currentRow(), expected);
            QCOMPARE(f.pGrid->row(), expected);
        }
    }

    void scrollingLineRunsLeft_data()
    {
        QTest::addColumn<QByteArray>("setting");
        QTest::addColumn<QStringList>("captions");
        QTest::newRow("ABC") << QByteArray("跑马灯内容=ABC\n")
                             << QStringList{" ABC", "ABC ", "BC A", "C AB", " ABC"};
        QTest::newRow("chinese") << QByteArray("跑马灯内容=到货\n")
                                 << QStringList{" 到货", "到货 ", "货 到", " 到货"};
        QTest::newRow("missing key") << QByteArray() << QStringList{"  ", "  "};
        // A character outside the basic plane (two code units) moves as one.
        QTest::newRow("emoji") << QByteArray("跑马灯内容=😀A\n")
                               << QStringList{" 😀A", "😀A ", "A 😀", " 😀A"};
    }
    void scrollingLineRunsLeft()
    {
        QFETCH(QByteArray, setting);
        QFETCH(QStringList, captions);
        KanbanFixture fx(3, setting);
        frmKanban& f = fx.open();
        f.layoutForm();
        QCOMPARE(f.lab_info[2]->text(), captions.first());
        for (qsizetype i = 1; i < captions.size(); ++i) {
            f.tick();
            QCOMPARE(f.lab_info[2]->text(), captions[i]);
        }
    }

    void clockText_data()
    {
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<QString>("text");
        QTest::newRow("seconds in two digits") << QDateTime(QDate(2026, 12, 6), QTime(9, 5, 3))
                                               << QStringLiteral("时间:26-12-06 星期日 9:5:03");
        QTest::newRow("afternoon") << QDateTime(QDate(2027, 1, 13), QTime(23, 59, 10))
                                   << QStringLiteral("时间:27-01-13 星期三 23:59:10");
    }
    void clockText()
    {
        QFETCH(QDateTime, now);
        QTEST(KanbanSettings::clockText(now), "text");
    }

    void typeSizesFollowFontSize_data()
    {
        QTest::addColumn<QByteArray>("setting");
        QTest::addColumn<int>("titlePoints");
        QTest::addColumn<int>("rowTwips");
        QTest::addColumn<int>("menuPoints");
        QTest::addColumn<int>("tickMs"); // 时间间隔: 0, unreadable or missing is the default
        QTest::newRow("20") << QByteArray("fontsize=20\n时间间隔=0\n") << 30 << 600 << 14 << 1000;
        QTest::newRow("default") << QByteArray() << 42 << 960 << 16 << 1000;
        QTest::newRow("unreadable")
            << QByteArray("fontsize=大\n时间间隔=250\n") << 42 << 960 << 16 << 250;
    }
    void typeSizesFollowFontSize()
    {
        QFETCH(QByteArray, setting);
        QFETCH(int, titlePoints);
        QFETCH(int, rowTwips);
        KanbanFixture fx(5, setting);
        frmKanban& f = fx.open();
        f.resize(1024, 768); // the design size: one point is one point
        f.layoutForm();
        QCOMPARE(qRound(f.lab_info[0]->font().pointSizeF()), titlePoints);
        QCOMPARE(qRound(f.lab_info[1]->font().pointSizeF()), titlePoints - 10);
        QCOMPARE(qRound(f.pGrid->fontSize()), titlePoints - 10);
        QTEST(qRound(f.MainMenu->font().pointSizeF()), "menuPoints");
        QTEST(f.Timer1->interval(), "tickMs");
        for (int row = 0; row <= 2; ++row)
            QVERIFY2(std::abs(f.pGrid->rowHeight(row) - rowTwips) <= 15,
                     qPrintable(QString::number(row)));
    }

    // A stored width list of the query's columns: a wider column stays wider, 0 hides it; a
    // list of another query is ignored. Closing writes one width per column.
    void storedWidths_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("remark"); // the 备注 column: 1 widest, 0 hidden, -1 as its texts
        QTest::newRow("one per column") << QStringLiteral("300,1500,3000,1800,1200,1500,9000") << 1;
        QTest::newRow("hidden") << QStringLiteral("300,1500,3000,1800,1200,1500,0") << 0;
        QTest::newRow("too few") << QStringLiteral("1500,3000,9000") << -1;
    }
    void storedWidths()
    {
        QFETCH(QString, stored);
        QFETCH(int, remark);
        KanbanFixture fx(3, "pGrid=" + stored.toUtf8() + "\n");
        frmKanban& f = fx.open();
        const QTableWidget* t = f.pGrid->table();
        int widest = 0;
        for (int col = 0; col < 6; ++col)
            widest = std::max(widest, t->columnWidth(col));
        QCOMPARE(t->isColumnHidden(6), remark == 0);
        if (remark != 0)
            QCOMPARE(t->columnWidth(6) > widest, remark > 0);
        QCOMPARE(f.pGrid->colAlignment(1) == EditGrid::AlignLeftCenter, remark >= 0);
        f.close();
        QCOMPARE(KanbanSettings::read(KanbanSettings::widthsKey(), QString()).split(u',').size(),
                 7);
    }

    // Columns across the wall: the spare width shared out, or the widest columns cut first
    // (never below the caption's width: then all shrink alike); always the room exactly.
    void columnsFillTheRoom_data()
    {
        QTest::addColumn<QVector<int>>("natural");
        QTest::addColumn<QVector<int>>("fitted");
        QTest::newRow("spare width") << QVector<int>{100, 200, 100} << QVector<int>{150, 300, 151};
        QTest::newRow("widest cut")
            << QVector<int>{100, 400, 300, 100} << QVector<int>{100, 251, 250, 100};
        QTest::newRow("below minimum") << QVector<int>{300, 900, 300} << QVector<int>{80, 240, 81};
        QTest::newRow("hidden last") << QVector<int>{100, 200, 0} << QVector<int>{200, 401, 0};
    }
    void columnsFillTheRoom()
    {
        QFETCH(QVector<int>, natural);
        QFETCH(QVector<int>, fitted);
        const int room = std::accumulate(fitted.cbegin(), fitted.cend(), 0);
        QCOMPARE(KanbanColumns::fit(natural, room, 200), fitted);
    }

    void settingsByTouch()
    {
        KanbanFixture fx(3, "库存看板=一号仓库\n时间间隔=1000\n");
        frmKanban& f = fx.open();
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        f.Timer1->start();
        DbInfoCache::clear();
        Database::conn().execute(u"insert DBInfo(InfoCode,InfoValue) values('checkpassword','7301')"_s);
        MessageBox::setNextInput(u"7301"_s);
        QTest::mouseClick(f.pGrid->table()->viewport(), Qt::RightButton);
        QTRY_VERIFY(f.MainMenu->isVisible());
        QTest::mouseClick(f.MainMenu, Qt::LeftButton, {},
                          f.MainMenu->actionGeometry(f.setting).center());
        QTRY_VERIFY(f.Frame1->isVisible());
        QVERIFY(!f.Timer1->isActive());
        QCOMPARE(f.txt_set[0]->text(), QStringLiteral("一号仓库"));
        f.txt_set[0]->clear();
        QTest::keyClicks(f.txt_set[0], "Store B2");
        f.txt_set[1]->setText(QStringLiteral("500"));
        QTest::mouseClick(f.setBut, Qt::LeftButton);
        QVERIFY(!f.Frame1->isVisible());
        QVERIFY(f.Timer1->isActive());
        QCOMPARE(f.Timer1->interval(), 500);
        QCOMPARE(f.lab_info[0]->text(), QStringLiteral("Store B2"));
        QCOMPARE(KanbanSettings::title(), QStringLiteral("Store B2"));
    }

    // Only who knows the access code opens the settings.
    void settingsAskTheAccessCode_data()
    {
        QTest::addColumn<QString>("answer"); // null: cancelled
        QTest::newRow("wrong code") << u"0000"_s;
        QTest::newRow("cancelled") << QString();
    }
    void settingsAskTheAccessCode()
    {
        QFETCH(QString, answer);
        KanbanFixture fx(3);
        frmKanban& f = fx.open();
        f.Timer1->start();
        MessageBox::setNextInput(answer.isNull() ? std::nullopt : std::optional<QString>(answer));
        f.showSettings();
        QVERIFY(!f.Frame1->isVisibleTo(&f));
        QVERIFY(f.Timer1->isActive());
        QCOMPARE(MessageBox::lastShown().text.contains(u"密码错了"_s), !answer.isNull());
    }

    // The settings saved as they were write empty boxes: the board's own title and query. A
    // query that fails or would write leaves the rows under the stale mark, and writes nothing.
    void queryThatCannotRunKeepsTheRows_data()
    {
        QTest::addColumn<QString>("sql"); // null: the settings frame saved unchanged
        QTest::addColumn<QString>("mark"); // empty: loaded
        QTest::newRow("settings saved unchanged") << QString() << QString();
        QTest::newRow("unknown column") << "select nosuchcolumn from iteminBatch" << u"看板SQL出错"_s;
        QTest::newRow("update") << "update iteminBatch set itemcount = 0" << u"看板SQL只能查询"_s;
        QTest::newRow("delete") << "delete from iteminBatch where ProductSN = 'P1'" << u"看板SQL只能查询"_s;
        QTest::newRow("select, then delete") << "select 1 delete from iteminBatch" << u"看板SQL只能查询"_s;
    }
    void queryThatCannotRunKeepsTheRows()
    {
        QFETCH(QString, sql);
        QFETCH(QString, mark);
        KanbanFixture fx(4);
        frmKanban& f = fx.open();
        const QString firstBatch = f.pGrid->textMatrix(1, 2);
        if (sql.isNull()) {
            MessageBox::setNextInput(Database::getDbInfo(u"checkpassword"_s, u"5862"_s));
            f.showSettings();
            QTest::mouseClick(f.setBut, Qt::LeftButton);
            QCOMPARE(KanbanSettings::read(KanbanSettings::sqlKey(), u"?"_s), QString());
        } else {
            SysUtil::writeIni(KanbanSettings::section(), KanbanSettings::sqlKey(), sql,
                              KanbanSettings::iniFile());
        }
        QCOMPARE(f.loadData(), mark.isEmpty());
        QCOMPARE(f.pGrid->rows(), 5);
        QCOMPARE(f.pGrid->textMatrix(1, 2), firstBatch);
        QCOMPARE(f.labOffline->isVisibleTo(&f), !mark.isEmpty());
        QVERIFY(f.labOffline->text().startsWith(mark));
        QCOMPARE(f.lab_info[0]->text(), u"Senvia库存看板"_s);
        const Recordset rs = Database::conn().execute(u"select sum(itemcount) from iteminBatch"_s);
        QCOMPARE(rs.field(0).toString(), u"1050"_s);
    }

    // A query that keeps failing is tried again after 1 s, 2 s, 4 s … a minute, not on every tick.
    void failedReadsWaitLonger_data()
    {
        QTest::addColumn<int>("failures");
        QTest::addColumn<int>("pause");
        for (auto [n, ms] : {std::pair{1, 1000}, {2, 2000}, {3, 4000}, {6, 32000}, {7, 60000}, {40, 60000}})
            QTest::addRow("%d failed", n) << n << ms;
    }
    void failedReadsWaitLonger()
    {
        QFETCH(int, failures);
        KanbanFixture fx(3, "看板SQL=select nosuchcolumn from iteminBatch\n");
        frmKanban& f = fx.open(); // the first failure
        for (int i = 1; i < failures; ++i)
            f.loadData();
        QTEST(f.retryPause(), "pause");
        SysUtil::writeIni(KanbanSettings::section(), KanbanSettings::sqlKey(), QString(),
                          KanbanSettings::iniFile());
        f.tick(); // before the pause is out: not read again
        QVERIFY(f.offlineSince().isValid());
    }

    // The database goes away under a running board and comes back: the board keeps the last
    // rows with the stale mark, tries on every tick, and shows the returned database's rows.
    void databaseGoesAwayAndComesBack()
    {
        KanbanFixture fx(3, "时间间隔=10\n");
        const QString spare = fx.home().file(QStringLiteral("spare.db"));
        KanbanFixture::makeDatabase(spare, 4);
        frmKanban& f = fx.open();
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        f.Timer1->start();
        QCOMPARE(f.pGrid->rows(), 4);
        for (const char* suffix : {"", "-wal", "-shm"})
            QFile::remove(fx.databasePath() + QString::fromLatin1(suffix));
        QTRY_VERIFY(f.labOffline->isVisible());
        QVERIFY(f.offlineSince().isValid());
        QVERIFY(f.labOffline->text().startsWith(QStringLiteral("数据库离线")));
        QCOMPARE(f.pGrid->rows(), 4);
        QCOMPARE(f.pGrid->textMatrix(3, 2), QStringLiteral("P3"));
        QTest::qWait(100); // several failed ticks in a row change nothing
        QCOMPARE(f.pGrid->rows(), 4);
        QVERIFY(f.Timer1->isActive());

        QVERIFY(QFile::copy(spare, fx.databasePath()));
        QTRY_VERIFY(!f.labOffline->isVisible());
        QTRY_COMPARE(f.pGrid->rows(), 5);
        QVERIFY(!f.offlineSince().isValid());
    }
};

QTEST_MAIN(TestFrmKanban)
#include "TestFrmKanban.moc"
