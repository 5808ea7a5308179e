// The spreadsheet import of the label tab: rolls corrected (id, quantity, grade) or added to the
// card line on screen, one statement per worksheet row.
#pragma once

#include "sheet/SheetGrid.h"

class Connection;

#include <QString>
#include <QStringList>

namespace CheckLabels {

/// The fields of the card line on screen that a new roll (id -1) takes from the form.
struct ImportContext {
    QString billCode;
    double billDetailId = 0;
    double itemId = 0;
    double weight = 0;
    double patchCount = 0;
    QString machineId;
    QString userCode;
    QString taskno;
    QString remark;
    QString items[4]; // item1..item4
    QString today;    // "yyyy-MM-dd"
};

/// One row's statement; the update of an existing roll must find that roll (a roll deleted
/// since the worksheet was exported, or an id typed wrong, stops the import).
struct ImportStatement {
    QString sql;
    bool existingRoll = false;
};

/// The statements of the rows that could be read, and the rows that could not.
struct ImportPlan {
    QList<ImportStatement> statements;
    QStringList badRows;
};

/// Reads rows 2, 3, ... of the worksheet: column 1 roll id (-1 = a new roll of the card line),
/// 2 roll number, 10 quantity, 11 grade; stops at the first row whose id is empty or 0. A row
/// with an id or quantity that is not a number, a fractional or negative id other than -1, or
/// a new roll without a number or without a card line is a bad row.
ImportPlan planImport(const sheet::SheetGrid& grid, const ImportContext& ctx);

/// The insert of a new roll from a worksheet row.
QString importInsert(const ImportContext& ctx, const QString& checkCode, double quantity,
                     const QString& grade);
/// " update CheckInfo set onCount=<q>,grade='<g>' where ID=<id>"
QString importUpdate(long long id, double quantity, const QString& grade);

/// What an import did and what to tell the operator (critical: a failure, not a notice).
struct ImportResult {
    bool written = false;
    QString message;
    bool critical = false;
};
/// Reads the first worksheet of a file (.xls, .xlt, .xlsx) and writes its rows in one
/// transaction: every row or, when one fails (a roll deleted meanwhile, a number the database
/// refuses), none.
ImportResult importSheet(Connection& conn, const QString& fileName, const ImportContext& ctx);

/// "不符合规格的数据："
QString badRowsText();
/// "没有有效的数据。"
QString noDataText();

} // namespace CheckLabels
