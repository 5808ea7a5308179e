// The statements of the inspection station, built as text exactly as the mill's database expects
// them; each builder is a pure function so that its text can be tested.
#pragma once

#include <QString>
#include <QStringList>

namespace CheckSql {

/// The roll-number pattern ("codeLen") of a station that has none set: three digits, so that a
/// fresh station's first roll is 001 on the form, on the labels and in the settings panel alike.
inline constexpr char16_t DefaultCodeLen[] = u"000";

/// Built-in production-card lookup for the bill types list (e.g. "55,57,99") and a card number.
QString cardLookup(const QString& billTypes, const QString& card);

/// A stored lookup statement with every "?" replaced by the card number.
QString storedCardLookup(const QString& stored, const QString& card);

/// Process history of a bill line, newest first.
QString progressHistory(const QString& lineId);

/// Totals of the first grade of a line, or of every roll of a card.
QString lineTotals(const QString& firstGrade, long long lineId);
QString cardTotals(const QString& card);

/// The values of one roll as they go into checkinfo.
struct Roll {
    QString billCode;     // B
    QString checkCode;    // C
    QString taskno;       // T
    double onCount = 0;   // Q: quantity + plus/minus
    double checkCount = 1; // F: 0.9144 for yards, else 1
    double billDetailId = 0; // D
    double itemId = 0;    // I
    QString grade;        // G
    QString items[14];    // item1..item13 by index (item5 computed)
    double cutCount = 0;  // W: weight
    double patchCount = 0; // P: plus/minus
    QString userCode;     // U
    QString remark;       // R
    QString machineId;    // M
    QString today;        // "YYYY-MM-DD"
};

/// Insert of a new roll; extraColumns/extraValues are inserted before "createDate" (the pallet
/// number of the mark-label station).
QString insertRoll(const Roll& r, const QString& extraColumns = QString(),
                   const QString& extraValues = QString());
/// Update of a saved roll; extraSets are placed before "  createDate" (e.g. "  bagnumber='7',").
QString updateRoll(const Roll& r, long long id, const QString& extraSets = QString(),
                   const QString& dateSet = QString());

QString deleteDefects(long long rollId);
QString oldQuantity(long long rollId);
QString lastIdentity();

/// One defect row of the grid: columns 1..6 (name, position, count, score, worker, remark). A
/// long defect's "起-止" position goes into bugPosition and bugEnd.
QString insertDefect(long long rollId, const QStringList& cols, const QString& today);
/// As above with the roll's id as text (the journal's mark for an id the database gives later).
QString insertDefect(const QString& rollId, const QStringList& cols, const QString& today);

QString item5Lookup(const QString& lineId);
QString loadRoll(long long rollId);
QString loadDefects(long long rollId);
QString rollExists(const QString& idText);

/// Condition of the next free roll number for the scope "codetype".
QString rollNumberCondition(const QString& codetype, const QString& itemId, const QString& taskno,
                            const QString& lineId);

/// Rows already saved with this roll number in the numbering scope.
QString rollNumberTaken(const QString& checkCode, const QString& condition);

} // namespace CheckSql
