// Statements of the label tab's spreadsheet import.
#include "stations/inspection/CheckLabelImport.h"

#include "db/Connection.h"
#include "db/DbError.h"
#include "db/Transaction.h"
#include "sheet/SheetFile.h"
#include "text/Vb.h"

#include <cmath>
#include <optional>

using namespace Qt::StringLiterals;

namespace CheckLabels {

namespace {

QString quoted(const QString& s)
{
    QString t = s;
    return u"'"_s + t.replace(u'\'', u"''"_s) + u"'"_s;
}

// A cell as a number: a number cell, or a text that is a number and nothing else (a typed
// "12 m" is a mistake the operator must see, not 12).
std::optional<double> numberOf(const sheet::SheetGrid& grid, int row, int col)
{
    if (grid.isNumber(row, col))
        return grid.cell(row, col).toDouble();
    bool ok = false;
    const double v = grid.text(row, col).trimmed().toDouble(&ok);
    return ok ? std::optional<double>(v) : std::nullopt;
}

QString describe(const sheet::SheetGrid& grid, int row, const QString& reason)
{
    return u"第%1行（%2, %3, %4, %5）%6"_s.arg(row).arg(
        grid.text(row, 1), grid.text(row, 2), grid.text(row, 10), grid.text(row, 11), reason);
}

} // namespace

QString badRowsText()
{
    return u"不符合规格的数据："_s;
}

QString noDataText()
{
    return u"没有有效的数据。"_s;
}

QString importInsert(const ImportContext& ctx, const QString& checkCode, double quantity,
                     const QString& grade)
{
    QStringList values = {quoted(ctx.billCode),      vb::sqlNumber(ctx.billDetailId),
                          vb::sqlNumber(ctx.itemId), quoted(checkCode),
                          vb::sqlNumber(quantity),   vb::sqlNumber(ctx.weight),
                          vb::sqlNumber(ctx.patchCount), quoted(grade),
                          quoted(ctx.machineId),     quoted(ctx.userCode),
                          quoted(ctx.taskno),        quoted(ctx.remark)};
    for (const QString& item : ctx.items)
        values << quoted(item);
    values << quoted(ctx.today);
    return u"Insert into checkInfo (billCode,billdetailId,itemid,checkCode,onCount,cutcount,"
           "patchcount,grade,machineId,checkUsercode,taskno,remark,item1,item2,item3,"
           "item4,createDate) values( "_s +
           values.join(u',') + u")"_s;
}

QString importUpdate(long long id, double quantity, const QString& grade)
{
    QString g = grade;
    return u" update CheckInfo set onCount="_s + vb::sqlNumber(quantity) + u",grade='"_s +
           g.replace(u'\'', u"''"_s) + u"' where ID="_s + QString::number(id);
}

ImportPlan planImport(const sheet::SheetGrid& grid, const ImportContext& ctx)
{
    ImportPlan plan;
    for (int row = 2; row <= grid.rowCount(); ++row) {
        if (grid.text(row, 1).trimmed().isEmpty())
            break;
        const std::optional<double> id = numberOf(grid, row, 1);
        if (id && *id == 0)
            break;
        if (!id || *id != std::floor(*id) || (*id < 0 && *id != -1)) {
            plan.badRows << describe(grid, row, u"ID不是有效的卷ID"_s);
            continue;
        }
        const std::optional<double> quantity = numberOf(grid, row, 10);
        if (!quantity) {
            plan.badRows << describe(grid, row, u"数量不是数字"_s);
            continue;
        }
        const QString grade = grid.text(row, 11).trimmed();
        if (*id > 0) {
            plan.statements.append({importUpdate(static_cast<long long>(*id), *quantity, grade), true});
            continue;
        }
        const QString checkCode = grid.text(row, 2).trimmed();
        if (checkCode.isEmpty())
            plan.badRows << describe(grid, row, u"新卷没有卷号"_s);
        else if (ctx.billDetailId <= 0)
            plan.badRows << describe(grid, row, u"新卷需要先查找卡号"_s);
        else
            plan.statements.append({importInsert(ctx, checkCode, *quantity, grade)});
    }
    return plan;
}

ImportResult importSheet(Connection& conn, const QString& fileName, const ImportContext& ctx)
{
    sheet::SheetGrid grid;
    QString error;
    if (!sheet::readFirstSheet(fileName, &grid, &error))
        return {false, error, true};
    const ImportPlan plan = planImport(grid, ctx);
    if (!plan.badRows.isEmpty())
        return {false, badRowsText() + u"\n"_s + plan.badRows.join(u'\n'), false};
    if (plan.statements.isEmpty())
        return {false, noDataText(), false};
    try {
        Transaction tx(conn);
        for (const ImportStatement& s : plan.statements) {
            if (s.existingRoll)
                conn.executeOnRow(s.sql);
            else
                conn.execute(s.sql);
        }
        tx.commit();
    } catch (const DbError& e) {
        return {false, e.message(), true};
    }
    return {true, u"导入成功"_s, false};
}

} // namespace CheckLabels
