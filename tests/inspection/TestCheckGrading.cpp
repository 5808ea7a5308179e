// The defect rules of the inspection station without a window: a roll's defects recorded in each
// scoring mode, deleted, ended and scored, the grade and 加减 that follow, the section alert, the
// 4-point caps and the defect frame's geometry.
#include "stations/inspection/CheckDefectLayout.h"
#include "stations/inspection/RollDefects.h"

#include <QTest>

namespace {
const QString Bugs = "破洞_0.5_1^4,油污,断经_1.5,纬斜_0_2,粗纱,色差,稀密路,毛粒,错纱";

// Rows from items: "name/count/points" at 12.5, "at:points" of a defect 疵 (at "10-22" for a long
// one), "!at" a section alert's row.
QList<DefectRow> defects(const QString& items)
{
    QList<DefectRow> rows;
    for (const QString& i : items.split(u' ', Qt::SkipEmptyParts))
        rows << (i.startsWith(u'!')  ? DefectRow{"区段报警", i.mid(1), "0", "0", "", ""}
                 : i.contains(u'/') ? DefectRow{i.section('/', 0, 0), "12.5", i.section('/', 1, 1),
                                                i.section('/', 2), "001", ""}
                                    : DefectRow{"疵", i.section(':', 0, 0), "0", i.section(':', 1), "", ""});
    return rows;
}

// The station's settings (grading on) and the roll's defects on them, holding items.
struct Roll {
    InspectionSettings s;
    RollDefects d{s};
    explicit Roll(const QString& items, const QString& bugs = QString())
    {
        s.defects = bugs;
        s.autoGrade = true;
        d.readButtons();
        d.setRows(defects(items));
    }
    QString rows() const
    {
        QStringList shown;
        for (const DefectRow& r : d.rows())
            shown << r.name + '|' + r.position + '|' + r.count + '|' + r.points;
        return shown.join(' ');
    }
};

// The cases of record, score, edit, recompute, stretchAndShading and pickerPlace.
struct Press { QString bugs, mode, answer, row, points; int button, picker, comma; };
struct Scored {
    QString items, bugs, width, length, summary, allowance, capped = {};
    bool yards = false;
    double reject = 0;
    bool rejected = false, autoGrade = true;
};
struct Edited { QString items, edit, after, allowance, said; bool done; };
struct Recomputed { QString items, typed, written, note; bool on; int grade; };
struct Stretch { QString items; double cap, lastTen; QList<long> shaded; };
struct Picker { QSize frame; QRect button; QPoint place; };
} // namespace

