// The mark-label station: the inspection window for finished packages (rolls or boxes) stacked
// on pallets. A package names an article instead of (or besides) a production card, carries its
// pallet number, and the pallet's packages are listed for the pallet's shipping marks.
#pragma once

#include "stations/inspection/frmCheck.h"
#include "stations/marklabel/MaitouPallet.h"

#include <QElapsedTimer>

class EditGrid;
class QLabel;
class QPushButton;
class QTimer;

class frmMaitou : public frmCheck {
    Q_OBJECT
public:
    explicit frmMaitou(QWidget* parent = nullptr);

    /// Opens the item selection dialog and loads the chosen article.
    void cmdSelectItem_Click();
    /// A new pallet number of the day into TxtBox(28).
    void cmdBangbtn_Click();
    /// Shows the article as the package's article: name, card text "简单检验" and the presets.
    void loadItem(const QString& itemId);
    /// Lists the packages of the pallet in TxtBox(28) with their count and quantity.
    void loadPalletList();
    /// Reads the listed pallet's packages again without a word, for the packages other stations
    /// add to the same pallet or take off it: the list and its summary change only when the
    /// packages did, and the current row and the scrolling stay on their packages. Nothing is
    /// read while the database is away, a dialog is open or the packer is typing.
    void followPallet();
    /// Asks for a field group's top, left and width and moves its controls.
    void LabBox_DblClick(QLabel* label);

    QPushButton* cmdSelectItem() const { return m_selectItem; }
    QPushButton* cmdBangbtn() const { return m_bangbtn; }
    EditGrid* ppgCheckGrid2() const { return m_palletGrid; }
    QLabel* palletSummary() const { return m_palletSum; }

protected:
    /// Its own stored layout (with the article, colour and pallet groups), the package's number
    /// scopes, and a wide defect frame below the pallet's fields.
    Variant variant() const override;
    std::unique_ptr<InspectionRoll> makeRules() const override;
    void completeRoll(RollForm& roll) const override;
    void fillFromRoll(const Recordset& rs) override;
    void loadRollCard(const QString& card, const QString& lineId) override;
    void beforeSave() override;
    devices::DeviceRules deviceRules() const override;
    bool commandAllowed(int index) override;
    bool fieldLabelDoubleClicked(QLabel* label) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;

    /// The package rules of the station (a fiber box at the fiber-box station).
    const MaitouPackage& package() const;
    /// The rules of the pallet the station stacks its packages on.
    MaitouPallet pallet() const { return MaitouPallet(package()); }
    /// The pallet list has been filled with these rows.
    virtual void palletListLoaded(const Recordset& rs) { Q_UNUSED(rs); }
    /// The package's article: the automatic article of the form's name, spare B and colour, or
    /// the chosen (or reopened) one.
    long long articleId() const;

private:
    void buildControls();
    /// The window has loaded: the pallet list's tab in front, the pallet a restart goes on with.
    void afterLoad();
    /// After a save, a print or a delete the pallet's list is read again.
    void afterCommand(int index);
    /// Shows the pallet's packages and their summary; with keepPlace the current and the top
    /// package stay where the packer had them.
    void showPalletList(const Recordset& rs, bool keepPlace);
    /// The window is quiet: no dialog over it, nothing typed (keyboard or keypad) for a few
    /// seconds.
    bool packerIdle() const;
    /// The journal's key kind of the pallet a new package went on (kept by the rules' prepare).
    static QString keptPalletKind() { return MaitouPackage::keptPalletKind(); }
    /// After a committed save: the automatic article it found or made, kept for offline saves.
    void rememberAutoItem();

    QPushButton* m_selectItem = nullptr;
    QPushButton* m_bangbtn = nullptr;
    EditGrid* m_palletGrid = nullptr;
    QLabel* m_palletSum = nullptr;
    bool m_palletListWaits = false; // read offline: read again when the database is back
    QTimer* m_followTimer = nullptr;
    QString m_listedSql; // the statement of the list on screen (its pallet, station, override)
    Recordset m_listed;  // and what it showed
    bool m_followAway = false;  // a quiet read found the database away: none until it is back
    QElapsedTimer m_lastTyped; // the packer's last keystroke in a field or on the keypad
    /// The article found or made for the form by the last save's automatic item (0: none).
    long long m_autoItemId = 0;
};
