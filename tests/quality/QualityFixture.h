// A program folder with an inspection database of five hand-counted rolls (below) and the
// frames' grade list, and the quality window opened on it.
//
//   roll  day         machine inspector grade  onCount checkcount width  defects (count/points)
//   1     2026-11-02  001     002       A品    100     1          150    破洞 1/4, 破洞 2/8, 油污
//   1/2 2     2026-11-02  002     004       B品    50      0.9144     100    油污 0/-1 (scoring
//   off) 3     2026-11-03  001     002       A品    80      1          R2611  none 4     2026-10-31
//   001     002       A品    60      1          0      破洞 1/4   (range before) 5     2026-11-10
//   001     002       A品    70      1          150    破洞 1/4   (outside)
// Rolls 1, 3 are card SC1, item T01 府绸; roll 2 card SC2, item T02 春亚纺.
#pragma once

#include "stations/quality/frmQuality.h"
#include "support/TempProgramFolder.h"

#include <memory>

class QualityFixture {
public:
    QualityFixture();
    ~QualityFixture();

    QString databasePath() const { return m_home.file(QStringLiteral("mill.db")); }
    TempProgramFolder& home() { return m_home; }
    /// The window at 1024 x 768 on 2026-11-02 … 2026-11-04, queried.
    frmQuality& open();
    static QualitySql::Filter range();

private:
    TempProgramFolder m_home;
    std::unique_ptr<frmQuality> m_form;
};
