// The scale of the packing window: the weight it writes into the box weight or the roll's
// quantity, its silence (the weight it left is cleared and the field says so), the weight moving
// or settled, a save that waits for the settled weight, 归零 and 去皮, and the question before a
// box without weight is saved.
#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QHBoxLayout;
class QLineEdit;
class QTimer;
class frmBag;
namespace devices {
enum class WeightLook;
}

class BagScalePanel : public QObject {
    Q_OBJECT
public:
    explicit BagScalePanel(frmBag* form);

    /// 归零 and 去皮 for a scale that takes them, hidden until it shows that it does.
    void addScaleButtons(QHBoxLayout* row);
    /// The field the scale weighs into: the box weight, or the roll quantity.
    QLineEdit* weightField() const;
    /// A new box: the weight the scale wrote last is not this box's.
    void forgetScaleWeight() { m_scaleText.clear(); }
    /// F8 with a box that has no weight: the operator is asked.
    bool confirmBoxWeight();
    /// F8 (a box) and F3 (a roll weighed into its quantity): a weight the scale wrote into field
    /// is saved, by save, with the weight the scale has settled on (waiting up to 3 s for it); a
    /// weight typed by the packer is saved as typed. A box is one placing on the scale.
    void saveWhenSettled(QLineEdit* field, bool box, std::function<bool()> save);

private:
    void onWeight(const QString& text);
    void onScaleSilence(bool silent);
    /// The weight field grey and its caption "称重中…" while the weight moves; black and its own
    /// caption once it has settled.
    void onWeightLook(devices::WeightLook look);
    void checkSettled();

    frmBag* m_form;
    QString m_scaleText;                // the weight the scale last wrote
    QTimer* m_settleWait = nullptr;     // a save waits for the weight to settle
    qint64 m_pressedAt = 0;             // when the save was pressed, on the scale's clock
    QLineEdit* m_settleField = nullptr; // the field whose weight a save waits for
    bool m_settleBox = false;
    std::function<bool()> m_settleSave;
};
