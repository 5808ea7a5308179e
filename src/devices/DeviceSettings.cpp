// The device keys of mirel.ini and the scanner's two generations of key names.
#include "devices/DeviceSettings.h"

#include "text/Vb.h"

using namespace Qt::StringLiterals;

namespace devices {

bool settingFlag(const QString& value)
{
    const QString v = value.trimmed();
    if (vb::IsNumeric(v))
        return vb::Val(v) != 0;
    return v.compare(u"true"_s, Qt::CaseInsensitive) == 0;
}

ScannerSetting scannerSetting()
{
    ScannerSetting s;
    s.inputMode = readMirel(u"CommBarcodeInputMode"_s, u"0"_s);
    s.port = readMirel(u"CommBarcode"_s, u"COM3"_s);
    // Older stations keep the scanner under the first key names; the new keys win once set.
    if (s.port == u"COM3"_s)
        s.port = readMirel(u"BARCODECOM"_s, u"COM3"_s);
    if (s.inputMode == u"0"_s)
        s.inputMode = readMirel(u"BarcodeComInputMode"_s, u"0"_s);
    return s;
}

} // namespace devices
