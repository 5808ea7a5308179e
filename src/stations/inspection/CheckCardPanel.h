// The production card on the inspection window: the card looked up (typed, scanned or kept
// offline), its lines in the colour box, the chosen line's data, preset fields, the roll bar's
// history and the running totals.
#pragma once

#include "db/Recordset.h"

#include <QObject>
#include <QString>

class frmCheck;
struct CheckControls;

class CheckCardPanel : public QObject {
    Q_OBJECT
public:
    explicit CheckCardPanel(frmCheck* form);

    /// Command 0: a new roll for the card in the card field.
    void findCard();
    /// Looks the card up and shows its lines; lineId, when given, is the line put on screen.
    void loadCard(const QString& card, const QString& lineId);
    /// The totals line: of the card line lineId, or of the card when there is none.
    void showTotals(long long lineId);
    /// Fills fields from a row: the fields a preset list ("index|column,…") names. From a card's
    /// list ("CheckFill" "99", shared by every station of the database) the fields the station
    /// keeps for its own use are left alone.
    void applyPresets(const QString& fill, const Recordset& rs, bool cardList = false);
    /// The card's rows as last looked up (a label printed offline reads them).
    const Recordset& cardRows() const { return m_cardRs; }

private:
    void onComboColorActivated(int index);
    void showCardLine(const Recordset& rs);
    void loadProgressHistory(const QString& lineId);

    frmCheck* m_form;
    CheckControls& c;
    Recordset m_cardRs;
};
