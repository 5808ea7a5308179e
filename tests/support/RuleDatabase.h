// An embedded database in a program folder of its own for the rule tests that build no window:
// the connection opened (the schema made), rows put in, and the first value a query gives.
#pragma once

#include "db/Connection.h"
#include "db/Recordset.h"
#include "support/TempProgramFolder.h"

using namespace Qt::StringLiterals;

struct RuleDatabase {
    TempProgramFolder home;
    Connection conn;

    RuleDatabase() { conn.openOrCreate(u"Provider=SQLite;Data Source="_s + home.file(u"mirel.db"_s)); }
    /// With rows (SQL statements, an array or a list) put in.
    template <class Rows>
    explicit RuleDatabase(const Rows& rows) : RuleDatabase()
    {
        for (const char* sql : rows)
            conn.execute(QString::fromUtf8(sql));
    }
    /// The first column of the first row ("" when there is none).
    QString scalar(const QString& sql)
    {
        const Recordset rs = conn.execute(sql);
        return rs.isOpen() && !rs.eof() ? rs.text(0) : QString();
    }
};
