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
    /// reversed digits between two "="; WnKg: "wn0010.50kg" lines; Fixed: "ST,GS, 0010.50kg"
    /// lines, the weight in characters 8-14; Packed: BCD frames; Packing: answers ESC p.
    enum class ScaleFormat { Text, Equals, WnKg, Fixed, Packed, Packing };

    Simulator(Kind kind, int model, ScaleFormat format);

    /// Bytes the station sent; returns the device's answer (already faulted).
    QByteArray received(const QByteArray& bytes);
    /// Time passes: the length runs on at the set speed; streaming devices return what they send.
    QByteArray tick(double seconds);
    /// A scan of text, followed by suffix (e.g. "\r").
    QByteArray scan(const QString& text, const QByteArray& suffix) const;

    void setSpeed(double metresPerSecond) { m_speed = metresPerSecond; }
    void setLength(double metres) { m_length = metres; }
    void setWeight(double kg) { m_weight = kg; }
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
    QByteArray applyFault(QByteArray reply, bool crcFramed);
    qint64 centimetres() const;

    Kind m_kind;
    int m_model;
    ScaleFormat m_format;
    Fault m_fault = Fault::None;
    double m_length = 0, m_speed = 0, m_weight = 0;
    bool m_yards = false;
    QByteArray m_in;
    QByteArray m_answer;
    std::mt19937 m_random{20240521u};
};

} // namespace devsim
