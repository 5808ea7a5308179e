// Scale readings in every form the scale heads send, when a weight counts for a save (sequences
// of readings against a test clock), and the length shown in the quantity field.
#include "devices/LengthDisplay.h"
#include "devices/ScaleReadings.h"
#include "devices/WeightSettling.h"

#include <QtTest>

using namespace devices;
using namespace Qt::StringLiterals;

namespace {

const int kInsp = int(ScaleTextRules::ReversedFirst),
          kPack = int(ScaleTextRules::LeadingNumberFirst), kMark = int(ScaleTextRules::KgToWn);

// A reading as "state weight", "net" added: state - unflagged, S stable, M moving, O over,
// U under range, B busy.
QString describe(const ScaleReading& r)
{
    QStringList read{QString(QLatin1Char("-SMOUB"[int(r.state)]))};
    if (r.weight)
        read << QString::number(*r.weight);
    if (r.net)
        read << u"net"_s;
    return read.join(u' ');
}

// Steps "ms:reading" (a reading text, as the assembler hands it on) or "ms:save" (a box saved
// with the settled weight). Returns one letter per reading: N none, M moving, S settled,
// E empty, G negative, O over range, U under range.
QString run(WeightSettling& s, qint64& now, const QStringList& steps)
{
    QString looks;
    for (const QString& step : steps) {
        now = step.section(u':', 0, 0).toLongLong();
        const QString what = step.section(u':', 1);
        if (what == u"save") {
            s.saved(*s.settled());
            continue;
        }
        if (const auto r = readScaleReading(what.toLatin1(), ScaleTextRules::LeadingNumberFirst))
            s.add(*r);
        looks += QLatin1Char("NMSEGOU"[int(s.look())]);
    }
    return looks;
}

QStringList every200(const QStringList& readings, int from = 0)
{
    QStringList steps;
    for (const QString& r : readings)
        steps << QString::number(from + 200 * steps.size()) + u':' + r;
    return steps;
}

} // namespace

