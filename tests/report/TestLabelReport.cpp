// The report object: detail query on a real database, labels per row and list pages, the JSON
// export, PDF output, and what bad templates, data and printers do; the templates shipped with the
// program, whose PDF carries the roll's data in Chinese and whose barcodes hold the ids the
// stations scan.
#include "LabelFixture.h"
#include "db/Connection.h"
#include "support/ReadBack.h"

#include "report/Barcode.h"
#include "report/LabelReport.h"
#include "report/ReportError.h"
#include "report/RollMap.h"
#include "support/ThrowsWith.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString kRollLabel =
    u"[report]\nname = 卷标\npage = 80 x 40\nmargins = 2\n"
    "[parameter]\nname = 单据ID\ntype = number\ndefault = 0\n"
    "[parameter]\nname = 默认打印机\ntype = text\ndefault = \n"
    "[detail]\nquery = select id as ID, checkcode as 卷号, oncount as 数量,\n"
    "   grade as 等级 from checkinfo where id >= [#单据ID#] order by id\n"
    "[text]\nat = 0 0 60 8\ntext = 卷号 [卷号] 数量 [数量|0.0]\n"
    "[text]\nat = 0 8 60 8\ntext = 等级：[等级]\n"
    "[barcode]\nat = 0 18 70 16\ndata = [ID|00000000]\n"_s;

const QString kBoxList =
    u"[report]\npage = 80 x 40\nmargins = 0\n"
    "[parameter]\nname = 单据ID\ntype = text\n"
    "[detail]\nquery = select checkcode as 卷号, oncount as 数量 from checkinfo\n"
    "   where bagnumber = '[#单据ID#]' order by id\n"
    "[band]\ntop = 10\nheight = 10\n"
    "[text]\nat = 0 0 80 10\ntext = 箱号 [#单据ID#] 首卷 [卷号]\n"
    "[text]\nband = yes\nat = 0 0 80 10\ntext = [行号]. [卷号] [数量]\n"_s;

} // namespace

