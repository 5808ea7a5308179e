// Grading arithmetic and the defect frame's geometry, without a window.
#include "stations/inspection/CheckDefectLayout.h"
#include "stations/inspection/CheckGradeFollow.h"
#include "stations/inspection/CheckGrading.h"

#include <QTest>

using CheckGrading::DefectButton;
using Rows = QList<QStringList>;
Q_DECLARE_METATYPE(Rows)
Q_DECLARE_METATYPE(QList<DefectButton>)
Q_DECLARE_METATYPE(QList<double>)
Q_DECLARE_METATYPE(QList<long>)

namespace {
// A grid row: number, name, position, count, points, worker, remark.
QStringList row(const QString& name, const QString& count, const QString& points)
{
    return {"1", name, "12.5", count, points, "001", ""};
}
// Defects at positions ("12.5", or "10-22" for a long one) with points: "at:points" items.
Rows defects(const QString& items)
{
    Rows rows;
    for (const QString& item : items.split(u' ', Qt::SkipEmptyParts))
        rows << QStringList{"1", "疵", item.section(u':', 0, 0), "0", item.section(u':', 1),
                            "",  ""};
    return rows;
}
} // namespace

class TestCheckGrading : public QObject {
    Q_OBJECT
private slots:
    void gradeScore_data()
    {
        QTest::addColumn<Rows>("rows");
        QTest::addColumn<double>("area");
        QTest::addColumn<QList<DefectButton>>("buttons");
        QTest::addColumn<bool>("autoGrade");
        QTest::addColumn<QString>("summary");
        QTest::addColumn<QString>("points");
        QTest::addColumn<QString>("allowance");
        const QList<DefectButton> holes = {{"破洞", 0.5}, {"油污", 0}};
        QTest::newRow("hint 1^4, allowance .5, no area")
            << Rows{row("破洞", "1", "4")} << 0.0 << holes << true << "4 百平米扣分:4" << "4" << "-0.5";
        QTest::newRow("4-point, 150 m² with 4 and 2 points")
            << Rows{row("油污", "0", "4"), row("油污", "0", "2")} << 150.0 << holes << true
            << "6 百平米扣分:4" << "4" << "0";
        QTest::newRow("count 0 still deducts once")
            << Rows{row("破洞", "0", "1")} << 100.0 << holes << true << "1 百平米扣分:1" << "1" << "-0.5";
        QTest::newRow("count 3 deducts three times")
            << Rows{row("破洞", "3", "2"), row("破洞", "1", "1")} << 100.0 << holes << true
            << "3 百平米扣分:3" << "3" << "-2";
        QTest::newRow("each button of the name deducts")
            << Rows{row("破洞", "1", "1")} << 100.0 << QList<DefectButton>{{"破洞", 0.5}, {"破洞", 0.25}}
            << true << "1 百平米扣分:1" << "1" << "-0.75";
        QTest::newRow("unknown defect deducts nothing")
            << Rows{row("断经", "2", "3")} << 300.0 << holes << true << "3 百平米扣分:1" << "1" << "0";
        QTest::newRow("grading off") << Rows{row("破洞", "1", "4"), row("油污", "0", "2")} << 150.0
                                     << holes << false << "6" << "-1" << "0";
        QTest::newRow("no rows") << Rows{} << 150.0 << holes << true << "0 百平米扣分:0" << "0" << "0";
        QTest::newRow("fractional points")
            << Rows{row("油污", "0", "2.5")} << 0.0 << holes << true << "2.5 百平米扣分:2.5" << "2.5" << "0";
        QTest::newRow("scoring off rows score -1")
            << Rows{row("油污", "0", "-1"), row("油污", "0", "-1")} << 200.0 << holes << true
            << "-2 百平米扣分:-1" << "-1" << "0";
        // P to one decimal, halves to the even digit.
        QTest::newRow("0.25 → 0.2") << Rows{row("油污", "0", "1")} << 400.0 << holes << true
                                    << "1 百平米扣分:0.2" << "0.2" << "0";
        QTest::newRow("0.45 → 0.4") << Rows{row("油污", "0", "9")} << 2000.0 << holes << true
                                    << "9 百平米扣分:0.4" << "0.4" << "0";
        QTest::newRow("2/3 → 0.7") << Rows{row("油污", "0", "2")} << 300.0 << holes << true
                                   << "2 百平米扣分:0.7" << "0.7" << "0";
        // Quotients a hair off the half in binary still round as the exact half would.
        QTest::newRow("21 on 112 m² → 18.8") << Rows{row("油污", "0", "21")} << 112.0 << holes << true
                                            << "21 百平米扣分:18.8" << "18.8" << "0";
        QTest::newRow("7 on 22.4 m² → 31.2") << Rows{row("油污", "0", "7")} << 22.4 << holes << true
                                            << "7 百平米扣分:31.2" << "31.2" << "0";
    }
    void gradeScore()
    {
        QFETCH(Rows, rows);
        QFETCH(double, area);
        QFETCH(QList<DefectButton>, buttons);
        QFETCH(bool, autoGrade);
        const CheckGrading::Score s = CheckGrading::gradeScore(rows, area, buttons, autoGrade);
        QTEST(s.summary, "summary");
        QTEST(s.points, "points");
        QTEST(s.allowance, "allowance");
    }

