// The roll on the inspection frame, kept in the station's journal file at every defect, so that
// a panel that loses its power or is killed mid-roll starts again with the roll's card, fields
// and defects instead of an empty form; the inspector checks them and saves as usual. The
// variant stations keep their own work through the hooks (what counts as unsaved work, what the
// form is loaded with again, what the status line says).
#pragma once

#include "shell/FormDraft.h"

#include <QHash>
#include <QObject>

class frmCheck;

class CheckDraftPanel : public QObject {
    Q_OBJECT
public:
    /// Keeps the roll after each recount of its defects (command 15) and forgets it when the
    /// roll is saved or a new roll begun.
    explicit CheckDraftPanel(frmCheck* form);

    /// Puts back the roll an earlier run of the station left unsaved and says so on the status
    /// line; false when there is none.
    bool restore();

protected:
    using Values = QHash<QString, QString>;

    /// The journal's name of the station's unsaved work.
    virtual QString kind() const;
    /// The form holds work a crash would lose: here a roll with defects.
    virtual bool unsaved() const;
    /// Rows of the station's own besides the card, line, roll, fields, remark, grade and defects.
    virtual void addRows(FormDraft::Rows& rows) const { Q_UNUSED(rows); }
    /// Loads the card (or the saved roll being changed) the kept work was done on; the kept
    /// fields go over it afterwards.
    virtual void loadKept(const Values& value);
    /// The kept work reached the database just before the panel went: nothing comes back.
    virtual bool savedMeanwhile(const Values& value) const
    {
        Q_UNUSED(value);
        return false;
    }
    /// The status line once the work is back.
    virtual QString restoredStatus(int defects) const;
    /// The form begins other work (a roll saved, cleared or opened): called as it is forgotten.
    virtual void began() {}

    void keep();
    void forget();
    frmCheck* form() const { return m_form; }
    bool restoring() const { return m_restoring; }

private:
    frmCheck* m_form;
    bool m_restoring = false;
    bool m_kept = true; // an earlier run may have left work in the journal
};
