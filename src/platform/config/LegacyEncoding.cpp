// GB18030 through the C library's iconv, which every Linux and Windows toolchain here carries.
#include "config/LegacyEncoding.h"

#include <QStringDecoder>

#include <cerrno>
#include <iconv.h>

namespace LegacyEncoding {

namespace {

QByteArray convert(const char* to, const char* from, const QByteArray& in, bool* clean = nullptr)
{
    if (clean)
        *clean = true;
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return QByteArray();
    QByteArray out(in.size() * 4 + 16, '\0');
    char* inPtr = const_cast<char*>(in.constData());
    size_t inLeft = static_cast<size_t>(in.size());
    char* outPtr = out.data();
    size_t outLeft = static_cast<size_t>(out.size());
    while (inLeft > 0) {
        if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1)) {
            if (errno == EILSEQ || errno == EINVAL) { // keep going past a broken byte
                if (clean)
                    *clean = false;
                ++inPtr;
                --inLeft;
                continue;
            }
            break;
        }
    }
    iconv_close(cd);
    out.truncate(out.size() - static_cast<qsizetype>(outLeft));
    return out;
}

} // namespace

bool isValidUtf8(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder(bytes);
    return !decoder.hasError();
}

QString fromGb18030(const QByteArray& bytes)
{
    return QString::fromUtf8(convert("UTF-8", "GB18030", bytes));
}

bool strictGb18030(const QByteArray& bytes, QString* text)
{
    bool clean = false;
    const QByteArray utf8 = convert("UTF-8", "GB18030", bytes, &clean);
    if (clean)
        *text = QString::fromUtf8(utf8);
    return clean;
}

QByteArray toGb18030(const QString& text) { return convert("GB18030", "UTF-8", text.toUtf8()); }

} // namespace LegacyEncoding
