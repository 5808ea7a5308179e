// Statement texts of the card table; operator texts go in with quotes doubled.
#include "stations/rfid/RfidSql.h"

#include "shell/SqlText.h"

#include <QStringDecoder>

using namespace Qt::StringLiterals;

namespace RfidSql {

QString userListQuery() { return u"select userid,usercode,username from userinfo "_s; }

QString insertCard(const QString& cardNo, const QString& refCode, const QString& cardType)
{
    return u"INSERT INTO RFID_CARDINFO (CARDNO,refCode,CARDTYPE) VALUES ('"_s + sqlText(cardNo)
        + u"','"_s + sqlText(refCode) + u"','"_s + cardType + u"')"_s;
}

QString deleteCard(const QString& cardNo)
{
    return u"delete RFID_CARDINFO   WHERE CARDNO='"_s + sqlText(cardNo) + u"'"_s;
}

QString userCode(const QString& userId)
{
    return u"select usercode from userinfo where userid='"_s + sqlText(userId) + u"'"_s;
}

QString cardHolders(const QString& cardNo)
{
    return u"select c.CARDTYPE,c.refCode,isnull(u.username,'') from RFID_CARDINFO c"_s
           u" left join UserInfo u on c.CARDTYPE='1' and u.usercode=c.refCode where c.CARDNO='"_s +
           sqlText(cardNo) + u"' order by c.id"_s;
}

QString billCount(const QString& billCode)
{
    return u"select count(*) from bill where billcode='"_s + sqlText(billCode) + u"'"_s;
}

QString registeredWorker(const QString& cardText)
{
    return u"select refCode from RFID_CARDINFO where CARDNO='"_s + sqlText(cardText) +
           u"' and CARDTYPE='1' order by id desc"_s;
}

QString cardFieldText(const QString& blockText, const QByteArray& block)
{
    QString text = blockText;
    while (text.endsWith(QChar(0)))
        text.chop(1);
    // A card written elsewhere with Chinese in it carries UTF-8: its number as written.
    QByteArray bytes = block;
    while (bytes.endsWith('\0'))
        bytes.chop(1);
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString written = utf8.decode(bytes);
    if (!utf8.hasError() && written.size() < bytes.size() && text == QString::fromLatin1(bytes))
        text = written;
    for (const QChar c : text)
        if (!c.isPrint())
            return QString::fromLatin1(block.left(16).toHex().toUpper());
    return text;
}

} // namespace RfidSql