    // The 4-point caps: per defect, per metre or yard, and 4 per unit a long defect spans; points
    // per 100 m², or per 100 square yards counted in yards.
    void capPerUnit_data()
    {
        QTest::addColumn<QString>("items");
        QTest::addColumn<bool>("yards");
        QTest::addColumn<double>("widthCm");
        QTest::addColumn<double>("length");
        QTest::addColumn<QString>("plain");
        QTest::addColumn<QString>("capped");
        QTest::newRow("two in one metre")
            << "12.2:4 12.8:3" << false << 150.0 << 100.0 << "7 百平米扣分:4.7"
            << "4 百平米扣分:2.7";
        QTest::newRow("next metre")
            << "12.2:4 13.1:3" << false << 150.0 << 100.0 << "7 百平米扣分:4.7"
            << "7 百平米扣分:4.7";
        QTest::newRow("metre edges")
            << "12:3 12.99:3 13:2" << false << 100.0 << 100.0 << "8 百平米扣分:8"
            << "6 百平米扣分:6";
        QTest::newRow("one defect over 4") << "5:10" << false << 100.0 << 50.0 << "10 百平米扣分:20"
                                           << "4 百平米扣分:8";
        QTest::newRow("long 10-22 over a 4, then 1")
            << "10-22:2 15:4 30:1" << false << 100.0 << 100.0 << "7 百平米扣分:7"
            << "49 百平米扣分:49";
        QTest::newRow("long inside one metre")
            << "7.2-7.9:1" << false << 100.0 << 100.0 << "1 百平米扣分:1"
            << "4 百平米扣分:4";
        QTest::newRow("yards: 58 in × 100 yd")
            << "5.5:4 5.9:4 8:2" << true << 147.32 << 100.0 << "10 百平米扣分:6.8"
            << "6 百平方码扣分:3.7";
        QTest::newRow("yards, no width: per area")
            << "5.5:4 5.9:4" << true << 0.0 << 100.0 << "8 百平米扣分:8"
            << "4 百平米扣分:4";
        QTest::newRow("scoring-off rows count nothing")
            << "3:-1 4:-1" << false << 100.0 << 100.0 << "-2 百平米扣分:-2"
            << "0 百平米扣分:0";
    }
    void capPerUnit()
    {
        QFETCH(QString, items);
        QFETCH(bool, yards);
        QFETCH(double, widthCm);
        QFETCH(double, length);
        const double area = widthCm * length / 100;
        CheckGrading::Rules rules{false, yards, widthCm, length, 0};
        QTEST(CheckGrading::gradeScore(defects(items), area, {}, true, rules).summary, "plain");
        rules.capPerUnit = true;
        QTEST(CheckGrading::gradeScore(defects(items), area, {}, true, rules).summary, "capped");
    }

