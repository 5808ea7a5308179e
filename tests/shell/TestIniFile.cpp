// ini semantics of the program folder's files and the picture browsers' profile.
#include "config/LegacyEncoding.h"
#include "config/ProgramFolder.h"
#include "shell/Database.h"
#include "shell/Profile.h"
#include "shell/SysUtil.h"
#include "support/TempProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTest>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

using namespace Qt::StringLiterals;

using SysUtil::readIni;
using SysUtil::writeIni;

class TestIniFile : public QObject {
    Q_OBJECT
    std::unique_ptr<TempProgramFolder> m_home; // a fresh program folder for every test

private slots:
    void init()
    {
        m_home.reset();
        m_home = std::make_unique<TempProgramFolder>();
    }

    void readsWithDefaults_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");
        const QByteArray ini = "; mill settings\r\n[MIREL]\r\nbiliA=2\r\nmenchineId = 003 \r\n"
                               "dispFormat=\"0.0\"\r\nnone=\"\"\r\nbroken line\r\n=novalue\r\n"
                               "#codeLen=9\r\n[MES]\r\nSynDays=-3\r\n";
        const auto gb = [](const char* t) { return LegacyEncoding::toGb18030(QString::fromUtf8(t)); };
        const auto utf16 = [](QStringConverter::Encoding e, const char* t) {
            return QByteArray(QStringEncoder(e, QStringEncoder::Flag::WriteBom)(QString::fromUtf8(t)));
        };
        const auto row = [](const char* name, const QByteArray& content, const char* section,
                            const char* key, const char* expected) {
            QTest::newRow(name) << content << QString::fromUtf8(section) << QString::fromUtf8(key)
                                << QString::fromUtf8(expected);
        };
        row("key case", ini, "MIREL", "BiliA", "2");
        row("section case", ini, "mirel", "biliA", "2");
        row("blanks trimmed", ini, "MIREL", "menchineId", "003");
        row("quotes stripped", ini, "MIREL", "dispFormat", "0.0");
        row("empty quotes stripped", ini, "MIREL", "none", "");
        row("missing key", ini, "MIREL", "codeLen", "DEF");
        row("key of other section", ini, "MES", "biliA", "DEF");
        row("# comment is no key", ini, "MIREL", "#codeLen", "DEF");
        row("malformed lines ignored", ini, "MIREL", "broken line", "DEF");
        row("missing file", QByteArray(), "MIREL", "menchineId", "DEF");
        row("bom", "\xEF\xBB\xBF[MIREL]\nbugs=破洞,\n", "MIREL", "bugs", "破洞,");
        row("first of duplicates", "[A]\nk=1\nK=2\n", "A", "k", "1");
        row("key before any section", "k=1\n[A]\n", "A", "k", "DEF");
        // Short GB18030 texts are valid UTF-8 too; Notepad's "Unicode"; a block appended by hand.
        row("gb18030 that is utf-8 too", gb("[CUSTOMER.SETTING]\r\nCONNECTIONSTRING=缺省\r\n"),
            "CUSTOMER.SETTING", "CONNECTIONSTRING", "缺省");
        row("gb18030 chinese only", gb("[MIREL]\r\nProjects=染色\r\n"), "MIREL", "Projects", "染色");
        row("utf-16", utf16(QStringConverter::Utf16LE, "[MIREL]\r\nbugs=破洞\r\n"), "MIREL", "bugs", "破洞");
        row("utf-16 big endian", utf16(QStringConverter::Utf16BE, "[MIREL]\nbugs=破洞\n"), "MIREL", "bugs", "破洞");
        const QByteArray twice = "[Database]\nDriver=A\n[MES]\nx=1\n[database]\nDRIVER=B\nTdsVersion=7.4\n";
        row("repeated section, later wins", twice, "Database", "Driver", "B");
        row("repeated section, its own keys", twice, "Database", "TdsVersion", "7.4");
    }
    void readsWithDefaults()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        if (!content.isNull()) // a null text: no file at all
            m_home->writeFile(u"mirel.ini"_s, content);
        QCOMPARE(readIni(section, key, u"DEF"_s, u"/mirel.ini"_s), expected);
    }

    // config.ini names the database or stops the station, naming the file; never the embedded
    // database by default when the file is there.
    void configNamesTheDatabase_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("setting"); // empty: the station stops
        const QString sqlite = u"Provider=SQLite;Data Source=x.db"_s;
        QTest::newRow("garbage") << QByteArray("\x80\x81\xFF\xFE garbage") << QString();
        QTest::newRow("no CONNECTIONSTRING") << QByteArray("[MES]\n开始同步时间=08:00:00\n") << QString();
        QTest::newRow("utf-16 without bom")
            << QByteArray(QStringEncoder(QStringConverter::Utf16LE)(
                   u"[CUSTOMER.SETTING]\nCONNECTIONSTRING="_s + sqlite))
            << QString();
    }
    void configNamesTheDatabase()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, setting);
        m_home->writeFile(u"config.ini"_s, content);
        QCOMPARE(Database::connectionSetting(), setting);
        QCOMPARE(Database::configProblem().contains(m_home->file(u"config.ini"_s)),
                 setting.isEmpty());
    }

    void everyReadGoesToTheFile()
    {
        m_home->writeFile(u"mirel.ini"_s, "[MIREL]\ncodeLen=000\n");
        QCOMPARE(readIni("MIREL", "codeLen", "0", "/mirel.ini"), u"000"_s);
        m_home->writeFile(u"mirel.ini"_s, "[MIREL]\ncodeLen=0000\n");
        QCOMPARE(readIni("MIREL", "codeLen", "0", "/mirel.ini"), u"0000"_s);
    }

    // A write changes its line only: comments, order, line ends, a BOM and the legacy encoding
    // stay; threads writing at once (four, 25 ports each) take turns and lose none of each
    // other's lines.
    void writesKeepTheFile_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("before");  // null: no file yet
        QTest::addColumn<QStringList>("writes"); // section, key, value, …
        QTest::addColumn<QByteArray>("after");   // null: not compared
        const auto gb = [](const char* s) { return LegacyEncoding::toGb18030(QString::fromUtf8(s)); };
        QTest::newRow("comments and order") << "mirel.ini"
            << QByteArray("; panel 3\r\n[MIREL]\r\nbiliA=1\r\n; keep me\r\nbugs=破洞\r\n\r\n[MES]\r\nSynDays=-10\r\n")
            << QStringList{"mirel", "BILIA", "2", "MIREL", "grade", "A,B,C", "MES", "同步记录数", "5", "打包", "autoSave", "1"}
            << QByteArray("; panel 3\r\n[MIREL]\r\nbiliA=2\r\n; keep me\r\nbugs=破洞\r\ngrade=A,B,C\r\n\r\n"
                          "[MES]\r\nSynDays=-10\r\n同步记录数=5\r\n\r\n[打包]\r\nautoSave=1\r\n");
        QTest::newRow("line ends and bom") << "kanban.ini" << QByteArray("\xEF\xBB\xBF[看板配置]\nfontsize=32\n")
            << QStringList{"看板配置", "时间间隔", "2000"} << QByteArray("\xEF\xBB\xBF[看板配置]\nfontsize=32\n时间间隔=2000\n");
        QTest::newRow("new file") << "config.ini" << QByteArray() << QStringList{"MES", "开始同步时间", "08:00:00"}
            << QByteArray("[MES]\r\n开始同步时间=08:00:00\r\n");
        QTest::newRow("legacy gb18030") << "班别.ini" << gb("[MIREL]\r\n001=早班\r\n")
            << QStringList{"MIREL", "002", "夜班"} << gb("[MIREL]\r\n001=早班\r\n002=夜班\r\n");
        QStringList ports;
        for (int i = 0; i < 100; ++i)
            ports << "SerialPorts" << "COM" + QString::number(i) << "/dev/pts/1";
        QTest::newRow("writers at once") << "mirel.ini" << QByteArray() << ports << QByteArray();
    }
    void writesKeepTheFile()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, before);
        QFETCH(QStringList, writes);
        if (!before.isNull())
            m_home->writeFile(file, before);
        std::atomic<int> failedWrites = 0;
        std::vector<std::thread> writers; // 25 writes each
        // Read only through a const view: a QStringList's non-const [] detaches it, and four
        // threads detaching one list at once free each other's strings.
        const QStringList& all = writes;
        const QString path = "/" + file;
        for (qsizetype from = 0; from < all.size(); from += 75)
            writers.emplace_back([&, from] {
                for (qsizetype i = from; i < qMin(from + 75, all.size()); i += 3)
                    if (!writeIni(all[i], all[i + 1], all[i + 2], path))
                        ++failedWrites;
            });
        for (std::thread& t : writers)
            t.join();
        QCOMPARE(failedWrites.load(), 0);
        for (qsizetype i = 0; i < writes.size(); i += 3)
            QCOMPARE(readIni(writes[i], writes[i + 1], "", "/" + file), writes[i + 2]);
        QFETCH(QByteArray, after);
        QVERIFY(after.isNull() || m_home->readFile(file) == after);
    }

    // A folder that is a file cannot be written by anyone, root included (CI runs as root).
    void unwritableFileReportsError()
    {
        m_home->writeFile(u"plain"_s, "a file, not a folder");
        QString error;
        QVERIFY(!writeIni("A", "k", "v", "/plain/mirel.ini", &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(m_home->readFile(u"plain"_s), QByteArray("a file, not a folder"));
        QCOMPARE(readIni("A", "k", "none", "/plain/mirel.ini"), u"none"_s);
    }

    void profileDeletesKeyAndSection()
    {
        const QString file = m_home->file(u"thumbs.ini"_s);
        QVERIFY(basThumbs::writeProfile("Main", "ItemId", "42", file));
        QVERIFY(basThumbs::writeProfile("Main", "Maximized", "True", file));
        QVERIFY(basThumbs::writeProfile("Other", "x", "1", file));
        QCOMPARE(basThumbs::readProfile("main", "itemid", "0", file), u"42"_s);
        QVERIFY(basThumbs::writeProfile("Main", "ItemId", "", file));
        QCOMPARE(basThumbs::readProfile("Main", "ItemId", "0", file), u"0"_s);
        QCOMPARE(basThumbs::readProfile("Main", "Maximized", "False", file), u"True"_s);
        QVERIFY(basThumbs::writeProfile("Main", "", "", file));
        QCOMPARE(basThumbs::readProfile("Main", "Maximized", "False", file), u"False"_s);
        QCOMPARE(basThumbs::readProfile("Other", "x", "", file), u"1"_s);
        // A value is read back cut as the old profile calls cut it.
        QVERIFY(basThumbs::writeProfile("Main", "Last Path", QString(3000, u'x'), file));
        QCOMPARE(basThumbs::readProfile("Main", "Last Path", "", file).size(), 2047);
    }

    // Where the ini files and the data lie for an executable in a given folder ("=" is the
    // executable's own folder).
    void layoutOfTheExecutable_data()
    {
        QTest::addColumn<QString>("made");
        QTest::addColumn<QString>("exeDir");
        QTest::addColumn<QString>("config");
        QTest::addColumn<QString>("data");
        const auto row = [](const char* name, const char* made, const char* exeDir,
                            const char* config, const char* data) {
            QTest::newRow(name) << made << exeDir << config << data;
        };
        row("build tree", "build/bin", "build/bin", "=", "=");
        row("installed", "r/usr/bin,r/etc/mirel", "r/usr/bin", "r/etc/mirel", "r/var/lib/mirel");
        row("trailing slash", "r/usr/bin,r/etc/mirel", "r/usr/bin/", "r/etc/mirel",
            "r/var/lib/mirel");
        row("no /etc/mirel", "r/usr/bin,r/etc", "r/usr/bin", "=", "=");
        row("other prefix", "r/usr/local/bin,r/etc/mirel", "r/usr/local/bin", "=", "=");
    }

    void layoutOfTheExecutable()
    {
        QFETCH(QString, made);
        QFETCH(QString, exeDir);
        QFETCH(QString, config);
        QFETCH(QString, data);
        for (const QString& dir : made.split(u','))
            QVERIFY(QDir(m_home->path()).mkpath(dir));
        const QString exe = QDir::cleanPath(m_home->file(exeDir));
        const auto layout = ProgramFolder::layoutFor(m_home->file(exeDir));
        QCOMPARE(layout.config, config == u"=" ? exe : m_home->file(config));
        QCOMPARE(layout.data, data == u"=" ? exe : m_home->file(data));
    }
};

QTEST_GUILESS_MAIN(TestIniFile)
#include "TestIniFile.moc"
