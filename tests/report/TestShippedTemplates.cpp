// The templates shipped with the program, rendered against a mill database: the PDF carries the
// roll's data in Chinese, and the barcodes read back as the ids the stations scan.
#include "LabelFixture.h"
#include "support/ReadBack.h"

#include "report/Barcode.h"
#include "report/LabelReport.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestShippedTemplates : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { m_conn = LabelFixture::createDatabase(m_dir.filePath(u"mill.db"_s), 3); }

    void rendersWithItsData_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QVariant>("id");
        QTest::addColumn<QString>("texts"); // each text between | must be on the page
        QTest::addColumn<QString>("barcode");
        QTest::addColumn<int>("idType");
        const int number = int(ReportParameter::Number);
        QTest::newRow("roll label")
            << u"唛头/唛头.grf"_s << QVariant(1.0)
            << u"全棉斜纹布|ML-2045|藏青|SC2026-0158|150cm|007|一等品|98.5 米|"
               "2026-12-05|00000001"_s
            << u"00000001"_s << number;
        QTest::newRow("order mark")
            << u"唛头/订单唛头2.grf"_s << QVariant(2.0)
            << u"杭州明远服饰有限公司|PO-88123|全棉斜纹布|008|99.5 米|L2611|一等品|00000002"_s
            << u"00000002"_s << number;
        QTest::newRow("box mark")
            << u"箱唛/箱唛.grf"_s << QVariant(u"261205001"_s)
            << u"箱号 261205001|品名：全棉斜纹布|匹数：3|总数：298.5 米|毛重：61.25|007|008|009|"
               "二等品|装箱时间：2026-12-05 11:02|261205001"_s
            << u"261205001"_s << int(ReportParameter::Text);
        QTest::newRow("item label")
            << u"商品/条形码.grf"_s << QVariant(1.0)
            << u"全棉斜纹布|编码：ML-2045|成分：100%棉|门幅：150cm|ML-2045"_s << u"ML-2045"_s
            << number;
    }

    void rendersWithItsData()
    {
        QFETCH(QString, file);
        QFETCH(QVariant, id);
        QFETCH(QString, texts);
        QFETCH(QString, barcode);
        LabelReport r;
        const QStringList pages = print(r, file, id);
        QTEST(int(r.reportTemplate().parameter(u"单据ID"_s)->type), "idType");
        // Shipped templates print locally; "打印服务器" is set per mill by editing the default.
        QVERIFY(r.hasParameter(u"默认打印机"_s));
        QCOMPARE(r.parameterText(u"默认打印机"_s), QString());
        QVERIFY(r.reportTemplate().pageSize.width() <= 100);
        QCOMPARE(pages.size(), 1);
        const QString text = pages.value(0);
        for (const QString& t : texts.split(u'|'))
            QVERIFY2(text.contains(t), qPrintable(t + u" not in: "_s + text));

        // The barcode box: what the engine gave Zint, and what a scanner reads from the raster.
        const FilledReport& f = r.fill();
        const auto it =
            std::find_if(f.pages[0].boxes.begin(), f.pages[0].boxes.end(),
                         [](const FilledBox& b) { return b.box.kind == ReportBox::Barcode; });
        QVERIFY(it != f.pages[0].boxes.end());
        QCOMPARE(it->symbol.data, barcode);
        const QRectF px = onRaster(r, it->box);
        QCOMPARE(ReadBack::scan(r.renderImage(0, 203), QRect(int(px.left()), int(px.top()),
                                                             int(px.width()), int(px.height()))),
                 barcode);
    }

    // The roll label with the roll map: texts and QR code read back from the PDF by poppler and
    // zbar, the defects found in the 203 dpi raster where the map says they are.
    void rollMapAndQr()
    {
        LabelReport r;
        const QString pdf = m_dir.filePath(u"唛头-图.pdf"_s);
        const QString text = print(r, u"唛头/唛头-图.grf"_s, 1).value(0);
        // Units 12 (3 + 2 capped at 4) and 40 score 4, the weft bar 60-72 scores 4 in each of its
        // 12 metres; the section alert row of no points is not on the map.
        for (const QString& t : {u"等级 一等品"_s, u"扣分 56"_s, u"98.5"_s, u"007"_s})
            QVERIFY2(text.contains(t), qPrintable(text));
        QCOMPARE(ReadBack::run(u"pdftoppm"_s,
                               {u"-r"_s, u"300"_s, u"-png"_s, pdf, m_dir.filePath(u"map"_s)}),
                 QString());
        QCOMPARE(
            ReadBack::run(u"zbarimg"_s, {u"-q"_s, u"--raw"_s, u"-Sdisable"_s, u"-Sqrcode.enable"_s,
                                         m_dir.filePath(u"map-1.png"_s)}),
            u"ID:1 卡号:SC2026-0158 卷号:007 长度:98.5 等级:一等品 扣分:56"_s);

        const FilledBox& map =
            *std::find_if(r.fill().pages[0].boxes.begin(), r.fill().pages[0].boxes.end(),
                          [](const FilledBox& b) { return b.box.kind == ReportBox::RollMap; });
        QCOMPARE(map.map.shaded, (QList<long>{12, 60, 61, 62, 63, 64, 65, 66, 67, 68, 69, 70, 71}));
        const QImage img = r.renderImage(0, 203);
        const QRectF bar = RollMap::barRect(onRaster(r, map.box));
        const auto grey = [&](double position, double y) {
            return qGray(img.pixel(int(RollMap::xOf(bar, map.map, position)), int(y)));
        };
        const double above = bar.top() - 2, middle = bar.center().y(), inBar = bar.top() + 3;
        for (double at : {12.3, 12.8, 40.5})
            QVERIFY2(grey(at, above) < 100, qPrintable(QString::number(at)));
        for (double at : {5.0, 30.0, 50.0, 66.0, 90.0})
            QVERIFY2(grey(at, above) > 200, qPrintable(QString::number(at)));
        QVERIFY(grey(61, middle) < 100 && grey(71, middle) < 100); // the weft bar's span
        QVERIFY(grey(58, middle) > 200 && grey(74, middle) > 200);
        QVERIFY(grey(65.5, inBar) > 100 && grey(65.5, inBar) < 200); // capped metres are shaded
        QVERIFY(grey(50.5, inBar) > 200);
    }

private:
    QTemporaryDir m_dir;
    QString m_conn;

    // Loads the shipped template and prints it for `id` into a PDF; the PDF's pages.
    QStringList print(LabelReport& r, const QString& file, const QVariant& id)
    {
        r.load(qEnvironmentVariable("MIREL_SOURCE_DIR") + u"/templates/"_s + file);
        r.setParameter(u"单据ID"_s, id);
        r.setConnectionString(m_conn);
        const QString pdf = m_dir.filePath(QFileInfo(file).completeBaseName() + u".pdf"_s);
        r.setPrinterName(pdf);
        r.print(); // throws on any problem of the template
        return ReadBack::pdfPages(pdf);
    }

    static constexpr double kDpmm = 203 / 25.4; // the rasters below are rendered at 203 dpi

    // Where a box of the first page lies in that raster.
    static QRectF onRaster(LabelReport& r, const ReportBox& b)
    {
        const QRectF box =
            b.rect.translated(r.reportTemplate().margins.left(), r.reportTemplate().margins.top());
        return QRectF(box.topLeft() * kDpmm, box.size() * kDpmm);
    }
};

QTEST_MAIN(TestShippedTemplates)
#include "TestShippedTemplates.moc"
