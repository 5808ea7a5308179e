// A box at the fiber-box station: a mark-label package whose article is always chosen, whose net
// weight must be a plain number, and which is written with the time it was weighed.
#pragma once

#include "stations/marklabel/MaitouPackage.h"

class HuaxianBox : public MaitouPackage {
public:
    using MaitouPackage::MaitouPackage;

    bool autoItems() const override { return false; }
    QString palletSummary(int boxes, double netWeight) const override;

    /// The batch number of a box: the pattern ("批次号构成") with every "[缸号]", "[重量]", "[备A]"
    /// ... replaced by the text of its field, "[缸号]" by base (the batch the operator gave).
    static QString composeBatch(const QString& pattern, const RollForm& roll, const QString& base);
    /// Seconds and thirds (grade buttons 1 and 2) end their batch in "B" and "C"; another grade
    /// takes such a letter off.
    static QString withGradeLetter(QString batch, int gradeIndex);
    /// The box weight (箱重) and cone weight (筒重) the article carries in the columns named by
    /// "TareBoxField" and "TareConeField"; a column not named, missing or empty leaves its field
    /// as typed. With the mill's formula "[重量]-[备4]-[备5]*[备6]" the net weight follows.
    QList<std::pair<CheckField::Index, QString>> fromArticle(const Recordset& item) const override;
    bool quantityValid(const QString& text) const override;
    QString updateDateSet() const override;
};
