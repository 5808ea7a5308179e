// The report object: detail query on a real database, labels per row and list pages, the JSON
// export, PDF output, and what bad templates, data and printers do.
#include "LabelFixture.h"
#include "support/ReadBack.h"

#include "report/LabelReport.h"
#include "report/ReportError.h"
#include "support/ThrowsWith.h"

#include <QFile>
#include <QImage>
#include <QJsonArray>
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

    void jsonExportCarriesTheFilledLabel()
    {
        LabelReport r;
        loadRollLabel(r, 3, u"卷标"_s);
        r.setCopies(2);
        const QString file = m_dir.filePath(u"json.txt"_s);
        r.exportText(file, 2);
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QJsonObject doc = QJsonDocument::fromJson(f.readAll()).object();
        QCOMPARE(doc[u"report"_s].toString(), u"卷标"_s);
        QCOMPARE(doc[u"copies"_s].toInt(), 2);
        QCOMPARE(doc[u"parameters"_s][u"单据ID"_s].toDouble(), 3.0);
        QCOMPARE(doc[u"parameters"_s][u"默认打印机"_s].toString(), QString());
        QCOMPARE(doc[u"columns"_s].toArray().size(), 4);
        const QJsonObject row = doc[u"rows"_s].toArray().first().toObject();
        QCOMPARE(row[u"ID"_s].toDouble(), 3.0);
        QCOMPARE(row[u"卷号"_s].toString(), u"009"_s);
        QCOMPARE(row[u"数量"_s].toDouble(), 100.5);
        const QJsonArray boxes = doc[u"pages"_s].toArray().first()[u"boxes"_s].toArray();
        QCOMPARE(boxes.size(), 3);
        QCOMPARE(boxes[0][u"text"_s].toString(), u"卷号 009 数量 100.5"_s);
        QCOMPARE(boxes[2][u"kind"_s].toString(), u"barcode"_s);
        QCOMPARE(boxes[2][u"type"_s].toString(), u"code128"_s);
        QCOMPARE(boxes[2][u"data"_s].toString(), u"00000003"_s);
        QCOMPARE(boxes[2][u"text"_s].toString(), u"00000003"_s); // the human-readable line
        QVERIFY(doc[u"problems"_s].toArray().isEmpty());
        QVERIFY_THROWS_EXCEPTION(ReportError, r.exportText(file, 1));
        QVERIFY_THROWS_EXCEPTION(ReportError, r.exportText(m_dir.filePath(u"no/such/dir.txt"_s)));
    }

    void pdfHoldsTheTextAndCopies()
    {
        LabelReport r;
        loadRollLabel(r, 2);
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
    }

    void parameterChangeRunsQueryAgain()
    {
        LabelReport r;
        loadRollLabel(r, 3);
        QCOMPARE(r.pageCount(), 1);
        LabelFixture::exec(m_dir.filePath(u"mill.db"_s),
                           u"insert into checkinfo(checkcode, oncount) values('010', 5)"_s);
        QCOMPARE(r.pageCount(), 1); // filled once, kept until something changes
        r.setParameter(u"单据ID"_s, 3);
        QCOMPARE(r.pageCount(), 2);
    }

    void problemsPrintWhatTheyCan_data()
    {
        QTest::addColumn<QString>("grf");
        QTest::addColumn<QString>("problem");
        QTest::addColumn<QString>("printed");
        QTest::newRow("failing query") << u"[detail]\nquery = select nosuch from checkinfo\n"
                                          "[text]\nat = 0 0 60 8\ntext = 标签 [#单据ID#]\n"_s
                                       << u"明细查询失败"_s << u"标签"_s;
        QTest::newRow("bad expression") << u"[text]\nat = 0 0 60 8\ntext = A[=1/0]B\n"
                                           "[text]\nat = 0 10 60 8\ntext = 第二行\n"_s
                                        << u"除数为 0"_s << u"第二行"_s;
        QTest::newRow("unknown box type") << u"[chart]\nat = 0 0 1 1\n"
                                             "[text]\nat = 0 10 60 8\ntext = 第二行\n"_s
                                          << u"[chart]"_s << u"第二行"_s;
        QTest::newRow("missing image") << u"[image]\nat = 0 0 10 10\nfile = logo.png\n"
                                          "[text]\nat = 0 10 60 8\ntext = 第二行\n"_s
                                       << u"logo.png"_s << u"第二行"_s;
        QTest::newRow("bad barcode") << u"[barcode]\nat = 0 0 60 8\ntype = ean13\ndata = ABC\n"
                                        "[text]\nat = 0 10 60 8\ntext = 第二行\n"_s
                                     << u"无法编码"_s << u"第二行"_s;
    }

    void problemsPrintWhatTheyCan()
    {
        QFETCH(QString, grf);
        QFETCH(QString, problem);
        QFETCH(QString, printed);
        LabelReport r;
        r.loadText(u"[report]\npage = 80 x 40\n"_s + grf);
        r.setConnectionString(m_conn);
        const QString pdf = m_dir.filePath(u"p.pdf"_s);
        QFile::remove(pdf);
        r.setPrinterName(pdf);
        QVERIFY(throwsWith<ReportError>([&] { r.print(); }, problem));
        QVERIFY(ReadBack::pdfPages(pdf).value(0).contains(printed));
    }

    void nothingToPrint_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("printer");
        QTest::addColumn<QString>("message");
        QTest::newRow("no rows") << 99 << m_dir.filePath(u"x.pdf"_s) << u"没有返回数据"_s;
        QTest::newRow("unwritable pdf") << 1 << u"/nonexistent/dir/x.pdf"_s << u"无法写入 PDF"_s;
        QTest::newRow("unknown printer")
            << 1 << u"没有这台打印机"_s << u"找不到打印机：没有这台打印机"_s;
    }

    void nothingToPrint()
    {
        QFETCH(int, id);
        QFETCH(QString, printer);
        QFETCH(QString, message);
        LabelReport r;
        loadRollLabel(r, id);
        r.setPrinterName(printer);
        QVERIFY(throwsWith<ReportError>([&] { r.print(); }, message));
        QVERIFY(!QFile::exists(printer));
    }

    void imageFromProgramFolder()
    {
        // A logo next to the template is found without a path.
        QImage logo(40, 40, QImage::Format_RGB32);
        logo.fill(Qt::black);
        QVERIFY(logo.save(m_dir.filePath(u"logo.png"_s)));
        const QString grf = m_dir.filePath(u"logo.grf"_s);
        QFile f(grf);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(u"[report]\npage = 20 x 20\nmargins = 0\n[image]\nat = 5 5 10 10\nfile = logo.png\n"_s
                    .toUtf8());
        f.close();
        LabelReport r;
        r.load(grf);
        const QImage img = r.renderImage(0, 254); // 10 dots per mm
        QVERIFY(r.problems().isEmpty());
        QCOMPARE(qGray(img.pixel(100, 100)), 0);
        QCOMPARE(qGray(img.pixel(20, 20)), 255);
    }

private:
    QTemporaryDir m_dir;
    QString m_conn;
    // The roll label on the fixture database, from roll id on.
    void loadRollLabel(LabelReport& r, const QVariant& id, const QString& name = QString())
    {
        r.loadText(kRollLabel, name);
        r.setConnectionString(m_conn);
        r.setParameter(u"单据ID"_s, id);
    }
};

QTEST_MAIN(TestLabelReport)
#include "TestLabelReport.moc"
