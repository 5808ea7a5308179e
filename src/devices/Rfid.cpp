// Card reads on the desk readers: block 10 of every mill card holds its 16-byte identity.
#include "devices/Rfid.h"

#include "codec/TextCodec.h"
#include "readers/RfidReaderLibrary.h"

using namespace Qt::StringLiterals;

namespace devices {

QString sectorKeyText() { return u"A3 5C 19 E7 42 B8"_s; }

int hexDigitValue(const QString& ch)
{
    if (ch.size() != 1)
        return 0;
    const char16_t c = ch.at(0).unicode();
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'z')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'Z')
        return c - u'A' + 10;
    return 0;
}

QByteArray hexTextToBytes(const QString& text)
{
    QByteArray out;
    if (text.isEmpty())
        return out;
    for (const QString& pair : text.split(u' ')) {
        int value = 0;
        // Only the last two digits of a longer pair make its byte.
        for (const QChar c : pair)
            value = (value * 16 + hexDigitValue(QString(c))) & 0xFF;
        out.append(static_cast<char>(value & 0xFF));
    }
    return out;
}

QString bytesToHexText(const QByteArray& bytes, int count)
{
    return QString::fromLatin1(bytes.left(count).toHex().toUpper());
}

QString bytesToCardText(const QByteArray& bytes, int count, const CardTextDecoder& decode)
{
    const QString raw = QString::fromLatin1(bytes.left(count));
    return decode ? decode(raw, u"orvex"_s) : TextCodec::decodeText(raw, u"orvex"_s);
}

bool readCardBlock(RfidReaderLibrary& reader, QByteArray* block)
{
    QByteArray data;
    if (reader.pcdRead(0, 0, 10, 1, hexTextToBytes(sectorKeyText()), &data) != 0)
        return false;
    if (block)
        *block = data.left(16);
    return true;
}

bool readWorkerCard(RfidReaderLibrary& reader, QString* text, const CardTextDecoder& decode)
{
    QByteArray block;
    if (!readCardBlock(reader, &block))
        return false;
    if (text)
        *text = bytesToCardText(block, 16, decode);
    return true;
}

} // namespace devices
