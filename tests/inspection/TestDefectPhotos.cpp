// The defect pictures' store on a real embedded database and folder: names, the table made where
// missing, files only on a mill database without the table, the sweep of old files (the rows go
// with the roll's save and delete: the roll save's and roll list's tests).
#include "db/Connection.h"
#include "stations/inspection/DefectPhotos.h"
#include "support/SqliteOdbc.h"
#include "support/TempProgramFolder.h"

#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;

class TestDefectPhotos : public QObject {
    Q_OBJECT

    std::unique_ptr<TempProgramFolder> m_home;
    Connection m_conn;
    const QDateTime m_now{QDate(2026, 12, 24), QTime(9, 5, 7)};

private slots:
    void init()
    {
        m_home = std::make_unique<TempProgramFolder>();
        m_conn.openOrCreate(u"Provider=SQLite;Data Source="_s + m_home->file(u"mirel.db"_s));
        m_conn.execute(u"drop table checkDetailPhoto"_s); // a database made before the table
    }
    void cleanup() { m_conn.close(); m_home.reset(); }

    // "YYMM/station-card-roll-defect.jpg"; a picture taken again never overwrites the first.
    void write()
    {
        const DefectPhotos photos;
        QCOMPARE(DefectPhotos::fileName({"1", "K1/02:A", "9", 1234}, m_now.date(), 1), u"2612/1-K1_02_A-9-1234.jpg"_s);
        for (const char* again : {"", "_2"})
            QCOMPARE(photos.write(QByteArray("x") + again, {"007", "SC2611001", "005", 3}, m_now.date()), u"2612/007-SC2611001-005-3%1.jpg"_s.arg(again));
        QCOMPARE(m_home->readFile(u"照片/2612/007-SC2611001-005-3.jpg"_s), QByteArray("x")); // the first kept
        QString error;
        QCOMPARE(DefectPhotos(m_home->file(u"mirel.db"_s)).write("x", {}, m_now.date(), &error), QString());
        QVERIFY(error.startsWith(u"照片存不进 "_s));
    }

    void filesOnlyWithoutTheTable()
    {
        if (SqliteOdbc::driver().isEmpty())
            QSKIP("the SQLite ODBC driver is not installed");
        m_conn.open(u"Driver="_s + SqliteOdbc::driver() + u";Database="_s + m_home->file(u"mirel.db"_s));
        DefectPhotos photos;
        QTest::ignoreMessage(QtWarningMsg, "checkDetailPhoto: 数据库里没有这个表，疵点照片只存成文件");
        for (int i = 0; i < 2; ++i) // said once
            QVERIFY(!photos.prepare(m_conn));
        photos.addRow(m_conn, 1, u"x.jpg"_s, m_now);
        QCOMPARE(photos.sweep(m_conn, m_now.addYears(1)), 0);
    }

    // Old files no row names go; a named file stays whatever its age, a new one stays.
    void sweep()
    {
        DefectPhotos photos(QString(), 30);
        QVERIFY(photos.prepare(m_conn));
        for (const auto& [name, days] : {std::pair{"named", 90}, {"deleted", 31}, {"recent", 29}}) {
            m_home->writeFile(u"照片/26/%1.jpg"_s.arg(name), "jpeg");
            QFile f(m_home->file(u"照片/26/%1.jpg"_s.arg(name)));
            QVERIFY(f.open(QIODevice::Append) && f.setFileTime(m_now.addDays(-days), QFileDevice::FileModificationTime));
        }
        photos.addRow(m_conn, 1, u"26/named.jpg"_s, m_now);
        QCOMPARE(photos.sweep(m_conn, m_now), 1);
        QCOMPARE(QDir(m_home->file(u"照片/26"_s)).entryList(QDir::Files), QStringList({"named.jpg", "recent.jpg"}));
    }
};

QTEST_GUILESS_MAIN(TestDefectPhotos)
#include "TestDefectPhotos.moc"
