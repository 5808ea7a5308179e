// A program folder with an embedded database holding a customer, an item, users and production
// cards, and an inspection window loaded on it.
#pragma once

#include "stations/inspection/frmCheck.h"
#include "support/station/StationFixture.h"

class CheckFixture : public StationFixture<frmCheck> {
public:
    /// ini: extra lines for the [MIREL] section of mirel.ini.
    explicit CheckFixture(const QByteArray& mirelIni = QByteArray());

    /// Types a card number and presses "查".
    void lookUp(const QString& card);
    /// Writes a [MIREL] key of mirel.ini.
    void setIni(const QString& key, const QString& value);
};
