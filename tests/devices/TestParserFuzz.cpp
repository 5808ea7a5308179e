// Random bytes and scale-like text through every device parser: no crash, no hang, in range.
#include "devices/FrameMath.h"
#include "devices/MeterReplies.h"
#include "devices/Rfid.h"
#include "devices/ScaleReadings.h"

#include <QElapsedTimer>
#include <QtTest>

#include <cmath>
#include <random>

using namespace devices;

namespace {

QByteArray randomBytes(std::mt19937& rng, int maxLen)
{
    QByteArray b(int(rng() % unsigned(maxLen + 1)), '\0');
    for (char& c : b)
        c = static_cast<char>(rng() & 0xFF);
    return b;
}

// Text that looks like what scales and counters send, cut and shuffled.
QString scaleLike(std::mt19937& rng)
{
    static const char* pieces[] = {"=", "wn", "kg", "M", "Y", "/", ".", "-", "+", " ", "0", "5",
                                   "9", "ST,GS,", "\r\n", "\xff", "12.50", "05.0100"};
    QString s;
    const int n = int(rng() % 12);
    for (int i = 0; i < n; ++i)
        s += QString::fromLatin1(pieces[rng() % (sizeof pieces / sizeof *pieces)]);
    return s;
}

} // namespace

class TestParserFuzz : public QObject {
    Q_OBJECT
private slots:
    void randomBytesThroughEveryParser()
    {
        std::mt19937 rng(4711);
        QElapsedTimer clock;
        clock.start();
        qint64 runs = 0;
        // A few seconds of input; the checks are on the values, not on the time taken.
        while (clock.elapsed() < 3000) {
            const QByteArray b = randomBytes(rng, 40);
            const QString text = (rng() & 1) ? QString::fromLatin1(b) : scaleLike(rng);
            for (const auto model : {CounterModel::Modbus, CounterModel::SumFrame,
                                     CounterModel::FiveRegisters}) {
                if (const auto v = latestReading(model, b, 1))
                    QVERIFY(std::isfinite(*v) && std::fabs(*v) <= 167772.16);
            }
            if (const auto v = parseMeterReply(b, 1))
                QVERIFY(std::isfinite(*v) && std::fabs(*v) <= 167772.16);
            double value = 0;
            checkModbusReply(b, 1, &value);
            QVERIFY(std::isfinite(value));
            const CounterText t = parseCounterText(text);
            QVERIFY(std::isfinite(t.value));
            QVERIFY(std::isfinite(parseCounterTextPlain(text).value));
            for (const auto rules : {ScaleTextRules::ReversedFirst, ScaleTextRules::LeadingNumberFirst,
                                     ScaleTextRules::KgToWn})
                QVERIFY(std::isfinite(scaleWeightFromText(text, rules)));
            if (const auto w = packedScaleWeight(b))
                QVERIFY(*w >= 0 && *w <= 99.99);
            const QString between = textBetween(text, text.left(int(rng() % 3)), text.right(int(rng() % 3)));
            QVERIFY(between.size() <= text.size());
            QVERIFY(hexTextToBytes(text).size() <= text.size() + 1);
            checkSum(b);
            ++runs;
        }
        QVERIFY(runs > 1000);
    }
};

QTEST_GUILESS_MAIN(TestParserFuzz)
#include "TestParserFuzz.moc"
