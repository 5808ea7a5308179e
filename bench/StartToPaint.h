// Start-up of a station to its first painted window, timed from outside the process.
#pragma once

#include <QElapsedTimer>
#include <QProcess>
#include <QString>
#include <QStringList>

using namespace Qt::StringLiterals;

// Wall time from process start to the painted window: both programs print "painted: …" once
// their window has been painted the first time (then grab it and quit). The clock stops at that
// line, so neither the grab nor the process's shutdown is counted.
inline double startToPaint(const QString& home, const QString& program, const QStringList& args)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    env.insert(u"MIREL_HOME"_s, home);
    env.insert(u"MIREL_SCREENSHOT"_s, home + u"/shot.bmp"_s);
    env.insert(u"MIREL_SCREENSHOT_DELAY"_s, u"0"_s);
    env.insert(u"MIREL_WINDOW_SIZE"_s, u"1024x768"_s);
    env.insert(u"MIREL_NONINTERACTIVE"_s, u"1"_s);
    QProcess p;
    p.setProcessEnvironment(env);
    QElapsedTimer t;
    t.start();
    p.start(program, args);
    double painted = -1;
    while (painted < 0 && p.waitForReadyRead(60000))
        if (p.readAllStandardOutput().contains("painted:"))
            painted = double(t.nsecsElapsed()) / 1e9;
    p.waitForFinished(60000);
    if (painted < 0)
        qFatal("%s did not paint its window", qPrintable(program));
    return painted;
}

