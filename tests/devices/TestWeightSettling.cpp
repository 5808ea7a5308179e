// The scale's own flags, and when a weight counts for a save: sequences of readings against a
// test clock.
#include "devices/ScaleReadings.h"
#include "devices/WeightSettling.h"

#include <QtTest>

using namespace devices;
using namespace Qt::StringLiterals;

namespace {

// Steps "ms:reading" (a reading text, as the assembler hands it on) or "ms:save" (a box saved
// with the settled weight). Returns one letter per reading: N none, M moving, S settled,
// E empty, G negative, O over range, U under range.
QString run(WeightSettling& s, qint64& now, const QStringList& steps)
{
    static const char letters[] = "NMSEGOU";
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
        looks += QLatin1Char(letters[int(s.look())]);
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

class TestWeightSettling : public QObject {
    Q_OBJECT
private slots:
    // A reading as "state weight", "net" added: state - unflagged, S stable, M moving, O over,
    // U under range, B busy; "none" when it is no reading at all.
    void flags_data()
    {
        QTest::addColumn<QByteArray>("reading");
        QTest::addColumn<QString>("read");
        QTest::newRow("ST GS") << QByteArray("ST,GS,+0012.50kg") << "S 12.5";
        QTest::newRow("US GS") << QByteArray("US,GS,+0012.52kg") << "M 12.52";
        QTest::newRow("ST NT") << QByteArray("ST,NT,+0002.00kg") << "S 2 net";
        QTest::newRow("OL") << QByteArray("OL,GS,+9999.99kg") << "O";
        QTest::newRow("sign kept") << QByteArray("ST,GS,-0001.20kg") << "S -1.2";
        QTest::newRow("flags after =…=") << QByteArray("=05.0100=US,GS") << "M 10.5";
        QTest::newRow("flags, wn kg") << QByteArray("ST,GS,wn0012.50kg") << "S 12.5";
        QTest::newRow("SICS stable") << QByteArray("S S     12.50 kg") << "S 12.5";
        QTest::newRow("SICS dynamic") << QByteArray("S D     -0.02 kg") << "M -0.02";
        QTest::newRow("SICS over") << QByteArray("S +") << "O";
        QTest::newRow("SICS under") << QByteArray("S -") << "U";
        QTest::newRow("SICS busy") << QByteArray("S I") << "B";
        QTest::newRow("SICS zero answer") << QByteArray("Z A") << "none";
        QTest::newRow("no flags") << QByteArray("wn0012.50kg") << "- 12.5";
        QTest::newRow("flag-like word") << QByteArray("ST,GX,0012.50") << "- 12.5";
    }

    void flags()
    {
        QFETCH(QByteArray, reading);
        const auto r = readScaleReading(reading, ScaleTextRules::LeadingNumberFirst);
        QStringList read{r ? QString(QLatin1Char("-SMOUB"[int(r->state)])) : u"none"_s};
        if (r && r->weight)
            read << QString::number(*r->weight);
        if (r && r->net)
            read << u"net"_s;
        QTEST(read.join(u' '), "read");
    }

    // Every whole reading of a tick counts, oldest first, not only the newest.
    void allReadingsOfATick()
    {
        ScaleReadingAssembler lines;
        lines.takeReadings("\r\n", ScaleTextRules::LeadingNumberFirst);
        const auto got = lines.takeReadings("S D     12.90 kg\r\nS S     12.50 kg\r\nZ A\r\n",
                                            ScaleTextRules::LeadingNumberFirst);
        QCOMPARE(got.size(), 2);
        QCOMPARE(*got.at(0).weight, 12.9);
        QCOMPARE(int(got.at(1).state), int(ScaleState::Stable));
        ScaleReadingAssembler stream;
        const auto weights =
            stream.takeReadings("=05.0100=08.0200=", ScaleTextRules::ReversedFirst);
        QCOMPARE(weights.size(), 2);
        QCOMPARE(*weights.at(1).weight, 20.8);
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
        QTest::newRow("scale says moving")
            << 4
            << every200({"US,GS,+0012.50kg", "US,GS,+0012.50kg", "US,GS,+0012.50kg",
                         "US,GS,+0012.50kg", "ST,GS,+0012.50kg"})
            << "MMMMS";
        QTest::newRow("over and under range")
            << 4 << every200({"OL,GS,+9999.99kg", "S -", "S S 3.00 kg"}) << "OUS";
        QTest::newRow("empty") << 4 << every200({"0.03", "0.03", "0.03", "0.03"}) << "MMME";
        QTest::newRow("zero band edge")
            << 1 << QStringList{"0:0.05", "600:0.05", "800:0.06"} << "MES";
        QTest::newRow("negative") << 4 << every200({"-0.5", "-0.5", "-0.5", "-0.5"}) << "MMMG";
        QTest::newRow("off: every reading") << 0 << every200({"12.9", "12.1", "0", "-1"}) << "SSSS";
        QTest::newRow("off: flags still count") << 0 << every200({"US,GS,+0012.50kg"}) << "M";
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
        QTest::newRow("settled") << settled << 0 << "" << "take 25.4";
        QTest::newRow("moving, within the wait") << moving << 2999 << "" << "wait 称重中…";
        QTest::newRow("moving after 3 s") << moving << 3000 << "" << "refuse 重量不稳定，请稍候再保存";
        QTest::newRow("typed while moving") << moving << 0 << "26.1" << "take 26.1";
        QTest::newRow("empty") << every200({"0", "0", "0", "0"}) << 0 << "" << "refuse 空秤";
        QTest::newRow("negative") << every200({"-2", "-2", "-2", "-2"}) << 0 << ""
                                  << "refuse 皮重错误，请去皮或归零";
        QTest::newRow("over range") << every200({"S +"}) << 0 << "" << "refuse 台称超载";
        QTest::newRow("no reading") << QStringList{} << 3000 << "" << "refuse 台称无读数";
        QTest::newRow("same placing twice") << saved + every200({"25.41", "25.40"}, 800) << 0 << ""
                                            << "refuse 这一箱已保存，请取下后再称下一箱";
        QTest::newRow("after the scale was emptied")
            << saved + every200({"0.01", "25.4", "25.4", "25.4", "25.4"}, 800) << 0 << ""
            << "take 25.4";
        QTest::newRow("a roll added: more than ten times the tolerance")
            << saved + every200({"25.7", "25.7", "25.7", "25.7"}, 800) << 0 << "" << "take 25.7";
        QTest::newRow("a drift of 0.2: not a new box")
            << saved + every200({"25.6", "25.6", "25.6", "25.6"}, 800) << 0 << ""
            << "refuse 这一箱已保存，请取下后再称下一箱";
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
};

QTEST_GUILESS_MAIN(TestWeightSettling)
#include "TestWeightSettling.moc"
