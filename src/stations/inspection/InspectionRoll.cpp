#include "stations/inspection/InspectionRoll.h"

#include "db/Recordset.h"
#include "script/VbScript.h"
#include "stations/inspection/CheckGrading.h"
#include "stations/inspection/CheckListSql.h"
#include "text/Vb.h"
#include "time/Clock.h"

using namespace Qt::StringLiterals;

namespace {

// Formula placeholders and the fields whose numbers replace them.
const std::pair<const char16_t*, CheckField::Index> FormulaFields[] = {
    {u"[重量]", CheckField::Weight}, {u"[系数]", CheckField::Factor}, {u"[加减]", CheckField::PlusMinus},
    {u"[备3]", CheckField::Spare3},  {u"[备4]", CheckField::Spare4},  {u"[备5]", CheckField::Spare5},
    {u"[备6]", CheckField::Spare6},  {u"[备A]", CheckField::SpareA},  {u"[备B]", CheckField::SpareB},
    {u"[备C]", CheckField::SpareC},  {u"[备D]", CheckField::SpareD},
};

// item1..item13 of checkinfo and the fields they hold (item5 is computed at the save).
const std::pair<int, CheckField::Index> ItemFields[] = {
    {1, CheckField::GramWeight}, {2, CheckField::Style},     {3, CheckField::Spare3},
    {4, CheckField::Spare4},     {6, CheckField::Spare5},    {7, CheckField::Spare6},
    {8, CheckField::ItemName},   {9, CheckField::Color},     {10, CheckField::SpareA},
    {11, CheckField::SpareB},    {12, CheckField::SpareC},   {13, CheckField::SpareD},
};

// The grid's position of a saved defect: as stored, or "起-止" for a long one. Databases made
// before the end column existed have point defects only.
QString defectPosition(const Recordset& d)
{
    const double start = d.number(u"bugPosition"_s);
    const double end = d.hasField(u"bugEnd"_s) ? d.number(u"bugEnd"_s) : 0;
    return end > start ? CheckGrading::spanText(start, end) : d.text(u"bugPosition"_s);
}

} // namespace

double RollForm::number(CheckField::Index f) const { return vb::Val(fields[f]); }

std::optional<RollProblem> InspectionRoll::validate(const RollForm& roll,
                                                    const std::function<QString(int)>& caption) const
{
    if (std::optional<RollProblem> problem = checkCardOrLine(roll))
        return problem;
    // "lab,txt;" per required field, the grade as "11,gradeBtn;".
    const QStringList items = m_cfg.requiredFields.split(u';');
    for (qsizetype i = 0; i + 1 < items.size(); ++i) {
        const QString item = items[i].trimmed();
        if (item == u"11,gradeBtn") {
            if (roll.grade.isEmpty())
                return RollProblem{u"等级没有选择。"_s};
            continue;
        }
        const QStringList parts = item.split(u',');
        const int lab = int(vb::Val(parts.value(0)));
        const int txt = int(vb::Val(parts.value(1)));
        if (parts.size() != 2 || txt < 0 || txt >= CheckField::Count || !roll.present[size_t(txt)])
            continue; // an entry for a field this station does not have
        const QString v = roll.fields[size_t(txt)].trimmed();
        const bool counted = txt == CheckField::Quantity || txt == CheckField::Weight;
        if (v.isEmpty() || (counted && vb::Val(v) <= 0))
            return RollProblem{caption(lab) + u",没有输入。"_s, txt};
    }
    return std::nullopt;
}

std::optional<RollProblem> InspectionRoll::checkCardOrLine(const RollForm& roll) const
{
    if (!m_cfg.cardOptional && vb::Val(roll.lineId) <= 0)
        return RollProblem{u"请输入有效的卡号 或 选择好对应的颜色"_s, CheckField::Card};
    return std::nullopt;
}

std::optional<RollProblem> InspectionRoll::checkExtra(const RollForm& roll) const
{
    Q_UNUSED(roll);
    return std::nullopt;
}

CheckSql::Roll InspectionRoll::values(const RollForm& roll) const
{
    CheckSql::Roll r;
    r.billCode = roll[CheckField::Card];
    r.checkCode = roll[CheckField::RollNumber];
    r.taskno = roll[CheckField::DyeLot];
    r.patchCount = roll.number(CheckField::PlusMinus);
    r.onCount = roll.number(CheckField::Quantity) + r.patchCount;
    r.checkCount = roll.yards ? 0.9144 : 1;
    r.billDetailId = vb::Val(roll.lineId);
    r.itemId = vb::Val(roll.itemId);
    r.grade = roll.grade;
    for (const auto& [item, field] : ItemFields)
        if (roll.present[field])
            r.items[item] = roll[field];
    r.cutCount = roll.number(CheckField::Weight);
    r.userCode = roll[CheckField::Worker];
    r.remark = roll.remark;
    r.machineId = m_cfg.machineId;
    r.today = Clock::todayText();
    return r;
}

