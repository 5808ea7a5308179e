// Simulated counters (text, Modbus, sum frame, five registers), scales and scanners.
#include "Simulator.h"

#include "devices/FrameMath.h"

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace devsim {

namespace {

char byte(qint64 v) { return static_cast<char>(v & 0xFF); }
quint8 u8(const QByteArray& a, qsizetype i) { return static_cast<quint8>(a.at(i)); }
char bcd(int v) { return static_cast<char>(((v / 10) % 10) << 4 | (v % 10)); }

} // namespace

bool parseFault(const QString& name, Fault* fault)
{
    static const struct { const char* name; Fault f; } table[] = {
        {"none", Fault::None},       {"silent", Fault::Silent},
        {"short", Fault::Short},     {"badcrc", Fault::BadCrc},
        {"wrongaddr", Fault::WrongAddress}, {"garbage", Fault::Garbage},
    };
    for (const auto& row : table) {
        if (name == QLatin1StringView(row.name)) {
            *fault = row.f;
            return true;
        }
    }
    return false;
}

Simulator::Simulator(Kind kind, int model, ScaleFormat format)
    : m_kind(kind), m_model(model), m_format(format)
{
}

QString Simulator::describe() const
{
    switch (m_kind) {
    case Kind::Counter: return u"counter model %1"_s.arg(m_model);
    case Kind::Scale:
        return m_format == ScaleFormat::Packed ? u"scale (packed)"_s
            : m_format == ScaleFormat::Packing ? u"scale (answers ESC p)"_s
            : m_format == ScaleFormat::Text    ? u"scale (reversed text stream)"_s
            : m_format == ScaleFormat::Sics    ? u"scale (SICS)"_s
                                               : u"scale (text lines)"_s;
    case Kind::Scanner: return u"barcode scanner"_s;
    }
    return QString();
}

qint64 Simulator::centimetres() const { return std::llround(m_length * 100); }

QByteArray Simulator::received(const QByteArray& bytes)
{
    m_in.append(bytes);
    if (m_in.size() > 4096)
        m_in.remove(0, m_in.size() - 4096);
    if (m_kind == Kind::Counter)
        return counterAnswer();
    if (m_kind == Kind::Scale && m_format == ScaleFormat::Packing) {
        const qsizetype at = m_in.indexOf("\x1bp");
        if (at < 0)
            return QByteArray();
        m_in.remove(0, at + 2);
        if (!m_answer.isEmpty())
            return applyFault(m_answer, false);
        return applyFault(QString::asprintf("  %.2fkg\r\n", shownWeight()).toLatin1(), false);
    }
    if (m_kind == Kind::Scale && m_format == ScaleFormat::Sics)
        return sicsAnswer();
    m_in.clear();
    return QByteArray();
}

QByteArray Simulator::counterAnswer()
{
    QByteArray out;
    if (m_model == 0) {
        const qsizetype at = m_in.indexOf("SET-C");
        if (at >= 0) {
            m_length = 0;
            m_in.remove(0, at + 5);
        }
        return out;
    }
    if (m_model == 3) {
        const QByteArray request = QByteArray::fromHex("55AA02000001");
        qsizetype at;
        while ((at = m_in.indexOf(request)) >= 0) {
            m_in.remove(0, at + request.size());
            out += applyFault(lengthReply(), false);
        }
        return out;
    }
    // Modbus: take CRC-valid frames addressed to slave 1, skipping line noise byte by byte.
    while (m_in.size() >= 8) {
        if (u8(m_in, 0) != 1) {
            m_in.remove(0, 1);
            continue;
        }
        const qsizetype len = u8(m_in, 1) == 0x10 ? 9 + u8(m_in, 6) : 8;
        if (m_in.size() < len)
            break;
        const QByteArray frame = m_in.left(len);
        if (!devices::crcHolds(frame)) {
            m_in.remove(0, 1);
            continue;
        }
        m_in.remove(0, len);
        out += modbusAnswer(frame);
    }
    return out;
}

QByteArray Simulator::modbusAnswer(const QByteArray& request)
{
    const quint8 fn = u8(request, 1);
    const int reg = u8(request, 2) * 256 + u8(request, 3);
    const int value = u8(request, 4) * 256 + u8(request, 5);
    if (fn == 0x03)
        return applyFault(lengthReply(), true);
    if (fn == 0x05 && reg == 0 && value == 0xFF00)
        m_length = 0;
    if (fn == 0x06 && reg == 1)
        m_yards = value == 1;
    if (fn == 0x06 && reg == 2 && value == 1)
        m_length = 0;
    if (fn == 0x10)
        return applyFault(devices::withCrc(request.left(6)), true);
    return applyFault(request, true); // writes are answered with their echo
}

QByteArray Simulator::lengthReply() const
{
    const qint64 c = centimetres();
    if (m_model == 3) {
        // The value travels in bytes 6-7, and byte 7 is also the check sum: byte 5 balances it.
        QByteArray r = QByteArray::fromHex("55AA0200000000");
        r[6] = byte(c >> 8);
        unsigned sum = 0;
        for (int i = 0; i < 7; ++i)
            sum += u8(r, i);
        r[5] = byte(qint64(c & 0xFF) - sum);
        r.append(byte(c));
        return r;
    }
    QByteArray r;
    r.append(char(1)).append(char(3));
    if (m_model == 4) {
        r.append(char(10)).append(byte(c >> 8)).append(byte(c));
        r.append(QByteArray(8, '\0'));
    } else {
        r.append(char(4)).append(byte(c >> 8)).append(byte(c)).append(byte(c >> 24)).append(byte(c >> 16));
    }
    return devices::withCrc(r);
}

void Simulator::setWeight(double kg)
{
    if (kg != m_weight)
        m_sinceChange = 0;
    m_weight = kg;
}

double Simulator::shownWeight() const
{
    const double steady = m_weight - m_zero - m_tare;
    if (!moving())
        return steady;
    // A box swinging on the platform: every reading off the weight, to one side and then the
    // other, by less as the swing dies down but never by less than 0.1 kg until it has settled.
    const double left = 1.0 - m_sinceChange * 1000 / m_settleMs;
    const double amplitude = std::max(0.1, 0.5 * left);
    return steady + (m_step % 2 ? amplitude : -amplitude * 0.8);
}

QByteArray Simulator::flagged(const char* stable, const char* movingFlag) const
{
    return m_overload ? QByteArray("OL") : moving() ? QByteArray(movingFlag) : QByteArray(stable);
}

QByteArray Simulator::sicsLine() const
{
    if (m_overload)
        return "S +\r\n";
    const char state = moving() ? 'D' : 'S';
    return QByteArray("S ") + state + QString::asprintf(" %10.2f kg\r\n", shownWeight()).toLatin1();
}

QByteArray Simulator::sicsAnswer()
{
    QByteArray out;
    qsizetype end;
    while ((end = m_in.indexOf('\n')) >= 0) {
        const QByteArray command = m_in.left(end).trimmed();
        m_in.remove(0, end + 1);
        if (command == "S" || command == "SI") {
            out += sicsLine();
        } else if (command == "Z") {
            zero();
            m_tare = 0;
            out += "Z A\r\n";
        } else if (command == "T") {
            m_tare = m_weight - m_zero;
            out += "T S " + QString::asprintf("%10.2f kg\r\n", m_tare).toLatin1();
        } else if (!command.isEmpty()) {
            out += "ES\r\n";
        }
    }
    return applyFault(out, false);
}

QByteArray Simulator::scaleStream() const
{
    const double shown = shownWeight();
    const double w = std::clamp(shown, 0.0, 9999.99);
    if (m_format == ScaleFormat::Packed) {
        const long long hundredths = std::llround(w * 100);
        QByteArray r;
        r.append(char(2)).append(char(0)).append(bcd(int(hundredths % 100)))
            .append(bcd(int((hundredths / 100) % 100))).append(char(3));
        return r;
    }
    if (m_format == ScaleFormat::Packing)
        return QByteArray();
    if (m_format == ScaleFormat::Sics)
        return sicsLine();
    const QByteArray digits = QString::asprintf("%07.2f", w).toLatin1();
    QByteArray reversed = digits;
    std::reverse(reversed.begin(), reversed.end());
    const QByteArray flags = flagged("ST", "US") + (m_tare != 0 ? ",NT" : ",GS");
    switch (m_format) {
    case ScaleFormat::Equals: return '=' + reversed + '=' + flags + "\r\n";
    case ScaleFormat::WnKg: return "wn" + digits + "kg\r\n";
    case ScaleFormat::Fixed:
        return flags + QString::asprintf(",%+08.2fkg\r\n", std::clamp(shown, -999.99, 9999.99))
                           .toLatin1();
    default:
        // The scale heads send the digits backwards after "=": 10.50 kg is "=05.0100".
        return '=' + reversed;
    }
}

QByteArray Simulator::tick(double seconds)
{
    m_length += m_speed * seconds;
    m_sinceChange += seconds;
    ++m_step;
    if (m_kind == Kind::Counter && m_model == 0)
        return applyFault(QString::asprintf("%.2f%c\r\n", m_length, m_yards ? 'Y' : 'M').toLatin1(),
                          false);
    if (m_kind == Kind::Scale)
        return applyFault(scaleStream(), false);
    return QByteArray();
}

QByteArray Simulator::scan(const QString& text, const QByteArray& suffix) const
{
    return text.toUtf8() + suffix;
}

QByteArray Simulator::applyFault(QByteArray reply, bool crcFramed)
{
    switch (m_fault) {
    case Fault::None: return reply;
    case Fault::Silent: return QByteArray();
    case Fault::Short: return reply.left(reply.size() / 2);
    case Fault::BadCrc:
        if (!reply.isEmpty())
            reply[reply.size() - 1] = char(reply.back() ^ 0x5A);
        return reply;
    case Fault::WrongAddress:
        if (!crcFramed || reply.size() < 3)
            return reply;
        reply[0] = 2;
        return devices::withCrc(reply.left(reply.size() - 2));
    case Fault::Garbage: {
        QByteArray junk(qMax<qsizetype>(reply.size(), 1), '\0');
        for (char& c : junk)
            c = static_cast<char>(m_random() & 0xFF);
        return junk;
    }
    }
    return reply;
}

} // namespace devsim
