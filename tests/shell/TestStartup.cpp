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

    // The lock file a copy uses with MIREL_LOCK_DIR=dir.
    static QString lockIn(const QString& dir)
    {
        const QByteArray old = qgetenv("MIREL_LOCK_DIR");
        qputenv("MIREL_LOCK_DIR", dir.toLocal8Bit());
        const QString path = SingleInstance::defaultLockPath();
        qputenv("MIREL_LOCK_DIR", old);
        return path;
    }

    // Starts `mirel word` with the lock in lockDir and its own runtime, temporary and program
    // folder home; its exit code and what it wrote to stderr.
    static std::pair<int, QString> start(const QString& word, const QString& lockDir, const QString& home)
    {
        QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"XDG_RUNTIME_DIR", "TMPDIR", "MIREL_HOME"})
            e.insert(QString::fromLatin1(name), home);
        e.insert(u"MIREL_LOCK_DIR"_s, lockDir);
        e.insert(u"MIREL_NONINTERACTIVE"_s, u"1"_s);
        e.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        QProcess p;
        p.setProcessEnvironment(e);
        p.start(qEnvironmentVariable("MIREL_BIN_DIR") + u"/mirel"_s, {word});
        if (!p.waitForFinished(20000))
            return {-1, u"did not end"_s};
        return {p.exitCode(), QString::fromLocal8Bit(p.readAllStandardError())};
    }

private slots:
    // The lock lies where only this user can write: another account cannot keep the station
    // from starting with a file of its own. Released, it takes the next start.
    void lockInTheUsersOwnFolder_data()
    {
        QTest::addColumn<int>("mode");   // of the folder XDG_RUNTIME_DIR names; 0: unset
        QTest::addColumn<bool>("inIt");  // the lock lies in that folder
        QTest::newRow("runtime folder") << 0700 << true;
        QTest::newRow("runtime folder others can write") << 0777 << false;
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
        QCOMPARE(std::pair(st.st_uid, st.st_mode & 0022), std::pair(::getuid(), 0u));
        const QString ours = runtime.path() + u"/l.lock"_s;
        QVERIFY(SingleInstance(ours).acquire());
        QVERIFY(SingleInstance(ours).acquire());
    }

    // A running copy refuses the next one, naming its process and how to end it here (the Windows
    // command only there), and the refused copy touches nothing. A lock left by a copy that crashed
    // (a process id that does not run) blocks nothing: the run gets as far as its start time.
    void secondCopy_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<bool>("running");
        QTest::newRow("window station") << "check" << true;
        QTest::newRow("unattended run") << "mesrun" << true;
        QTest::newRow("stale lock") << "mesrun" << false;
    }
    void secondCopy()
    {
        QFETCH(QString, word);
        QFETCH(bool, running);
        QTemporaryDir lockDir, home;
        SingleInstance us(lockIn(lockDir.path())); // this test process is the running copy
        QFile stale(lockIn(lockDir.path()));
        QVERIFY(running ? us.acquire()
                        : stale.open(QIODevice::WriteOnly) && stale.write("999999\nmirel\nthis-host\n"));
        stale.close();
        const auto [code, err] = start(word, lockDir.path(), home.path());
        QCOMPARE(std::pair(code == 2, err.contains(u"程序已经运作中"_s)), std::pair(running, running));
        if (running)
            QVERIFY2(err.contains(u"程序已经运作中（进程 %1）"_s.arg(::getpid()))
                         && err.contains(u"kill %1"_s.arg(::getpid())) && !err.contains(u"taskkill"_s),
                     qPrintable(err));
        QCOMPARE(QDir(home.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty(), running);
        QCOMPARE(QFile::exists(home.path() + u"/config.ini"_s), !running);
    }

    void startDateFollowsSynDays_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QString>("expected");
        QTest::newRow("missing") << QByteArray() << "2026-11-25";
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
