// The shared connection and the lookups of every station.
#include "shell/Database.h"

#include "codec/TextCodec.h"
#include "config/IniFile.h"
#include "config/ProgramFolder.h"
#include "db/ConnectionString.h"
#include "db/SqlText.h"
#include "shell/DbInfoCache.h"
#include "shell/Journal.h"
#include "shell/MessageBox.h"
#include "shell/SysUtil.h"
#include "shell/SysUtilDb.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace Database {

namespace {

const QString appPathKey = u"APPPATH"_s;

// First column of the first row as text, "" when there is no row.
QString firstText(const QString& sql)
{
    const Recordset rs = SysUtil::openRecordset(conn(), sql);
    return hasRecords(rs) ? rs.field(0).toString() : QString();
}

QString dictionaryLookup(const QString& column, const QString& type, const QString& value)
{
    if (type.isEmpty())
        return u"select %1  from Dictionary"_s.arg(column);
    return u"select %1  from Dictionary Where ITEMTYPE='%2' and ItemValues='%3'"_s.arg(
        column, SqlText::escape(type), SqlText::escape(value));
}

} // namespace

Connection& conn()
{
    static Connection c;
    // Nothing inside the shared connection's transactions waits on a person: message boxes
    // raised there are shown once the transaction has ended.
    [[maybe_unused]] static const bool held = [] {
        MessageBox::setHeldWhile([] { return c.inTransaction(); });
        c.setTransactionEndedHandler([] { MessageBox::showHeld(); });
        return true;
    }();
    return c;
}

namespace {

const QString settingSection = u"CUSTOMER.SETTING"_s;
const QString settingKey = u"CONNECTIONSTRING"_s;

} // namespace

QString configProblem()
{
    const IniFile ini(ProgramFolder::file(u"/config.ini"_s));
    if (!QFileInfo::exists(ini.path()))
        return QString();
    QString problem = ini.problem();
    if (problem.isEmpty() && ini.read(settingSection, settingKey).trimmed().isEmpty())
        problem = u"中没有 [%1] %2（用本机数据库请写 %2=缺省）"_s.arg(settingSection, settingKey);
    else if (!problem.isEmpty())
        problem.prepend(u'：');
    return problem.isEmpty() ? QString()
                             : u"配置文件 %1%2，程序不能启动"_s.arg(
                                   QDir::toNativeSeparators(ini.path()), problem);
}

QString connectionSetting()
{
    // A file that is there but unreadable, or says nothing of the database, names no database:
    // the station must not quietly work on the embedded one while the mill's server waits.
    if (!configProblem().isEmpty())
        return QString();
    const QString stored =
        SysUtil::readIni(settingSection, settingKey, u"缺省"_s, u"/config.ini"_s);
    return TextCodec::decodeText(stored, u"orvex"_s);
}

namespace {

const QString createdKey = u"DefaultCreated"_s;

// mirel.ini [Database] DefaultCreated: when the program folder's default database was made (or
// first found). Once set, a missing default database is a lost one.
bool defaultDatabaseExisted()
{
    return !SysUtil::readIni(u"Database"_s, createdKey, QString(), u"/mirel.ini"_s).isEmpty();
}

// Opens the shared connection; the reason in reason when it cannot.
bool tryOpen(QString* reason)
{
    Connection& c = conn();
    c.close();
    try {
        c.setCommandTimeout(36000);
        const QString setting = connectionSetting();
        const ConnectionTarget target = ConnectionString::resolve(setting);
        const bool isDefault = target.kind == ConnectionTarget::Sqlite && target.createWithSchema;
        // The default database is created once, on the first start in this program folder; one
        // that went away later is offline, as a named file would be.
        if (isDefault && !defaultDatabaseExisted() && !QFileInfo::exists(target.path))
            c.openOrCreate(setting);
        else
            c.open(setting);
        if (isDefault && !defaultDatabaseExisted())
            SysUtil::writeIni(u"Database"_s, createdKey,
                              QDateTime::currentDateTime().toString(u"yyyy-MM-dd HH:mm:ss"),
                              u"/mirel.ini"_s);
        return true;
    } catch (const DbError& e) {
        c.close();
        *reason = e.message();
        return false;
    }
}

// A station started while the database was away works offline; once the journal's retry reaches
// the database, the shared connection opens (or waits for the next time it is reached).
void openWhenBack()
{
    static bool waiting = false; // once, however often a station tries in the meantime
    if (waiting || !QCoreApplication::instance())
        return;
    waiting = true;
    Journal::startRetry();
    Journal::whenDatabaseBack(QCoreApplication::instance(), [] {
        waiting = false;
        QString reason;
        if (!conn().isOpen() && !tryOpen(&reason))
            openWhenBack();
    });
}

} // namespace

bool openConnection()
{
    QString reason;
    if (tryOpen(&reason))
        return true;
    // The operator sees the fixed message; the reason goes to the console for the fitter.
    qWarning().noquote() << "openConnection:" << reason;
    MessageBox::show(u"数据库连接失败"_s, MessageBox::Critical);
    openWhenBack();
    return false;
}

QString buildConnectionString(const QString& server, const QString& user, const QString& password,
                              const QString& database, int mode)
{
    const QString head = mode == 2 ? u"Provider=SQLOLEDB.1;Persist Security Info=False;"_s
                                   : u"Provider=SQLOLEDB.1;Integrated Security=SSPI;"
                                     "Persist Security Info=False;"_s;
    return head + u"Data Source="_s + server + u";Initial Catalog="_s + database + u";User ID="_s +
           user + u";Password="_s + password + u';';
}

bool hasRecords(const Recordset* rs)
{
    return rs && rs->isOpen() && !rs->eof();
}

QString getDbInfo(const QString& code, const QString& def)
{
    try {
        // The cache always holds APPPATH once loaded; without it, it was never filled.
        if (!DbInfoCache::find(appPathKey))
            loadDbInfo();
        return DbInfoCache::find(code).value_or(def);
    } catch (const DbError&) {
        return def;
    }
}

void loadDbInfo()
{
    DbInfoCache::clear();
    Recordset rs = SysUtil::openRecordset(conn(), u"select InfoCode ,InfoValue from DBInfo "_s);
    for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
        const QString code = rs.field(0).toString();
        if (!DbInfoCache::find(code))
            DbInfoCache::insert(code, rs.field(1).toString());
    }
    DbInfoCache::insert(appPathKey, ProgramFolder::path());
}

QString getItemName(const QString& type, const QString& value)
{
    return firstText(dictionaryLookup(u"ItemName"_s, type, value));
}

QString getReportSql(const QString& type, const QString& value)
{
    try {
        return firstText(dictionaryLookup(u"ReportSQL"_s, type, value));
    } catch (const DbError&) {
        return QString();
    }
}

QString getUserName(const QString& userCode)
{
    return firstText(u"SELECT userName FROM USERINFO WHERE ISSTOP=0 AND USERCODE='"_s +
                     SqlText::escape(userCode) + u'\'');
}

} // namespace Database
