// The store of the defect pictures on a real embedded database and folder: the file names, the
// table made where it is missing, rows that live and die with the caller's transaction and with
// the roll or defect, files only where the mill's database has no table, the offline pictures'
// replay and the sweep of old files no row names.
#include "db/Connection.h"
#include "journal/JournalRecord.h"
#include "stations/inspection/DefectPhotos.h"
#include "support/SqliteOdbc.h"
#include "support/TempProgramFolder.h"

#include <QFile>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

using Owner = DefectPhotos::Owner;
Q_DECLARE_METATYPE(Owner)

class TestDefectPhotos : public QObject {
    Q_OBJECT

    std::unique_ptr<TempProgramFolder> m_home;
    Connection m_conn;

    QString rows(const QString& where = u"1=1"_s)
    {
        QStringList out;
        Recordset rs = m_conn.execute(u"select detailId||' '||fileName||' '||takenAt from checkDetailPhoto where "_s + where + u" order by id"_s);
        for (rs.moveFirst(); !rs.eof(); rs.moveNext())
            out << rs.text(0);
        return out.join(u';');
    }
    void fileAt(const QString& path, const QDateTime& at)
    {
        m_home->writeFile(path, "jpeg");
        QFile f(m_home->file(path));
        QVERIFY(f.open(QIODevice::Append));
        QVERIFY(f.setFileTime(at, QFileDevice::FileModificationTime));
    }

private slots:
    void init()
    {
        m_home = std::make_unique<TempProgramFolder>();
        m_conn.openOrCreate(u"Provider=SQLite;Data Source="_s + m_home->file(u"mirel.db"_s));
    }
    void cleanup()
    {
        m_conn.close();
        m_home.reset();
    }

    void fileName_data()
    {
        QTest::addColumn<Owner>("owner");
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("name");
        QTest::newRow("as the frame names it") << Owner{"007", "SC2611001", 5} << 3 << "2612/007-SC2611001-005-3.jpg";
        QTest::newRow("no folder in a roll") << Owner{"1", "K1/02:A", 1234} << 1 << "2612/1-K1_02_A-1234-1.jpg";
    }
    void fileName()
    {
        QFETCH(Owner, owner);
        QFETCH(int, n);
        QFETCH(QString, name);
        QCOMPARE(DefectPhotos::fileName(owner, QDate(2026, 12, 24), n), name);
    }

    // A picture taken again gets the next number; the first stays as it was.
    void write()
    {
        const DefectPhotos photos;
        QCOMPARE(photos.folder(), m_home->file(u"照片"_s));
        const Owner owner{"007", "SC2611001", 5};
        QCOMPARE(photos.write("first", owner, QDate(2026, 12, 1)), u"2612/007-SC2611001-005-1.jpg"_s);
        QCOMPARE(photos.write("again", owner, QDate(2026, 12, 1)), u"2612/007-SC2611001-005-2.jpg"_s);
        QCOMPARE(m_home->readFile(u"照片/2612/007-SC2611001-005-1.jpg"_s), QByteArray("first"));
        m_home->writeFile(u"locked"_s, "a file where the folder should be");
        QString error;
        QCOMPARE(DefectPhotos(m_home->file(u"locked"_s)).write("x", owner, QDate(2026, 12, 1), &error), QString());
        QVERIFY(error.startsWith(u"照片存不进 "_s));
    }

    // An embedded database made before the table existed gets it; the rows are the caller's
    // transaction's; a deleted defect or roll takes its rows, and only its own.
    void rowsOnTheEmbeddedDatabase()
    {
        m_conn.execute(u"drop table checkDetailPhoto"_s);
        DefectPhotos photos;
        QVERIFY(photos.prepare(m_conn));
        m_conn.execute(u"insert into checkDetail(id,checkId) values(1,10);insert into checkDetail(id,checkId) values(2,10);"
                       "insert into checkDetail(id,checkId) values(3,11)"_s);
        const QDateTime taken(QDate(2026, 12, 24), QTime(9, 5, 7));
        m_conn.beginTrans();
        photos.addRow(m_conn, 1, u"2612/a'1.jpg"_s, taken);
        m_conn.rollbackTrans();
        QCOMPARE(rows(), QString());
        m_conn.beginTrans();
        for (int id : {1, 2, 3})
            photos.addRow(m_conn, id, u"2612/a'%1.jpg"_s.arg(id), taken);
        m_conn.commitTrans();
        QCOMPARE(rows(u"detailId=1"_s), u"1 2612/a'1.jpg 2026-12-24 09:05:07"_s);
        m_conn.execute(DefectPhotos::deleteOfDefect(2));
        QCOMPARE(rows().count(u';'), 1);
        m_conn.execute(DefectPhotos::deleteOfRoll(10));
        QCOMPARE(rows(), u"3 2612/a'3.jpg 2026-12-24 09:05:07"_s);
    }

