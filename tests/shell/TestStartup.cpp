// Start-up: one running copy, and the day the unattended MES run starts from (its times and count
// are checked on the real run, in tests/mes).
#include "shell/MesRun.h"
#include "shell/SingleInstance.h"
#include "support/TempProgramFolder.h"

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

class TestStartup : public QObject {
    Q_OBJECT

    static QString mirelBinary() { return qEnvironmentVariable("MIREL_BIN_DIR") + u"/mirel"_s; }

    // The environment of a copy started elsewhere: its own runtime and temporary folders.
    static QProcessEnvironment env(const QString& lockDir, const QString& home)
    {
        QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
        e.insert(u"MIREL_LOCK_DIR"_s, lockDir);
        e.insert(u"XDG_RUNTIME_DIR"_s, home);
        e.insert(u"TMPDIR"_s, home);
        e.insert(u"MIREL_HOME"_s, home);
        e.insert(u"MIREL_NONINTERACTIVE"_s, u"1"_s);
        e.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
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
    // The lock lies where only this user can write: another account cannot keep the station
    // from starting with a file of its own.
    void lockInTheUsersOwnFolder_data()
    {
        QTest::addColumn<int>("mode");   // of the folder XDG_RUNTIME_DIR names; 0: unset
        QTest::addColumn<bool>("inIt");  // the lock lies in that folder
        QTest::newRow("runtime folder") << 0700 << true;
        QTest::newRow("runtime folder others can write") << 0777 << false;
        QTest::newRow("runtime folder its group can write") << 0770 << false;
        QTest::newRow("no runtime folder") << 0 << false;
    }
    void lockInTheUsersOwnFolder()
    {
        QFETCH(int, mode);
        QTemporaryDir runtime;
        QVERIFY(::chmod(QFile::encodeName(runtime.path()).constData(), mode ? mode : 0700) == 0);
        const QByteArray old = qgetenv("XDG_RUNTIME_DIR");
        if (mode)
            qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
        else
            qunsetenv("XDG_RUNTIME_DIR");
        const QString lock = SingleInstance::defaultLockPath();
        qputenv("XDG_RUNTIME_DIR", old);
        QTEST(QFileInfo(lock).absolutePath() == runtime.path(), "inIt");
        struct stat st {};
        QVERIFY(::stat(QFile::encodeName(QFileInfo(lock).absolutePath()).constData(), &st) == 0);
        QCOMPARE(st.st_uid, ::getuid());
        QCOMPARE(st.st_mode & 0022, 0u);
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
        // The running copy by its process and how to end it here; the Windows command only there.
        QVERIFY2(err.contains(u"程序已经运作中（进程 %1）"_s.arg(::getpid())), qPrintable(err));
        QVERIFY(err.contains(u"kill %1"_s.arg(::getpid())));
        QVERIFY(!err.contains(u"taskkill"_s));
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
        p.start(mirelBinary(), {u"mesrun"_s});
        QVERIFY(p.waitForFinished(20000));
        const QString err = QString::fromLocal8Bit(p.readAllStandardError());
        QVERIFY2(!err.contains(u"程序已经运作中"_s), qPrintable(err));
        QVERIFY(p.exitCode() != 2);
        // It got as far as the run: the start time is written.
        QVERIFY(QFile::exists(home.path() + u"/config.ini"_s));
    }

    void lockIsReleasedForTheNextStart()
    {
        QTemporaryDir runtime;
        const QString lock = runtime.path() + u"/l.lock"_s;
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
        home.writeFile(u"mirel.ini"_s, ini);
        QTEST(MesRun::startDate(QDate(2026, 12, 5)), "expected");
    }
};

QTEST_GUILESS_MAIN(TestStartup)
#include "TestStartup.moc"
