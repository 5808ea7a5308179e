// The stock board: the row walk and reload, what kanban.ini sets, the columns across the wall,
// the settings frame worked by touch, a query that cannot run, and a database that goes away
// under the board.
#include "KanbanFixture.h"

#include "shell/DbInfoCache.h"
#include "shell/MessageBox.h"
#include "shell/SysUtil.h"
#include "stations/kanban/KanbanColumns.h"
#include "stations/kanban/KanbanSettings.h"
#include "widgets/EditGrid.h"

#include <QFile>
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

namespace {
// The board's look from the ini: title points (the rows ten less), row twips, menu points, the
// tick, and the 备注 column (1 widest, 0 hidden, -1 as wide as its texts).
struct Look {
    int titlePoints, rowTwips, menuPoints, tickMs, remark;
};
} // namespace
Q_DECLARE_METATYPE(Look)

class TestFrmKanban : public QObject {
    Q_OBJECT
private slots:
    void topRowWalksAndReloads_data()
    {
        QTest::addColumn<int>("batches");
        for (int n : {0, 1, 5})
            QTest::addRow("%d batches", n) << n;
    }
    void topRowWalksAndReloads()
    {
        QFETCH(int, batches);
        KanbanFixture fx(batches);
        frmKanban& f = fx.open();
        QCOMPARE(f.pGrid->rows(), batches + 1);
        QCOMPARE(f.pGrid->textMatrix(0, 1), u"产品名称"_s);
        const int last = std::max(batches, 1);
        for (int guard = 0; f.currentRow() != last && guard < 10; ++guard)
            f.tick();
        QCOMPARE(f.currentRow(), last);
        // A batch booked in meanwhile shows once the walk starts again at the top.
        fx.exec(u"insert into iteminBatch(itemid,itemcount,ProductSN) values(1,7,'NEW')"_s);
        QCOMPARE(f.pGrid->rows(), batches + 1);
        for (int expected = 1; expected <= batches + 1; ++expected) {
            f.tick();
            QCOMPARE(QList<int>({f.currentRow(), f.pGrid->row(), f.pGrid->rows()}),
                     QList<int>({expected, expected, batches + 2}));
        }
    }

