// The packing table: a roll's label barcode is scanned, its mark corrected and printed; rolls are
// gathered into numbered boxes, the box is weighed and saved onto every roll, and the box label
// is printed. The table also prints the box and mark jobs other machines queue in the print pool.
#pragma once

#include "journal/JournalRecord.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QWidget>
#include <functional>
#include <optional>

class BagPrintPool;
class DbError;
class EditGrid;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QHBoxLayout;
class QTimer;
class UserControl1;
class UserControl4;
namespace devices {
class PackingScale;
enum class WeightLook;
}

class frmBag : public QWidget {
    Q_OBJECT
public:
    /// Indexes of the mark fields (txtUser) the table shows, in screen order.
    static const QList<int>& markFieldIndexes();

    explicit frmBag(QWidget* parent = nullptr);
    ~frmBag() override;

    /// Load: database, list column widths, scale port, the "打包" options, both timers.
    void Form_Load();

    // --- mark area ---
    /// "查询F2": looks up the roll whose id is in barcode.
    void lookupMark();
    bool findMark(const QString& id);
    void showMark(const QString& id);
    bool saveMark();
    void clearMark();
    /// "打印F4" / "打印F9" with the remembered templates.
    void printMark();
    void printBox();
    bool PrintBill(const QString& templateName, double id, bool preview);
    bool PrintBag(const QString& templateName, const QString& box, bool preview);
    /// Fills and pops up the template menu of a label kind ("唛头", "箱唛").
    void getPrintTemplate(const QString& kind);
    /// The template remembered for a label kind.
    QString printTemplate(const QString& kind) const;
    /// Enter in the bill field: the bill's packing list.
    void loadPackingList(const QString& billCode);

    // --- box area ---
    void addRollToBox();
    /// Appends a row from a line of seven comma-separated fields (id, name, spec, box,
    /// quantity, remark, box remark); anything else adds nothing.
    void addXima(const QString& line);
    void addXimaFields(const QStringList& fields);
    /// The list row of a roll id, 0 when the roll is not on the list.
    int rowOfRoll(const QString& id) const;
    /// List column with the box a roll was in before it was added to this box.
    static constexpr int kEarlierBoxColumn = 7;
    /// "；卷 … 已从箱 … 移到本箱" for the rolls of the list that came from other boxes.
    QString movedRollsNote() const;
    void sumPggCheck();
    void removeRollFromBox();
    /// Takes a row out of the box list and numbers the rest again.
    void removeBoxRow(int row);
    void loadBox(const QString& box);
    bool savebags();
    /// Buttons by index (0 "取" … 9 "查"), as the function keys press them.
    void runCommand(int index);

    /// Puts back the box an earlier run of the station left unsaved and says so on the status
    /// line; false when there is none.
    bool restoreBoxDraft();

    /// One print-pool job of a kind the table knows ("箱唛", "匹唛", "单据").
    void printPoolJob(const QString& kind, const QString& pid);

    // --- controls, by the names the mill's settings use ---
    QLineEdit* barcode = nullptr;
    QList<QLineEdit*> txtUser;   // 0..44, nullptr where the table has no field
    QList<QLineEdit*> bagNumber; // 0 box number, 1 box weight, 2 box remark
    QLineEdit* txtBillCode = nullptr;
    QLabel* LabMsg = nullptr;
    QLabel* LabMsg2 = nullptr;
    QLabel* LabMsg3 = nullptr;
    QLabel* Label4 = nullptr;
    QList<QPushButton*> butFlow; // 0..9
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
    UserControl1* NumberKeybord1 = nullptr;
    UserControl4* UserControl41 = nullptr;

    /// The roll shown (barcode's tag): 0 when none.
    double shownRoll() const;
    /// False, with the operator told, when the barcode field shows another roll than the one
    /// looked up (scanned over without Enter): the form's figures are not that roll's.
    bool barcodeLookedUp();
    /// The scanned bill's packing list: roll id -> packed count; none before a bill is scanned.
    const std::optional<QHash<QString, double>>& packingListIds() const { return m_packingList; }
    devices::PackingScale* scale() const { return m_scale; }
    BagPrintPool* printPool() const { return m_pool; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMarkArea();
    void buildBoxArea();
    void buildOptions(QWidget* parent);
    void wireKeys();
    void applyFonts();
    void readOptions();
    bool packingListAllows(double id);
    /// The field the scale weighs into: the box weight, or the roll quantity.
    QLineEdit* weightField() const;
    void onWeight(const QString& text);
    void onScaleSilence(bool silent);
    /// F8 with a box that has no weight: the operator is asked.
    bool confirmBoxWeight();
    /// The weight field grey and its caption "称重中…" while the weight moves; black and its own
    /// caption once it has settled.
    void onWeightLook(devices::WeightLook look);
    /// F8 (a box) and F3 (a roll weighed into its quantity): a weight the scale wrote into field
    /// is saved, by save, with the weight the scale has settled on (waiting up to 3 s for it); a
    /// weight typed by the packer is saved as typed. A box is one placing on the scale.
    void saveWhenSettled(QLineEdit* field, bool box, std::function<bool()> save);
    void checkSettled();
    /// 归零 and 去皮 for a scale that takes them, hidden until it shows that it does.
    void addScaleButtons(QHBoxLayout* row);
    /// The box save proper, after the weight question; true when saved.
    bool finishBoxSave();
    void showKeypadFor(QLineEdit* box);
    void clearList();
    /// Keeps the box in the journal file while a roll added to it is unsaved, else forgets it.
    void keepBoxDraft();
    /// The box is as the database has it (saved, listed by 查) or a new one is begun.
    void forgetBoxDraft();
    /// The roll is in that box on the database.
    bool savedInto(const QString& roll, const QString& box) const;
    /// Keeps a save in the offline journal (the database away, or earlier saves still waiting
    /// there); false when the journal could not be written (the operator was told).
    bool keepOffline(const QString& summary, const QList<JournalStep>& steps);
    bool saveMarkOffline(const QString& id, double quantity);
    /// Labels cannot be filled from the database now (saves wait, or it does not answer).
    bool printsOffline() const;
    /// Runs print with the labels filled from the kept rows of the box's rolls and of rolls and
    /// the saves waiting in the journal; a roll never read here leaves the label for after the
    /// upload (status line).
    void printOffline(const QString& box, const QList<qint64>& rolls,
                      const std::function<void()>& print);
    /// A lookup's error: offline in the status line (the operator goes on), else in a box.
    void showLookupError(const DbError& e);

    std::optional<QHash<QString, double>> m_packingList;
    devices::PackingScale* m_scale = nullptr;
    BagPrintPool* m_pool = nullptr;
    QString m_packing;      // "是否要打包" as written
    bool m_saveCheck = false;
    bool m_savedOffline = false; // the last box save went into the offline journal
    QString m_machine;           // "menchineId"
    QString m_scaleText;         // the weight the scale last wrote
    QTimer* m_settleWait = nullptr; // F8 waits for the weight to settle
    qint64 m_pressedAt = 0;         // when F8 was pressed, on the scale's clock
    QLineEdit* m_settleField = nullptr; // the field whose weight a save waits for
    bool m_settleBox = false;
    std::function<bool()> m_settleSave;
    QSet<QString> m_addedRolls;  // rolls added to the box list since it was listed or saved
};
