// Reading .grf templates: what a hand-edited file may contain and how mistakes are reported.
#include "report/ReportError.h"
#include "report/ReportTemplate.h"

#include "config/LegacyEncoding.h"
#include "support/ThrowsWith.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestGrfTemplate : public QObject {
    Q_OBJECT
private slots:
    // Every section and key; a comment, CRLF and continuation lines of the detail query; a box
    // type or key it does not know is a problem to report, not a failure.
    void readsEverySection()
    {
        const ReportTemplate t =
            GrfFormat::parse(u"; roll label\n[report]\nname = 唛头\npage = 100 x 70\n"
                             "margins = 1 2 3 4\nfont = SimHei\nsize = 8\n"
                             "[parameter]\nname = 单据ID\ntype = number\n"
                             "default = 5\n"
                             "[parameter]\nname = 默认打印机\n"
                             "default = \"  打印服务器 \"\n"
                             "[detail]\r\nquery = select a\r\n"
                             "    from checkinfo\r\n\twhere id=[#单据ID#]\r\n"
                             "[band]\ntop = 30\nheight = 4\n"
                             "[text]\nat = 1 2 30 5\ntext = [卷号]\nbold = yes\n"
                             "align = right bottom\nband = yes\n"
                             "[chart]\nat = 0 0 1 1\n"
                             "[barcode]\nat = 0 40 80 20\ntype = QR\n"
                             "data = [ID]\nhrt = no\nmodule = 0.8\n"
                             "[line]\nfrom = 0 9\nto = 94 9\npen = 0.4\n"
                             "[rect]\nat = 0 0 10 10\nfill = yes\ncolour = red\n"
                             "[image]\nat = 0 0 10 10\nfile = logo.png\n"_s);
        QCOMPARE(t.name, u"唛头"_s);
        QCOMPARE(t.pageSize, QSizeF(100, 70));
        QCOMPARE(t.margins, QMarginsF(1, 2, 3, 4));
        QCOMPARE(t.fontSize, 8.0);
        QCOMPARE(t.parameters.size(), 2);
        QCOMPARE(t.parameters[1].defaultValue, u"  打印服务器 "_s);
        QCOMPARE(t.parameters[1].type, ReportParameter::Text);
        QCOMPARE(t.parameter(u"单据id"_s)->type, ReportParameter::Number);
        QCOMPARE(t.parameter(u"单据ID"_s)->defaultValue, u"5"_s);
        QCOMPARE(t.query, u"select a\nfrom checkinfo\nwhere id=[#单据ID#]"_s);
        QVERIFY(t.hasBand && t.band.rowHeight == 4.0);
        QCOMPARE(t.boxes.size(), 5);
        QCOMPARE(t.boxes[0].rect, QRectF(1, 2, 30, 5));
        QVERIFY(t.boxes[0].inBand && t.boxes[0].bold);
        QCOMPARE(t.boxes[0].align, int(Qt::AlignRight | Qt::AlignBottom));
        QCOMPARE(t.boxes[1].symbology, u"qr"_s);
        QVERIFY(!t.boxes[1].showText && t.boxes[1].module == 0.8);
        QCOMPARE(t.boxes[2].rect, QRectF(QPointF(0, 9), QPointF(94, 9)));
        QVERIFY(t.boxes[3].fill && t.boxes[4].text == u"logo.png"_s);
        QCOMPARE(t.problems.size(), 2);
        QVERIFY(t.problems[0].contains(u"[chart]"_s) && t.problems[1].contains(u"colour"_s));
    }

    void malformed_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("line");
        QTest::newRow("key before section") << u"name = x\n"_s << 1;
        QTest::newRow("no equals") << u"[report]\npage 100 70\n"_s << 2;
        QTest::newRow("unclosed section") << u"[report\n"_s << 1;
        QTest::newRow("page not numbers") << u"[report]\npage = wide x 70\n"_s << 2;
        QTest::newRow("page zero") << u"[report]\npage = 0 x 70\n"_s << 2;
        QTest::newRow("box without place") << u"[report]\n[text]\ntext = a\n"_s << 2;
        QTest::newRow("at with three numbers") << u"[text]\nat = 1 2 3\n"_s << 2;
        QTest::newRow("bad flag") << u"[text]\nat = 1 2 3 4\nbold = maybe\n"_s << 3;
        QTest::newRow("bad alignment") << u"[text]\nat = 1 2 3 4\nalign = justify\n"_s << 3;
        QTest::newRow("parameter without name") << u"[parameter]\ntype = text\n"_s << 1;
        QTest::newRow("bad parameter type") << u"[parameter]\nname = a\ntype = date\n"_s << 3;
        QTest::newRow("continuation first") << u"   select\n"_s << 1;
        QTest::newRow("band height zero") << u"[band]\nheight = 0\n"_s << 1;
    }

    void malformed()
    {
        QFETCH(QString, text);
        QFETCH(int, line);
        QVERIFY(throwsWith<ReportError>([&] { GrfFormat::parse(text); }, u"第 %1 行"_s.arg(line)));
    }

    // A file in the older stations' encoding loads under its own name; a missing one names its
    // path.
    void loadsFromAFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"订单唛头2.grf"_s);
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(LegacyEncoding::toGb18030(u"[text]\nat = 0 0 10 5\ntext = 卷号：[卷号]\n"_s));
        f.close();
        const ReportTemplate t = GrfFormat::load(path);
        QCOMPARE(t.name, u"订单唛头2"_s);
        QCOMPARE(t.boxes.first().text, u"卷号：[卷号]"_s);
        QVERIFY(throwsWith<ReportError>([] { GrfFormat::load(u"/nonexistent/唛头.grf"_s); },
                                        u"/nonexistent/唛头.grf"_s));
    }
};

QTEST_GUILESS_MAIN(TestGrfTemplate)
#include "TestGrfTemplate.moc"
