// Statement texts of the inspection station's roll list, its roll and card steps and the roll
// deletion; pure builders so that each text can be checked on its own.
#pragma once

#include <QDate>
#include <QList>
#include <QString>

namespace CheckListSql {

/// The list filter fields as the operator typed them; empty fields do not filter.
struct Filters {
    QString card;    // TxtBox(8): card number, contains
    QString color;   // TxtBox(9): colour number (taskno), contains
    QString dyeLot;  // TxtBox(10): dye lot (item2), contains
    QString rollNo;  // TxtBox(11): roll number, starts with
    QString remark;  // TxtBox(12): remark, contains
    QString worker;  // TxtBox(13): worker code, starts with
    QDate from;
    QDate to;
};

/// The built-in list text up to and including "where 1=1 ".
QString builtInBase();

/// The list statement: the stored text (or the built-in one when stored is empty) with
/// "{machineId}" replaced, then the filters, the date range and the order.
QString listQuery(const QString& stored, const Filters& f, const QString& machineId);

/// The ids among these whose rolls are counted in yards (a frame with "显示码数" ticked).
QString yardRolls(const QList<qint64>& ids);

/// A listed roll's quantity and whether it is counted in yards.
struct ListedQuantity {
    double quantity = 0;
    bool yards = false;
};
/// The list's total: "数量:" and the sum when every roll is counted in metres; with rolls in
/// yards each unit is summed apart ("数量:104.3米 32.81码"), a yard never added to a metre.
QString quantitySum(const QList<ListedQuantity>& rows);

/// Item, stock batch and quantity of a roll, read before it is deleted.
QString rollForStock(long long rollId);
/// Takes the roll's quantity off the packing progress of its card.
QString packingCorrection(long long rollId);
QString deleteDefects(long long rollId);
QString deleteRoll(long long rollId);
/// Takes a deleted roll back out of the stock batch it was booked into (one piece less).
QString reverseStock(long long batchId, double quantity);

/// The mill's own list text (Dictionary "listSQL"/"MirelQueryCheck"), "" when it keeps none.
QString storedList();

/// The neighbour-roll query for a machine; "" when nothing is to be run (forwards from 0).
QString neighbourRoll(long long id, bool backwards, const QString& card, const QString& machine);
/// The newest card of the shown bill types ("55,57,99", pasted unchanged).
QString latestCard(const QString& billTypes);
/// The neighbour-card id query; "" when nothing is to be run (forwards from 0).
QString neighbourCard(long long billId, bool backwards, const QString& billTypes);
QString cardCode(long long billId);
QString rollId(const QString& idText);

} // namespace CheckListSql
