// The roll on the inspection frame, kept in the station's journal file at every defect, so that
// a panel that loses its power or is killed mid-roll starts again with the roll's card, fields
// and defects instead of an empty form; the inspector checks them and saves as usual.
#pragma once

#include <QObject>

class frmCheck;

class CheckDraftPart : public QObject {
    Q_OBJECT
public:
    /// Keeps the roll after each recount of its defects (command 15) and forgets it when the
    /// roll is saved or a new roll begun.
    explicit CheckDraftPart(frmCheck* form);

    /// Puts back the roll an earlier run of the station left unsaved and says so on the status
    /// line; false when there is none.
    bool restore();

private:
    void keep();
    void forget();

    frmCheck* m_form;
    bool m_restoring = false;
};
