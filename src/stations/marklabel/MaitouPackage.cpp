#include "stations/marklabel/MaitouPackage.h"

#include "db/Recordset.h"
#include "shell/SqlText.h"
#include "text/Vb.h"
#include "time/Clock.h"

using namespace Qt::StringLiterals;

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
