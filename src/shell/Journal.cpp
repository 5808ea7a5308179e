// The process's journal, its status and its background retry.
#include "shell/Journal.h"

#include "journal/JournalRetry.h"
#include "shell/Database.h"
#include "shell/JournalNumbers.h"
#include "shell/MessageBox.h"

#include "config/FolderMode.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <memory>

using namespace Qt::StringLiterals;

namespace Journal {

void onReplayed(const JournalReplayResult& result, int pending, int refused)
{
    Status* s = status();
    if (pending >= 0) {
        s->m_pending = pending;
        s->m_refused = refused;
    }
    // The counts first: a window's answer to the upload may be a question the operator reads
    // with the mark still in view.
    emit s->changed(s->m_pending, s->m_refused);
    // Then the database is back for the station (a station started while it was away opens its
    // connection here), before the windows read their lists again after the upload.
    if (result.reached)
        emit s->reached();
    if (result.applied > 0 || result.alreadyApplied > 0 || result.refused > 0)
        emit s->replayed(result);
}

namespace {

// Owned by the application, so that its thread ends before the application does.
QPointer<JournalRetry>& retry()
{
    static QPointer<JournalRetry> r;
    return r;
}

} // namespace

Status* status()
{
    static Status* s = new Status; // lives until the process ends, as the shared connection
    return s;
}

void Status::refresh()
{
    if (!QFileInfo::exists(JournalStore::defaultPath())) {
        m_pending = m_refused = 0; // nothing was ever journaled in this program folder
        emit changed(0, 0);
        return;
    }
    try {
        m_pending = store().count(JournalStore::State::Pending);
        m_refused = store().count(JournalStore::State::Refused);
    } catch (const DbError&) {
        // The journal cannot be read: the counts stay as they were.
    }
    emit changed(m_pending, m_refused);
}

JournalStore& store()
{
    static std::unique_ptr<JournalStore> s;
    if (!s || s->path() != JournalStore::defaultPath())
        s = std::make_unique<JournalStore>(); // a test's program folder may change
    return *s;
}

QString writeProblem()
{
    const QString path = JournalStore::defaultPath();
    QString reason;
    if (QFileInfo::exists(path)) {
        try {
            store().checkWritable();
        } catch (const DbError& e) {
            reason = e.message();
        }
    } else if (!FolderMode::canCreateIn(QFileInfo(path).absolutePath())) {
        reason = u"文件夹不能写入"_s;
    }
    return reason.isEmpty() ? QString()
                            : u"离线记录文件不能写入：%1\n%2"_s.arg(QDir::toNativeSeparators(path), reason);
}

bool isOffline(const DbError& e) { return e.offline(); }

void save(const JournalRecord& record)
{
    store().add(record);
    status()->refresh();
    retryNow();
}

bool keep(const JournalRecord& record, QWidget* parent)
{
    try {
        save(record);
        return true;
    } catch (const DbError& e) {
        MessageBox::critical(e.message(), parent);
        return false;
    }
}

bool queued()
{
    return status()->pending() > 0;
}

void retryNow()
{
    if (retry())
        retry()->retryNow();
}

QString statusText(int pending, int refused)
{
    QStringList parts;
    if (pending > 0)
        parts << u"离线：%1 条待上传"_s.arg(pending);
    if (refused > 0)
        parts << u"%1 条被服务器拒绝"_s.arg(refused);
    return parts.join(u"，"_s);
}

QString statusAfterReplay(const QString& line, const QString& savedPrefix,
                          const JournalReplayResult& pass)
{
    // A line naming the save (its roll number, "数据库连上后上传") is stale once it was sent: the
    // number may even have changed. A refused save was not uploaded: the red mark lists why.
    if (status()->pending() > 0 || !line.startsWith(savedPrefix))
        return line;
    return pass.refused > 0
               ? u"离线保存的记录有 %1 条被服务器拒绝，点红框查看原因"_s.arg(pass.refused)
               : u"离线保存的记录已上传"_s;
}

void startRetry()
{
    if (retry() || !QCoreApplication::instance())
        return;
    retry() = new JournalRetry(
        JournalStore::defaultPath(), Database::connectionSetting(),
        [] { return std::make_unique<JournalNumbers>(); }, 5000, QCoreApplication::instance());
    QObject::connect(retry(), &JournalRetry::replayed, status(), &onReplayed);
    retry()->start();
}

QString offlineLookupMessage() { return JournalStore::offlineLookupMessage(); }

QString offlineDailyNumberMessage(const QString& what, const QString& button)
{
    return u"数据库离线，新%1要由数据库发出，现在取不到：请手动输入%1（与其他机台不重复），"
           "数据库连上后再按「%2」"_s.arg(what, button);
}

QString dailyNumberBackMessage(const QString& what, const QString& button)
{
    return u"数据库已连上：新%1可以按「%2」取了"_s.arg(what, button);
}

void whenDatabaseBack(QObject* context, const std::function<void()>& whenBack)
{
    QObject::connect(status(), &Status::reached, context, whenBack, Qt::SingleShotConnection);
    if (retry())
        retry()->watch();
}

namespace {

Recordset kept(const QString& kind, const QString& key, const std::function<Recordset()>& read,
               bool* online = nullptr)
{
    JournalStore* journal = nullptr;
    try {
        journal = &store();
    } catch (const DbError&) {
        // The journal file cannot be opened: the lookup itself goes on, nothing is kept.
    }
    if (journal)
        return journal->keptRead(kind, key, read, online);
    if (online)
        *online = false;
    const Recordset rs = read();
    if (online)
        *online = true;
    return rs;
}

} // namespace

Recordset cachedRead(const QString& kind, const QString& key, const QString& sql, bool* online)
{
    return kept(
        kind, key, [&] { return Database::conn().execute(sql); }, online);
}

Recordset cachedQuery(const QString& kind, const QString& key, const QString& sql, bool* online)
{
    return kept(
        kind, key, [&] { return Database::conn().query(sql); }, online);
}

QString cachedText(const QString& kind, const QString& key, const std::function<QString()>& read)
{
    try {
        const Recordset rs = kept(kind, key, [&] {
            Recordset one({u"text"_s});
            one.addRow({read()});
            return one;
        });
        return rs.recordCount() > 0 ? rs.text(0) : QString();
    } catch (const DbError& e) {
        if (!isOffline(e))
            throw;
        return QString(); // never kept: the station's own default
    }
}

QString nextOfflineNumber(const JournalNumber& scope, const QString& shown)
{
    return store().nextNumber(scope, shown);
}

} // namespace Journal