QString InspectionRoll::insertStatement(const RollForm& roll, const CheckSql::Roll& r) const
{
    Q_UNUSED(roll);
    return CheckSql::insertRoll(r);
}

QString InspectionRoll::updateStatement(const RollForm& roll, const CheckSql::Roll& r, long long id) const
{
    Q_UNUSED(roll);
    return CheckSql::updateRoll(r, id);
}

QString InspectionRoll::numberCondition(const RollForm& roll) const
{
    return CheckSql::rollNumberCondition(m_cfg.codeType, roll.itemId, roll[CheckField::DyeLot], roll.lineId);
}

QString InspectionRoll::steppedNumber(const QString& shown) const
{
    return vb::Format(vb::Val(shown) + vb::Val(m_cfg.codeDesc), m_cfg.codeLen);
}

QList<std::pair<QString, CheckField::Index>> InspectionRoll::formulaFields()
{
    QList<std::pair<QString, CheckField::Index>> fields;
    for (const auto& [name, field] : FormulaFields)
        fields.append({QString::fromUtf16(name), field});
    return fields;
}

bool InspectionRoll::formulaInputsComplete(const QString& formula, const RollForm& roll) const
{
    for (const auto& [name, field] : FormulaFields)
        if (formula.contains(QString::fromUtf16(name)) && roll[field].trimmed().isEmpty())
            return false;
    return true;
}

QString InspectionRoll::quantityFormula() const
{
    return m_cfg.quantityFormula.isEmpty() ? u"[重量] * [系数]"_s : m_cfg.quantityFormula;
}

FormulaQuantity InspectionRoll::quantityFromWeight(const RollForm& roll) const
{
    // A cleared weight (a cleared form) weighs nothing: the quantity stays as it is.
    if (!m_cfg.clearQuantity || roll[CheckField::Weight].trimmed().isEmpty())
        return {};
    const QString formula = quantityFormula();
    QList<std::pair<QString, double>> values;
    for (const auto& [name, field] : formulaFields()) {
        // An empty input is not 0: the quantity on screen stays until the formula is complete.
        if (formula.contains(name) && roll[field].trimmed().isEmpty())
            return {std::nullopt, u"数量公式缺少"_s + name};
        values.append({name, roll.number(field)});
    }
    double quantity = 0;
    QString error;
    if (!script::evalNumber(script::fillPlaceholders(formula, values), &quantity, &error))
        return {std::nullopt, u"数量公式错误："_s + error};
    return {vb::Format(quantity, m_cfg.dispFormat), QString()};
}

void InspectionRoll::fill(RollForm& roll, const Recordset& rs) const
{
    roll[CheckField::DyeLot] = rs.text(u"taskNo"_s);
    roll.id = rs.field(u"id"_s).toLongLong();
    roll[CheckField::RollNumber] = rs.text(u"checkcode"_s);
    roll[CheckField::Quantity] = vb::CStr(rs.number(u"oncount"_s) - rs.number(u"patchcount"_s));
    roll[CheckField::Weight] = rs.text(u"cutcount"_s);
    roll[CheckField::PlusMinus] = rs.text(u"patchcount"_s);
    for (const auto& [item, field] : ItemFields)
        roll[field] = rs.text(u"item"_s + QString::number(item));
    roll[CheckField::Card] = rs.text(u"billcode"_s);
    roll[CheckField::Worker] = rs.text(u"checkUsercode"_s);
    roll.remark = rs.text(u"remark"_s);
    roll.yards = qAbs(rs.number(u"checkcount"_s) - 0.9144) < 1e-9;
    roll.grade = rs.text(u"grade"_s);
}

QList<QStringList> InspectionRoll::defectRows(Recordset& d)
{
    QList<QStringList> rows;
    for (d.moveFirst(); !d.eof(); d.moveNext())
        rows << QStringList{QString(),          d.text(u"bugName"_s),  defectPosition(d),
                            d.text(u"bugCount"_s), d.text(u"bugScore"_s), d.text(u"checkCode"_s),
                            d.text(u"remark"_s)};
    return rows;
}

InspectionRoll::Item5Source InspectionRoll::item5Source(const QString& lineId) const
{
    return {u"item5"_s, CheckSql::item5Lookup(lineId)};
}

QString InspectionRoll::item5(const QString& checkCode, const Recordset& line) const
{
    if (!line.isOpen() || line.eof())
        return QString();
    return vb::CStr(vb::Val(checkCode) + line.field(u"backitem2"_s).toDouble()).trimmed();
}

QString InspectionRoll::rollListBase() const { return CheckListSql::builtInBase(); }

QString InspectionRoll::deleteQuestion(Connection& /*conn*/, long long id) const
{
    return u"是否要删除卷ID["_s + QString::number(id) + u"]的标签"_s;
}

bool InspectionRoll::numbersByDyeLot() const
{
    return m_cfg.codeType == u"缸号" && databaseNumbers();
}