    // A mill database reached through ODBC without the table: pictures are files only.
    void filesOnlyWithoutTheTable()
    {
        if (SqliteOdbc::driver().isEmpty())
            QSKIP("the SQLite ODBC driver is not installed");
        m_conn.execute(u"drop table checkDetailPhoto"_s);
        m_conn.close();
        m_conn.open(u"Driver="_s + SqliteOdbc::driver() + u";Database="_s + m_home->file(u"mirel.db"_s));
        DefectPhotos photos;
        QTest::ignoreMessage(QtWarningMsg, "checkDetailPhoto: 数据库里没有这个表，疵点照片只存成文件");
        QVERIFY(!photos.prepare(m_conn));
        photos.addRow(m_conn, 1, u"x.jpg"_s, QDateTime::currentDateTime());
        QCOMPARE(photos.sweep(m_conn, QDateTime::currentDateTime().addYears(1)), 0);
        QVERIFY(!photos.prepare(m_conn)); // said once
    }

    // A picture taken offline lies in the journal's folder; the replay moves it into the photo
    // folder and writes its row with its defect's new id. A replay cut off after the move (its
    // transaction rolled back) finds the file moved when it runs again.
    void replayOfAPictureTakenOffline()
    {
        const DefectPhotos offline(m_home->file(u"离线照片"_s));
        DefectPhotos online;
        QVERIFY(online.prepare(m_conn));
        const QString name = offline.write("kept", {"007", "004", 2}, QDate(2026, 12, 24));
        const JournalStep step = DefectPhotos::keptStep(JournalRecord::identityMark(1), name,
                                                        QDateTime(QDate(2026, 12, 24), QTime(8, 0)));
        QCOMPARE(step.routine, DefectPhotos::keptRoutine());
        const QString args = JournalRecord::filled(step.sql, QString(), {40, 41});
        for (bool commit : {false, true}) {
            m_conn.beginTrans();
            offline.replay(m_conn, online, args);
            commit ? m_conn.commitTrans() : m_conn.rollbackTrans();
        }
        QVERIFY(!QFile::exists(offline.folder() + u'/' + name));
        QCOMPARE(m_home->readFile(u"照片/"_s + name), QByteArray("kept"));
        QCOMPARE(rows(), u"41 2612/007-004-002-1.jpg 2026-12-24 08:00:00"_s);
    }

    // Old files no row names go; files a row names stay, whatever their age; new files stay.
    void sweep()
    {
        DefectPhotos photos(QString(), 30);
        QVERIFY(photos.prepare(m_conn));
        const QDateTime now(QDate(2026, 12, 24), QTime(12, 0));
        fileAt(u"照片/2610/named.jpg"_s, now.addDays(-90));
        fileAt(u"照片/2610/deleted.jpg"_s, now.addDays(-31));
        fileAt(u"照片/2612/recent.jpg"_s, now.addDays(-29));
        photos.addRow(m_conn, 1, u"2610/named.jpg"_s, now.addDays(-90));
        QCOMPARE(photos.sweep(m_conn, now), 1);
        QVERIFY(!QFile::exists(m_home->file(u"照片/2610/deleted.jpg"_s)));
        QVERIFY(QFile::exists(m_home->file(u"照片/2610/named.jpg"_s)));
        QVERIFY(QFile::exists(m_home->file(u"照片/2612/recent.jpg"_s)));
    }
};

QTEST_GUILESS_MAIN(TestDefectPhotos)
#include "TestDefectPhotos.moc"
