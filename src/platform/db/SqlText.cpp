// Values pasted into T-SQL text.
#include "db/SqlText.h"

#include "text/Vb.h"

using namespace Qt::StringLiterals;

namespace SqlText {

QString escape(const QString& text)
{
    QString s = text;
    return s.replace(u'\'', u"''"_s);
}

QString quoted(const QString& text) { return u'\'' + escape(text) + u'\''; }

QString number(double x) { return vb::sqlNumber(x); }

QString dateTime(const QDateTime& t)
{
    return t.toString(u"yyyy-MM-dd HH:mm:ss"_s);
}

QString date(const QDate& d)
{
    return d.toString(u"yyyy-MM-dd"_s);
}

} // namespace SqlText
