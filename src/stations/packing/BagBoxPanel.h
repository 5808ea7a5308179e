// The box area of the packing window: the list of rolls in the box and its totals, a roll added
// (or moved in from another box after the packer's yes), taken out, a saved box listed again, the
// box written onto every roll of the list, a new box number, and the unsaved box kept over a
// crash in the station's journal file.
#pragma once

#include "stations/packing/PackingBox.h"

#include <QObject>
#include <QSet>

class frmBag;

class BagBoxPanel : public QObject {
    Q_OBJECT
public:
    explicit BagBoxPanel(frmBag* form);

    /// "取": the next box number of the day, without the last box's weight and remark.
    void newBox();
    /// "加入": the roll shown goes onto the list.
    void addRollToBox();
    /// "删除": the current row's roll leaves the box.
    void removeRollFromBox();
    /// "查": the saved box's rolls.
    void loadBox(const QString& box);
    /// 保存F8 after the weight question: the box is saved (or kept offline), the status line
    /// says so with the rolls moved in, and the list is cleared. True when saved.
    bool finishBoxSave();
    /// The box written onto its rolls in one transaction; true when saved.
    bool savebags();
    /// Puts back the box an earlier run left unsaved; false when there is none.
    bool restoreBoxDraft();
    /// A box weight or remark typed after the last roll goes with the kept box as well.
    void keepIfUnsaved()
    {
        if (!m_addedRolls.isEmpty())
            keepBoxDraft();
    }
    /// The list as the window shows it, with the remarks typed into it.
    const PackingBox& box();

private:
    /// A roll added to the model appears in the list's empty last row.
    void showAdded();
    void removeRow(int index);
    void showTotals();
    void clearList();
    /// Keeps the box in the journal file while a roll added to it is unsaved, else forgets it.
    void keepBoxDraft();
    /// The box is as the database has it (saved, listed by 查) or a new one is begun.
    void forgetBoxDraft();
    QStringList boxFields() const;

    frmBag* m_form;
    PackingBox m_box;
    QSet<QString> m_addedRolls;  // rolls added to the box list since it was listed or saved
    bool m_savedOffline = false; // the last box save went into the offline journal
};