class TestLabelReport : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        m_conn = LabelFixture::createDatabase(m_dir.filePath(u"mill.db"_s), 3);
    }

    void parametersSetAndRead_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("number as number") << u"单据ID"_s << QVariant(42.0) << u"42"_s;
        QTest::newRow("number from text") << u"单据ID"_s << QVariant(u"00042"_s) << u"42"_s;
        QTest::newRow("number from junk") << u"单据ID"_s << QVariant(u"abc"_s) << u"0"_s;
        QTest::newRow("name case") << u"单据id"_s << QVariant(7) << u"7"_s;
        QTest::newRow("text keeps blanks")
            << u"默认打印机"_s << QVariant(u" 打印服务器 "_s) << u" 打印服务器 "_s;
        QTest::newRow("text from number") << u"默认打印机"_s << QVariant(12.5) << u"12.5"_s;
        QTest::newRow("undeclared kept") << u"操作员"_s << QVariant(u"012"_s) << u"012"_s;
        QTest::newRow("undeclared, name case") << u"Shift"_s << QVariant(u"B"_s) << u"B"_s;
    }

    void parametersSetAndRead()
    {
        QFETCH(QString, name);
        QFETCH(QVariant, value);
        LabelReport r;
        r.loadText(kRollLabel);
        QCOMPARE(r.parameterText(u"单据ID"_s), u"0"_s); // the default before any set
        QCOMPARE(r.parameterText(u"没有"_s), QString());
        r.setParameter(name.toLower(), u"earlier"_s); // set again below in the name's own case
        r.setParameter(name, value);
        QTEST(r.parameterText(name), "text");
    }

    void listPagesRepeatHeaderAndBreak_data()
    {
        QTest::addColumn<int>("rolls");
        QTest::addColumn<int>("pages");
        QTest::addColumn<int>("lastPageRows");
        QTest::newRow("empty box") << 0 << 1 << 0;
        QTest::newRow("one row") << 1 << 1 << 1;
        QTest::newRow("exactly full") << 3 << 1 << 3;
        QTest::newRow("one over") << 4 << 2 << 1;
        QTest::newRow("three pages") << 7 << 3 << 1;
    }

    void listPagesRepeatHeaderAndBreak()
    {
        QFETCH(int, rolls);
        QFETCH(int, pages);
        QFETCH(int, lastPageRows);
        const QString conn = LabelFixture::createDatabase(m_dir.filePath(u"box.db"_s), rolls);
        LabelReport r;
        r.loadText(kBoxList);
        r.setConnectionString(conn);
        r.setParameter(u"单据ID"_s, u"261205001"_s);
        const FilledReport& f = r.fill();
        QCOMPARE(f.pages.size(), pages);
        QCOMPARE(f.pages.last().boxes.size(), 1 + lastPageRows);
        // Every page starts with the header filled from the first roll.
        for (const FilledPage& p : f.pages)
            QCOMPARE(p.boxes.first().text,
                     rolls ? u"箱号 261205001 首卷 007"_s : u"箱号 261205001 首卷 "_s);
        if (rolls) {
            const FilledBox& last = f.pages.last().boxes.last();
            QCOMPARE(last.text.section(u'.', 0, 0), QString::number(rolls));
            QCOMPARE(last.box.rect.top(), 10.0 + 10.0 * (lastPageRows - 1));
        }
    }

    // The roll label printed into a PDF with its copies, then exported as JSON for the print
    // server, then filled again after a parameter changed.
    void printExportAndRefill()
    {
        LabelReport r;
        loadRollLabel(r, 2, u"卷标"_s);
        r.setCopies(3);
        const QString pdf = m_dir.filePath(u"卷标.PDF"_s);
        r.setPrinterName(pdf);
        r.print();
        const QStringList pages = ReadBack::pdfPages(pdf);
        QCOMPARE(pages.size(), 6); // two labels, three copies
        const QString text = pages.join(u' ');
        QCOMPARE(text.count(u"卷号 008 数量 99.5"_s), 3);
        QCOMPARE(text.count(u"等级：二等品"_s), 3);
        QCOMPARE(text.count(u"00000003"_s), 3); // the barcode's human-readable line

        r.setParameter(u"单据ID"_s, 3);
        r.setCopies(2);
        const QString file = m_dir.filePath(u"json.txt"_s);
        r.exportText(file, 2);
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        // The whole document but the two paths; boxes name the template line they come from.
        QJsonObject doc = QJsonDocument::fromJson(f.readAll()).object();
        QVERIFY(doc.take(u"template"_s).isString() && doc.take(u"printer"_s) == pdf);
        QCOMPARE(QString::fromUtf8(QJsonDocument(doc).toJson(QJsonDocument::Compact)),
                 uR"({"columns":["ID","卷号","数量","等级"],"copies":2,"pages":[{"boxes":[)"
                 uR"({"kind":"text","line":16,"text":"卷号 009 数量 100.5"},)"
                 uR"({"kind":"text","line":19,"text":"等级：二等品"},)"
                 uR"({"data":"00000003","kind":"barcode","line":22,"text":"00000003","type":"code128"})"
                 uR"(]}],"parameters":{"单据ID":3,"默认打印机":""},"problems":[],"report":"卷标",)"
                 uR"("rows":[{"ID":3,"卷号":"009","数量":100.5,"等级":"二等品"}]})"_s);
        QVERIFY_THROWS_EXCEPTION(ReportError, r.exportText(file, 1));
        QVERIFY_THROWS_EXCEPTION(ReportError, r.exportText(m_dir.filePath(u"no/such/dir.txt"_s)));
        // Filled once and kept until a parameter changes: then the query runs again.
        QCOMPARE(r.pageCount(), 1);
        LabelFixture::exec(m_dir.filePath(u"mill.db"_s),
                           u"insert into checkinfo(checkcode, oncount) values('010', 5)"_s);
        QCOMPARE(r.pageCount(), 1);
        r.setParameter(u"单据ID"_s, 3);
        QCOMPARE(r.pageCount(), 2);
    }

    // What cannot print is told: a bad part of a label leaves the rest printed (the parts' own
    // problems, bad barcodes and box types, are rows of test_barcode and test_grf_template); no
    // rows, a PDF that cannot be written or an unknown printer print nothing.
    void printProblems_data()
    {
        QTest::addColumn<QString>("grf"); // after the page; empty: the roll label from roll `id` on
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("printer"); // empty: a PDF in the test's folder
        QTest::addColumn<QString>("problem");
        QTest::addColumn<QString>("printed"); // empty: nothing printed
        const QString second = u"[text]\nat = 0 10 60 8\ntext = 第二行\n"_s;
        QTest::newRow("failing query") << u"[detail]\nquery = select nosuch from checkinfo\n"
                                          "[text]\nat = 0 0 60 8\ntext = 标签 [#单据ID#]\n"_s
                                       << 0 << QString() << u"明细查询失败"_s << u"标签"_s;
        QTest::newRow("bad expression") << u"[text]\nat = 0 0 60 8\ntext = A[=1/0]B\n"_s + second
                                        << 0 << QString() << u"除数为 0"_s << u"第二行"_s;
        QTest::newRow("missing image") << u"[image]\nat = 0 0 10 10\nfile = logo.png\n"_s + second
                                       << 0 << QString() << u"logo.png"_s << u"第二行"_s;
        QTest::newRow("no rows") << QString() << 99 << QString() << u"没有返回数据"_s << QString();
        QTest::newRow("unwritable pdf")
            << QString() << 1 << u"/nonexistent/dir/x.pdf"_s << u"无法写入 PDF"_s << QString();
        QTest::newRow("unknown printer") << QString() << 1 << u"没有这台打印机"_s
                                         << u"找不到打印机：没有这台打印机"_s << QString();
    }

    void printProblems()
    {
        QFETCH(QString, grf);
        QFETCH(QString, printer);
        QFETCH(QString, problem);
        QFETCH(QString, printed);
        LabelReport r;
        if (grf.isEmpty()) {
            QFETCH(int, id);
            loadRollLabel(r, id);
        } else {
            r.loadText(u"[report]\npage = 80 x 40\n"_s + grf);
            r.setConnectionString(m_conn);
        }
        if (printer.isEmpty())
            QFile::remove(printer = m_dir.filePath(u"p.pdf"_s));
        r.setPrinterName(printer);
        QVERIFY(throwsWith<ReportError>([&] { r.print(); }, problem));
        if (printed.isEmpty())
            QVERIFY(!QFile::exists(printer));
        else
            QVERIFY(ReadBack::pdfPages(printer).value(0).contains(printed));
    }

    void imageFromProgramFolder()
    {
        // A logo next to the template is found without a path.
        QImage logo(40, 40, QImage::Format_RGB32);
        logo.fill(Qt::black);
        QVERIFY(logo.save(m_dir.filePath(u"logo.png"_s)));
        const QString grf = m_dir.filePath(u"logo.grf"_s);
        QFile f(grf);
        QVERIFY(f.open(QIODevice::WriteOnly) &&
                f.write("[report]\npage = 20 x 20\nmargins = 0\n[image]\nat = 5 5 10 10\nfile = logo.png\n"));
        f.close();
        LabelReport r;
        r.load(grf);
        const QImage img = r.renderImage(0, 254); // 10 dots per mm
        QVERIFY(r.problems().isEmpty());
        QCOMPARE(qGray(img.pixel(100, 100)), 0);
        QCOMPARE(qGray(img.pixel(20, 20)), 255);
    }

    void rendersWithItsData_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QVariant>("id");
        QTest::addColumn<QString>("texts"); // each text between | must be on the page
        QTest::addColumn<QString>("barcode");
        QTest::newRow("roll label")
            << u"唛头/唛头.grf"_s << QVariant(1.0)
            << u"全棉斜纹布|ML-2045|藏青|SC2026-0158|150cm|007|一等品|98.5 米|"
               "2026-12-05|00000001"_s
            << u"00000001"_s;
        QTest::newRow("order mark")
            << u"唛头/订单唛头2.grf"_s << QVariant(2.0)
            << u"杭州明远服饰有限公司|PO-88123|全棉斜纹布|008|99.5 码|L2611|一等品|00000002"_s
            << u"00000002"_s;
        QTest::newRow("box mark")
            << u"箱唛/箱唛.grf"_s << QVariant(u"261205001"_s)
            << u"箱号 261205001|品名：全棉斜纹布|匹数：3|总数：298.5 米|毛重：61.25|007|008|009|"
               "二等品|装箱时间：2026-12-05 11:02|261205001"_s
            << u"261205001"_s;
        QTest::newRow("item label")
            << u"商品/条形码.grf"_s << QVariant(1.0)
            << u"全棉斜纹布|编码：ML-2045|成分：100%棉|门幅：150cm|ML-2045"_s << u"ML-2045"_s;
    }

    void rendersWithItsData()
    {
        QFETCH(QString, file);
        QFETCH(QVariant, id);
        QFETCH(QString, texts);
        QFETCH(QString, barcode);
        LabelReport r;
        const QStringList pages = print(r, file, id);
        QCOMPARE(pages.size(), 1);
        const QString text = pages.value(0);
        for (const QString& t : texts.split(u'|'))
            QVERIFY2(text.contains(t), qPrintable(t + u" not in: "_s + text));

        // The barcode box: what the engine gave Zint (test_barcode reads the rendered codes back).
        const FilledReport& f = r.fill();
        const auto it =
            std::find_if(f.pages[0].boxes.begin(), f.pages[0].boxes.end(),
                         [](const FilledBox& b) { return b.box.kind == ReportBox::Barcode; });
        QVERIFY(it != f.pages[0].boxes.end());
        QCOMPARE(it->symbol.data, barcode);
    }

    // The roll label with the roll map: texts and QR code read back from the PDF by poppler and
    // zbar, the metres the map shades (where it draws them is its own geometry).
    void rollMapAndQr_data()
    {
        QTest::addColumn<double>("checkcount");
        QTest::addColumn<QString>("unit");
        QTest::newRow("metres") << 1.0 << u"米"_s;
        QTest::newRow("yards") << 0.9144 << u"码"_s;
    }
    void rollMapAndQr()
    {
        QFETCH(double, checkcount);
        QFETCH(QString, unit);
        LabelFixture::exec(m_dir.filePath(u"mill.db"_s),
                           u"update checkinfo set checkcount = %1 where id = 1"_s.arg(checkcount));
        LabelReport r;
        const QString pdf = m_dir.filePath(u"唛头-图.pdf"_s);
        const QString text = print(r, u"唛头/唛头-图.grf"_s, 1).value(0);
        // Units 12 (3 + 2 capped at 4) and 40 score 4, the weft bar 60-72 scores 4 in each of its
        // 12 metres; the section alert row of no points is not on the map.
        for (const QString& t : {u"等级 一等品"_s, u"扣分 56"_s, u"98.5 "_s + unit, u"007"_s})
            QVERIFY2(text.contains(t), qPrintable(text));
        QCOMPARE(ReadBack::run(u"pdftoppm"_s,
                               {u"-r"_s, u"300"_s, u"-png"_s, pdf, m_dir.filePath(u"map"_s)}),
                 QString());
        QCOMPARE(
            ReadBack::run(u"zbarimg"_s, {u"-q"_s, u"--raw"_s, u"-Sdisable"_s, u"-Sqrcode.enable"_s,
                                         m_dir.filePath(u"map-1.png"_s)}),
            u"ID:1 卡号:SC2026-0158 卷号:007 长度:98.5"_s + unit + u" 等级:一等品 扣分:56"_s);

        const FilledBox& map =
            *std::find_if(r.fill().pages[0].boxes.begin(), r.fill().pages[0].boxes.end(),
                          [](const FilledBox& b) { return b.box.kind == ReportBox::RollMap; });
        QCOMPARE(map.map.shaded, (QList<long>{12, 60, 61, 62, 63, 64, 65, 66, 67, 68, 69, 70, 71}));
    }

    // The map's query gives (position, end, points), or (position, points) for defects that have
    // no length: capped or summed as recorded, the capped units shaded.
    void rollMapRows_data()
    {
        QTest::addColumn<QList<QList<DbValue>>>("rows");
        QTest::addColumn<double>("cap");
        QTest::addColumn<QString>("expected"); // start-end:points …, then "= points" and the shaded units
        const auto row = [](std::initializer_list<double> v) {
            QList<DbValue> r;
            for (double x : v)
                r.append(DbValue(x));
            return r;
        };
        QTest::newRow("three columns") << QList{row({12.3, 12.3, 3}), row({60, 63, 2})} << 4.0
                                       << u"12.3-12.3:3 60-63:2 = 15 shaded 60 61 62"_s;
        QTest::newRow("two columns") << QList{row({12.3, 3}), row({12.8, 2}), row({40.5, 4})} << 4.0
                                     << u"12.3-12.3:3 12.8-12.8:2 40.5-40.5:4 = 8 shaded 12"_s;
        QTest::newRow("two columns, summed as recorded") << QList{row({12.3, 3}), row({12.8, 2})} << 0.0
                                                         << u"12.3-12.3:3 12.8-12.8:2 = 5 shaded"_s;
    }
    void rollMapRows()
    {
        QFETCH(QList<QList<DbValue>>, rows);
        QFETCH(double, cap);
        const RollMapData map = RollMap::build(100, u"一等品"_s, rows, cap);
        QStringList said;
        for (const FourPoint::Defect& d : map.defects)
            said << u"%1-%2:%3"_s.arg(d.start).arg(d.end).arg(d.points);
        said << u"= %1 shaded"_s.arg(map.points);
        for (long unit : map.shaded)
            said << QString::number(unit);
        QTEST(said.join(u' '), "expected");
    }

    // The buyer's defect report: the defects that count, each with its latest picture (a retake
    // wins) or 无图, five rows a page; read back as text and as the rendered page's pixels.
    void defectReport()
    {
        picture(u"a.jpg"_s, {640, 480}, Qt::red);
        picture(u"b.jpg"_s, {640, 480}, Qt::blue);
        picture(u"c.jpg"_s, {480, 640}, Qt::green); // upright
        LabelFixture::exec(m_dir.filePath(u"mill.db"_s),
                           u"insert into checkDetail(checkId,bugName,bugPosition,bugEnd,bugScore) values"
                           " (1,'粗节',80,0,1),(1,'稀纬',90,0,2); insert into checkDetailPhoto(detailId,"
                           "fileName,takenAt) values (1,'a.jpg','2026-12-08 10:00'),(1,'b.jpg',"
                           "'2026-12-08 10:05'),(3,'c.jpg','2026-12-08 10:09')"_s);
        LabelReport r;
        const QStringList pages = print(r, u"唛头/疵点报告.grf"_s, 1, m_dir.filePath(u"照片"_s));
        QCOMPARE(pages.size(), 2); // six defects, five rows to a page
        QVERIFY(pages[0].contains(u"卷号： 007"_s) && pages[0].contains(u"60.0 至 72.0"_s));
        QCOMPARE(pages[0].count(u"无图"_s), 3); // 油污, 纬档, 粗节
        QCOMPARE(pages[1].count(u"无图"_s), 1); // 稀纬
        QVERIFY(!pages.join(u' ').contains(u"区段报警"_s)); // an alert is no defect
        const QImage page = r.renderImage(0, 72);
        QCOMPARE(pixel(page, 159, 109), QColor(Qt::blue));  // row 1: the retake
        QCOMPARE(pixel(page, 159, 187), QColor(Qt::green)); // row 3
        QCOMPARE(pixel(page, 124, 187), QColor(Qt::white)); // kept upright, not stretched
        QCOMPARE(pixel(page, 128, 148), QColor(Qt::white)); // row 2: no picture, only 无图
        const QStringList none = print(r, u"唛头/疵点报告.grf"_s, 2, m_dir.filePath(u"照片"_s));
        QVERIFY(none.size() == 1 && none[0].contains(u"无疵点"_s) && !none[0].contains(u"无图"_s));
        // Any template: an image whose file fills empty is a row without a picture, no problem.
        r.loadText(u"[report]\npage = 50 x 30\n[detail]\nquery = select '' as f\n[image]\nat = 0 0 40 20\nfile = [f]\n"_s);
        r.setConnectionString(m_conn);
        QCOMPARE(r.fill().problems, QStringList());
    }