class TestCheckGrading : public QObject {
    Q_OBJECT
private slots:
    // A press of button on the defect list bugs in a scoring mode, the picker it opens (-1 no button,
    // 0 at once, 1 points, 2 ten-point pad) with its points, the picker's answer ("score,count"), a
    // comma in the remark, worker or position (0, 1, 2; -1 none): the row recorded (name|count|points).
    void record_data()
    {
        QTest::addColumn<Press>("c");
        const QString off = "关闭评分";
        QTest::newRow("off: hint count^score") << Press{Bugs, off, "", "破洞|1|4", "", 0, 0, -1};
        QTest::newRow("off: plain name") << Press{Bugs, off, "", "油污|0|-1", "", 1, 0, -1};
        QTest::newRow("off: hint without score") << Press{Bugs, off, "", "纬斜|2|-1", "", 3, 0, -1};
        QTest::newRow("off: empty hint") << Press{Bugs, off, "", "断经|0|-1", "", 2, 0, -1};
        QTest::newRow("unknown mode is off") << Press{Bugs, "英标", "", "破洞|1|4", "", 0, 0, -1};
        QTest::newRow("off: hint 1^ has no score") << Press{"疵_0_1^", off, "", "", "", 0, 0, -1};
        QTest::newRow("4-point") << Press{Bugs, "美标4分制", " 3, 2", "油污|2|3", "1 2 3 4", 1, 1, -1};
        QTest::newRow("Japanese") << Press{Bugs, "日标10分制", "10,2", "油污|2|10", "1 3 5 10", 1, 1, -1};
        QTest::newRow("national 10-point") << Press{Bugs, "国标10分制", "7,2", "油污|2|7", "", 1, 2, -1};
        QTest::newRow("picker closed, no score") << Press{Bugs, "美标4分制", "", "", "1 2 3 4", 1, 1, -1};
        QTest::newRow("comma in the remark") << Press{Bugs, off, "", "", "", 0, 0, 0};
        QTest::newRow("comma in the worker") << Press{Bugs, off, "", "", "", 0, 0, 1};
        QTest::newRow("comma in the position") << Press{Bugs, off, "", "", "", 0, 0, 2};
        QTest::newRow("no defect list") << Press{"", off, "", "", "", 0, -1, -1};
        QTest::newRow("no such button") << Press{"", off, "", "", "", 7, -1, -1};
    }
    void record()
    {
        QFETCH(Press, c);
        Roll roll("", c.bugs);
        roll.s.scoring = c.mode;
        QCOMPARE(roll.d.buttons().size(), c.bugs.isEmpty() ? 1 : c.bugs.count(',') + 1);
        const RollDefects::Press p = roll.d.press(c.button);
        QCOMPARE(p.pressed ? int(p.picker) : -1, c.picker);
        if (p.picker == RollDefects::Picker::Points)
            QCOMPARE(QString("%1 %2 %3 %4").arg(p.points[0]).arg(p.points[1]).arg(p.points[2]).arg(p.points[3]), c.points);
        DefectForm form{"123.4", "0", "", "001", "左边"};
        QString* const fields[] = {&form.remark, &form.worker, &form.quantity};
        if (c.comma >= 0)
            *fields[c.comma] = "1,2";
        const bool atOnce = p.picker == RollDefects::Picker::None;
        const QString score = atOnce ? p.score : c.answer.section(',', 0, 0);
        const RollDefects::Record r = roll.d.record(score, atOnce ? p.count : c.answer.section(',', 1), form);
        QCOMPARE(r.scored, p.pressed && !score.isEmpty());
        QCOMPARE(roll.d.rows().size(), r.row ? 1 : 0);
        QCOMPARE(r.row ? r.row->name + '|' + r.row->count + '|' + r.row->points : QString(), c.row);
        QVERIFY(!r.row || (r.row->position == "123.4" && r.row->worker == "001" && r.row->remark == "左边"));
    }

