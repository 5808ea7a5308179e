// mirel-devsim: a length counter, scale or barcode scanner on a pty, driven from stdin.
#include "RfidCardFile.h"
#include "SimLink.h"
#include "Simulator.h"
#include "UsbCounterFile.h"

#include "config/IniFile.h"
#include "config/ProgramFolder.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSocketNotifier>
#include <QTextStream>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace devsim;

namespace {

QTextStream& err()
{
    static QTextStream s(stderr);
    return s;
}

struct Options {
    Simulator::Kind kind = Simulator::Kind::Counter;
    int model = 1;
    Simulator::ScaleFormat format = Simulator::ScaleFormat::Text;
    QByteArray suffix = "\r";
    int chunk = 0; ///< scanner and scale: bytes per write (0: a scan or reading in one write)
    int gap = 10;  ///< ms between those writes
};

// A scanner or scale on a slow line hands its bytes over in pieces, a few milliseconds apart.
class ChunkedWriter {
public:
    ChunkedWriter(SimLink& link, const Options& o) : m_link(link), m_o(o)
    {
        m_timer.setInterval(o.gap);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { next(); });
    }
    QByteArray suffix() const { return m_o.suffix; }
    void write(const QByteArray& bytes)
    {
        if (m_o.chunk <= 0) {
            m_link.write(bytes);
            return;
        }
        m_queue += bytes;
        if (!m_timer.isActive()) {
            next();
            m_timer.start();
        }
    }

private:
    void next()
    {
        m_link.write(m_queue.left(m_o.chunk));
        m_queue.remove(0, m_o.chunk);
        if (m_queue.isEmpty())
            m_timer.stop();
    }
    SimLink& m_link;
    const Options& m_o;
    QByteArray m_queue;
    QTimer m_timer;
};

