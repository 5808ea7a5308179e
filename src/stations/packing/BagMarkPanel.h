// The mark area of the packing window: the roll looked up by its label barcode, the bill's
// packing list, the mark's correction and save (or its record in the offline journal), and the
// mark fields cleared for the next roll.
#pragma once

#include "stations/packing/PackingMark.h"

#include <QObject>
#include <optional>

class DbError;
class frmBag;

class BagMarkPanel : public QObject {
    Q_OBJECT
public:
    explicit BagMarkPanel(frmBag* form);

    /// "查询F2": the roll of the barcode shown, then its automatic print and add.
    void lookupMark();
    bool findMark(const QString& id);
    void showMark(const QString& id);
    /// 保存F3: true after the roll was saved (or kept offline).
    bool saveMark();
    void clearMark();
    /// Enter in the bill field: the bill's packing list.
    void loadPackingList(const QString& billCode);
    /// False, with the operator told, when the bill's packing list keeps the roll out.
    bool packingListAllows(double id);
    /// False, with the operator told, when the barcode field shows another roll than the one
    /// looked up (scanned over without Enter): the form's figures are not that roll's.
    bool barcodeLookedUp();
    /// The roll shown (barcode's tag): 0 when none.
    double shownRoll() const;
    /// The scanned bill's packing list; none before a bill is scanned.
    const std::optional<PackingList>& packingList() const { return m_packingList; }

private:
    bool saveMarkOffline(const MarkSave& save);
    /// A lookup's error: offline in the status line (the operator goes on), else in a box.
    void showLookupError(const DbError& e);
    MarkSave markSave() const;

    frmBag* m_form;
    std::optional<PackingList> m_packingList;
};