    // Points, points per 100 m² of width × (quantity - 加减) ("" width: 100 m²; yards: per 100
    // square yards), allowance. Capped: the 4-point caps, per defect, per metre or yard, 4 per unit
    // a long defect spans ("" not checked). A long defect longer than the reject length (metres)
    // rejects the roll.
    void score_data()
    {
        QTest::addColumn<Scored>("c");
        const QString holes = "破洞_0.5,油污";
        QTest::newRow("hint 1^4, allowance .5, no area") << Scored{"破洞/1/4", holes, "", "0", "4 百平米扣分:4", "-0.5"};
        QTest::newRow("150 cm × 100 m, 4 and 2") << Scored{"油污/0/4 油污/0/2", holes, "150", "100", "6 百平米扣分:4", "0"};
        QTest::newRow("width no number: 100 m²") << Scored{"油污/0/4 油污/0/2", holes, "宽幅", "100", "6 百平米扣分:6", "0"};
        QTest::newRow("width 0 is 100 cm, 加减 off") << Scored{"油污/0/4 油污/0/2", holes, "0", "100|-20", "6 百平米扣分:5", "0"};
        QTest::newRow("count 0 still deducts once") << Scored{"破洞/0/1", holes, "100", "100", "1 百平米扣分:1", "-0.5"};
        QTest::newRow("count 3 deducts three times") << Scored{"破洞/3/2 破洞/1/1", holes, "100", "100", "3 百平米扣分:3", "-2"};
        QTest::newRow("each button of the name") << Scored{"破洞/1/1", "破洞_0.5,破洞_0.25", "100", "100", "1 百平米扣分:1", "-0.75"};
        QTest::newRow("unknown defect deducts nothing") << Scored{"断经/2/3", holes, "100", "300", "3 百平米扣分:1", "0"};
        QTest::newRow("grading off") << Scored{"破洞/1/4 油污/0/2", holes, "100", "150", "6", "0", {}, false, 0, false, false};
        QTest::newRow("no rows") << Scored{"", holes, "100", "150", "0 百平米扣分:0", "0"};
        QTest::newRow("fractional points") << Scored{"油污/0/2.5", holes, "", "0", "2.5 百平米扣分:2.5", "0"};
        QTest::newRow("scoring-off rows score -1") << Scored{"油污/0/-1 油污/0/-1", holes, "100", "200", "-2 百平米扣分:-1", "0"};
        // P to one decimal, halves to the even digit, also a hair off the half in binary.
        QTest::newRow("0.25 → 0.2") << Scored{"油污/0/1", holes, "100", "400", "1 百平米扣分:0.2", "0"};
        QTest::newRow("0.45 → 0.4") << Scored{"油污/0/9", holes, "100", "2000", "9 百平米扣分:0.4", "0"};
        QTest::newRow("21 on 112 m² → 18.8") << Scored{"油污/0/21", holes, "100", "112", "21 百平米扣分:18.8", "0"};
        QTest::newRow("7 on 22.4 m² → 31.2") << Scored{"油污/0/7", holes, "100", "22.4", "7 百平米扣分:31.2", "0"};
        QTest::newRow("two in one metre") << Scored{"12.2:4 12.8:3", "", "150", "100", "7 百平米扣分:4.7", "0", "4 百平米扣分:2.7"};
        QTest::newRow("next metre") << Scored{"12.2:4 13.1:3", "", "150", "100", "7 百平米扣分:4.7", "0", "7 百平米扣分:4.7"};
        QTest::newRow("metre edges") << Scored{"12:3 12.99:3 13:2", "", "100", "100", "8 百平米扣分:8", "0", "6 百平米扣分:6"};
        QTest::newRow("one defect over 4") << Scored{"5:10", "", "100", "50", "10 百平米扣分:20", "0", "4 百平米扣分:8"};
        QTest::newRow("long 10-22 over a 4, then 1") << Scored{"10-22:2 15:4 30:1", "", "100", "100", "7 百平米扣分:7", "0", "49 百平米扣分:49"};
        QTest::newRow("long inside one metre") << Scored{"7.2-7.9:1", "", "100", "100", "1 百平米扣分:1", "0", "4 百平米扣分:4"};
        QTest::newRow("yards: 58 in × 100 yd") << Scored{"5.5:4 5.9:4 8:2", "", "147.32", "100", "10 百平米扣分:6.8", "0", "6 百平方码扣分:3.7", true};
        QTest::newRow("yards, no width: per area") << Scored{"5.5:4 5.9:4", "", "", "100", "8 百平米扣分:8", "0", "4 百平米扣分:4", true};
        QTest::newRow("scoring-off rows count nothing") << Scored{"3:-1 4:-1", "", "100", "100", "-2 百平米扣分:-2", "0", "0 百平米扣分:0"};
        QTest::newRow("12 m, limit 12") << Scored{"3:1 10-22:2", "", "", "100", "3 百平米扣分:3", "0", "49 百平米扣分:49", false, 12.0, false};
        QTest::newRow("12 m, limit 11.9") << Scored{"3:1 10-22:2", "", "", "100", "3 百平米扣分:3", "0", "49 百平米扣分:49", false, 11.9, true};
        QTest::newRow("12 yd = 10.97 m, limit 10.9") << Scored{"10-22:2", "", "", "100", "2 百平米扣分:2", "0", "48 百平米扣分:48", true, 10.9, true};
        QTest::newRow("12 yd, limit 11") << Scored{"10-22:2", "", "", "100", "2 百平米扣分:2", "0", "48 百平米扣分:48", true, 11.0, false};
    }
    void score()
    {
        QFETCH(Scored, c);
        Roll roll(c.items, c.bugs);
        roll.s.autoGrade = c.autoGrade;
        roll.s.scoring = "美标4分制";
        roll.s.longDefectReject = c.reject;
        const DefectForm form{c.length.section('|', 0, 0), c.length.section('|', 1), c.width, "", "", c.yards};
        const CheckGrading::Score r = roll.d.score(form);
        QCOMPARE(r.summary + " / " + r.points + " / " + r.allowance,
                 c.summary + " / " + (c.autoGrade ? c.summary.section(':', 1) : "-1") + " / " + c.allowance);
        QCOMPARE(r.rejected, c.rejected);
        roll.s.capPerUnit = true;
        QVERIFY(c.capped.isEmpty() || roll.d.score(form).summary == c.capped);
        roll.s.scoring = "日标10分制"; // the caps are the 4-point system's
        QCOMPARE(roll.d.score(form).summary, c.summary);
        roll.s.longDefectReject = 0; // off
        QVERIFY(!roll.d.score(form).rejected);
    }

