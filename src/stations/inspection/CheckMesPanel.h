// The MES button of the inspection window: imports the loom events on the operator's request.
#pragma once

#include <QObject>

class frmCheck;

class CheckMesPanel : public QObject {
    Q_OBJECT
public:
    /// Listens to the form's command 14 (the MES button, shown in MES mode).
    explicit CheckMesPanel(frmCheck* form);

    /// Imports events since today plus SynDays and shows "同步记录数" with the count, or the
    /// database's error; the window stays usable either way.
    void syncNow();

private:
    frmCheck* m_form;
};
