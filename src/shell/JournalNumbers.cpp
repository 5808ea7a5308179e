// Renumbering on replay, through the same running numbers the stations use online.
#include "shell/JournalNumbers.h"

#include "db/SqlText.h"
#include "shell/SysUtilDb.h"

using namespace Qt::StringLiterals;

bool JournalNumbers::taken(Connection& conn, const JournalNumber& n)
{
    const QString filter = n.filter.trimmed().isEmpty() ? u"1=1"_s : n.filter;
    return conn.execute(u"select count(*) from %1 where (%2) and %3=%4"_s.arg(
                            n.table, filter, n.column, SqlText::quoted(n.value)))
               .field(0)
               .toLongLong() > 0;
}

QString JournalNumbers::finalNumber(Connection& conn, const JournalNumber& n)
{
    QString code = n.value;
    if (code.isEmpty() || taken(conn, n))
        code = SysUtil::nextCode(conn, n.table, n.column, n.length, n.filter, n.holder);
    SysUtil::codeSaved(conn, n.table, n.column, n.filter, code, n.holder);
    return code;
}