    // A row deleted ("del", from 0); "结束" at the counter; a section alert after a defect at the
    // counter, over 10 points in the last 10 metres ("yd": yards; "plain": uncapped; "off": no
    // limit). The rows after (name|position|count|points), 加减 of 破洞 .5 and 断经 1.5 a defect,
    // what is said (the status line, the alert row's remark), whether something changed.
    void edit_data()
    {
        QTest::addColumn<Edited>("c");
        const QString three = "破洞/1/4 油污/0/2 断经/0/1", before = "结束位置要大于疵点的起始位置";
        const QString all = "破洞|12.5|1|4 油污|12.5|0|2 断经|12.5|0|1", bar = "疵|20-33|0|2";
        QTest::newRow("del middle") << Edited{three, "del 1", "破洞|12.5|1|4 断经|12.5|0|1", "-2", "", true};
        QTest::newRow("del first") << Edited{three, "del 0", "油污|12.5|0|2 断经|12.5|0|1", "-1.5", "", true};
        QTest::newRow("del last") << Edited{three, "del 2", "破洞|12.5|1|4 油污|12.5|0|2", "-0.5", "", true};
        QTest::newRow("del past the last") << Edited{three, "del 3", all, "-2", "", false};
        QTest::newRow("del none") << Edited{three, "del -1", all, "-2", "", false};
        QTest::newRow("end before its start") << Edited{"20:2", "end 19", "疵|20|0|2", "0", before, false};
        QTest::newRow("end at its start") << Edited{"20:2", "end 20", "疵|20|0|2", "0", before, false};
        QTest::newRow("end at the counter") << Edited{"5:1 20:2", "end 33", "疵|5|0|1 " + bar, "0", "", true};
        QTest::newRow("end again: it moves on") << Edited{"20-33:2", "end 40", "疵|20-40|0|2", "0", "", true};
        QTest::newRow("end: an alert is no defect") << Edited{"20:2 !25", "end 33", bar + " 区段报警|25|0|0", "0", "", true};
        QTest::newRow("end: no defect") << Edited{"!25", "end 33", "区段报警|25|0|0", "0", "", false};
        QTest::newRow("alert: long defect, 4 a metre") << Edited{"20-33:2", "alert 33", bar + " 区段报警|33|0|0", "0", "最近10米扣分40", true};
        QTest::newRow("alert in yards") << Edited{"20-33:2", "alert 33 yd", bar + " 区段报警|33|0|0", "0", "最近10码扣分40", true};
        QTest::newRow("alert uncapped: 2 points") << Edited{"20-33:2", "alert 33 plain", bar, "0", "", false};
        QTest::newRow("alert at exactly the limit") << Edited{"20:4 25:4 28:2", "alert 28", "疵|20|0|4 疵|25|0|4 疵|28|0|2", "0", "", false};
        QTest::newRow("alert over the limit") << Edited{"20:4 25:4 28:3", "alert 28", "疵|20|0|4 疵|25|0|4 疵|28|0|3 区段报警|28|0|0", "0", "最近10米扣分11", true};
        QTest::newRow("alert: stretch alerted") << Edited{"20-33:2 !33", "alert 34", bar + " 区段报警|33|0|0", "0", "", false};
        QTest::newRow("alert: earlier alert out of it") << Edited{"20-33:2 !23", "alert 34", bar + " 区段报警|23|0|0 区段报警|34|0|0", "0", "最近10米扣分36", true};
        QTest::newRow("alert off") << Edited{"20-33:2", "alert 33 off", bar, "0", "", false};
    }
    void edit()
    {
        QFETCH(Edited, c);
        const QString& edit = c.edit;
        Roll roll(c.items, "破洞_0.5,油污_0,断经_1.5");
        roll.s.scoring = "美标4分制";
        roll.s.capPerUnit = !edit.contains("plain");
        roll.s.alertPoints = edit.contains("off") ? 0 : 10;
        const QString at = edit.section(' ', 1, 1);
        const DefectForm form{at, "0", "", "001", "", edit.contains("yd")};
        bool done = false;
        QString said;
        if (edit.startsWith("del")) {
            done = roll.d.remove(at.toInt());
        } else if (edit.startsWith("end")) {
            const RollDefects::End end = roll.d.endLongDefect(form);
            done = end.index >= 0;
            said = end.problem;
            QVERIFY(!done || roll.d.rows()[end.index].position.endsWith('-' + at)); // the row it ended
        } else if (const auto alert = roll.d.sectionAlert(form)) {
            done = true;
            said = alert->row.remark;
            QCOMPARE(alert->row.worker, QString("001"));
        }
        QCOMPARE(done, c.done);
        QCOMPARE(said, c.said);
        QCOMPARE(roll.rows(), c.after);
        QCOMPARE(roll.d.score({"10", "0"}).allowance, c.allowance);
    }

