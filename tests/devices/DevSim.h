// Runs mirel-devsim for a test: starts it, reads the pty it made, sends stdin commands.
#pragma once

#include <QProcess>
#include <QStringList>
#include <QtTest>

using namespace Qt::StringLiterals;

/// What a simulator started with --record FILE received: the bytes, and the ms each one came.
struct DevSimRecord {
    QByteArray bytes;
    QList<qint64> at;

    explicit DevSimRecord(const QString& file)
    {
        QFile f(file);
        for (const QByteArray& line : f.open(QIODevice::ReadOnly) ? f.readAll().split('\n') : QByteArrayList()) {
            const QByteArrayList parts = line.split(' ');
            const QByteArray read = QByteArray::fromHex(parts.value(1));
            bytes += read;
            at += QList<qint64>(read.size(), parts.value(0).toLongLong());
        }
    }
};

class DevSim {
public:
    explicit DevSim(const QStringList& args)
    {
        m_proc.setProgram(qEnvironmentVariable("MIREL_BIN_DIR") + u"/mirel-devsim"_s);
        m_proc.setArguments(args);
        m_proc.setProcessChannelMode(QProcess::SeparateChannels);
        m_proc.start();
        m_started = m_proc.waitForStarted(10000);
        m_path = waitForPort();
    }
    ~DevSim()
    {
        if (m_proc.state() != QProcess::NotRunning) {
            command("quit");
            if (!m_proc.waitForFinished(3000))
                m_proc.kill();
            m_proc.waitForFinished(3000);
        }
    }
    DevSim(const DevSim&) = delete;
    DevSim& operator=(const DevSim&) = delete;

    /// Arguments written as one line ("--device scale --weight 10.5"), then more.
    static QStringList args(const char* line, const QStringList& more = {})
    {
        return QString::fromLatin1(line).split(u' ', Qt::SkipEmptyParts) + more;
    }

    bool ok() const { return m_started && !m_path.isEmpty(); }
    QString path() const { return m_path; }
    void command(const QByteArray& line) { m_proc.write(line + '\n'); }
    /// After "replug": the new pty.
    QString replug()
    {
        command("replug");
        m_path = waitForPort();
        return m_path;
    }

private:
    QString waitForPort()
    {
        for (int i = 0; i < 100; ++i, m_proc.waitForReadyRead(100))
            while (m_proc.canReadLine()) {
                const QString line = QString::fromLocal8Bit(m_proc.readLine()).trimmed();
                if (QStringList{u"PORT"_s, u"USB"_s, u"RFID"_s}.contains(line.section(u' ', 0, 0)))
                    return line.section(u' ', 1);
            }
        return QString();
    }

    QProcess m_proc;
    bool m_started = false;
    QString m_path;
};
