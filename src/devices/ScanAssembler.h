// The scanner's bytes into whole codes, for every station with a serial scanner. Scanners end a
// code with CR, LF, CR LF or Tab, as the mill set them up, or with nothing at all; the bytes of a
// code come in pieces of any size.
#pragma once

#include <QByteArray>
#include <QList>

namespace devices {

class ScanAssembler {
public:
    /// A line end or Tab: ends the code before it and is never part of a code.
    static bool isEnding(char c) { return c == '\r' || c == '\n' || c == '\t'; }

    /// Takes the bytes of one receive event; returns the codes they complete, oldest first.
    /// Empty lines (the LF of a CR LF, however it was split) are no codes.
    QList<QByteArray> feed(const QByteArray& bytes);
    /// The line has been quiet for a tick: what waits is a whole code from a scanner that ends
    /// its codes with nothing (empty when nothing waits).
    QByteArray quiet();
    bool waiting() const { return !m_pending.isEmpty(); }
    void clear() { m_pending.clear(); }

private:
    QByteArray m_pending; ///< bytes of a code whose end has not come yet
};

} // namespace devices
