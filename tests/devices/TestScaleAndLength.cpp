// Scale readings in every form the scale heads send, and the length shown in the quantity field.
#include "devices/LengthDisplay.h"
#include "devices/ScaleReadings.h"

#include <QtTest>

using namespace devices;

class TestScaleAndLength : public QObject {
    Q_OBJECT
private slots:
    void textBetweenQuirks_data()
    {
        QTest::addColumn<QStringList>("sab"); // the text, the start token, the end token
        QTest::addColumn<QString>("between");
        QTest::newRow("two equals") << QStringList{"=05.0100=", "=", "="} << "05.0100";
        QTest::newRow("single equals") << QStringList{"=05.0100", "=", "="} << "";
        QTest::newRow("wn kg") << QStringList{"ST,GS,wn0012.50kg", "wn", "kg"} << "0012.50";
        // Without the start token the search starts at Len(a): the text before b.
        QTest::newRow("no start token") << QStringList{"0012.50kg", "wn", "kg"} << "012.50";
        QTest::newRow("no end token") << QStringList{"wn12", "wn", "kg"} << "";
        QTest::newRow("adjacent") << QStringList{"wnkg", "wn", "kg"} << "";
        QTest::newRow("empty") << QStringList{"", "=", "="} << "";
    }

    void textBetweenQuirks()
    {
        QFETCH(QStringList, sab);
        QTEST(textBetween(sab[0], sab[1], sab[2]), "between");
    }

    void scaleText_data()
    {
        QTest::addColumn<QString>("s");
        QTest::addColumn<int>("rules");
        QTest::addColumn<double>("kg");
        const int insp = int(ScaleTextRules::ReversedFirst),
                  pack = int(ScaleTextRules::LeadingNumberFirst), mark = int(ScaleTextRules::KgToWn);
        QTest::newRow("reversed stream") << "=05.0100" << insp << 10.5;
        QTest::newRow("reversed stream, newest last") << "=05.0100=08.0200" << insp << 20.8;
        QTest::newRow("between equals") << "x=05.0100=y" << insp << 10.5;
        QTest::newRow("wn kg") << "ST,GS,wn0012.50kg" << insp << 12.5;
        QTest::newRow("position 8") << "ST,GS, +0012.5 kg" << insp << 12.5;
        QTest::newRow("nothing") << "hello" << insp << 0.0;
        QTest::newRow("packing plain first") << "25.40kg" << pack << 25.4;
        QTest::newRow("packing single equals") << "=05.0100" << pack << 0.0;
        QTest::newRow("packing two equals") << "=05.0100=" << pack << 10.5;
        QTest::newRow("packing wn kg") << "ST,wn0012.50kg" << pack << 12.5;
        QTest::newRow("mark kg wn") << "kg 7.5wn" << mark << 7.5;
        QTest::newRow("mark position 8") << "ST,GS, 0012.50" << mark << 12.5;
        QTest::newRow("mark no reversal") << "=05.0100" << mark << 0.0;
    }

    void scaleText()
    {
        QFETCH(QString, s);
        QFETCH(int, rules);
        QTEST(scaleWeightFromText(s, ScaleTextRules(rules)), "kg");
    }

    // Ticks of bytes through the assembler of the station's scale port: the weights it takes.
    void assembled_data()
    {
        QTest::addColumn<bool>("packed");
        QTest::addColumn<QByteArrayList>("ticks");
        QTest::addColumn<QStringList>("weights");
        const auto hex = [](const char* h) { return QByteArray::fromHex(h); };
        QTest::newRow("packed 12.34") << true << QByteArrayList{hex("0200341203")}
                                      << QStringList{"12.34"};
        QTest::newRow("packed zero, 99.99 after noise")
            << true << QByteArrayList{hex("0200000003"), hex("AABB0200999903")}
            << QStringList{"0", "99.99"};
        QTest::newRow("packed hex digit") << true << QByteArrayList{hex("02001A1203")} << QStringList{};
        QTest::newRow("packed high nibble")
            << true << QByteArrayList{hex("0200A01203")} << QStringList{};
        QTest::newRow("packed wrong end byte")
            << true << QByteArrayList{hex("0200341204")} << QStringList{};
        QTest::newRow("blank line after a reading")
            << false << QByteArrayList{"\nwn0012.50kg\r\n   \r\n"} << QStringList{"12.5"};
    }

    void assembled()
    {
        QFETCH(bool, packed);
        QFETCH(QByteArrayList, ticks);
        QStringList got;
        ScaleReadingAssembler scale;
        scale.setPacked(packed);
        for (const QByteArray& tick : ticks)
            if (const auto w = scale.take(tick, ScaleTextRules::ReversedFirst))
                got << QString::number(*w);
        QTEST(got, "weights");
    }

    void correction_data()
    {
        QTest::addColumn<QList<double>>("rawAB"); // the reading, the ratio a / b
        QTest::addColumn<bool>("yards");
        QTest::addColumn<double>("length");
        QTest::newRow("plain") << QList<double>{100, 1, 1} << false << 100.0;
        QTest::newRow("0.5 % longer") << QList<double>{100, 1005, 1000} << false << 100.5;
        QTest::newRow("yards") << QList<double>{100, 1, 1} << true << 109.36;
        QTest::newRow("ratio and yards") << QList<double>{200, 1005, 1000} << true << 219.8136;
        QTest::newRow("b zero") << QList<double>{42, 3, 0} << false << 42.0;
        QTest::newRow("negative") << QList<double>{-0.01, 1, 1} << false << -0.01;
    }

    void correction()
    {
        QFETCH(QList<double>, rawAB);
        QFETCH(bool, yards);
        QTEST(correctedLength(rawAB[0], rawAB[1], rawAB[2], yards), "length");
    }

    void lengthFormats_data()
    {
        QTest::addColumn<double>("length");
        QTest::addColumn<QString>("format");
        QTest::addColumn<int>("rules");
        QTest::addColumn<QString>("text");
        const int insp = int(LengthFormatRules::RoundUpDoubleZero),
                  mark = int(LengthFormatRules::PlainPictures);
        QTest::newRow("00 rounds up") << 12.01 << "00" << insp << " 13";
        QTest::newRow("00 whole stays") << 12.0 << "00" << insp << " 12";
        QTest::newRow("0 truncates") << 12.99 << "0" << insp << " 12";
        QTest::newRow("0 negative") << -0.5 << "0" << insp << " 0";
        QTest::newRow("0.00") << 123.456 << "0.00" << insp << "123.46";
        QTest::newRow("0.00 negative") << -0.01 << "0.00" << insp << "-0.01";
        QTest::newRow("mark 00 is a picture") << 12.01 << "00" << mark << "12";
        QTest::newRow("mark 0") << 12.99 << "0" << mark << " 12";
    }

    void lengthFormats()
    {
        QFETCH(double, length);
        QFETCH(QString, format);
        QFETCH(int, rules);
        QTEST(formatLength(length, format, LengthFormatRules(rules)), "text");
    }
};

QTEST_GUILESS_MAIN(TestScaleAndLength)
#include "TestScaleAndLength.moc"
