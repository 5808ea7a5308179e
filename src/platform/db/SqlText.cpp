// Values pasted into T-SQL text.
#include "db/SqlText.h"

#include "text/Vb.h"

namespace SqlText {

QString escape(const QString& text)
{
    QString s = text;
    return s.replace(u'\'', QStringLiteral("''"));
}

QString quoted(const QString& text) { return u'\'' + escape(text) + u'\''; }

QString number(double x) { return vb::sqlNumber(x); }

QString dateTime(const QDateTime& t) { return t.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")); }

QString date(const QDate& d) { return d.toString(QStringLiteral("yyyy-MM-dd")); }

} // namespace SqlText
