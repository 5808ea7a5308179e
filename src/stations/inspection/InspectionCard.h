// A production card as the inspection station reads it: the statement that finds it, its lines
// as the colour box lists them, what the chosen line shows (its quantities, the order's remark,
// the customer and article lines), the fields a preset list fills from it, the process history
// on the roll bar and the running totals. Texts from rows; the window looks up and shows.
#pragma once

#include "db/Recordset.h"

#include <QList>
#include <QString>

#include <functional>
#include <utility>

namespace InspectionCard {

/// The card number as looked up: a scanner's CR/LF at its end taken off.
QString cleanNumber(const QString& text);
/// The mill's stored lookup ("LoadCheckSQL", "" when none) or the built-in one for the offered
/// bill types.
QString lookupSql(const QString& stored, const QString& billTypes, const QString& card);

/// The lines of the card: the colour box's caption ("品种-颜色-productionSN") and the line id.
QList<std::pair<QString, QString>> lines(Recordset& rs);

/// What the line under rs's cursor shows.
struct Line {
    QString inspect;   // 送检数量, "0" when the line has none
    QString quantity;  // 数量 (the tool tip of the inspected quantity)
    QString order;     // 生产单号, "0" when none
    QString id;        // BillDetailId
    QString itemId;
    QString billId;
    QString remark;    // the order's remark (单据备注)
    QString customer;  // "客户：…  订单号：…  交期：…"
    QString article;   // "品种：…  规格：…  颜色：… 数量:…  备注：…"
};
Line line(const Recordset& rs);

/// The fields a preset list ("index|column,…") sets from the row; a preset naming no field (by
/// fieldCount) or no column is a configuration slip and skipped, and so is a field kept(index).
QList<std::pair<int, QString>> presets(const QString& fill, const Recordset& rs, int fieldCount,
                                       const std::function<bool(int)>& kept);

/// The line's process history on the roll bar: the workers' shares (status 22 and 33, by code
/// and quantity) and the defect marks of the other steps.
struct History {
    QList<std::pair<QString, double>> workers;
    QList<double> marks;
    QString workerCodes; // "007,008," for the station's worker list, "" when none
};
History history(Recordset& rs);

/// The totals line of a card line (first grade's rolls: quantity and count, rs of
/// CheckSql::lineTotals): what is left of the line's quantity, or the weight when the station
/// weighs (byWeight).
QString lineTotals(const Recordset& rs, const QString& inspect, const QString& quantity,
                   bool byWeight);
/// The totals line of a whole card (CheckSql::cardTotals).
QString cardTotals(const Recordset& rs);

} // namespace InspectionCard
