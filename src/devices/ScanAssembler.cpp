// Codes cut from the scanner's byte stream at their endings.
#include "devices/ScanAssembler.h"

#include <utility>

namespace devices {

QList<QByteArray> ScanAssembler::feed(const QByteArray& bytes)
{
    QList<QByteArray> codes;
    for (char c : bytes) {
        if (!isEnding(c)) {
            m_pending += c;
            continue;
        }
        if (!m_pending.isEmpty())
            codes << std::exchange(m_pending, QByteArray());
    }
    return codes;
}

QByteArray ScanAssembler::quiet() { return std::exchange(m_pending, QByteArray()); }

} // namespace devices
