// The buyer's defect report (疵点报告) as shipped: a roll's defects that count, each with the
// latest picture the camera took of it, "无图" where there is none, rows running onto further
// pages; read back from the PDF as text and from the rendered page as pixels.
#include "LabelFixture.h"
#include "support/ReadBack.h"

#include "report/LabelReport.h"

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestDefectReport : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        m_db = m_dir.filePath(u"mill.db"_s);
        m_conn = LabelFixture::createDatabase(m_db, 2);
        // Roll 1 (007): 破洞 taken twice (the retake is shown), 断经 upright, two more defects
        // for a second page; 油污, 纬档 and the two have no picture. Roll 2 (008) has no defect.
        picture(u"2612/a.jpg"_s, {640, 480}, Qt::red);
        picture(u"2612/b.jpg"_s, {640, 480}, Qt::blue);
        picture(u"2612/c.jpg"_s, {480, 640}, Qt::green);
        LabelFixture::exec(m_db, u"insert into checkDetail(checkId,bugName,bugPosition,bugEnd,bugScore)"
                                 " values (1,'粗节',80,0,1),(1,'稀纬',90,0,2);"
                                 "insert into checkDetailPhoto(detailId,fileName,takenAt) values"
                                 " (1,'2612/a.jpg','2026-12-08 10:00:00'),"
                                 " (1,'2612/b.jpg','2026-12-08 10:05:00'),"
                                 " (3,'2612/c.jpg','2026-12-08 10:09:00');"_s);
    }

    void rollWithPictures()
    {
        LabelReport r;
        const QStringList pages = print(r, 1);
        QCOMPARE(pages.size(), 2); // six defects, five rows to a page
        QVERIFY2(pages[0].contains(u"卷号： 007"_s) && pages[1].contains(u"卷号： 007"_s), qPrintable(pages[0]));
        QVERIFY(pages[0].contains(u"60.0 至 72.0"_s));
        QCOMPARE(pages[0].count(u"无图"_s), 3); // 油污, 纬档, 粗节
        QCOMPARE(pages[1].count(u"无图"_s), 1); // 稀纬
        QVERIFY(!pages.join(u' ').contains(u"区段报警"_s)); // an alert is no defect

        const QImage page = r.renderImage(0, 72);
        QCOMPARE(pixel(page, 159, 109), QColor(Qt::blue));  // row 1: the retake
        QCOMPARE(pixel(page, 159, 187), QColor(Qt::green)); // row 3
        QCOMPARE(pixel(page, 124, 187), QColor(Qt::white)); // kept upright, not stretched
        QCOMPARE(pixel(page, 128, 148), QColor(Qt::white)); // row 2: no picture, only 无图
    }

    void rollWithoutDefects()
    {
        LabelReport r;
        const QStringList pages = print(r, 2);
        QCOMPARE(pages.size(), 1);
        QVERIFY(pages[0].contains(u"无疵点"_s));
        QVERIFY(!pages[0].contains(u"无图"_s));
    }

    // Any template: an image whose file fills empty is a row without a picture, not a problem.
    void emptyImageIsNoProblem()
    {
        LabelReport r;
        r.loadText(u"[report]\npage = 50 x 30\n[detail]\nquery = select '' as 照片\n"
                   "[image]\nat = 0 0 40 20\nfile = [照片]\n"_s);
        r.setConnectionString(m_conn);
        QCOMPARE(r.fill().problems, QStringList());
    }

private:
    QTemporaryDir m_dir;
    QString m_db, m_conn;

    void picture(const QString& file, QSize size, Qt::GlobalColor colour)
    {
        QDir(m_dir.path()).mkpath(u"照片/2612"_s);
        QImage img(size, QImage::Format_RGB32);
        img.fill(colour);
        QVERIFY(img.save(m_dir.filePath(u"照片/"_s + file), "JPG", 95));
    }

    // Prints the shipped template for the roll into a PDF (print() throws on any problem, so a
    // defect without a picture must not be one); the PDF's pages.
    QStringList print(LabelReport& r, int roll)
    {
        r.load(qEnvironmentVariable("MIREL_SOURCE_DIR") + u"/templates/唛头/疵点报告.grf"_s);
        r.setParameter(u"单据ID"_s, roll);
        r.setParameter(u"照片文件夹"_s, m_dir.filePath(u"照片"_s));
        r.setConnectionString(m_conn);
        const QString pdf = m_dir.filePath(u"report%1.pdf"_s.arg(roll));
        r.setPrinterName(pdf);
        r.print();
        return ReadBack::pdfPages(pdf);
    }

    // The colour at a point of the page given in millimetres, rounded to what a JPEG keeps.
    static QColor pixel(const QImage& page, double xMm, double yMm)
    {
        const QColor c = page.pixelColor(qRound(xMm * 72 / 25.4), qRound(yMm * 72 / 25.4));
        const auto snap = [](int v) { return v < 64 ? 0 : v > 192 ? 255 : v; };
        return QColor(snap(c.red()), snap(c.green()), snap(c.blue()));
    }
};

QTEST_MAIN(TestDefectReport)
#include "TestDefectReport.moc"
