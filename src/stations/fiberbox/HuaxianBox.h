// A box at the fiber-box station: a mark-label package whose article is always chosen, whose net
// weight must be a plain number, which is written with the time it was weighed and whose full
// pallet asks for its list; and the batch field of the box form across its boxes.
#pragma once

#include "stations/marklabel/MaitouPackage.h"

#include <optional>

using namespace Qt::StringLiterals;

class HuaxianBox : public MaitouPackage {
public:
    using MaitouPackage::MaitouPackage;

    bool autoItems() const override { return false; }
    QString templateSetting() const override { return u"checkHuaxian"_s; }
    QString palletSummary(int boxes, double netWeight) const override;
    bool asksWhenPalletFull() const override { return true; }

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

/// The batch field of the box form from box to box: the batch the operator gave, the number the
/// last save put together from it, and the stored number of a reopened box.
class HuaxianBatch {
public:
    /// A saved box is about to fill the form; with a pattern its stored number carries its grade
    /// letter inside, where the grade shown for the box cannot find it.
    void reopening(bool patterned);
    /// The saved box shows batch: kept as it is until the operator changes it.
    void reopened(const QString& batch);
    /// The batch the operator gave: the field's text, or, while the field still shows the number
    /// the last save put together, the text it was put together from.
    QString base(const QString& shown) const;
    /// The number a save writes into the batch field (the pattern over roll, whose DyeLot is the
    /// field's text); nothing without a pattern or for a reopened box whose batch nobody touched.
    std::optional<QString> atSave(const QString& pattern, const RollForm& roll);
    /// The batch field after grade button index was chosen; nothing while a box fills the form.
    std::optional<QString> afterGrade(const QString& shown, int index) const;

private:
    QString m_composed;
    std::optional<QString> m_base; // unknown for a box reopened from the database
    bool m_reopening = false;
};
