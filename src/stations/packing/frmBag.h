// The packing table: a roll's label barcode is scanned, its mark corrected and printed; rolls are
// gathered into numbered boxes, the box is weighed and saved onto every roll, and the box label
// is printed. The table also prints the box and mark jobs other machines queue in the print pool.
// The window holds the controls and the keys; its parts do the work: the mark (BagMarkPanel), the
// box list (BagBoxPanel), the labels (BagLabelPanel) and the scale (BagScalePanel).
#pragma once

#include "stations/packing/BagFields.h"
#include "stations/packing/PackingSettings.h"

#include <QList>
#include <QString>
#include "stations/StationForm.h"

#include <memory>

class BagBoxPanel;
class BagLabelPanel;
class BagMarkPanel;
class BagPrintPool;
class BagScalePanel;
class EditGrid;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
struct JournalStep;
namespace devices {
class PackingScale;
}

class frmBag : public StationForm {
    Q_OBJECT
public:
    /// The mark fields (txtUser) the table shows, in screen order.
    static const QList<int>& markFieldIndexes();

    explicit frmBag(QWidget* parent = nullptr);
    ~frmBag() override;

    /// Load: database, list column widths, scale port, the "打包" options, both timers.
    void Form_Load() override;
    /// The buttons by their command (BagCmd), as the function keys press them.
    void runCommand(int command);
    /// "查询F2": looks up the roll whose id is in barcode.
    void lookupMark();
    /// The roll shown (barcode's tag): 0 when none.
    double shownRoll() const;
    /// Puts back the box an earlier run of the station left unsaved and says so on the status
    /// line; false when there is none.
    bool restoreBoxDraft();

    // --- controls, by the names the mill's settings use; indexed by BagField, BagBoxField, BagCmd
    QLineEdit* barcode = nullptr;
    QList<QLineEdit*> txtUser;   // nullptr where the table has no field
    QList<QLineEdit*> bagNumber;
    QLineEdit* txtBillCode = nullptr;
    QLabel* LabMsg = nullptr;
    QLabel* LabMsg2 = nullptr;
    QLabel* LabMsg3 = nullptr;
    QLabel* Label4 = nullptr;
    QList<QPushButton*> butFlow;
    QPushButton* cmdZero = nullptr; // 归零
    QPushButton* cmdTare = nullptr; // 去皮
    QPushButton* Command1 = nullptr;
    QGroupBox* Frame4 = nullptr;
    QGroupBox* ximadan = nullptr;
    QCheckBox* isChen = nullptr;
    QCheckBox* autoAdd = nullptr;
    QCheckBox* MaitouAutoPrint = nullptr;
    QCheckBox* PDAautoPrint = nullptr;
    QCheckBox* autoClear = nullptr;
    QCheckBox* autoSave = nullptr;
    QCheckBox* isPrintreview = nullptr;
    QCheckBox* billCodeValid = nullptr;
    EditGrid* ximaGrid = nullptr;
    QMenu* Modle1 = nullptr;

    const PackingSettings& settings() const { return m_settings; }
    BagMarkPanel& markPanel() const { return *m_mark; }
    BagBoxPanel& boxPanel() const { return *m_box; }
    BagLabelPanel& labelPanel() const { return *m_label; }
    BagScalePanel& scalePanel() const { return *m_scalePanel; }
    devices::PackingScale* scale() const { return m_scale; }
    BagPrintPool* printPool() const { return m_pool; }

    /// Keeps a save in the offline journal (the database away, or earlier saves still waiting
    /// there); false when the journal could not be written (the operator was told).
    bool keepOffline(const QString& summary, const QList<JournalStep>& steps);

protected:
    void closeEvent(QCloseEvent* event) override;
    void fitToScale(const Twips& tw) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void buildMarkArea();
    void buildBoxArea();
    void buildOptions(QWidget* parent);
    void wireKeys();
    void applyOptions();
    void showKeypadFor(QLineEdit* box);

    PackingSettings m_settings;
    devices::PackingScale* m_scale = nullptr;
    BagPrintPool* m_pool = nullptr;
    // Deleted before the controls they read (the window's children go after its members).
    std::unique_ptr<BagMarkPanel> m_mark;
    std::unique_ptr<BagBoxPanel> m_box;
    std::unique_ptr<BagLabelPanel> m_label;
    std::unique_ptr<BagScalePanel> m_scalePanel;
};
