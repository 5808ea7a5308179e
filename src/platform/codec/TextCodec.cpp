// The stored-setting codec: the UTF-8 text, prefixed by a check mark, XOR-ed with a key stream
// of SHA-256 blocks of the key word, in Base64 after "ENC:". It only keeps connection strings
// with passwords from being read over an operator's shoulder; it is not encryption.
#include "codec/TextCodec.h"

#include <QByteArray>
#include <QCryptographicHash>

using namespace Qt::StringLiterals;

namespace TextCodec {

namespace {

const QString prefix = u"ENC:"_s;
const QByteArray mark = QByteArrayLiteral("mr1|");

QByteArray keyStream(const QString& key, qsizetype length)
{
    QByteArray stream;
    const QByteArray k = key.toUtf8();
    for (quint32 block = 0; stream.size() < length; ++block) {
        QCryptographicHash h(QCryptographicHash::Sha256);
        h.addData(k);
        h.addData(QByteArray::number(block));
        stream += h.result();
    }
    return stream.left(length);
}

QByteArray xorWith(QByteArray bytes, const QString& key)
{
    const QByteArray stream = keyStream(key, bytes.size());
    for (qsizetype i = 0; i < bytes.size(); ++i)
        bytes[i] = char(bytes.at(i) ^ stream.at(i));
    return bytes;
}

} // namespace

QString decodeText(const QString& text, const QString& key)
{
    const QString trimmed = text.trimmed();
    if (!trimmed.startsWith(prefix))
        return text;
    const auto decoded = QByteArray::fromBase64Encoding(trimmed.mid(prefix.size()).toLatin1(),
                                                        QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded)
        return text;
    const QByteArray plain = xorWith(*decoded, key);
    if (!plain.startsWith(mark))
        return text;
    return QString::fromUtf8(plain.mid(mark.size()));
}

QString encodeText(const QString& plain, const QString& key)
{
    return prefix + QString::fromLatin1(xorWith(mark + plain.toUtf8(), key).toBase64());
}

} // namespace TextCodec
