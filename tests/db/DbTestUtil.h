// Helpers of the database tests: a temporary embedded database and a compact text of a result.
#pragma once

#include "db/Connection.h"
#include "db/Recordset.h"

#include <QStringList>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

/// Rows joined by "\n", cells by "|"; null as "NULL", bytes as 0x and their hex digits.
inline QString rowsText(const Recordset& rs)
{
    QStringList rows;
    for (const auto& row : rs.rows()) {
        QStringList cells;
        for (const DbValue& v : row)
            cells << (v.isNull() ? u"NULL"_s
                      : v.type() == DbValue::Type::Bytes
                          ? u"0x"_s + QString::fromLatin1(v.toBytes().toHex())
                          : v.toString());
        rows << cells.join(u'|');
    }
    return rows.join(u'\n');
}

/// A fresh embedded database with the schema in a temporary folder.
struct TempDatabase {
    QTemporaryDir dir;
    QString path() const { return dir.path() + u"/test.db"_s; }
    QString connectionString() const { return u"Provider=SQLite;Data Source="_s + path(); }
    void open(Connection& conn) const { conn.openOrCreate(connectionString()); }
};
