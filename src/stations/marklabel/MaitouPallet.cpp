#include "stations/marklabel/MaitouPallet.h"

#include "db/Connection.h"
#include "stations/marklabel/MaitouSql.h"
#include "text/Vb.h"

using namespace Qt::StringLiterals;

QString MaitouPallet::listStatement(const QString& stored, const QString& pallet) const
{
    return MaitouSql::palletList(stored, pallet, m_package.settings().machineId);
}

PalletList MaitouPallet::read(Connection& conn, const QString& stored, const QString& pallet) const
{
    PalletList list;
    list.statement = listStatement(stored, pallet);
    // A stored list is the office's text: it may only read.
    list.rows = conn.query(list.statement);
    list.summary = summary(list.rows);
    return list;
}

QString MaitouPallet::summary(const Recordset& rows) const
{
    double sum = 0;
    const int quantity = rows.fieldIndex(u"净重"_s);
    for (const QList<DbValue>& row : rows.rows())
        if (quantity >= 0)
            sum += row.value(quantity).toDouble();
    return m_package.palletSummary(rows.recordCount(), sum);
}

bool MaitouPallet::changed(const Recordset& listed, const Recordset& now)
{
    return now.columns() != listed.columns() || now.rows() != listed.rows();
}

std::optional<RollProblem> MaitouPallet::commandRefused(int command, bool pressed,
                                                        const QString& perPallet) const
{
    // 换卷 starts a package and is never held up, nor is the step a delete runs.
    if (pressed && (command == CheckCmd::PreviousRoll || command == CheckCmd::NextRoll)
        && vb::Val(perPallet) <= 0)
        return RollProblem{u"输入每版的箱数"_s, CheckField::Style};
    return std::nullopt;
}

QString MaitouPallet::fullQuestion(const QString& perPallet, const Recordset& rows) const
{
    if (!m_package.asksWhenPalletFull()
        || !MaitouPackage::palletFull(vb::Val(perPallet), rows.recordCount()))
        return QString();
    return u"已经到了指定的箱数了，是否需要打印清单并自动换板号?"_s;
}

long long MaitouPallet::newestPackage(const Recordset& rows)
{
    const int column = rows.fieldIndex(u"ID"_s);
    long long newest = 0;
    for (const QList<DbValue>& row : rows.rows())
        if (column >= 0)
            newest = qMax(newest, row.value(column).toLongLong());
    return newest;
}

QString MaitouPallet::lastPalletStatement() const
{
    return MaitouSql::lastPallet(m_package.settings().machineId);
}

std::optional<PalletStart> MaitouPallet::startFrom(const Recordset& rs)
{
    if (!rs.isOpen() || rs.eof())
        return std::nullopt;
    // A pallet without a count (or "0") leaves the field to the packer.
    return PalletStart{rs.text(0), vb::Val(rs.text(1)) > 0 ? rs.text(1) : QString()};
}

QString MaitouPallet::deleteQuestion(Connection& conn, long long id)
{
    QString number = QString::number(id);
    try {
        Recordset rs = conn.execute(MaitouSql::rollNumber(id));
        if (rs.isOpen() && !rs.eof())
            number = rs.text(0);
    } catch (const DbError&) {
        // The question still names the package by its id; the delete reports the database.
    }
    return u"是否要删除卷号["_s + number + u"]的标签"_s;
}
