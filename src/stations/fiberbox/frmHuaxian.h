// The fiber box station: boxes of yarn or fiber cones weighed and stacked on pallets. It is the
// mark-label window with the box's own fields (gross weight from the scale, net weight, cone
// count, batch), a batch number put together from the box's fields at each save, the grade
// letter at the end of the batch and the pallet change once a pallet holds its boxes.
#pragma once

#include "stations/fiberbox/HuaxianBox.h"
#include "stations/marklabel/frmMaitou.h"

class frmHuaxian : public frmMaitou {
    Q_OBJECT
public:
    explicit frmHuaxian(QWidget* parent = nullptr);

    /// The template with every "[缸号]", "[重量]", "[备A]" ... replaced by the text of its field.
    QString composeBatchNumber(const QString& batchTemplate) const;
    /// Selects grade button index; index 1 ends the batch number in "B", index 2 in "C", any
    /// other index leaves it without such a letter.
    void gradeBtn_Click(int index);

protected:
    Variant variant() const override;
    devices::DeviceRules deviceRules() const override;
    std::unique_ptr<InspectionRoll> makeRules() const override;
    void fillFromRoll(const Recordset& rs) override;
    void beforeSave() override;
    void palletListLoaded(const Recordset& rs) override;
    /// The batch number ends in the letter of the grade chosen, however it was chosen.
    void gradeChanged(int index);
    void showEvent(QShowEvent* event) override;

private:
    /// Prints the full pallet's list; false when it did not print.
    bool printPalletList(const Recordset& rs);

    HuaxianBatch m_batch;
    bool m_started = false;      ///< start-up is over (the pallet list of the load has been read)
    bool m_askWhenShown = false; ///< the pallet was full at start-up: asked once the window is up
};