    // One defect row on a roll of 60 m ("" width: 100 m²) with 加减 typed, grades at 0, 20 and 40
    // points: the grade a recompute selects (-1 none), the 加减 it writes ("" none), the note.
    void recompute_data()
    {
        QTest::addColumn<Recomputed>("c");
        const QString note = "加减已按疵点自动改为 -1（原 3）";
        QTest::newRow("25 → B") << Recomputed{"疵/1/25", "3", "-1", note, true, 1};
        QTest::newRow("40 → C") << Recomputed{"疵/1/40", "3", "-1", note, true, 2};
        QTest::newRow("10 → A") << Recomputed{"疵/1/10", "3", "-1", note, true, 0};
        QTest::newRow("longer than the reject length → last") << Recomputed{"10-22:2", "3", "-1", note, true, 2};
        QTest::newRow("grading off: as chosen") << Recomputed{"疵/1/10", "3", "", "", false, -1};
        QTest::newRow("typed as automatic: no note") << Recomputed{"疵/1/25", "-1", "-1", "", true, 1};
    }
    void recompute()
    {
        QFETCH(Recomputed, c);
        Roll roll("", "疵_1");
        roll.s.autoGrade = c.on;
        roll.s.longDefectReject = 5;
        const DefectForm form{"60", c.typed};
        roll.d.start(false, form);
        roll.d.setRows(defects(c.items));
        const RollDefects::Recompute r = roll.d.recompute(form, true);
        const DefectForm written{"60", r.plusMinus.value_or(c.typed)};
        QCOMPARE(r.grade ? RollDefects::gradeOf(roll.d.score(written), {0, 20, 40}) : -1, c.grade);
        QCOMPARE(r.plusMinus.value_or(QString()), c.written);
        QCOMPARE(r.note, c.note);
        QVERIFY(!roll.d.recompute(form, false).grade); // a station without grades
    }

