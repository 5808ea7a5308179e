// The meter correction's operator texts, written once.
#include "devices/MeterCorrection.h"

using namespace Qt::StringLiterals;

namespace devices {

QString meterCorrectionCaption() { return u"码表数字的修正 == (码表数字/100*biliA)/biliB"_s; }

QString meterCorrectionQuestion()
{
    return u"确定要修正电脑屏幕上码表数字？\n确定后将 打卷机上的码表数字填入 BillA这个地方"_s;
}

} // namespace devices