class TestScaleAndLength : public QObject {
    Q_OBJECT
private slots:
    // One reading text, as a station's rules take its weight (i inspection, p packing, m mark
    // label), or with its flags ("flags": "none" when it is no reading at all).
    void readings_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("read");
        const auto row = [](const char* name, const char* how, const char* text, const char* read) {
            QTest::newRow(name) << QString::fromLatin1(how) << QByteArray(text)
                                << QString::fromLatin1(read);
        };
        row("reversed stream", "i", "=05.0100", "10.5");
        row("reversed stream, newest last", "i", "=05.0100=08.0200", "20.8");
        row("between equals", "i", "x=05.0100=y", "10.5");
        row("wn kg", "i", "ST,GS,wn0012.50kg", "12.5");
        row("position 8", "i", "ST,GS, +0012.5 kg", "12.5");
        row("nothing", "i", "hello", "0");
        row("kg without wn", "i", "0012.50kg", "12.5");
        row("wn without kg: the reversed stream", "i", "wn12", "21");
        row("packing plain first", "p", "25.40kg", "25.4");
        row("packing single equals", "p", "=05.0100", "0");
        row("packing two equals", "p", "=05.0100=", "10.5");
        row("packing wn kg", "p", "ST,wn0012.50kg", "12.5");
        row("mark kg wn", "m", "kg 7.5wn", "7.5");
        row("mark position 8", "m", "ST,GS, 0012.50", "12.5");
        row("mark no reversal", "m", "=05.0100", "0");
        row("ST GS", "flags", "ST,GS,+0012.50kg", "S 12.5");
        row("US GS", "flags", "US,GS,+0012.52kg", "M 12.52");
        row("ST NT", "flags", "ST,NT,+0002.00kg", "S 2 net");
        row("OL", "flags", "OL,GS,+9999.99kg", "O");
        row("sign kept", "flags", "ST,GS,-0001.20kg", "S -1.2");
        row("flags after =…=", "flags", "=05.0100=US,GS", "M 10.5");
        row("flags, wn kg", "flags", "ST,GS,wn0012.50kg", "S 12.5");
        row("SICS stable", "flags", "S S     12.50 kg", "S 12.5");
        row("SICS dynamic", "flags", "S D     -0.02 kg", "M -0.02");
        row("SICS over", "flags", "S +", "O");
        row("SICS under", "flags", "S -", "U");
        row("SICS busy", "flags", "S I", "B");
        row("SICS zero answer", "flags", "Z A", "none");
        row("no flags", "flags", "wn0012.50kg", "- 12.5");
        row("flag-like word", "flags", "ST,GX,0012.50", "- 12.5");
    }
    void readings()
    {
        QFETCH(QString, how);
        QFETCH(QByteArray, text);
        const auto rules = how == u"i"_s ? ScaleTextRules::ReversedFirst
                           : how == u"m"_s ? ScaleTextRules::KgToWn
                                           : ScaleTextRules::LeadingNumberFirst;
        const auto r = readScaleReading(text, rules);
        QTEST(how != u"flags"_s ? QString::number(scaleWeightFromText(QString::fromLatin1(text), rules))
              : r             ? describe(*r)
                              : u"none"_s,
              "read");
    }

    // Ticks of bytes through the assembler of the station's scale port: every whole reading of a
    // tick, oldest first, and the weight the station takes (the newest).
    void assembled_data()
    {
        QTest::addColumn<bool>("packed");
        QTest::addColumn<int>("rules");
        QTest::addColumn<QByteArrayList>("ticks");
        QTest::addColumn<QString>("readings"); // of the last tick, then "=" and the weights taken
        const auto hex = [](const char* h) { return QByteArray::fromHex(h); };
        const auto row = [](const char* name, bool packed, int rules, const QByteArrayList& ticks,
                            const char* readings) {
            QTest::newRow(name) << packed << rules << ticks << QString::fromUtf8(readings);
        };
        row("packed 12.34", true, kInsp, {hex("0200341203")}, "- 12.34 = 12.34");
        row("packed zero, 99.99 after noise", true, kInsp,
            {hex("0200000003"), hex("AABB0200999903")}, "- 99.99 = 0 99.99");
        row("packed hex digit", true, kInsp, {hex("02001A1203")}, "=");
        row("packed high nibble", true, kInsp, {hex("0200A01203")}, "=");
        row("packed wrong end byte", true, kInsp, {hex("0200341204")}, "=");
        row("blank line after a reading", false, kInsp, {"\nwn0012.50kg\r\n   \r\n"},
            "- 12.5 = 12.5");
        row("three lines of a tick", false, kPack,
            {"\r\n", "S D     12.90 kg\r\nS S     12.50 kg\r\nZ A\r\n"}, "M 12.9, S 12.5 = 12.5");
        row("reversed stream", false, kInsp, {"=05.0100=08.0200="}, "- 10.5, - 20.8 = 20.8");
    }
    void assembled()
    {
        QFETCH(bool, packed);
        QFETCH(int, rules);
        QFETCH(QByteArrayList, ticks);
        ScaleReadingAssembler scale, taking;
        scale.setPacked(packed);
        taking.setPacked(packed);
        QStringList last, taken;
        for (const QByteArray& tick : ticks) {
            last.clear();
            for (const ScaleReading& r : scale.takeReadings(tick, ScaleTextRules(rules)))
                last << describe(r);
            if (const auto w = taking.take(tick, ScaleTextRules(rules)))
                taken << QString::number(*w);
        }
        QTEST((last.join(u", "_s) + u" = "_s + taken.join(u' ')).trimmed(), "readings");
    }

    void looks_data()
    {
        QTest::addColumn<int>("readings"); // StableReadings
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("looks");
        QTest::newRow("steady") << 4 << every200({"12.50", "12.50", "12.50", "12.50", "12.50"})
                                << "MMMSS";
        QTest::newRow("swing, then settles")
            << 4
            << every200({"12.90", "12.10", "12.70", "12.50", "12.51", "12.50", "12.52", "12.50"})
            << "MMMMMMSS";
        QTest::newRow("swing through the band")
            << 4 << every200({"12.60", "12.50", "12.40", "12.50", "12.60", "12.50", "12.40"})
            << "MMMMMMM";
        QTest::newRow("enough readings, too short")
            << 4 << QStringList{"0:8", "100:8", "200:8", "300:8", "500:8", "600:8"} << "MMMMMS";
        QTest::newRow("one step off breaks the run")
            << 4 << every200({"8", "8", "8", "8", "8.05", "8", "8", "8", "8"}) << "MMMSMMMMS";
        const QString us = u"US,GS,+0012.50kg"_s;
        QTest::newRow("scale says moving")
            << 4 << every200({us, us, us, us, "ST,GS,+0012.50kg"}) << "MMMMS";
        QTest::newRow("over and under range")
            << 4 << every200({"OL,GS,+9999.99kg", "S -", "S S 3.00 kg"}) << "OUS";
        QTest::newRow("empty") << 4 << every200({"0.03", "0.03", "0.03", "0.03"}) << "MMME";
        QTest::newRow("zero band edge")
            << 1 << QStringList{"0:0.05", "600:0.05", "800:0.06"} << "MES";
        QTest::newRow("negative") << 4 << every200({"-0.5", "-0.5", "-0.5", "-0.5"}) << "MMMG";
        QTest::newRow("off: every reading") << 0 << every200({"12.9", "12.1", "0", "-1"}) << "SSSS";
        QTest::newRow("off: flags still count") << 0 << every200({us}) << "M";
    }
    void looks()
    {
        QFETCH(int, readings);
        QFETCH(QStringList, steps);
        qint64 now = 0;
        SettlingSettings settings;
        settings.readings = readings;
        WeightSettling s(settings, [&] { return now; });
        QTEST(run(s, now, steps), "looks");
    }

    // 保存 pressed at the last step and asked again askedAfter ms later: "take" and the weight, or
    // "wait" / "refuse" and the message.
    void saves_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<int>("askedAfter");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("decision");
        const QStringList settled = every200({"25.40", "25.40", "25.40", "25.40"});
        const QStringList moving = every200({"25.9", "24.8", "25.6"});
        const QStringList saved = settled + QStringList{"700:save"};
        const QString again = u"refuse 这一箱已保存，请取下后再称下一箱"_s;
        QTest::newRow("settled") << settled << 0 << "" << "take 25.4";
        QTest::newRow("moving, within the wait") << moving << 2999 << "" << "wait 称重中…";
        QTest::newRow("moving after 3 s") << moving << 3000 << "" << "refuse 重量不稳定，请稍候再保存";
        QTest::newRow("typed while moving") << moving << 0 << "26.1" << "take 26.1";
        QTest::newRow("empty") << every200({"0", "0", "0", "0"}) << 0 << "" << "refuse 空秤";
        QTest::newRow("negative") << every200({"-2", "-2", "-2", "-2"}) << 0 << ""
                                  << "refuse 皮重错误，请去皮或归零";
        QTest::newRow("over range") << every200({"S +"}) << 0 << "" << "refuse 台称超载";
        QTest::newRow("no reading") << QStringList{} << 3000 << "" << "refuse 台称无读数";
        QTest::newRow("same placing twice")
            << saved + every200({"25.41", "25.40"}, 800) << 0 << "" << again;
        QTest::newRow("after the scale was emptied")
            << saved + every200({"0.01", "25.4", "25.4", "25.4", "25.4"}, 800) << 0 << ""
            << "take 25.4";
        QTest::newRow("a roll added: more than ten times the tolerance")
            << saved + every200({"25.7", "25.7", "25.7", "25.7"}, 800) << 0 << "" << "take 25.7";
        QTest::newRow("a drift of 0.2: not a new box")
            << saved + every200({"25.6", "25.6", "25.6", "25.6"}, 800) << 0 << "" << again;
    }
    void saves()
    {
        QFETCH(QStringList, steps);
        QFETCH(int, askedAfter);
        QFETCH(QString, typed);
        qint64 now = 0;
        WeightSettling s(SettlingSettings{}, [&] { return now; });
        run(s, now, steps);
        const qint64 pressed = now;
        now += askedAfter;
        const SaveDecision d =
            s.decideSave(pressed, typed.isEmpty() ? std::nullopt : std::optional(typed.toDouble()));
        const char* kinds[] = {"take ", "wait ", "refuse "};
        QTEST(QLatin1String(kinds[d.kind]) +
                  (d.kind == SaveDecision::Take ? QString::number(d.weight) : d.message),
              "decision");
    }

    // The length shown: the reading corrected by the ratio a / b and to yards, then formatted.
    void length_data()
    {
        QTest::addColumn<QList<double>>("rawAB"); // the reading, the ratio a / b
        QTest::addColumn<bool>("yards");
        QTest::addColumn<QString>("format"); // with its rules: i inspection, m mark label; "": none
        QTest::addColumn<QString>("text");
        const auto row = [](const char* name, QList<double> rawAB, bool yards, const char* format,
                            const char* text) {
            QTest::newRow(name) << rawAB << yards << QString::fromLatin1(format)
                                << QString::fromLatin1(text);
        };
        row("plain", {100, 1, 1}, false, "", "100");
        row("0.5 % longer", {100, 1005, 1000}, false, "", "100.5");
        row("yards", {100, 1, 1}, true, "", "109.36");
        row("ratio and yards", {200, 1005, 1000}, true, "", "219.8136");
        row("b zero", {42, 3, 0}, false, "", "42");
        row("negative", {-0.01, 1, 1}, false, "", "-0.01");
        row("00 rounds up", {12.01, 1, 1}, false, "i00", " 13");
        row("00 whole stays", {12, 1, 1}, false, "i00", " 12");
        row("00 ratio", {100, 1005, 1000}, false, "i00", " 101");
        row("0 truncates", {12.99, 1, 1}, false, "i0", " 12");
        row("0 negative", {-0.5, 1, 1}, false, "i0", " 0");
        row("0.00", {123.456, 1, 1}, false, "i0.00", "123.46");
        row("0.00 negative", {-0.01, 1, 1}, false, "i0.00", "-0.01");
        row("mark 00 is a picture", {12.01, 1, 1}, false, "m00", "12");
        row("mark 0", {12.99, 1, 1}, false, "m0", " 12");
    }
    void length()
    {
        QFETCH(QList<double>, rawAB);
        QFETCH(bool, yards);
        QFETCH(QString, format);
        const auto rules = format.startsWith(u'i') ? LengthFormatRules::RoundUpDoubleZero
                                                   : LengthFormatRules::PlainPictures;
        const double v = correctedLength(rawAB[0], rawAB[1], rawAB[2], yards);
        QTEST(format.isEmpty() ? QString::number(v, 'g', 10)
                               : formatLength(v, format.mid(1), rules),
              "text");
    }
};

QTEST_GUILESS_MAIN(TestScaleAndLength)
#include "TestScaleAndLength.moc"