    // After each step, what a recompute writes: g grade, a 加减, b both, - neither. A defect
    // changes the points and the allowance, a length only the points.
    void gradeFollows_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::newRow("new roll follows") << "new length:g defect:b same:g";
        QTest::newRow("touched stays for the roll") << "new touch length:- defect:a new length:g";
        QTest::newRow("reopened") << "reopen same:- length:g same:g";
        QTest::newRow("reopened, touched") << "reopen touch defect:a length:-";
    }
    void gradeFollows()
    {
        QFETCH(QString, steps);
        Roll roll("", "疵_1");
        DefectForm form{"60", "0"};
        for (const QString& step : steps.split(u' ')) {
            if (step == "new" || step == "reopen")
                roll.d.start(step == "reopen", form);
            else if (step == "touch")
                QCOMPARE(roll.d.touchGrade(), QString("手动等级"));
            if (!step.contains(':'))
                continue;
            if (step.startsWith("length"))
                form.quantity += '5';
            else if (step.startsWith("defect"))
                roll.d.setRows(roll.d.rows() + defects("疵/1/25"));
            const RollDefects::Recompute r = roll.d.recompute(form, true);
            QCOMPARE(QString("-gab").at(int(r.grade) + 2 * int(r.plusMinus.has_value())), step.back());
            form.plusMinus = r.plusMinus.value_or(form.plusMinus);
            roll.d.settle(form);
        }
    }

    // The points of the ten units up to 40 with a cap of a unit (0 none), the units shaded as capped.
    void stretchAndShading_data()
    {
        QTest::addColumn<Stretch>("c");
        QTest::newRow("capped units") << Stretch{"29.9:4 30.5:4 31:2 40:3 41:1", 4.0, 9.0, QList<long>{}};
        QTest::newRow("plain points") << Stretch{"29.9:4 30.5:4 31:2 40:3 41:1", 0.0, 9.0, QList<long>{}};
        QTest::newRow("cut metre shaded") << Stretch{"33.1:3 33.7:2 39:1", 4.0, 5.0, QList<long>{33}};
        QTest::newRow("long into the stretch") << Stretch{"27-32:1", 4.0, 8.0, QList<long>{27, 28, 29, 30, 31}};
        QTest::newRow("long, plain") << Stretch{"27-32:1", 0.0, 1.0, QList<long>{27, 28, 29, 30, 31}};
    }
    void stretchAndShading()
    {
        QFETCH(Stretch, c);
        QList<FourPoint::Defect> spans;
        for (const DefectRow& r : defects(c.items))
            spans << r.span();
        QCOMPARE(FourPoint::stretchPoints(spans, 30, 40, c.cap), c.lastTen);
        QCOMPARE(FourPoint::cappedUnits(spans), c.shaded);
    }

    // On a threshold and above it: recompute's rows.
    void gradeFor()
    {
        QCOMPARE(CheckGrading::gradeFor(19.9, {0, 20, 40}), 0);
        QCOMPARE(CheckGrading::gradeFor(3, {5, 10}), 0);     // below every threshold: the first
        QCOMPARE(CheckGrading::gradeFor(30, {0, 50, 20}), 2); // the last reached, not the largest
    }

    void settingIsTrue()
    {
        for (const auto& [value, on] : {std::pair{"0", false}, {"-1", true}, {"True", true}, {"", false}, {"yes", false}})
            QVERIFY2(CheckGrading::settingIsTrue(value) == on, value);
    }

    void pickerPlace_data()
    {
        QTest::addColumn<Picker>("c");
        const QSize frame(14400, 3910), narrow(6105, 5000); // narrow: no room beside a button
        QTest::newRow("room on the right") << Picker{frame, QRect(100, 330, 1660, 700), QPoint(1820, 330)};
        QTest::newRow("last column: left") << Picker{frame, QRect(12500, 330, 1660, 700), QPoint(12500 - 60 - 5055, 330)};
        QTest::newRow("low button: raised") << Picker{frame, QRect(100, 2000, 1660, 700), QPoint(1820, 3910 - 2400)};
        QTest::newRow("narrow: under the button") << Picker{narrow, QRect(1560, 330, 1400, 700), QPoint(1050, 1090)};
        QTest::newRow("narrow: over a low button") << Picker{narrow, QRect(80, 3000, 1400, 700), QPoint(80, 540)};
        QTest::newRow("narrow, short frame: far side") << Picker{QSize(6105, 2600), QRect(80, 900, 1400, 700), QPoint(1050, 200)};
    }
    void pickerPlace()
    {
        QFETCH(Picker, c);
        const auto& [frame, button, place] = c;
        const QSize picker(5055, 2400);
        const QPoint at = CheckDefectLayout::pickerPlace(button, picker, frame);
        QCOMPARE(at, place);
        QVERIFY(QRect(QPoint(0, 0), frame).contains(QRect(at, picker)));
        if (frame.height() >= 2 * picker.height()) // room enough to keep the pressed button clear
            QVERIFY(!QRect(at, picker).intersects(button));
    }
};

QTEST_MAIN(TestCheckGrading)
#include "TestCheckGrading.moc"
