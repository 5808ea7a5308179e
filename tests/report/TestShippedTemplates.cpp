// The templates shipped with the program, rendered against a mill database: the PDF carries the
// roll's data in Chinese, and the barcodes read back as the ids the stations scan.
#include "LabelFixture.h"

#include "report/Barcode.h"
#include "report/LabelReport.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestShippedTemplates : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void rendersWithItsData_data();
    void rendersWithItsData();

private:
    QTemporaryDir m_dir;
    QString m_conn;
};

void TestShippedTemplates::initTestCase()
{
    m_conn = LabelFixture::createDatabase(m_dir.filePath(u"mill.db"_s), 3);
}

void TestShippedTemplates::rendersWithItsData_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QVariant>("id");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QString>("barcode");
    QTest::addColumn<int>("idType");
    const int number = int(ReportParameter::Number);
    QTest::newRow("roll label") << u"唛头/唛头.grf"_s << QVariant(1.0)
                                << QStringList{u"全棉斜纹布"_s,  u"ML-2045"_s, u"藏青"_s,
                                               u"SC2026-0158"_s, u"150cm"_s,   u"007"_s,
                                               u"一等品"_s,      u"98.5 米"_s, u"2026-12-05"_s,
                                               u"00000001"_s}
                                << u"00000001"_s << number;
    QTest::newRow("order mark") << u"唛头/订单唛头2.grf"_s << QVariant(2.0)
                                << QStringList{u"杭州明远服饰有限公司"_s,
                                               u"PO-88123"_s,
                                               u"全棉斜纹布"_s,
                                               u"008"_s,
                                               u"99.5 米"_s,
                                               u"L2611"_s,
                                               u"一等品"_s,
                                               u"00000002"_s}
                                << u"00000002"_s << number;
    QTest::newRow("box mark") << u"箱唛/箱唛.grf"_s << QVariant(u"261205001"_s)
                              << QStringList{u"箱号 261205001"_s,
                                             u"品名：全棉斜纹布"_s,
                                             u"匹数：3"_s,
                                             u"总数：298.5 米"_s,
                                             u"毛重：61.25"_s,
                                             u"007"_s,
                                             u"008"_s,
                                             u"009"_s,
                                             u"二等品"_s,
                                             u"装箱时间：2026-12-05 11:02"_s,
                                             u"261205001"_s}
                              << u"261205001"_s << int(ReportParameter::Text);
    QTest::newRow("item label") << u"商品/条形码.grf"_s << QVariant(1.0)
                                << QStringList{u"全棉斜纹布"_s, u"编码：ML-2045"_s,
                                               u"成分：100%棉"_s, u"门幅：150cm"_s, u"ML-2045"_s}
                                << u"ML-2045"_s << number;
}

void TestShippedTemplates::rendersWithItsData()
{
    QFETCH(QString, file);
    QFETCH(QVariant, id);
    QFETCH(QStringList, texts);
    QFETCH(QString, barcode);
    QFETCH(int, idType);
    LabelReport r;
    r.load(qEnvironmentVariable("MIREL_SOURCE_DIR") + u"/templates/"_s + file);
    QVERIFY(r.reportTemplate().problems.isEmpty());
    QCOMPARE(int(r.reportTemplate().parameter(u"单据ID"_s)->type), idType);
    // Shipped templates print locally; "打印服务器" is set per mill by editing the default.
    QVERIFY(r.hasParameter(u"默认打印机"_s));
    QCOMPARE(r.parameterText(u"默认打印机"_s), QString());
    QVERIFY(r.reportTemplate().pageSize.width() <= 100);
    r.setParameter(u"单据ID"_s, id);
    r.setConnectionString(m_conn);
    const QString pdf = m_dir.filePath(r.reportTemplate().name + u".pdf"_s);
    r.setPrinterName(pdf);
    r.print(); // throws on any problem of the template
    QCOMPARE(LabelFixture::pdfPageCount(pdf), 1);
    // Qt starts a new run where the font changes (Chinese and Latin glyphs come from different
    // faces), so the label's text is read as one line.
    const QString text = LabelFixture::pdfTextRuns(pdf).join(QString());
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
    if (it->symbol.linear) {
        QCOMPARE(LabelFixture::decodeCode128(img, int((box.top() + 3) * dpmm),
                                             int(box.left() * dpmm), int(box.right() * dpmm)),
                 barcode);
    } else {
        const QRect px(int(box.left() * dpmm), int(box.top() * dpmm), int(box.width() * dpmm),
                       int(box.height() * dpmm));
        QCOMPARE(LabelFixture::sampleMatrix(img, px, it->symbol.columns, it->symbol.rows),
                 it->symbol.modules);
    }
}

QTEST_MAIN(TestShippedTemplates)
#include "TestShippedTemplates.moc"
