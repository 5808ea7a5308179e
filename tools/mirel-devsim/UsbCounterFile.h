// The simulated USB counter: the count goes to a file that the simulator's hid3388 library reads.
#pragma once

#include <QString>

namespace devsim {

class UsbCounterFile {
public:
    /// path empty: $MIREL_DEVSIM_USB or /tmp/mirel-devsim-usb, as the library reads it.
    explicit UsbCounterFile(QString path = QString());
    QString path() const { return m_path; }
    /// Writes the count; true when the station asked for a zero since the last call (the request
    /// is taken away).
    bool publish(long count);

private:
    QString m_path;
};

} // namespace devsim
