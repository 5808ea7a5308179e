// Start-up timing of a station process and the process figures of the soak runs.
#include "StartToPaint.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>

using namespace Qt::StringLiterals;

namespace StartToPaint {

namespace {

long peakKiBOf(qint64 pid)
{
    QFile status(u"/proc/%1/status"_s.arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

} // namespace

double seconds(const QString& program, const QStringList& args, const QString& home)
{
    return run(program, args, home).seconds;
}

Run run(const QString& program, const QStringList& args, const QString& home)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    const std::pair<const char*, QString> vars[] = {
        {"QT_QPA_PLATFORM", u"offscreen"_s},         {"MIREL_HOME", home},
        {"MIREL_SCREENSHOT", home + u"/shot.bmp"_s}, {"MIREL_SCREENSHOT_DELAY", u"0"_s},
        {"MIREL_WINDOW_SIZE", u"1024x768"_s},        {"MIREL_NONINTERACTIVE", u"1"_s}};
    for (const auto& [name, value] : vars)
        env.insert(QString::fromLatin1(name), value);
    QProcess p;
    p.setProcessEnvironment(env);
    QElapsedTimer t;
    t.start();
    p.start(program, args);
    Run r{-1, -1};
    while (r.seconds < 0 && p.waitForReadyRead(60000))
        if (p.readAllStandardOutput().contains("painted:")) {
            r.seconds = double(t.nsecsElapsed()) / 1e9;
            r.peakKiB = peakKiBOf(p.processId());
        }
    p.waitForFinished(60000);
    if (r.seconds < 0)
        qFatal("%s did not paint its window", qPrintable(program));
    return r;
}

QString binary(const char* name)
{
    return QCoreApplication::applicationDirPath() + u'/' + QString::fromLatin1(name);
}

long residentKiB()
{
    QFile statm(u"/proc/self/statm"_s);
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> parts = statm.readAll().split(' ');
    return parts.size() > 1 ? parts[1].toLong() * 4 : -1; // pages of 4 KiB
}

int openFiles()
{
    return int(QDir(u"/proc/self/fd"_s).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size());
}

} // namespace StartToPaint