private:
    QTemporaryDir m_dir;
    QString m_conn;

    void picture(const QString& file, QSize size, Qt::GlobalColor colour)
    {
        QImage img(size, QImage::Format_RGB32);
        img.fill(colour);
        QVERIFY(QDir(m_dir.path()).mkpath(u"照片"_s) && img.save(m_dir.filePath(u"照片/"_s + file), "JPG", 95));
    }
    // The colour at a point of the page in millimetres, rounded to what a JPEG keeps.
    static QColor pixel(const QImage& page, double xMm, double yMm)
    {
        const QColor c = page.pixelColor(qRound(xMm * 72 / 25.4), qRound(yMm * 72 / 25.4));
        const auto snap = [](int v) { return v < 64 ? 0 : v > 192 ? 255 : v; };
        return QColor(snap(c.red()), snap(c.green()), snap(c.blue()));
    }
    // The roll label on the fixture database, from roll id on.
    void loadRollLabel(LabelReport& r, const QVariant& id, const QString& name = QString())
    {
        r.loadText(kRollLabel, name);
        r.setConnectionString(m_conn);
        r.setParameter(u"单据ID"_s, id);
    }

    // Loads the shipped template and prints it for `id` into a PDF; the PDF's pages.
    QStringList print(LabelReport& r, const QString& file, const QVariant& id, const QString& photos = {})
    {
        r.load(qEnvironmentVariable("MIREL_SOURCE_DIR") + u"/templates/"_s + file);
        r.setParameter(u"单据ID"_s, id);
        if (!photos.isEmpty())
            r.setParameter(u"照片文件夹"_s, photos);
        r.setConnectionString(m_conn);
        const QString pdf = m_dir.filePath(QFileInfo(file).completeBaseName() + u".pdf"_s);
        r.setPrinterName(pdf);
        r.print(); // throws on any problem of the template
        return ReadBack::pdfPages(pdf);
    }
};

QTEST_MAIN(TestLabelReport)
#include "TestLabelReport.moc"
