// Conversions of script values, the VBScript way (CDbl of texts, CStr of numbers).
#include "script/ScriptValue.h"

#include "text/Vb.h"

#include <QLocale>
#include <cmath>

using namespace Qt::StringLiterals;

namespace script {

Value Value::number(double x)
{
    Value v;
    v.number_ = x;
    return v;
}

Value Value::text(const QString& s)
{
    Value v;
    v.type_ = Type::Text;
    v.text_ = s;
    return v;
}

Value Value::boolean(bool b)
{
    Value v;
    v.type_ = Type::Boolean;
    v.number_ = b ? -1 : 0;
    return v;
}

namespace {

// "&H1F" is a number to VBScript's CDbl as well.
bool hexNumber(QStringView s, double* out)
{
    if (s.size() < 3 || s[0] != u'&' || (s[1] != u'H' && s[1] != u'h'))
        return false;
    bool ok = false;
    const qlonglong v = s.mid(2).toLongLong(&ok, 16);
    if (ok)
        *out = static_cast<double>(v);
    return ok;
}

} // namespace

bool Value::toNumber(double* out) const
{
    if (type_ != Type::Text) {
        *out = number_;
        return true;
    }
    const QString t = text_.trimmed();
    if (hexNumber(t, out))
        return true;
    bool ok = false;
    const double x = QLocale::c().toDouble(t, &ok);
    // QLocale accepts "inf" and "nan", which VBScript does not.
    if (!ok || !std::isfinite(x))
        return false;
    *out = x;
    return true;
}

QString Value::toText() const
{
    switch (type_) {
    case Type::Text:
        return text_;
    case Type::Boolean:
        return number_ != 0 ? u"True"_s : u"False"_s;
    case Type::Number:
        break;
    }
    return vb::CStr(number_);
}

QString ScriptError::message() const
{
    if (position < 0)
        return description;
    return u"%1（第 %2 个字符）"_s.arg(description).arg(position + 1);
}

} // namespace script
