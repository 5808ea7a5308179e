// A program folder with an inspection database of five hand-counted rolls and the frames'
// grade list, and the quality window opened on it. Rolls 1, 3, 4, 5 are card SC1, item T01 府绸;
// roll 2 is card SC2, item T02 春亚纺 (yards: checkcount 0.9144). Defects (count/points): roll 1
// 破洞 1/4, 破洞 2/8, 油污 1/2; roll 2 油污 0/-1 (scoring off); rolls 4 and 5 破洞 1/4.
// Roll 4 lies in the range before, roll 5 after it (see QualityFixture.cpp for the rest).
#pragma once

#include "stations/quality/frmQuality.h"
#include "support/station/StationFixture.h"

#include <memory>

using namespace Qt::StringLiterals;

class QualityFixture : public StationFixture<frmQuality> {
public:
    QualityFixture();

    QString databasePath() const { return m_home.file(u"mill.db"_s); }
    /// The window at 1024 x 768 on 2026-11-02 … 2026-11-04, queried.
    frmQuality& open();
    static QualitySql::Filter range();
};
