// The station fixtures' common part: the folder, the connection and the window's size.
#include "StationFixture.h"

#include "shell/Database.h"
#include "shell/DbInfoCache.h"
#include "shell/MessageBox.h"
#include "time/Clock.h"
#include "widgets/PanelStyle.h"

#include <QTest>
#include <QWidget>
#include <sqlite3.h>

using namespace Qt::StringLiterals;

StationFolder::StationFolder()
{
    DbInfoCache::clear();
    MessageBox::clearShown();
    MessageBox::clearAnswers();
}

StationFolder::~StationFolder()
{
    Database::conn().close();
    Clock::set(QDateTime());
}

void StationFolder::useDatabase(const QString& databaseFile)
{
    const QByteArray source = databaseFile.isEmpty()
                                  ? "缺省"_ba
                                  : "Provider=SQLite;Data Source=" + databaseFile.toUtf8();
    m_home.writeFile(u"config.ini"_s, "[CUSTOMER.SETTING]\nCONNECTIONSTRING=" + source + "\n");
}

void StationFolder::seed(std::initializer_list<const char*> rows)
{
    Database::openConnection();
    for (const char* sql : rows)
        exec(QString::fromUtf8(sql));
}

QString StationFolder::scalar(const QString& sql)
{
    Recordset rs = Database::conn().execute(sql);
    return rs.isOpen() && !rs.eof() ? rs.text(0) : QString();
}

void StationFolder::exec(const QString& sql) { Database::conn().execute(sql); }

void StationFolder::execNative(const QString& sql, const QString& file)
{
    sqlite3* db = nullptr;
    const QString path = m_home.file(file.isEmpty() ? u"mirel.db"_s : file);
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    char* error = nullptr;
    const int rc = sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &error);
    sqlite3_close(db);
    QVERIFY2(rc == SQLITE_OK, error);
}

void StationFolder::prepare(QWidget& window)
{
    PanelStyle::install();
    window.resize(1024, 768);
}
