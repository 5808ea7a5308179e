// The unattended run as a scheduler starts it: exit code, the ini values and the imported rows.
#include "MesFixture.h"

#include "config/IniFile.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class TestMesRunProcess : public QObject {
    Q_OBJECT

    static int runMirel(const QString& home, QString* err)
    {
        QTemporaryDir runtime;
        QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
        e.insert(QStringLiteral("MIREL_HOME"), home);
        e.insert(QStringLiteral("MIREL_LOCK_DIR"), runtime.path());
        e.insert(QStringLiteral("MIREL_NONINTERACTIVE"), QStringLiteral("1"));
        // A scheduler has no display.
        e.remove(QStringLiteral("DISPLAY"));
        e.remove(QStringLiteral("QT_QPA_PLATFORM"));
        QProcess p;
        p.setProcessEnvironment(e);
        p.start(qEnvironmentVariable("MIREL_BIN_DIR") + QStringLiteral("/mirel"), {QStringLiteral("mesrun")});
        if (!p.waitForFinished(60000))
            return -1;
        *err = QString::fromLocal8Bit(p.readAllStandardError());
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
    }

private slots:
    void run_data()
    {
        QTest::addColumn<QByteArray>("mesIni");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("count");
        QTest::addColumn<QString>("stderrHas");
        QTest::newRow("imports") << QByteArray("MES_HOST=mes.db\nSynDays=-36500\n") << 0 << "2" << "";
        QTest::newRow("nothing within the days") << QByteArray("MES_HOST=mes.db\nSynDays=1\n") << 0 << "0" << "";
        QTest::newRow("MES file missing") << QByteArray("MES_HOST=other.db\nSynDays=-36500\n") << 1 << ""
                                          << "other.db";
    }
    void run()
    {
        QFETCH(QByteArray, mesIni);
        QFETCH(int, exitCode);
        QFETCH(QString, count);
        QFETCH(QString, stderrHas);
        std::unique_ptr<MesFixture> fx = std::make_unique<MesFixture>();
        fx->addMasterDataAndBeam();
        fx->addBeam(2, QStringLiteral("PB-3005"));
        fx->addA01Event(33, 1, 1000, 1);
        fx->addA01Event(33, 2, 700, 2);
        fx->mill().close();
        fx->mes().close();
        fx->home().writeFile(QStringLiteral("mirel.ini"), "[MES]\n" + mesIni);
        const QString home = fx->home().path();

        QString err;
        QCOMPARE(runMirel(home, &err), exitCode);
        const IniFile mirelIni(fx->home().file(QStringLiteral("mirel.ini")));
        const IniFile configIni(fx->home().file(QStringLiteral("config.ini")));
        QCOMPARE(mirelIni.read(QStringLiteral("MES"), QStringLiteral("同步记录数"), QString()), count);
        QVERIFY(!configIni.read(QStringLiteral("MES"), QStringLiteral("开始同步时间"), QString()).isEmpty());
        QCOMPARE(configIni.read(QStringLiteral("MES"), QStringLiteral("完成同步时间"), QString()).isEmpty(),
                 exitCode != 0);
        if (!stderrHas.isEmpty())
            QVERIFY2(err.contains(stderrHas), qPrintable(err));
        fx->mill().open(QStringLiteral("Provider=SQLite;Data Source=") + fx->millFile());
        fx->mes().open(QStringLiteral("Provider=SQLite;Data Source=") + fx->mesFile());
        QCOMPARE(MesFixture::count(fx->mill(), QStringLiteral("BillDetail")), count.toInt());
        QCOMPARE(fx->markedEvents(), count == u"2" ? 2 : 0);
    }
};

QTEST_GUILESS_MAIN(TestMesRunProcess)
#include "TestMesRunProcess.moc"