    void stretchAndShading_data()
    {
        QTest::addColumn<QString>("items");
        QTest::addColumn<double>("cap");
        QTest::addColumn<double>("lastTen"); // points of the ten units up to 40
        QTest::addColumn<QList<long>>("shaded");
        QTest::newRow("capped units")
            << "29.9:4 30.5:4 31:2 40:3 41:1" << 4.0 << 9.0 << QList<long>{};
        QTest::newRow("plain points")
            << "29.9:4 30.5:4 31:2 40:3 41:1" << 0.0 << 9.0 << QList<long>{};
        QTest::newRow("cut metre shaded") << "33.1:3 33.7:2 39:1" << 4.0 << 5.0 << QList<long>{33};
        QTest::newRow("long into the stretch")
            << "27-32:1" << 4.0 << 8.0 << QList<long>{27, 28, 29, 30, 31};
        QTest::newRow("long, plain") << "27-32:1" << 0.0 << 1.0 << QList<long>{27, 28, 29, 30, 31};
    }
    void stretchAndShading()
    {
        QFETCH(QString, items);
        QFETCH(double, cap);
        const QList<FourPoint::Defect> d = CheckGrading::defectsOf(defects(items));
        QTEST(FourPoint::stretchPoints(d, 30, 40, cap), "lastTen");
        QTEST(FourPoint::cappedUnits(d), "shaded");
    }

    void longDefectReject_data()
    {
        QTest::addColumn<QString>("items");
        QTest::addColumn<bool>("yards");
        QTest::addColumn<double>("rejectMetres");
        QTest::addColumn<bool>("rejected");
        QTest::newRow("12 m, limit 12") << "3:1 10-22:2" << false << 12.0 << false;
        QTest::newRow("12 m, limit 11.9") << "3:1 10-22:2" << false << 11.9 << true;
        QTest::newRow("12 yd = 10.97 m, limit 10.9") << "10-22:2" << true << 10.9 << true;
        QTest::newRow("12 yd, limit 11") << "10-22:2" << true << 11.0 << false;
        QTest::newRow("off") << "0-900:2" << false << 0.0 << false;
    }
    void longDefectReject()
    {
        QFETCH(QString, items);
        QFETCH(bool, yards);
        QFETCH(double, rejectMetres);
        const CheckGrading::Rules rules{false, yards, 0, 0, rejectMetres};
        QTEST(CheckGrading::gradeScore(defects(items), 0, {}, false, rules).rejected, "rejected");
    }

    void gradeFor_data()
    {
        QTest::addColumn<double>("points");
        QTest::addColumn<QList<double>>("thresholds");
        QTest::addColumn<int>("grade");
        const QList<double> three = {0, 20, 40};
        QTest::newRow("25 → second") << 25.0 << three << 1;
        QTest::newRow("40 → third") << 40.0 << three << 2;
        QTest::newRow("19.9 → first") << 19.9 << three << 0;
        QTest::newRow("below every threshold → first") << 3.0 << QList<double>{5, 10} << 0;
        QTest::newRow("last reached wins, not the largest") << 30.0 << QList<double>{0, 50, 20} << 2;
    }
    void gradeFor()
    {
        QFETCH(double, points);
        QFETCH(QList<double>, thresholds);
        QTEST(CheckGrading::gradeFor(points, thresholds), "grade");
    }