    // The scrolling line (its first character to the end on every tick, a character outside the
    // basic plane as one), the type sizes from fontsize, the tick (0, unreadable or missing is
    // 1 s), the title and query (empty is the board's own) and the stored widths of the query's
    // columns (a list of another query is ignored). Closing writes one width per column.
    void iniShapesTheBoard_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QStringList>("captions");
        QTest::addColumn<Look>("look");
        QTest::newRow("ABC, size 20, tick 0, too few widths")
            << QByteArray("跑马灯内容=ABC\nfontsize=20\n时间间隔=0\npGrid=1500,3000,9000\n")
            << QStringList{" ABC", "ABC ", "BC A", "C AB", " ABC"} << Look{30, 600, 14, 1000, -1};
        QTest::newRow("chinese, empty title and query, 备注 hidden")
            << QByteArray("跑马灯内容=到货\n库存看板=\n看板SQL=\npGrid=300,1500,3000,1800,1200,1500,0\n")
            << QStringList{" 到货", "到货 ", "货 到", " 到货"} << Look{42, 960, 16, 1000, 0};
        QTest::newRow("no line, unreadable size, tick 250, a width per column")
            << QByteArray("fontsize=大\n时间间隔=250\npGrid=300,1500,3000,1800,1200,1500,9000\n")
            << QStringList{"  ", "  "} << Look{42, 960, 16, 250, 1};
        QTest::newRow("emoji") << QByteArray("跑马灯内容=😀A\n")
                               << QStringList{" 😀A", "😀A ", "A 😀", " 😀A"}
                               << Look{42, 960, 16, 1000, -1};
    }
    void iniShapesTheBoard()
    {
        QFETCH(QByteArray, ini);
        QFETCH(QStringList, captions);
        QFETCH(Look, look);
        KanbanFixture fx(3, ini);
        frmKanban& f = fx.open();
        f.layoutForm(); // at the design size: one point is one point
        QCOMPARE(f.lab_info[frmKanban::Title]->text(), u"Senvia库存看板"_s);
        QCOMPARE(f.pGrid->rows(), 4);
        QVERIFY(!f.labOffline->isVisibleTo(&f));
        const auto points = [](const QWidget* w) { return qRound(w->font().pointSizeF()); };
        QCOMPARE(
            (QList<int>{points(f.lab_info[frmKanban::Title]), points(f.lab_info[frmKanban::Clock]),
                        points(f.MainMenu), f.Timer1->interval()}),
            (QList<int>{look.titlePoints, look.titlePoints - 10, look.menuPoints, look.tickMs}));
        if (look.remark <= 0) // a wide stored column makes the rows' type smaller to fit the wall
            QCOMPARE(qRound(f.pGrid->fontSize()), look.titlePoints - 10);
        for (int row = 0; row <= 2; ++row)
            QVERIFY2(std::abs(f.pGrid->rowHeight(row) - look.rowTwips) <= 15,
                     qPrintable(QString::number(row)));
        const QTableWidget* t = f.pGrid->table();
        int widest = 0;
        for (int col = 0; col < 6; ++col)
            widest = std::max(widest, t->columnWidth(col));
        QCOMPARE(t->isColumnHidden(6), look.remark == 0);
        if (look.remark != 0)
            QCOMPARE(t->columnWidth(6) > widest, look.remark > 0);
        QCOMPARE(f.pGrid->colAlignment(1) == EditGrid::AlignLeftCenter, look.remark >= 0);
        QStringList marquee{f.lab_info[frmKanban::Marquee]->text()};
        while (marquee.size() < captions.size()) {
            f.tick();
            marquee << f.lab_info[frmKanban::Marquee]->text();
        }
        QCOMPARE(marquee, captions);
        f.close();
        QCOMPARE(KanbanSettings::read(KanbanSettings::widthsKey(), QString()).split(u',').size(),
                 7);
    }

    void clockText() // the seconds in two digits, the hours and minutes as they come
    {
        QCOMPARE(KanbanSettings::clockText({QDate(2026, 12, 6), QTime(9, 5, 3)}),
                 u"时间:26-12-06 星期日 9:5:03"_s);
        QCOMPARE(KanbanSettings::clockText({QDate(2027, 1, 13), QTime(23, 59, 10)}),
                 u"时间:27-01-13 星期三 23:59:10"_s);
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
        QCOMPARE(
            KanbanColumns::fit(natural, std::accumulate(fitted.cbegin(), fitted.cend(), 0), 200),
            fitted);
    }

    // A query that fails or would write leaves the rows under the stale mark and writes nothing;
    // failing on, it is tried again after 1 s, 2 s, 4 s … a minute, not on every tick.
    void queryThatCannotRunKeepsTheRows_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("mark");
        QTest::addColumn<int>("failures");
        QTest::addColumn<int>("pause");
        const QString unknown = u"select nosuchcolumn from iteminBatch"_s;
        QTest::newRow("unknown column") << unknown << u"看板SQL出错"_s << 1 << 1000;
        QTest::newRow("update") << u"update iteminBatch set itemcount = 0"_s << u"看板SQL只能查询"_s
                                << 2 << 2000;
        QTest::newRow("delete") << u"delete from iteminBatch where ProductSN = 'P1'"_s
                                << u"看板SQL只能查询"_s << 3 << 4000;
        QTest::newRow("select, then delete")
            << u"select 1 delete from iteminBatch"_s << u"看板SQL只能查询"_s << 6 << 32000;
        QTest::newRow("7 failed") << unknown << u"看板SQL出错"_s << 7 << 60000;
        QTest::newRow("40 failed, from the start") << unknown << u"看板SQL出错"_s << 40 << 60000;
    }
    void queryThatCannotRunKeepsTheRows()
    {
        QFETCH(QString, sql);
        QFETCH(QString, mark);
        QFETCH(int, failures);
        const bool fromStart = QByteArray(QTest::currentDataTag()).endsWith("from the start");
        KanbanFixture fx(4, fromStart ? "看板SQL=" + sql.toUtf8() + "\n" : QByteArray());
        frmKanban& f = fx.open(); // from the start: the first failure
        const auto rows = [&f] {
            return u"%1 %2 %3"_s.arg(f.pGrid->rows())
                .arg(f.pGrid->textMatrix(0, 2), f.pGrid->textMatrix(1, 2));
        };
        const QString shown = rows();
        SysUtil::writeIni(KanbanSettings::section(), KanbanSettings::sqlKey(), sql,
                          KanbanSettings::iniFile());
        for (int i = fromStart; i < failures; ++i)
            QVERIFY(!f.loadData());
        QTEST(f.retryPause(), "pause");
        QCOMPARE(rows(), shown);
        QCOMPARE(f.pGrid->rows(), fromStart ? 1 : 5);
        QVERIFY(f.labOffline->isVisibleTo(&f));
        QVERIFY(f.labOffline->text().startsWith(mark));
        QCOMPARE(fx.scalar(u"select sum(itemcount) from iteminBatch"_s), u"1050"_s);
        // Mended before the pause is out: not read again yet.
        SysUtil::writeIni(KanbanSettings::section(), KanbanSettings::sqlKey(), QString(),
                          KanbanSettings::iniFile());
        f.tick();
        QVERIFY(f.offlineSince().isValid());
    }

    // The running board on the wall. Only who knows the access code opens the settings (a wrong
    // code is told so); the frame stops the tick, writes every box (an empty one empty) and
    // starts the tick again. Then the database goes away under the board and comes back: the
    // last rows stay with the stale mark, every tick tries again, the returned rows show.
    void runningBoard()
    {
        KanbanFixture fx(3, "库存看板=一号仓库\n时间间隔=1000\n");
        frmKanban& f = fx.open();
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        f.Timer1->start();
        DbInfoCache::clear();
        fx.exec(u"insert DBInfo(InfoCode,InfoValue) values('checkpassword','7301')"_s);
        for (const auto& [answer, told] :
             {std::pair{std::optional<QString>(), false}, {std::optional(u"0000"_s), true}}) {
            MessageBox::clearShown();
            MessageBox::setNextInput(answer);
            f.showSettings();
            QVERIFY(!f.Frame1->isVisibleTo(&f));
            QVERIFY(f.Timer1->isActive());
            QCOMPARE(MessageBox::lastShown().text.contains(u"密码错了"_s), told);
        }
        MessageBox::setNextInput(u"7301"_s);
        QTest::mouseClick(f.pGrid->table()->viewport(), Qt::RightButton);
        QTRY_VERIFY(f.MainMenu->isVisible());
        QTest::mouseClick(f.MainMenu, Qt::LeftButton, {},
                          f.MainMenu->actionGeometry(f.setting).center());
        QTRY_VERIFY(f.Frame1->isVisible());
        QVERIFY(!f.Timer1->isActive());
        QCOMPARE(f.txt_set[frmKanban::TitleSetting]->text(), u"一号仓库"_s);
        f.txt_set[frmKanban::TitleSetting]->clear();
        QTest::keyClicks(f.txt_set[frmKanban::TitleSetting], "Store B2");
        f.txt_set[frmKanban::Interval]->setText(u"10"_s);
        QTest::mouseClick(f.setBut, Qt::LeftButton);
        QVERIFY(!f.Frame1->isVisible());
        QVERIFY(f.Timer1->isActive());
        QCOMPARE((QStringList{QString::number(f.Timer1->interval()),
                              f.lab_info[frmKanban::Title]->text(), KanbanSettings::title(),
                              KanbanSettings::read(KanbanSettings::sqlKey(), u"?"_s)}),
                 (QStringList{u"10"_s, u"Store B2"_s, u"Store B2"_s, QString()}));

        const QString spare = fx.home().file(u"spare.db"_s);
        KanbanFixture::makeDatabase(spare, 4);
        QCOMPARE(f.pGrid->rows(), 4);
        for (const char* suffix : {"", "-wal", "-shm"})
            QFile::remove(fx.databasePath() + QString::fromLatin1(suffix));
        QTRY_VERIFY(f.labOffline->isVisible());
        QVERIFY(f.offlineSince().isValid());
        QVERIFY(f.labOffline->text().startsWith(u"数据库离线"_s));
        QTest::qWait(100); // several failed ticks in a row change nothing
        QCOMPARE(QString::number(f.pGrid->rows()) + f.pGrid->textMatrix(3, 2), u"4P3"_s);
        QVERIFY(f.Timer1->isActive());
        QVERIFY(QFile::copy(spare, fx.databasePath()));
        QTRY_VERIFY(!f.labOffline->isVisible());
        QTRY_COMPARE(f.pGrid->rows(), 5);
        QVERIFY(!f.offlineSince().isValid());
    }
};

QTEST_MAIN(TestFrmKanban)
#include "TestFrmKanban.moc"
