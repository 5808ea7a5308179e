#include "stations/packing/PackingMark.h"

#include "db/Connection.h"
#include "db/Recordset.h"
#include "stations/packing/BagSql.h"
#include "text/Vb.h"

using namespace Qt::StringLiterals;

namespace {

struct Column {
    BagField::Index field;
    const char16_t* name;
};
// Query columns into mark fields; where a name comes twice the first column is the roll's own.
const Column markColumns[] = {{BagField::ItemName, u"品名"},   {BagField::ItemCode, u"编码"},
                              {BagField::Spec, u"规格"},       {BagField::Remark, u"备注"},
                              {BagField::Quantity, u"数量"},   {BagField::Composition, u"成分"},
                              {BagField::GramWeight, u"克重"}, {BagField::Width, u"门幅"},
                              {BagField::Lot, u"批号"},        {BagField::Machine, u"机台号"},
                              {BagField::Inspector, u"检验工"}};

} // namespace

PackingList PackingList::load(Connection& conn, const QString& billCode)
{
    PackingList list;
    Recordset rs = conn.execute(BagSql::packingList(billCode));
    QString invoice;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
        list.rolls.insert(vb::CStr(rs.number(u"checkinfoid"_s)), rs.number(u"billprocount"_s));
        invoice = rs.text(u"invoice"_s);
    }
    // The last row's invoice decides.
    list.autoPrint = invoice.contains(u"是"_s);
    return list;
}

namespace PackingMark {

QString rollId(const QString& scanned)
{
    return vb::CStr(vb::Val(scanned));
}

bool showsLookedUp(const QString& barcode, double shownRoll)
{
    const QString shown = barcode.trimmed();
    return shown.isEmpty() || vb::CStr(vb::Val(shown)) == vb::CStr(shownRoll);
}

QString notLookedUpMessage()
{
    return u"卡号已改，请先查询"_s;
}

QList<std::pair<BagField::Index, QString>> fields(const Recordset& rs)
{
    QList<std::pair<BagField::Index, QString>> out;
    for (const Column& c : markColumns) {
        const QString name = QString::fromUtf16(c.name);
        if (rs.hasField(name))
            out.append({c.field, rs.text(name)});
    }
    return out;
}

std::optional<MarkProblem> listProblem(bool billCodeValid, const std::optional<PackingList>& list,
                                       double id)
{
    if (!billCodeValid)
        return std::nullopt;
    if (!list)
        return MarkProblem{u"先扫描单号"_s, true};
    if (list->rolls.isEmpty())
        return MarkProblem{u"这个单号没有细码单"_s};
    if (!list->rolls.contains(vb::CStr(id)))
        return MarkProblem{u"这匹布没有在这个单号的细码里面，请确认?"_s};
    return std::nullopt;
}

double savedQuantity(const QString& quantity, const QString& addend)
{
    return vb::Val(quantity) + vb::Val(addend);
}

JournalStep saveStep(const MarkSave& s)
{
    return {BagSql::saveMark(s.quantity, s.inspector, s.machine, s.id), false, true};
}

void save(Connection& conn, const MarkSave& s)
{
    conn.executeOnRow(saveStep(s).sql);
}

} // namespace PackingMark
