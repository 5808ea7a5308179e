// The templates shipped with the program, rendered against a mill database: the PDF carries the
// roll's data in Chinese, and the barcodes read back as the ids the stations scan.
#include "LabelFixture.h"
#include "support/ReadBack.h"

#include "report/Barcode.h"
#include "report/LabelReport.h"
#include "report/frmBillPrintPreview.h"

#include <QPrintPreviewWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestShippedTemplates : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        m_conn = LabelFixture::createDatabase(m_dir.filePath(u"mill.db"_s), 3);
    }

    void rendersWithItsData_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QVariant>("id");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QString>("barcode");
        QTest::addColumn<int>("idType");
        const int number = int(ReportParameter::Number);
        QTest::newRow("roll label")
            << u"唛头/唛头.grf"_s << QVariant(1.0)
            << QStringList{u"全棉斜纹布"_s, u"ML-2045"_s, u"藏青"_s, u"SC2026-0158"_s, u"150cm"_s, u"007"_s,
                           u"一等品"_s, u"98.5 米"_s, u"2026-12-05"_s, u"00000001"_s}
            << u"00000001"_s << number;
        QTest::newRow("order mark")
            << u"唛头/订单唛头2.grf"_s << QVariant(2.0)
            << QStringList{u"杭州明远服饰有限公司"_s, u"PO-88123"_s, u"全棉斜纹布"_s, u"008"_s, u"99.5 米"_s,
                           u"L2611"_s, u"一等品"_s, u"00000002"_s}
            << u"00000002"_s << number;
        QTest::newRow("box mark")
            << u"箱唛/箱唛.grf"_s << QVariant(u"261205001"_s)
            << QStringList{u"箱号 261205001"_s, u"品名：全棉斜纹布"_s, u"匹数：3"_s, u"总数：298.5 米"_s,
                           u"毛重：61.25"_s, u"007"_s, u"008"_s, u"009"_s, u"二等品"_s,
                           u"装箱时间：2026-12-05 11:02"_s, u"261205001"_s}
            << u"261205001"_s << int(ReportParameter::Text);
        QTest::newRow("item label")
            << u"商品/条形码.grf"_s << QVariant(1.0)
            << QStringList{u"全棉斜纹布"_s, u"编码：ML-2045"_s, u"成分：100%棉"_s, u"门幅：150cm"_s, u"ML-2045"_s}
            << u"ML-2045"_s << number;
    }

    void rendersWithItsData()
    {
        QFETCH(QString, file);
        QFETCH(QVariant, id);
        QFETCH(QStringList, texts);
        QFETCH(QString, barcode);
        LabelReport r;
        r.load(qEnvironmentVariable("MIREL_SOURCE_DIR") + u"/templates/"_s + file);
        QVERIFY(r.reportTemplate().problems.isEmpty());
        QTEST(int(r.reportTemplate().parameter(u"单据ID"_s)->type), "idType");
        // Shipped templates print locally; "打印服务器" is set per mill by editing the default.
        QVERIFY(r.hasParameter(u"默认打印机"_s));
        QCOMPARE(r.parameterText(u"默认打印机"_s), QString());
        QVERIFY(r.reportTemplate().pageSize.width() <= 100);
        r.setParameter(u"单据ID"_s, id);
        r.setConnectionString(m_conn);
        const QString pdf = m_dir.filePath(r.reportTemplate().name + u".pdf"_s);
        r.setPrinterName(pdf);
        r.print(); // throws on any problem of the template
        const QStringList pages = ReadBack::pdfPages(pdf);
        QCOMPARE(pages.size(), 1);
        const QString text = pages.value(0);
        for (const QString& t : texts)
            QVERIFY2(text.contains(t), qPrintable(t + u" not in: "_s + text));

        // The barcode box: what the engine gave Zint, and what a scanner reads from the raster.
        const FilledReport& f = r.fill();
        const auto it =
            std::find_if(f.pages[0].boxes.begin(), f.pages[0].boxes.end(),
                         [](const FilledBox& b) { return b.box.kind == ReportBox::Barcode; });
        QVERIFY(it != f.pages[0].boxes.end());
        QCOMPARE(it->symbol.data, barcode);
        const double dpmm = 203 / 25.4;
        const QImage img = r.renderImage(0, 203);
        const QRectF box = it->box.rect.translated(r.reportTemplate().margins.left(),
                                                   r.reportTemplate().margins.top());
        const QRect px(int(box.left() * dpmm), int(box.top() * dpmm), int(box.width() * dpmm),
                       int(box.height() * dpmm));
        QCOMPARE(ReadBack::scan(img, px), barcode);
    }

    // The roll label with the roll map: texts and QR code read back from the PDF by poppler and
    // zbar, the defects found in the 203 dpi raster where the map says they are.
    void rollMapAndQr()
    {
        LabelReport r;
        r.load(qEnvironmentVariable("MIREL_SOURCE_DIR") + u"/templates/唛头/唛头-图.grf"_s);
        QVERIFY(r.reportTemplate().problems.isEmpty());
        r.setParameter(u"单据ID"_s, 1);
        r.setConnectionString(m_conn);
        const QString pdf = m_dir.filePath(u"map.pdf"_s);
        r.setPrinterName(pdf);
        r.print();
        // Units 12 (3 + 2 capped at 4) and 40 score 4, the weft bar 60-72 scores 4 in each of its
        // 12 metres; the section alert row of no points is not on the map.
        const QString text = ReadBack::pdfPages(pdf).value(0);
        for (const QString& t : {u"等级 一等品"_s, u"扣分 56"_s, u"98.5"_s, u"007"_s})
            QVERIFY2(text.contains(t), qPrintable(text));
        QCOMPARE(
            ReadBack::run(u"pdftoppm"_s, {u"-r"_s, u"300"_s, u"-png"_s, pdf, m_dir.filePath(u"map"_s)}),
            QString());
        QCOMPARE(ReadBack::run(u"zbarimg"_s, {u"-q"_s, u"--raw"_s, u"-Sdisable"_s, u"-Sqrcode.enable"_s,
                                              m_dir.filePath(u"map-1.png"_s)}),
                 u"ID:1 卡号:SC2026-0158 卷号:007 长度:98.5 等级:一等品 扣分:56"_s);

        const FilledBox& map =
            *std::find_if(r.fill().pages[0].boxes.begin(), r.fill().pages[0].boxes.end(),
                          [](const FilledBox& b) { return b.box.kind == ReportBox::RollMap; });
        QCOMPARE(map.map.shaded, (QList<long>{12, 60, 61, 62, 63, 64, 65, 66, 67, 68, 69, 70, 71}));
        const double dpmm = 203 / 25.4;
        const QImage img = r.renderImage(0, 203);
        const QRectF box = map.box.rect.translated(r.reportTemplate().margins.left(),
                                                   r.reportTemplate().margins.top());
        const QRectF bar = RollMap::barRect(QRectF(box.topLeft() * dpmm, box.size() * dpmm));
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
        if (const QString dir = qEnvironmentVariable("MIREL_SHOT_DIR"); !dir.isEmpty()) {
            img.save(dir + u"/rollmap-203dpi.png"_s);
            frmBillPrintPreview preview;
            preview.setReport(&r, QString());
            preview.resize(900, 700);
            preview.show();
            preview.viewer()->updatePreview();
            QTest::qWait(50);
            preview.grab().save(dir + u"/rollmap-preview.png"_s);
        }
    }

private:
    QTemporaryDir m_dir;
    QString m_conn;
};

QTEST_MAIN(TestShippedTemplates)
#include "TestShippedTemplates.moc"
