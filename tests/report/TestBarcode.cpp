// Barcodes: what Zint encodes for each type, and what a scanner reads back from the rendered
// label.
#include "support/ReadBack.h"

#include "report/Barcode.h"
#include "report/LabelReport.h"
#include "report/ReportError.h"
#include "support/ThrowsWith.h"

#include <QSet>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QString barcodeTemplate(const QString& type, const QString& data, const QString& at)
{
    return u"[report]\npage = 100 x 40\nmargins = 0\n[barcode]\nat = %1\ntype = %2\n"
           "data = %3\nhrt = no\nmodule = 1\n"_s.arg(at, type, data);
}

} // namespace

class TestBarcode : public QObject {
    Q_OBJECT
private slots:
    // What Zint makes of the data: a linear code with its human-readable line, a square 2-D
    // symbol (no line: ""), or the message of a refusal ("!" and a part of it).
    void encode_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("data");
        QTest::addColumn<QString>("human");
        QTest::newRow("roll id") << u"code128"_s << u"00000042"_s << u"00000042"_s;
        QTest::newRow("item code") << u"CODE128"_s << u"ML-2045"_s << u"ML-2045"_s;
        QTest::newRow("ean13 adds check digit")
            << u"ean13"_s << u"690123456789"_s << u"6901234567892"_s;
        QTest::newRow("code39") << u"code39"_s << u"ABC-12"_s << u"*ABC-12*"_s;
        QTest::newRow("qr chinese") << u"qr"_s << u"卷号007"_s << QString();
        QTest::newRow("datamatrix") << u"datamatrix"_s << u"261205001"_s << QString();
        QTest::newRow("unknown type") << u"aztec2"_s << u"1"_s << u"!未知的条码类型"_s;
        QTest::newRow("empty") << u"code128"_s << QString() << u"!为空"_s;
        QTest::newRow("ean13 letters") << u"ean13"_s << u"12AB"_s << u"!无法编码"_s;
        QTest::newRow("ean13 too long") << u"ean13"_s << u"69012345678901"_s << u"!无法编码"_s;
        QTest::newRow("code39 chinese") << u"code39"_s << u"卷号"_s << u"!无法编码"_s;
    }

    void encode()
    {
        QFETCH(QString, type);
        QFETCH(QString, data);
        QFETCH(QString, human);
        if (human.startsWith(u'!')) {
            QVERIFY(throwsWith<ReportError>([&] { Barcode::encode(type, data); }, human.mid(1)));
            return;
        }
        const BarcodeSymbol s = Barcode::encode(type, data);
        QCOMPARE(s.linear, !human.isEmpty());
        QCOMPARE(s.data, data);
        QVERIFY(s.dark(0, 0)); // every code starts with a bar or a finder's corner
        if (s.linear)
            QVERIFY(s.humanText == human && s.rows == 1 && s.columns > 20);
        else // square QR and DataMatrix
            QVERIFY(s.rows == s.columns && s.modules.size() == s.rows);
    }

    // What a scanner reads from the rendered label at thermal-printer and office-printer resolutions.
    void readsBack_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("data");
        QTest::addColumn<int>("dpi");
        for (int dpi : {203, 300, 600}) {
            const QByteArray d = QByteArray::number(dpi);
            QTest::newRow("roll id " + d) << u"code128"_s << u"00000042"_s << dpi;
            QTest::newRow("mixed " + d) << u"code128"_s << u"SC2026-0158/007"_s << dpi;
        }
        QTest::newRow("qr roll") << u"qr"_s << u"00000042"_s << 203;
        QTest::newRow("qr chinese") << u"qr"_s << u"杭州明远 PO-88123 卷号007"_s << 203;
    }

    void readsBack()
    {
        QFETCH(QString, type);
        QFETCH(QString, data);
        QFETCH(int, dpi);
        LabelReport r;
        r.loadText(barcodeTemplate(type, data, type == u"qr" ? u"30 2 36 36"_s : u"5 5 90 30"_s));
        const QImage img = r.renderImage(0, dpi);
        QVERIFY2(r.problems().isEmpty(), qPrintable(r.problems().join(u'\n')));
        QCOMPARE(ReadBack::scan(img, img.rect()), data);
        if (type == u"qr")
            return;
        // Crisp: every bar and gap is a whole number of equal modules, no grey edge pixels.
        const int y = int(20 / 25.4 * dpi);
        QSet<int> widths;
        for (int x = 0, run = 1; x < img.width(); ++x, ++run) {
            const int g = qGray(img.pixel(x, y));
            QVERIFY2(g == 0 || g == 255, qPrintable(QString::number(x)));
            if (x + 1 == img.width() || g != qGray(img.pixel(x + 1, y)))
                widths.insert(std::exchange(run, 0));
        }
        const int module = *std::min_element(widths.begin(), widths.end());
        for (int w : widths)
            QVERIFY(w % module == 0 || w > 4 * module); // the quiet zones are the only wide runs
    }

    void tooNarrowBoxIsReported()
    {
        LabelReport r;
        r.loadText(barcodeTemplate(u"code128"_s, u"SC2026-0158/007/98.5"_s, u"0 0 8 10"_s));
        r.renderImage(0, 203);
        QCOMPARE(r.problems().size(), 1);
        QVERIFY(r.problems().first().contains(u"条码太宽"_s));
    }
};

QTEST_MAIN(TestBarcode)
#include "TestBarcode.moc"
