// Device keys of mirel.ini, read on every use so that an edit takes effect on the next tick.
#pragma once

#include "config/MirelIni.h"

#include <QString>

namespace devices {

/// A flag as the stations store it: a number other than 0, or "true" in any case.
bool settingFlag(const QString& value);

/// The scanner's port and input mode after the fall-back keys: "CommBarcode" (default "COM3"),
/// read "BARCODECOM" when it gives "COM3"; "CommBarcodeInputMode" (default "0"), read
/// "BarcodeComInputMode" when it gives "0". An empty port means no scanner.
struct ScannerSetting {
    QString port;
    QString inputMode;
};
ScannerSetting scannerSetting();

} // namespace devices
