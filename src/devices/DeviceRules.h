// How a frame's station uses the devices the inspection-type stations share: which counter
// models it knows, how it reads counter and scale texts, whether the RFID reader is polled.
// The station supplies them; the defaults read every model and every text form.
#pragma once

#include "devices/LengthDisplay.h"
#include "devices/MeterReplies.h"
#include "devices/ScaleReadings.h"

#include <QString>

#include <functional>

namespace devices {

struct DeviceRules {
    /// The counter port's settings; empty: the "InputSet" key.
    QString counterSettings;
    /// The model the frame runs for the one the settings name (a frame that does not know a
    /// model runs another in its place).
    std::function<CounterModel(CounterModel)> knownModel = [](CounterModel m) { return m; };
    /// The Modbus counter's replies are checked whole and their faults shown ("通讯错误-2.",
    /// "通讯错误-3."), its zero is the coil alone, and a text counter's line is its value.
    bool checkedCounter = false;
    /// The scale's packed format ("chenInputMode") may be used.
    bool packedScale = true;
    ScaleTextRules scaleText = ScaleTextRules::ReversedFirst;
    /// The weight is written on every reading, not only when it changed.
    bool weightEveryTick = false;
    /// How a text counter's line is read.
    CounterText (*counterText)(const QString&) = parseCounterText;
    LengthFormatRules lengthFormat = LengthFormatRules::RoundUpDoubleZero;
    /// The RFID reader is polled for worker cards.
    bool rfid = true;
};

} // namespace devices
