// The station side of the offline journal: saves that could not reach the database go into the
// program folder's journal, lookups are kept for use offline, numbers go on locally, and a
// background retry sends everything once the database answers. Every station window shows the
// state through status().
#pragma once

#include "db/DbError.h"
#include "journal/JournalReplay.h"

#include <QObject>

class QWidget;
#include <functional>

namespace Journal {

/// The process's notifier: the journal's counts after every save and every replay pass.
class Status : public QObject {
    Q_OBJECT
public:
    int pending() const { return m_pending; }
    int refused() const { return m_refused; }
    /// Re-reads the counts from the journal file and tells the listeners.
    void refresh();

signals:
    void changed(int pending, int refused);
    /// A replay pass sent records (renumbered ones are listed in result).
    void replayed(const JournalReplayResult& result);
    /// A pass found the database answering.
    void reached();

private:
    friend void onReplayed(const JournalReplayResult&, int, int);
    int m_pending = 0;
    int m_refused = 0;
};

Status* status();

/// A replay pass ended (the background retry's, or one run by hand): the counts left (pending
/// below 0 keeps the counts) and what was sent, to every window.
void onReplayed(const JournalReplayResult& result, int pending, int refused);

/// The program folder's journal, opened on first use. Throws DbError when it cannot be opened.
JournalStore& store();

/// "离线记录文件不能写入：<file>" and the reason when the station could not keep a save offline
/// (the journal file or its folder not writable for this user); empty when it can.
QString writeProblem();

/// True when a database error means the database could not be reached (the server or file
/// away, or the connection never opened): the save goes into the journal.
bool isOffline(const DbError& e);

/// Keeps a save made offline (one durable transaction), tells the status lines and asks the
/// retry to try soon. Throws DbError when the journal file cannot be written.
void save(const JournalRecord& record);

/// save(), or, when the journal file itself cannot be written, the reason in a message box over
/// parent; true when the record is kept.
bool keep(const JournalRecord& record, QWidget* parent);

/// True when the station's next save goes into the journal without trying the database:
/// earlier saves still wait there, and the database must get them first, in their order.
bool queued();

/// The status line's text: "离线：N 条待上传" (and the refused ones); empty when nothing waits.
QString statusText(int pending, int refused);

/// What a station's status line says after the replay pass `pass`: a line that tells of a save
/// kept offline (it starts with savedPrefix) says "离线保存的记录已上传" once nothing waits any
/// more, or how many records the server refused in the pass; any other line stays as it is.
QString statusAfterReplay(const QString& line, const QString& savedPrefix,
                          const JournalReplayResult& pass);

/// Starts the background retry for the shared connection's database (once per process).
void startRetry();
/// Asks the retry to try at once (a save was journaled, the operator retried a record).
void retryNow();

/// The rows of a lookup a station needs offline too (a card, an article, a worker): run on the
/// shared connection and kept under kind and key; while offline the kept rows (of the last
/// seven days). Throws DbError: the database's, or offlineLookupMessage() when the lookup was
/// never kept. online, when given, tells whether the rows came from the database.
Recordset cachedRead(const QString& kind, const QString& key, const QString& sql,
                     bool* online = nullptr);
/// As cachedRead for a query stored in the database, which runs read-only (Connection::query).
Recordset cachedQuery(const QString& kind, const QString& key, const QString& sql,
                      bool* online = nullptr);
QString offlineLookupMessage();
/// What taking a new pallet or box number of the day (field `what`, button `button`) says
/// offline: those numbers are given out by the database for every station at once.
QString offlineDailyNumberMessage(const QString& what, const QString& button);
/// What the status line says instead of offlineDailyNumberMessage() once the database answers.
QString dailyNumberBackMessage(const QString& what, const QString& button);
/// Runs whenBack (in context's thread, unless context is gone) the first time the background
/// retry finds the database answering; until then it tries on every tick even when nothing
/// waits in the journal.
void whenDatabaseBack(QObject* context, const std::function<void()>& whenBack);
/// A single text looked up the same way (a stored statement, a dictionary preset): read() on
/// success, kept; while offline the kept text, or "" when it was never kept.
QString cachedText(const QString& kind, const QString& key, const std::function<QString()>& read);

/// The number of the next save while offline, in the scope of `scope`: the number shown on the
/// form (the one the station reserved) while it has not been used offline, then one above the
/// highest number journaled in the scope, padded to scope.length.
QString nextOfflineNumber(const JournalNumber& scope, const QString& shown);

} // namespace Journal
