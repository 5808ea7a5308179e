// The registration of RFID cards without a window: a card bound to a user (by his code) or to a
// production card that exists, a card removed with every binding, and the question asked before
// a card bound to anyone or anything else is moved. Returns messages and questions; the window
// asks and shows.
#pragma once

#include "stations/rfid/RfidFields.h"

#include <QString>
#include <QStringList>

class Connection;

/// What the operator asks of the desk on a page.
struct CardRequest {
    int page = CardPage::Worker;
    QString card;   // the card serial
    QString ref;    // the user id chosen (员工卡) or the production card number (生产卡)
    QString holder; // the user as the list names him (员工卡)
};

class CardRegistration {
public:
    explicit CardRegistration(Connection& conn) : m_conn(conn) {}

    /// A serial, a production card number or a user is missing (" 请输入卡号或ID卡").
    static bool incomplete(const CardRequest& request);
    static QString incompleteMessage() { return QString::fromUtf16(u" 请输入卡号或ID卡"); }

    /// What binding a card takes: the refusal (a production card not on the database), or the
    /// question to ask first ("" none), with what the card will stand for.
    struct Plan {
        QString refused;
        QString question;
        QString ref;          // the user's code, or the production card number
        bool rebind = false;  // the card's other bindings go
    };
    /// Throws DbError.
    Plan plan(const CardRequest& request);
    /// Binds the card as planned in one transaction; the refusal when the production card went
    /// meanwhile ("" bound). Throws DbError with nothing written.
    QString bind(const CardRequest& request, const Plan& plan);
    /// Removes every binding of a card; the reason when there was none ("" removed). Throws
    /// DbError.
    QString remove(const QString& card);
    /// The status line after a card was read: its number and what it is registered to. Throws
    /// DbError.
    QString holdersLine(const QString& card);

private:
    bool billExists(const QString& billCode);
    /// What the card is bound to besides (type, ref), as the question names it.
    QStringList otherHolders(const QString& card, const QString& type, const QString& ref);

    Connection& m_conn;
};
