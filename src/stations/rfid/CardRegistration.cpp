#include "stations/rfid/CardRegistration.h"

#include "db/Connection.h"
#include "db/DbError.h"
#include "db/Transaction.h"
#include "shell/SysUtilDb.h"
#include "stations/rfid/RfidSql.h"

using namespace Qt::StringLiterals;

namespace {

QString noBillMessage(const QString& billCode) { return u"没有生产单号 %1，这张卡没有登记"_s.arg(billCode); }

// One binding as the operator reads it.
QString holderText(const Recordset& rs)
{
    return rs.text(0) == u"2"_s ? u"生产卡 "_s + rs.text(1) : (rs.text(1) + u' ' + rs.text(2)).trimmed();
}

} // namespace

bool CardRegistration::incomplete(const CardRequest& r)
{
    // A card without its serial, or a user card without its user, would bind nothing.
    return r.card.isEmpty() || (r.page == CardPage::Production && r.ref.isEmpty())
        || (r.page == CardPage::Worker && r.ref.isEmpty());
}

CardRegistration::Plan CardRegistration::plan(const CardRequest& r)
{
    Plan p;
    const bool user = r.page == CardPage::Worker;
    p.ref = r.ref;
    QString holder = u"生产卡 "_s + r.ref;
    if (user) {
        // The card stands for the user's code, which the stations look workers up by.
        Recordset rs = m_conn.execute(RfidSql::userCode(r.ref));
        p.ref = SysUtil::recordsetHasRows(rs) ? rs.text(0) : QString();
        holder = r.holder;
    }
    // A card number that is not on the database would bind the card to nothing the progress
    // station can report on. Looked at before any question, and again with the write, since the
    // operator may take a while to answer.
    if (!user && !billExists(p.ref)) {
        p.refused = noBillMessage(p.ref);
        return p;
    }
    // One card, one meaning: the progress station takes a card for a worker or for nothing, so
    // a card bound to anyone or anything else is moved on Yes only.
    const QStringList others = otherHolders(r.card, user ? u"1"_s : u"2"_s, p.ref);
    p.rebind = !others.isEmpty();
    if (p.rebind)
        p.question = u"该卡已登记给 %1，改登记给 %2？"_s.arg(others.join(u'、'), holder);
    return p;
}

QString CardRegistration::bind(const CardRequest& r, const Plan& p)
{
    const bool user = r.page == CardPage::Worker;
    Transaction trans(m_conn);
    if (!user && !billExists(p.ref))
        return noBillMessage(p.ref);
    if (p.rebind)
        m_conn.execute(RfidSql::deleteCard(r.card));
    m_conn.execute(RfidSql::insertCard(r.card, p.ref, user ? u"1"_s : u"2"_s));
    trans.commit();
    return QString();
}

QString CardRegistration::remove(const QString& card)
{
    try {
        m_conn.executeOnRow(RfidSql::deleteCard(card));
    } catch (const DbError& e) {
        // A serial that was never registered (or was removed at another desk) removes nothing.
        if (!e.isRowMissing())
            throw;
        return u"这张卡没有登记：%1"_s.arg(card);
    }
    return QString();
}

QString CardRegistration::holdersLine(const QString& card)
{
    // What the card stands for now, before the operator binds it anew.
    Recordset rs = m_conn.execute(RfidSql::cardHolders(card));
    QStringList holders;
    for (; !rs.eof(); rs.moveNext())
        holders << holderText(rs);
    return holders.isEmpty() ? u"卡号 %1：未登记"_s.arg(card)
                             : u"卡号 %1：已登记给 %2"_s.arg(card, holders.join(u'、'));
}

bool CardRegistration::billExists(const QString& billCode)
{
    Recordset rs = m_conn.execute(RfidSql::billCount(billCode));
    return SysUtil::recordsetHasRows(rs) && rs.field(0).toDouble() > 0;
}

QStringList CardRegistration::otherHolders(const QString& card, const QString& type, const QString& ref)
{
    QStringList others;
    Recordset rs = m_conn.execute(RfidSql::cardHolders(card));
    for (; !rs.eof(); rs.moveNext()) {
        // The same binding again is a further row, as it always was (compared as the database
        // compares texts).
        if (rs.text(0).trimmed() == type && rs.text(1).trimmed().compare(ref.trimmed(), Qt::CaseInsensitive) == 0)
            continue;
        const QString other = holderText(rs);
        if (!others.contains(other))
            others << other;
    }
    return others;
}
