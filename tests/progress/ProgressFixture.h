// A program folder with an embedded database of customers, cards, stock batches and users, and a
// progress window loaded on it.
#pragma once

#include "stations/progress/frmWorkload.h"
#include "support/station/StationFixture.h"

#include <memory>

/// The steps of the fixture's "Projects": 织造, 配布, 染色, 全部配布.
enum FixtureStep : int { Weaving = 0, Allotment = 1, Dyeing = 2, AllotAll = 3 };

class ProgressFixture : public StationFixture<frmWorkload> {
public:
    /// ini: extra lines for the [MIREL] section of mirel.ini (the four steps are already set).
    explicit ProgressFixture(const QByteArray& mirelIni = QByteArray(), const QByteArray& mesIni = "RFID=1\n");

    /// Card typed and looked up, step pressed by touch, worker typed.
    void enter(const QString& card, int step, const QString& worker);
    /// A stand-in reader library of the simulator in the program folder.
    void installReader();
};