    void settingIsTrue_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("on");
        QTest::newRow("0") << "0" << false;
        QTest::newRow("-1") << "-1" << true;
        QTest::newRow("True") << "True" << true;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("junk") << "yes" << false;
    }
    void settingIsTrue()
    {
        QFETCH(QString, value);
        QTEST(CheckGrading::settingIsTrue(value), "on");
    }

    void buttonRows_data()
    {
        QTest::addColumn<bool>("wide");
        QTest::addColumn<QRect>("area");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("perRow");
        QTest::newRow("narrow, 9 defects") << false << QRect(100, 330, 5905, 2590) << 9 << 4;
        QTest::newRow("narrow under the bar") << false << QRect(100, 940, 5905, 1980) << 12 << 4;
        QTest::newRow("wide, one row") << true << QRect(100, 330, 14200, 1190) << 8 << 8;
        QTest::newRow("wide under the bar: narrower, one row") << true << QRect(100, 940, 14200, 580) << 9 << 9;
        QTest::newRow("wide, two rows") << true << QRect(100, 330, 14200, 1190) << 10 << 8;
    }
    void buttonRows()
    {
        QFETCH(bool, wide);
        QFETCH(QRect, area);
        QFETCH(int, count);
        QFETCH(int, perRow);
        const auto style = CheckDefectLayout::buttonStyle(wide);
        const QList<QRect> r = CheckDefectLayout::buttonRects(count, area, style);
        QCOMPARE(r.size(), count);
        for (int i = 0; i < count; ++i) {
            QVERIFY2(area.contains(r[i]), qPrintable(QString::number(i)));
            QCOMPARE(r[i].y(), r[i / perRow * perRow].y()); // same row, same top
            QVERIFY(r[i].height() >= style.minHeight);
            for (int j = 0; j < i; ++j)
                QVERIFY(!r[i].intersects(r[j]));
        }
        if (count > perRow) { // the next row starts again on the left, lower down
            QCOMPARE(r[perRow].x(), r[0].x());
            QVERIFY(r[perRow].y() > r[0].y() + r[0].height());
        }
    }

    void pickerPlace_data()
    {
        QTest::addColumn<QSize>("frame");
        QTest::addColumn<QRect>("button");
        QTest::addColumn<QPoint>("at");
        const QSize frame(14400, 3910);
        QTest::newRow("room on the right") << frame << QRect(100, 330, 1660, 700) << QPoint(1820, 330);
        QTest::newRow("last column: left") << frame << QRect(12500, 330, 1660, 700) << QPoint(12500 - 60 - 5055, 330);
        QTest::newRow("low button: raised") << frame << QRect(100, 2000, 1660, 700) << QPoint(1820, 3910 - 2400);
        // The narrow frame (6105 twips) has room on neither side of a 1400-twip button.
        const QSize narrow(6105, 5000);
        QTest::newRow("narrow: under the button") << narrow << QRect(1560, 330, 1400, 700) << QPoint(1050, 1090);
        QTest::newRow("narrow: over a low button") << narrow << QRect(80, 3000, 1400, 700) << QPoint(80, 540);
        QTest::newRow("narrow, short frame: far side") << QSize(6105, 2600) << QRect(80, 900, 1400, 700) << QPoint(1050, 200);
    }
    void pickerPlace()
    {
        QFETCH(QSize, frame);
        QFETCH(QRect, button);
        const QSize picker(5055, 2400);
        const QPoint at = CheckDefectLayout::pickerPlace(button, picker, frame);
        QTEST(at, "at");
        const QRect placed(at, picker);
        QVERIFY(QRect(QPoint(0, 0), frame).contains(placed));
        if (frame.height() >= 2 * picker.height()) // room enough to keep the pressed button clear
            QVERIFY(!placed.intersects(button));
    }

    // After each step, what a recompute writes: g grade, a allowance, b both, - neither.
    void gradeFollow_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::newRow("new roll follows") << "new length:g defect:b same:g";
        QTest::newRow("touched stays for the roll") << "new touch length:- defect:a new length:g";
        QTest::newRow("reopened") << "reopen same:- length:g same:g";
        QTest::newRow("reopened, touched") << "reopen touch defect:a length:-";
    }
    void gradeFollow()
    {
        QFETCH(QString, steps);
        CheckGradeFollow follow;
        QString defects, length;
        for (const QString& step : steps.split(u' ')) {
            const QString what = step.section(u':', 0, 0);
            if (what == u"defect" || what == u"length")
                (what == u"defect" ? defects : length) += u'x';
            if (what == u"new" || what == u"reopen")
                follow.start(what == u"reopen", defects, length, 0);
            else if (what == u"touch")
                follow.touchGrade();
            else if (const auto w = follow.observe(defects, length); true)
                QCOMPARE(QString("-gab").at(int(w.grade) + 2 * int(w.allowance)), step.back());
        }
    }
};

QTEST_MAIN(TestCheckGrading)
#include "TestCheckGrading.moc"