// Every byte the station sent, with the milliseconds since the simulator started, one write a
// line: "<ms> <hex>".
class Recorder {
public:
    explicit Recorder(const QString& path) : m_file(path)
    {
        if (!path.isEmpty() && !m_file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            err() << "--record: " << m_file.errorString() << Qt::endl;
        m_clock.start();
    }
    void add(const QByteArray& bytes)
    {
        if (!m_file.isOpen())
            return;
        m_file.write(QByteArray::number(m_clock.elapsed()) + ' ' + bytes.toHex() + '\n');
        m_file.flush();
    }

private:
    QFile m_file;
    QElapsedTimer m_clock;
};

bool readOptions(const QCommandLineParser& p, Options* o, QString* error)
{
    const QString device = p.value(u"device"_s);
    if (device == u"usb"_s || device == u"rfid"_s)
        return true; // handled in main: no line at all
    if (device == u"scale"_s)
        o->kind = Simulator::Kind::Scale;
    else if (device == u"scanner"_s)
        o->kind = Simulator::Kind::Scanner;
    else if (device != u"counter"_s)
        return *error = u"--device: counter, scale or scanner"_s, false;
    o->model = p.value(u"model"_s).toInt();
    if (o->kind == Simulator::Kind::Counter && o->model != 0 && o->model != 1 && o->model != 3
        && o->model != 4)
        return *error = u"--model: 0, 1, 3 or 4 (model 2 is the USB library)"_s, false;
    const QString format = p.value(u"format"_s);
    static const std::pair<const char16_t*, Simulator::ScaleFormat> formats[] = {
        {u"text", Simulator::ScaleFormat::Text},     {u"equals", Simulator::ScaleFormat::Equals},
        {u"wnkg", Simulator::ScaleFormat::WnKg},     {u"fixed", Simulator::ScaleFormat::Fixed},
        {u"packed", Simulator::ScaleFormat::Packed}, {u"packing", Simulator::ScaleFormat::Packing},
        {u"sics", Simulator::ScaleFormat::Sics},
    };
    const auto known = std::find_if(std::begin(formats), std::end(formats),
                                    [&](const auto& f) { return format == QStringView(f.first); });
    if (known == std::end(formats))
        return *error = u"--format: text, equals, wnkg, fixed, packed, packing or sics"_s, false;
    o->format = known->second;
    const QString suffix = p.value(u"suffix"_s);
    static const std::pair<const char16_t*, const char*> endings[] = {
        {u"cr", "\r"}, {u"lf", "\n"}, {u"crlf", "\r\n"}, {u"tab", "\t"}, {u"none", ""}};
    const auto ending = std::find_if(std::begin(endings), std::end(endings),
                                     [&](const auto& e) { return suffix == QStringView(e.first); });
    if (ending == std::end(endings))
        return *error = u"--suffix: cr, lf, crlf, tab or none"_s, false;
    o->suffix = ending->second;
    o->chunk = p.value(u"chunk"_s).toInt();
    o->gap = qMax(1, p.value(u"gap"_s).toInt());
    return true;
}

// One command line from stdin; returns false on "quit".
bool command(const QString& line, Simulator& sim, SimLink& link, ChunkedWriter& scans)
{
    const QString word = line.section(u' ', 0, 0);
    const QString arg = line.section(u' ', 1);
    QString error;
    Fault fault;
    if (word == u"quit"_s)
        return false;
    if (word == u"length"_s)
        sim.setLength(arg.toDouble());
    else if (word == u"speed"_s)
        sim.setSpeed(arg.toDouble());
    else if (word == u"weight"_s)
        sim.setWeight(arg.toDouble());
    else if (word == u"settle"_s)
        sim.setSettle(arg.toInt());
    else if (word == u"overload"_s)
        sim.setOverload(arg != u"off"_s);
    else if (word == u"tare"_s)
        sim.setTare(arg.toDouble());
    else if (word == u"zero"_s)
        sim.zero();
    else if (word == u"answer"_s)
        sim.setAnswer(arg.toLatin1());
    else if (word == u"scan"_s)
        scans.write(sim.scan(arg, scans.suffix()));
    else if (word == u"fault"_s && parseFault(arg, &fault))
        sim.setFault(fault);
    else if (word == u"unplug"_s)
        link.unplug();
    else if (word == u"replug"_s) {
        if (!link.replug(&error))
            err() << error << Qt::endl;
        else
            std::printf("PORT %s\n", qPrintable(link.stationPath()));
    } else if (sim.kind() == Simulator::Kind::Scanner && !line.isEmpty())
        scans.write(sim.scan(line, scans.suffix()));
    else
        err() << "unknown command: " << line << Qt::endl;
    std::fflush(stdout);
    return true;
}

// The USB counter has no line: the count goes to the file its library reads; stdin as usual.
int runUsbCounter(QCoreApplication& app, Simulator& sim, int interval)
{
    UsbCounterFile file;
    std::printf("USB %s\n", qPrintable(file.path()));
    std::fflush(stdout);
    err() << "USB counter: copy " << QCoreApplication::applicationDirPath()
          << "/devsim-usb/libhid3388.so into the program folder" << Qt::endl;
    QElapsedTimer clock;
    clock.start();
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        sim.tick(clock.restart() / 1000.0);
        if (file.publish(std::lround(sim.length())))
            sim.setLength(0);
    });
    tick.start(interval);
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char buf[512];
        const ssize_t n = ::read(STDIN_FILENO, buf, sizeof buf);
        if (n <= 0) {
            input.setEnabled(false);
            return;
        }
        for (const QByteArray& raw : QByteArray(buf, n).split('\n')) {
            const QString line = QString::fromUtf8(raw).trimmed();
            if (line == u"quit"_s)
                QCoreApplication::quit();
            else if (line.startsWith(u"length "_s))
                sim.setLength(line.mid(7).toDouble());
            else if (line.startsWith(u"speed "_s))
                sim.setSpeed(line.mid(6).toDouble());
        }
    });
    return app.exec();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser p;
    p.setApplicationDescription(u"Simulated length counter, scale or barcode scanner for mirel stations.\n"
                                u"stdin: length N | speed N | weight N | settle MS | overload on|off | tare KG | zero | answer TEXT | scan TEXT | fault NAME | unplug | replug | quit\n"
                                u"rfid: card TEXT | hex 30 30 31 | remove | quit"_s);
    p.addHelpOption();
    p.addOptions({
        {u"device"_s, u"counter, scale, scanner, usb (the USB counter library) or rfid (the desk reader library)"_s, u"kind"_s, u"counter"_s},
        {u"model"_s, u"counter model 0, 1, 3 or 4"_s, u"n"_s, u"1"_s},
        {u"format"_s, u"scale: text (reversed stream =05.0100), equals (=05.0100=ST,GS lines), wnkg (wn0010.50kg lines), fixed (ST,GS,+0010.50kg lines), packed, packing (answers ESC p) or sics (S S     10.50 kg lines; answers S, SI, Z, T)"_s, u"f"_s, u"text"_s},
        {u"settle"_s, u"scale: after every change of weight, send moving readings for this long (flagged US / S D) before the steady one"_s, u"ms"_s, u"0"_s},
        {u"overload"_s, u"scale: over its range (OL / S + in the flagged forms)"_s},
        {u"port"_s, u"use this serial device instead of a new pty"_s, u"path"_s},
        {u"link"_s, u"keep a symlink to the pty here"_s, u"path"_s},
        {u"com"_s, u"write [SerialPorts] COMn=<pty> into the program folder's mirel.ini"_s, u"n"_s},
        {u"speed"_s, u"length speed in m/s"_s, u"m/s"_s, u"0.5"_s},
        {u"length"_s, u"starting length in m"_s, u"m"_s, u"0"_s},
        {u"weight"_s, u"scale weight in kg"_s, u"kg"_s, u"0"_s},
        {u"interval"_s, u"ms between streamed readings"_s, u"ms"_s, u"400"_s},
        {u"fault"_s, u"none, silent, short, badcrc, wrongaddr, garbage"_s, u"name"_s, u"none"_s},
        {u"suffix"_s, u"scanner line end: cr, lf, crlf, tab or none"_s, u"end"_s, u"cr"_s},
        {u"chunk"_s, u"scanner, scale: send each scan or reading in pieces of n bytes"_s, u"n"_s, u"0"_s},
        {u"gap"_s, u"ms between those pieces"_s, u"ms"_s, u"10"_s},
        {u"record"_s, u"write every received byte with its time (ms) to this file"_s, u"path"_s},
    });
    p.process(app);

    Options o;
    QString error;
    Fault fault = Fault::None;
    if (!readOptions(p, &o, &error) || !parseFault(p.value(u"fault"_s), &fault)) {
        err() << (error.isEmpty() ? u"--fault: unknown fault"_s : error) << Qt::endl;
        return 2;
    }
    Simulator sim(o.kind, o.model, o.format);
    sim.setSpeed(p.value(u"speed"_s).toDouble());
    sim.setLength(p.value(u"length"_s).toDouble());
    sim.setWeight(p.value(u"weight"_s).toDouble());
    sim.setSettle(p.value(u"settle"_s).toInt());
    sim.setOverload(p.isSet(u"overload"_s));
    sim.setFault(fault);

    if (p.value(u"device"_s) == u"rfid"_s)
        return runRfidReader();
    if (p.value(u"device"_s) == u"usb"_s)
        return runUsbCounter(app, sim, p.value(u"interval"_s).toInt());
    SimLink link(p.value(u"port"_s), p.value(u"link"_s));
    if (!link.open(&error)) {
        err() << error << Qt::endl;
        return 1;
    }
    if (p.isSet(u"com"_s)) {
        IniFile(ProgramFolder::file(u"/mirel.ini"_s))
            .write(u"SerialPorts"_s, u"COM"_s + p.value(u"com"_s), link.stationPath());
    }
    std::printf("PORT %s\n", qPrintable(link.stationPath()));
    std::fflush(stdout);
    err() << sim.describe() << " on " << link.stationPath() << Qt::endl;

    ChunkedWriter scans(link, o);
    Recorder recorder(p.value(u"record"_s));
    QObject::connect(&link, &SimLink::received, [&](const QByteArray& bytes) {
        recorder.add(bytes);
        link.write(sim.received(bytes));
    });
    QElapsedTimer clock;
    clock.start();
    QTimer stream;
    QObject::connect(&stream, &QTimer::timeout, [&] {
        const double seconds = clock.restart() / 1000.0;
        if (o.kind == Simulator::Kind::Scale)
            scans.write(sim.tick(seconds));
        else
            link.write(sim.tick(seconds));
    });
    stream.start(p.value(u"interval"_s).toInt());

    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QByteArray pending;
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char buf[512];
        const ssize_t n = ::read(STDIN_FILENO, buf, sizeof buf);
        if (n <= 0) {
            input.setEnabled(false); // stdin closed: keep simulating until killed
            return;
        }
        pending.append(buf, n);
        qsizetype nl;
        while ((nl = pending.indexOf('\n')) >= 0) {
            const QString line = QString::fromUtf8(pending.left(nl)).trimmed();
            pending.remove(0, nl + 1);
            if (!command(line, sim, link, scans))
                QCoreApplication::quit();
        }
    });
    return app.exec();
}
