// A box at the fiber-box station: a mark-label package whose article is always chosen, whose net
// weight must be a plain number, and which is written with the time it was weighed.
#pragma once

#include "stations/marklabel/MaitouPackage.h"

class HuaxianBox : public MaitouPackage {
public:
    using MaitouPackage::MaitouPackage;

    bool autoItems() const override { return false; }
    bool quantityValid(const QString& text) const override;
    QString updateDateSet() const override;
};
