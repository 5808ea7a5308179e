#include "stations/marklabel/MaitouPackage.h"

#include "db/Connection.h"
#include "db/Recordset.h"
#include "journal/JournalStore.h"
#include "stations/marklabel/MaitouPallet.h"
#include "stations/marklabel/MaitouSql.h"
#include "shell/SqlText.h"
#include "text/Vb.h"
#include "time/Clock.h"

using namespace Qt::StringLiterals;

namespace {

QString autoItemKey(const RollForm& roll)
{
    return roll[CheckField::ItemName] + u'\x1f' + roll[CheckField::SpareB] + u'\x1f'
           + roll[CheckField::Color];
}

// An article is made on the database with an id only the database gives; a package of an
// article this station never found or made cannot be written offline without inventing one, so
// the save stops and the form keeps the package until the database is back.
long long keptAutoItem(JournalStore* journal, const RollForm& roll)
{
    std::optional<Recordset> kept;
    try {
        if (journal)
            kept = journal->lookup(u"autoItem"_s, autoItemKey(roll));
    } catch (const DbError&) {
    }
    if (kept && kept->isOpen() && !kept->eof())
        return kept->field(0).toLongLong();
    throw DbError(u"数据库离线：商品「%1」还没有建立，离线时不能新建商品。这一箱没有保存，"
                  "数据库连上后请再按保存。"_s.arg(roll[CheckField::ItemName]));
}

} // namespace

void MaitouPackage::keepAutoItem(JournalStore& journal, const RollForm& roll, long long id)
{
    if (id <= 0)
        return;
    Recordset one({u"itemid"_s});
    one.addRow({DbValue(id)});
    try {
        journal.putLookup(u"autoItem"_s, autoItemKey(roll), one);
    } catch (const DbError&) {
        // Only the offline saves of this article need it; online ones find it again.
    }
}

void MaitouPackage::prepare(RollForm& roll, Connection* conn, JournalStore* journal) const
{
    // The pallet a new package goes on is the one a restart goes on with, also when the database
    // is away then and the packages since are still in the journal.
    if (journal && roll.id <= 0 && !roll[CheckField::Pallet].isEmpty()) {
        Recordset kept({u"bagnumber"_s, u"item2"_s});
        kept.addRow({DbValue(roll[CheckField::Pallet]), DbValue(roll[CheckField::Style])});
        try {
            journal->putLookup(keptPalletKind(), m_cfg.machineId, kept);
        } catch (const DbError&) {
            // Only a restart while the database is away would miss it: the operator types it.
        }
    }
    if (!autoItems())
        return;
    if (!conn) {
        roll.itemId = QString::number(keptAutoItem(journal, roll));
        return;
    }
    const QString name = roll[CheckField::ItemName], spareB = roll[CheckField::SpareB],
                  colour = roll[CheckField::Color];
    Recordset type = conn->execute(MaitouSql::maxItemType());
    const QString t = sqlNum(type.isOpen() && !type.eof() ? type.field(0).toDouble() : 0);
    Recordset found = conn->execute(MaitouSql::findAutoItem(name, spareB, colour));
    long long id = 0;
    if (found.isOpen() && !found.eof()) {
        id = found.field(0).toLongLong();
        if (journal)
            keepAutoItem(*journal, roll, id);
    } else {
        // Kept for offline saves once the package is committed (the window's rollSaved).
        Recordset made = conn->execute(MaitouSql::insertAutoItem(name, t, spareB, colour) + u";"_s
                                       + CheckSql::lastIdentity());
        id = made.isOpen() && !made.eof() ? made.field(0).toLongLong() : 0;
        // Saved without its own article the package would name the card line's, and the station
        // would keep that one for the name: nothing of the package is written.
        if (id <= 0)
            throw DbError(u"商品「%1」没有建立（数据库没有返回新商品的ID），这一箱没有保存，请再按保存"_s.arg(name));
    }
    roll.itemId = QString::number(id);
}

InspectionRoll::Item5Source MaitouPackage::item5Source(const QString& lineId) const
{
    // Kept for the offline journal as the card itself: a package saved offline gets its stock
    // number from the line's offset seen last.
    return {u"maitouItem5"_s, MaitouSql::item5Lookup(lineId)};
}

QString MaitouPackage::item5(const QString& checkCode, const Recordset& line) const
{
    // A line without a stock-number offset gives the package none.
    if (!line.isOpen() || line.eof() || line.field(0).isNull())
        return QString();
    return vb::CStr(vb::Val(checkCode) + line.field(0).toDouble());
}

bool MaitouPackage::quantityValid(const QString& text) const { return vb::Val(text) > 0; }

QString MaitouPackage::palletSummary(int packages, double quantity) const
{
    return u"  卷数:"_s + QString::number(packages) + u"  "_s + u"米数:"_s + vb::CStr(quantity);
}

std::optional<RollProblem> MaitouPackage::checkCardOrLine(const RollForm& roll) const
{
    if (!autoItems() && roll.chosenItem.isEmpty())
        return RollProblem{u"请选择商品"_s, CheckField::ItemName};
    return std::nullopt;
}

std::optional<RollProblem> MaitouPackage::checkExtra(const RollForm& roll) const
{
    if (!quantityValid(roll[CheckField::Quantity]))
        return RollProblem{u"请输入有效的数量"_s, CheckField::Quantity};
    return std::nullopt;
}

CheckSql::Roll MaitouPackage::values(const RollForm& roll) const
{
    CheckSql::Roll r = InspectionRoll::values(roll);
    // The pallet's shipping list and the office read when each package was packed.
    r.today = Clock::nowText();
    return r;
}

QString MaitouPackage::insertStatement(const RollForm& roll, const CheckSql::Roll& r) const
{
    return CheckSql::insertRoll(r, u"bagnumber,"_s, u'\'' + sqlText(roll[CheckField::Pallet]) + u'\'');
}

QString MaitouPackage::updateStatement(const RollForm& roll, const CheckSql::Roll& r, long long id) const
{
    return CheckSql::updateRoll(r, id, u"  bagnumber='"_s + sqlText(roll[CheckField::Pallet]) + u"',"_s,
                                updateDateSet());
}

QString MaitouPackage::numberCondition(const RollForm& roll) const
{
    // Packages are numbered per article or per card line; a dye lot has no numbers of its own.
    if (m_cfg.codeType == u"面料编码")
        return u"   itemid  ="_s + sqlNum(vb::Val(roll.itemId));
    return u"   billdetailid  ="_s + sqlNum(vb::Val(roll.lineId));
}

void MaitouPackage::fill(RollForm& roll, const Recordset& rs) const
{
    InspectionRoll::fill(roll, rs);
    roll.itemId = rs.text(u"itemid"_s);
    roll.chosenItem = vb::Val(roll.itemId) > 0 ? roll.itemId : QString();
    roll[CheckField::Pallet] = rs.text(u"bagnumber"_s);
}

QString MaitouPackage::rollListBase() const { return MaitouSql::rollListBase(); }

QString MaitouPackage::deleteQuestion(Connection& conn, long long id) const
{
    return MaitouPallet::deleteQuestion(conn, id);
}
