// The behaviour of one simulated device: what it answers to a request and what it streams.
#pragma once

#include <QByteArray>
#include <QString>

#include <random>

namespace devsim {

enum class Fault { None, Silent, Short, BadCrc, WrongAddress, Garbage };

/// Parses "none", "silent", "short", "badcrc", "wrongaddr", "garbage"; false for anything else.
bool parseFault(const QString& name, Fault* fault);

class Simulator {
public:
    enum class Kind { Counter, Scale, Scanner };
    /// Text: the reversed stream "=05.0100" (10.50 kg); Equals: "=05.0100=ST,GS" lines, the
    /// reversed digits between two "="; WnKg: "wn0010.50kg" lines; Fixed: "ST,GS,+0010.50kg"
    /// lines, the weight in characters 8-14; Packed: BCD frames; Packing: answers ESC p; Sics:
    /// "S S     10.50 kg" lines, and answers to "S", "SI", "Z" and "T".
    /// Equals, Fixed and Sics carry the scale's flags: ST/"S S" stable, US/"S D" moving,
    /// OL/"S +" over range, NT net (a tare is set).
    enum class ScaleFormat { Text, Equals, WnKg, Fixed, Packed, Packing, Sics };

    Simulator(Kind kind, int model, ScaleFormat format);

    /// Bytes the station sent; returns the device's answer (already faulted).
    QByteArray received(const QByteArray& bytes);
    /// Time passes: the length runs on at the set speed; streaming devices return what they send.
    QByteArray tick(double seconds);
    /// A scan of text, followed by suffix (e.g. "\r").
    QByteArray scan(const QString& text, const QByteArray& suffix) const;

    void setSpeed(double metresPerSecond) { m_speed = metresPerSecond; }
    void setLength(double metres) { m_length = metres; }
    /// A new weight on the platform: with a settle time it swings before it is sent steady.
    void setWeight(double kg);
    /// After every change of weight, readings move for this long before the steady one.
    void setSettle(int ms) { m_settleMs = ms; }
    /// The scale is over its range: flagged forms send OL / "S +".
    void setOverload(bool on) { m_overload = on; }
    /// A tare: the flagged forms send the net weight with NT. 0 takes it off.
    void setTare(double kg) { m_tare = kg; }
    /// Zero: what lies on the platform now reads 0.
    void zero() { m_zero = m_weight; }
    /// The weight the scale shows now: gross less zero and tare, with the swing while it moves.
    double shownWeight() const;
    bool moving() const { return m_sinceChange * 1000 < m_settleMs; }
    /// Packing format: ESC "p" is answered with this text instead of the weight line, as scale
    /// heads of other makes answer ("wn0012.50kg", "=05.0100="); empty: the weight line again.
    void setAnswer(const QByteArray& text) { m_answer = text; }
    void setFault(Fault f) { m_fault = f; }
    double length() const { return m_length; }
    Kind kind() const { return m_kind; }
    bool yards() const { return m_yards; }
    QString describe() const;

private:
    QByteArray counterAnswer();
    QByteArray modbusAnswer(const QByteArray& request);
    QByteArray lengthReply() const;
    QByteArray scaleStream() const;
    QByteArray flagged(const char* stable, const char* movingFlag) const;
    QByteArray sicsLine() const;
    QByteArray sicsAnswer();
    QByteArray applyFault(QByteArray reply, bool crcFramed);
    qint64 centimetres() const;

    Kind m_kind;
    int m_model;
    ScaleFormat m_format;
    Fault m_fault = Fault::None;
    double m_length = 0, m_speed = 0, m_weight = 0;
    double m_tare = 0, m_zero = 0;
    double m_sinceChange = 1e9; ///< seconds since the weight changed
    int m_settleMs = 0;
    int m_step = 0; ///< readings sent, for the swing's direction
    bool m_overload = false;
    bool m_yards = false;
    QByteArray m_in;
    QByteArray m_answer;
    std::mt19937 m_random{20240521u};
};

} // namespace devsim
