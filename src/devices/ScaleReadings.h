// Reading the platform scale: the text forms the scales send, and the packed BCD form.
#pragma once

#include "devices/ScaleFlags.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QList>
#include <QString>

#include <optional>

namespace devices {

/// The text from just after the first a up to the next b (searched from one character after
/// that point), with the old text function's quirks: when a is missing the search starts at
/// Len(a); when b is missing, or lies before the start, the result is empty.
QString textBetween(const QString& s, const QString& a, const QString& b);

/// Which rules are tried, in order, until one gives a non-zero weight.
enum class ScaleTextRules {
    /// The reversed stream, the reversed text between two "=", the text between "wn" and "kg",
    /// the seven characters from position 8.
    ReversedFirst,
    /// The plain leading number first, then as ReversedFirst without the reversed stream.
    LeadingNumberFirst,
    /// The text between "kg" and "wn", then the seven characters from position 8.
    KgToWn,
};

/// Weight in kilograms of the received text (0 when no rule finds a number).
double scaleWeightFromText(const QString& received, ScaleTextRules rules);

/// Text up to and including its last line end; what follows goes to carry. A text without any
/// line end is returned whole (a device that does not end its readings).
QByteArray completeLines(const QByteArray& received, QByteArray* carry);

/// Weight of a packed reading: byte 3 carries the whole kilograms and byte 2 the hundredths, each
/// as two BCD digits. nullopt when a digit is not decimal or the reading is shorter than 4 bytes.
std::optional<double> packedScaleWeight(const QByteArray& received);

/// Length of a packed frame on the line: 02, 00, hundredths, whole kilograms, 03.
inline constexpr int kPackedFrameSize = 5;

/// Weight of the newest whole packed frame in carry + received. The bytes are read from the front
/// frame by frame, so a stream opened or read in the middle of a frame is taken up at the next
/// frame start and never read shifted; what is left of an unfinished frame goes back to carry.
/// nullopt when no whole frame was there.
/// Every whole frame's weight, oldest first, goes to all when it is given.
std::optional<double> latestPackedWeight(const QByteArray& received, QByteArray* carry,
                                         QList<double>* all = nullptr);

/// Value of one BCD byte (0x12 gives 12); nullopt when a nibble is above 9.
std::optional<int> bcdValue(quint8 b);

/// Collects what a scale sends, tick by tick, and hands on whole readings only. A scale that
/// streams is read in the middle of a reading now and then, and a station may open the line in
/// the middle of one: the halves of a reading are never taken for readings of their own. One
/// assembler serves the packing table and the inspection-type stations.
///
/// Text readings end at a line end; the reversed stream ("=05.0100=05.0100…") has no line ends and
/// a reading runs from one "=" to the next; a reading without either mark ends when the line has
/// been quiet for a whole tick. Packed readings are the BCD frames of latestPackedWeight.
class ScaleReadingAssembler {
public:
    void setPacked(bool packed);
    bool packed() const { return m_packed; }
    /// The line was opened, lost or cleared while busy: the next bytes may start anywhere.
    void reset();
    /// One tick's bytes; empty when the scale was quiet for the whole tick. Returns every reading
    /// completed by them, oldest first, with the flags the scale put on it; answers that are no
    /// reading (a SICS scale's "Z A") are left out.
    QList<ScaleReading> takeReadings(const QByteArray& received, ScaleTextRules rules);
    /// The weight of the newest reading with a weight completed by them (nullopt when none was).
    std::optional<double> take(const QByteArray& received, ScaleTextRules rules);
    /// The newest whole text reading in what arrived (a reading of the reversed stream with both
    /// its "=", a line without its line end); nullopt when none was completed.
    std::optional<QByteArray> takeText(const QByteArray& received);
    /// Every whole text reading in what arrived, oldest first.
    QByteArrayList takeTexts(const QByteArray& received);

private:
    std::optional<QByteArray> quietTick();
    QByteArrayList takeLines(QByteArray data);
    QByteArrayList takeEquals(const QByteArray& data);

    QByteArray m_pending; ///< not yet a whole reading, completed by the next bytes
    bool m_packed = false;
    bool m_lines = false;  ///< this scale ends its readings with line ends
    bool m_synced = false; ///< m_pending starts where a reading starts
};

} // namespace devices
