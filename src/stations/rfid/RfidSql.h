// Statements of the card table RFID_CARDINFO and the text a card read puts into a card field:
// the registration desk writes the table, the progress station reads its worker cards from it.
#pragma once

#include <QByteArray>
#include <QString>

namespace RfidSql {

/// The users offered for a worker card: value userid, text usercode and username.
QString userListQuery();
/// Binds a card serial: type "1" to a user, "2" to a production card.
QString insertCard(const QString& cardNo, const QString& refCode, const QString& cardType);
/// Removes every binding of a card serial, whatever its type.
QString deleteCard(const QString& cardNo);
/// The user code of a user id of the user list.
QString userCode(const QString& userId);
/// What a card serial is bound to, oldest first: type, refCode and, for a user, the user name.
QString cardHolders(const QString& cardNo);
/// The number of production cards with this card number (0: there is no such card).
QString billCount(const QString& billCode);
/// The user code a worker card (its text as read) is registered to, the latest binding first.
QString registeredWorker(const QString& cardText);

/// The text of a card's block for a card field: the bytes as characters without the zero bytes
/// that pad a short text to the block's 16 (UTF-8 text as its characters); a block that is not
/// text (control bytes inside) as its hexadecimal pairs.
QString cardFieldText(const QString& blockText, const QByteArray& block);

} // namespace RfidSql
