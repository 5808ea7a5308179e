// The program folder and the offscreen application of a station benchmark.
#pragma once

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace bench {

/// The benchmark's program folder: made at its first use, removed as the program ends.
inline QTemporaryDir& home()
{
    static QTemporaryDir dir;
    return dir;
}

/// Writes a file of the program folder (an ini, a template).
inline void writeFile(const QString& name, const QByteArray& text)
{
    QFile f(home().path() + u'/' + name);
    f.open(QIODevice::WriteOnly);
    f.write(text);
}

/// Runs the benchmarks in an offscreen application whose program folder is home(), with no
/// message box waiting for a person.
inline int runInStation(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("MIREL_NONINTERACTIVE", "1");
    qputenv("MIREL_HOME", home().path().toUtf8());
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}

} // namespace bench
