// What a station's devices say, for its beat in stationStatus.
#pragma once

class QWidget;

/// When the window has inspection devices (counter, scale, scanners), its beat tells whether they
/// poll and how long ago the last reading came: "设备：已连接", "设备：暂停",
/// "设备：无读数 45 秒", and "计米器不应答" when the counter stopped answering.
void publishDevices(QWidget* window);
