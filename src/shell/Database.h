// The process-wide database connection of the stations and the lookups every screen needs:
// dictionary texts, DBInfo captions and access codes, user names.
#pragma once

#include "db/Connection.h"
#include "db/Recordset.h"

#include <QString>

namespace Database {

/// The shared connection. Before a successful openConnection() it is closed, and statements on
/// it throw DbError (the caller's error handling shows it).
Connection& conn();

/// (Re)opens the shared connection with config.ini [CUSTOMER.SETTING] CONNECTIONSTRING
/// (default "缺省"), decoded by TextCodec with the word "orvex". The default database is
/// created with the schema only when it has never existed in this program folder (mirel.ini
/// [Database] DefaultCreated is written when it is made or first found). On failure shows
/// "数据库连接失败" (critical), leaves the connection closed and returns false; the station goes
/// on offline and the connection opens, without a message, when the offline journal's
/// background retry finds the database answering.
bool openConnection();

/// The decoded connection setting openConnection() uses; empty when configProblem() has one.
/// Without a config.ini at all, "缺省".
QString connectionSetting();

/// What keeps config.ini from naming the database, as the message that stops a station (naming
/// the file): bytes that are no text the program reads, or no CONNECTIONSTRING. Empty when the
/// file names one or does not exist.
QString configProblem();

/// mode 2: SQL login; any other mode: integrated security (both strings of the order system).
QString buildConnectionString(const QString& server, const QString& user, const QString& password,
                              const QString& database, int mode);

/// True when rs is given, open and not at its end.
bool hasRecords(const Recordset* rs);
inline bool hasRecords(const Recordset& rs) { return hasRecords(&rs); }

/// DBInfo text of code (letter case ignored), or def; "APPPATH" is the program folder. Loads the
/// cache on first use; database errors give def.
QString getDbInfo(const QString& code, const QString& def);
/// Refills the DBInfo cache from the table (the first row of a code wins). Throws DbError.
void loadDbInfo();

/// ItemName of the Dictionary row (type, value); with an empty type the first row's. "" when
/// there is none. Throws DbError.
QString getItemName(const QString& type, const QString& value);
/// ReportSQL of the Dictionary row (type, value); "" when there is none or on a database error.
QString getReportSql(const QString& type, const QString& value);
/// userName of an active user (ISSTOP=0) with this code; "". Throws DbError.
QString getUserName(const QString& userCode);

} // namespace Database
