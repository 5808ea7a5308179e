// Start-up: one running copy, and the day the unattended MES run starts from (its times and count
// are checked on the real run, in tests/mes).
#include "shell/MesRun.h"
#include "shell/SingleInstance.h"
#include "support/TempProgramFolder.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

class TestStartup : public QObject {
    Q_OBJECT

    static QString mirelBinary() { return qEnvironmentVariable("MIREL_BIN_DIR") + QStringLiteral("/mirel"); }

    // The environment of a copy started elsewhere: its own runtime and temporary folders.
    static QProcessEnvironment env(const QString& lockDir, const QString& home)
    {
        QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
        e.insert(QStringLiteral("MIREL_LOCK_DIR"), lockDir);
        e.insert(QStringLiteral("XDG_RUNTIME_DIR"), home);
        e.insert(QStringLiteral("TMPDIR"), home);
        e.insert(QStringLiteral("MIREL_HOME"), home);
        e.insert(QStringLiteral("MIREL_NONINTERACTIVE"), QStringLiteral("1"));
        e.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        return e;
    }

    // The lock file a copy uses with MIREL_LOCK_DIR=dir.
    static QString lockIn(const QString& dir)
    {
        const QByteArray old = qgetenv("MIREL_LOCK_DIR");
        qputenv("MIREL_LOCK_DIR", dir.toLocal8Bit());
        const QString path = SingleInstance::defaultLockPath();
        qputenv("MIREL_LOCK_DIR", old);
        return path;
    }

private slots:
    // A copy started from cron, a systemd unit or another shell sees other variables; it must
    // find the same lock.
    void lockPathIgnoresTheEnvironment_data()
    {
        QTest::addColumn<QByteArray>("variable");
        QTest::addColumn<QByteArray>("value");
        QTest::newRow("runtime folder") << QByteArray("XDG_RUNTIME_DIR") << QByteArray("/run/user/4242");
        QTest::newRow("no runtime folder") << QByteArray("XDG_RUNTIME_DIR") << QByteArray();
        QTest::newRow("temporary folder") << QByteArray("TMPDIR") << QByteArray("/var/tmp/cron");
        QTest::newRow("no user name") << QByteArray("USER") << QByteArray();
        QTest::newRow("other user name") << QByteArray("USER") << QByteArray("nobody-else");
    }
    void lockPathIgnoresTheEnvironment()
    {
        QFETCH(QByteArray, variable);
        QFETCH(QByteArray, value);
        const QString usual = SingleInstance::defaultLockPath();
        QVERIFY(usual.endsWith(QStringLiteral("-%1.lock").arg(::getuid())));
        const QByteArray old = qgetenv(variable.constData());
        const bool had = qEnvironmentVariableIsSet(variable.constData());
        if (value.isEmpty())
            qunsetenv(variable.constData());
        else
            qputenv(variable.constData(), value);
        const QString elsewhere = SingleInstance::defaultLockPath();
        if (had)
            qputenv(variable.constData(), old);
        else
            qunsetenv(variable.constData());
        QCOMPARE(elsewhere, usual);
    }

    void secondCopyIsRefused_data()
    {
        QTest::addColumn<QString>("word");
        QTest::newRow("window station") << "check";
        QTest::newRow("unattended run") << "mesrun";
    }
    void secondCopyIsRefused()
    {
        QFETCH(QString, word);
        QTemporaryDir lockDir, home;
        // This test process is the running copy.
        SingleInstance running(lockIn(lockDir.path()));
        QVERIFY(running.acquire());
        QProcess p;
        p.setProcessEnvironment(env(lockDir.path(), home.path()));
        p.start(mirelBinary(), {word});
        QVERIFY(p.waitForFinished(20000));
        QCOMPARE(p.exitCode(), 2);
        const QString err = QString::fromLocal8Bit(p.readAllStandardError());
        QVERIFY2(err.contains(QStringLiteral("程序已经运作中...")), qPrintable(err));
        QVERIFY(err.contains(QStringLiteral("taskkill /f /im mirel.exe")));
        // The refused copy touched nothing.
        QVERIFY(QDir(home.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
    }

    void staleLockDoesNotBlock()
    {
        QTemporaryDir lockDir, home;
        {
            QFile f(lockIn(lockDir.path())); // left behind by a copy that crashed: a process id that does not run
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("999999\nmirel\nthis-host\n");
        }
        QProcess p;
        p.setProcessEnvironment(env(lockDir.path(), home.path()));
        p.start(mirelBinary(), {QStringLiteral("mesrun")});
        QVERIFY(p.waitForFinished(20000));
        const QString err = QString::fromLocal8Bit(p.readAllStandardError());
        QVERIFY2(!err.contains(QStringLiteral("程序已经运作中")), qPrintable(err));
        QVERIFY(p.exitCode() != 2);
        // It got as far as the run: the start time is written.
        QVERIFY(QFile::exists(home.path() + QStringLiteral("/config.ini")));
    }

    void lockIsReleasedForTheNextStart()
    {
        QTemporaryDir runtime;
        const QString lock = runtime.path() + QStringLiteral("/l.lock");
        {
            SingleInstance first(lock);
            QVERIFY(first.acquire());
        }
        SingleInstance second(lock);
        QVERIFY(second.acquire());
    }

    void startDateFollowsSynDays_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QString>("expected");
        QTest::newRow("missing") << QByteArray() << "2026-11-25";
        QTest::newRow("three back") << QByteArray("[MES]\nSynDays=-3\n") << "2026-12-02";
        QTest::newRow("not a number") << QByteArray("[MES]\nSynDays=abc\n") << "2026-12-05";
        QTest::newRow("across a year") << QByteArray("[MES]\nSynDays=-340\n") << "2025-12-30";
    }
    void startDateFollowsSynDays()
    {
        QFETCH(QByteArray, ini);
        TempProgramFolder home;
        home.writeFile(QStringLiteral("mirel.ini"), ini);
        QTEST(MesRun::startDate(QDate(2026, 12, 5)), "expected");
    }
};

QTEST_GUILESS_MAIN(TestStartup)
#include "TestStartup.moc"
