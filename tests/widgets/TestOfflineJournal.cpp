// The stations' side of the journal: lookups kept for offline use, the red mark on the window and
// the operator's list of refused records.
#include "db/Connection.h"
#include "dialogs/frmJournal.h"
#include "shell/Database.h"
#include "shell/Journal.h"
#include "shell/MessageBox.h"
#include "stations/OfflineBadge.h"
#include "support/TempProgramFolder.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QTableWidget>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

// Every cell of the list shows its text whole: on one line, or wrapped within its row's height
// when the list wraps (the text sits inside a margin at either side of its cell).
void checkCellsWhole(const QTableWidget* view)
{
    const int margin =
        2 * (view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1);
    for (int r = 0; r < view->rowCount(); ++r)
        for (int c = 0; c < view->columnCount(); ++c) {
            const QRect cell = view->visualRect(view->model()->index(r, c));
            const QString text = view->item(r, c) ? view->item(r, c)->text() : QString();
            const QRect need =
                view->fontMetrics().boundingRect(QRect(0, 0, cell.width() - margin, 1 << 20),
                                                 view->wordWrap() ? Qt::TextWordWrap : 0, text);
            QVERIFY2(view->isColumnHidden(c) ||
                         (need.width() <= cell.width() - margin && need.height() <= cell.height()),
                     qPrintable(view->objectName() + " cuts " + text));
        }
}

} // namespace

class TestOfflineJournal : public QObject {
    Q_OBJECT

    std::unique_ptr<TempProgramFolder> m_home;

private slots:
    void init()
    {
        m_home.reset(); // restores the environment before the next folder is set
        m_home = std::make_unique<TempProgramFolder>();
        Database::conn().openOrCreate(u"Provider=SQLite;Data Source="_s +
                                      m_home->file(u"mill.db"_s));
    }

    // Offline a card seen before is served and an unknown one named (the frames' offline walk
    // shows both); online a wrong statement is the database's own error.
    void wrongLookupIsNotOffline()
    {
        try {
            Journal::cachedRead(u"card"_s, u"x"_s, u"select nonsense"_s);
            QFAIL("a wrong statement was served");
        } catch (const DbError& e) {
            QVERIFY(!Journal::isOffline(e));
        }
    }

    // Alone the mark sits at the window's top right; over a status line it takes its room from
    // the line, whose text is fitted into what is left: "…请核对后保存" is read to its end.
    void markShowsWhatWaits_data()
    {
        QTest::addColumn<bool>("overLine");
        QTest::newRow("alone") << false;
        QTest::newRow("over the status line") << true;
    }
    void markShowsWhatWaits()
    {
        QFETCH(bool, overLine);
        QWidget window;
        window.resize(1024, 768);
        auto* line = new QLabel(
            u"已恢复上次没有保存的记录（卷号 012，18 米，2 个疵点），请核对后保存"_s, &window);
        line->setGeometry(0, 700, 640, 48);
        OfflineBadge* badge = OfflineBadge::attach(&window, overLine ? line : nullptr);
        window.show();
        QVERIFY(!badge->isVisible());
        Journal::save(JournalRecord::create(u"check"_s, u"卷号 001"_s));
        Journal::save(JournalRecord::create(u"check"_s, u"卷号 002"_s));
        QVERIFY(badge->isVisible());
        QCOMPARE(badge->text() + u'/' + badge->accessibleName(),
                 u"离线：2 条待上传/离线：2 条待上传"_s);
        const QRect room = line->contentsRect().translated(line->pos());
        const QRect need = line->fontMetrics().boundingRect(QRect(0, 0, room.width(), 1000),
                                                            Qt::TextWordWrap, line->text());
        QVERIFY(overLine ? room.right() < badge->x() && need.width() <= room.width() &&
                               need.height() <= room.height()
                         : badge->geometry().right() <= window.width() && badge->y() < 20);
    }

    // Over a 1366 x 768 station the operator reads why each record was refused, the server's
    // whole statement included.
    void refusedRecordIsRetriedOrDroppedWhenConfirmed()
    {
        const JournalRecord a = JournalRecord::create(u"load"_s, u"进度 织造  卡号 K001"_s);
        const JournalRecord b = JournalRecord::create(u"check"_s, u"卷号 002"_s);
        const QString tooLong =
            u"将截断字符串或二进制数据。语句已终止。\nINSERT INTO "
            u"BillStatusDetail(barcode,viewcount,"
            "viewnumber,billstatus,remark,usercode,address,billstatusID,createdate,endUser) "
            "values('K001',120,3,'织造','夜班','001,002,003,004,005,006','001,002,003,004,005,"
            "006',0,'2026-12-07 08:30:00','M07')"_s;
        for (const JournalRecord& r : {a, b}) {
            Journal::save(r);
            Journal::store().markRefused(r.id, r.id == a.id ? tooLong : u"卡已删除"_s);
        }
        QWidget station;
        station.resize(1366, 768);
        frmJournal dialog(&station);
        dialog.show();
        auto* list = dialog.findChild<QTableWidget*>(u"lstRefused"_s);
        QCOMPARE(list->rowCount(), 2);
        checkCellsWhole(list);
        QCOMPARE(list->item(0, 2)->toolTip(), tooLong);
        // A tap on a record shows it in full below the list.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualRect(list->model()->index(1, 1)).center());
        QVERIFY(dialog.findChild<QPlainTextEdit*>()->toPlainText().endsWith(u"原因：卡已删除"_s));
        MessageBox::setNextAnswer(MessageBox::AnswerNo);
        QTest::mouseClick(dialog.findChild<QPushButton*>(u"cmdDrop"_s), Qt::LeftButton);
        QCOMPARE(list->rowCount(), 2); // not confirmed: nothing dropped
        MessageBox::setNextAnswer(MessageBox::AnswerYes);
        QTest::mouseClick(dialog.findChild<QPushButton*>(u"cmdDrop"_s), Qt::LeftButton);
        QCOMPARE(Journal::store().entry(b.id)->state, JournalStore::State::Dropped);
        QTest::mouseClick(dialog.findChild<QPushButton*>(u"cmdRetry"_s), Qt::LeftButton);
        QCOMPARE(Journal::store().entry(a.id)->state, JournalStore::State::Pending);
        QCOMPARE(list->rowCount(), 0);
    }
};

QTEST_MAIN(TestOfflineJournal)
#include "TestOfflineJournal.moc"
