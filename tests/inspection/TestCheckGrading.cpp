// The defect rules of the inspection station without a window: a roll's defects recorded in each
// scoring mode, deleted, ended and scored, the grade and 加减 that follow, the section alert, the
// 4-point caps and the defect frame's geometry.
#include "stations/inspection/CheckDefectLayout.h"
#include "stations/inspection/RollDefects.h"

#include <QTest>

Q_DECLARE_METATYPE(QList<long>)

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
} // namespace

class TestCheckGrading : public QObject {
    Q_OBJECT
private slots:
    // A press, the picker's answer ("score,count"), the row recorded at the counter (name|count|points).
    void record_data()
    {
        for (const char* c : {"bugs", "mode", "answer", "row", "points"})
            QTest::addColumn<QString>(c);
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("picker"); // -1 no button, 0 at once, 1 points, 2 ten-point pad
        QTest::addColumn<int>("comma");  // in the remark, worker, position; -1: none
        const QString off = "关闭评分";
        QTest::newRow("off: hint count^score") << Bugs << off << "" << "破洞|1|4" << "" << 0 << 0 << -1;
        QTest::newRow("off: plain name") << Bugs << off << "" << "油污|0|-1" << "" << 1 << 0 << -1;
        QTest::newRow("off: hint without score") << Bugs << off << "" << "纬斜|2|-1" << "" << 3 << 0 << -1;
        QTest::newRow("off: empty hint") << Bugs << off << "" << "断经|0|-1" << "" << 2 << 0 << -1;
        QTest::newRow("unknown mode is off") << Bugs << "英标" << "" << "破洞|1|4" << "" << 0 << 0 << -1;
        QTest::newRow("off: hint 1^ has no score") << "疵_0_1^" << off << "" << "" << "" << 0 << 0 << -1;
        QTest::newRow("4-point") << Bugs << "美标4分制" << " 3, 2" << "油污|2|3" << "1 2 3 4" << 1 << 1 << -1;
        QTest::newRow("Japanese") << Bugs << "日标10分制" << "10,2" << "油污|2|10" << "1 3 5 10" << 1 << 1 << -1;
        QTest::newRow("national 10-point") << Bugs << "国标10分制" << "7,2" << "油污|2|7" << "" << 1 << 2 << -1;
        QTest::newRow("picker closed, no score") << Bugs << "美标4分制" << "" << "" << "1 2 3 4" << 1 << 1 << -1;
        QTest::newRow("comma in the remark") << Bugs << off << "" << "" << "" << 0 << 0 << 0;
        QTest::newRow("comma in the worker") << Bugs << off << "" << "" << "" << 0 << 0 << 1;
        QTest::newRow("comma in the position") << Bugs << off << "" << "" << "" << 0 << 0 << 2;
        QTest::newRow("no defect list") << "" << off << "" << "" << "" << 0 << -1 << -1;
        QTest::newRow("no such button") << "" << off << "" << "" << "" << 7 << -1 << -1;
    }
    void record()
    {
        QFETCH(QString, answer);
        QFETCH(int, comma);
        QFETCH(QString, bugs);
        Roll roll("", bugs);
        QFETCH(QString, mode);
        roll.s.scoring = mode;
        QCOMPARE(roll.d.buttons().size(), bugs.isEmpty() ? 1 : bugs.count(',') + 1);
        QFETCH(int, button);
        const RollDefects::Press p = roll.d.press(button);
        QTEST(p.pressed ? int(p.picker) : -1, "picker");
        if (p.picker == RollDefects::Picker::Points)
            QTEST(QString("%1 %2 %3 %4").arg(p.points[0]).arg(p.points[1]).arg(p.points[2]).arg(p.points[3]), "points");
        DefectForm form{"123.4", "0", "", "001", "左边"};
        QString* const fields[] = {&form.remark, &form.worker, &form.quantity};
        if (comma >= 0)
            *fields[comma] = "1,2";
        const bool atOnce = p.picker == RollDefects::Picker::None;
        const QString score = atOnce ? p.score : answer.section(',', 0, 0);
        const RollDefects::Record r = roll.d.record(score, atOnce ? p.count : answer.section(',', 1), form);
        QCOMPARE(r.scored, p.pressed && !score.isEmpty());
        QCOMPARE(roll.d.rows().size(), r.row ? 1 : 0);
        QTEST(r.row ? r.row->name + '|' + r.row->count + '|' + r.row->points : QString(), "row");
        QVERIFY(!r.row || (r.row->position == "123.4" && r.row->worker == "001" && r.row->remark == "左边"));
    }

    // Points, points per 100 m² of width × (quantity - 加减) ("" width: 100 m²), allowance.
    void score_data()
    {
        for (const char* c : {"items", "bugs", "width", "length", "summary", "points", "allowance"})
            QTest::addColumn<QString>(c);
        QTest::addColumn<bool>("autoGrade");
        const QString holes = "破洞_0.5,油污";
        QTest::newRow("hint 1^4, allowance .5, no area") << "破洞/1/4" << holes << "" << "0" << "4 百平米扣分:4" << "4" << "-0.5" << true;
        QTest::newRow("150 cm × 100 m, 4 and 2") << "油污/0/4 油污/0/2" << holes << "150" << "100" << "6 百平米扣分:4" << "4" << "0" << true;
        QTest::newRow("width no number: 100 m²") << "油污/0/4 油污/0/2" << holes << "宽幅" << "100" << "6 百平米扣分:6" << "6" << "0" << true;
        QTest::newRow("width 0 is 100 cm, 加减 off") << "油污/0/4 油污/0/2" << holes << "0" << "100|-20" << "6 百平米扣分:5" << "5" << "0" << true;
        QTest::newRow("count 0 still deducts once") << "破洞/0/1" << holes << "100" << "100" << "1 百平米扣分:1" << "1" << "-0.5" << true;
        QTest::newRow("count 3 deducts three times") << "破洞/3/2 破洞/1/1" << holes << "100" << "100" << "3 百平米扣分:3" << "3" << "-2" << true;
        QTest::newRow("each button of the name") << "破洞/1/1" << "破洞_0.5,破洞_0.25" << "100" << "100" << "1 百平米扣分:1" << "1" << "-0.75" << true;
        QTest::newRow("unknown defect deducts nothing") << "断经/2/3" << holes << "100" << "300" << "3 百平米扣分:1" << "1" << "0" << true;
        QTest::newRow("grading off") << "破洞/1/4 油污/0/2" << holes << "100" << "150" << "6" << "-1" << "0" << false;
        QTest::newRow("no rows") << "" << holes << "100" << "150" << "0 百平米扣分:0" << "0" << "0" << true;
        QTest::newRow("fractional points") << "油污/0/2.5" << holes << "" << "0" << "2.5 百平米扣分:2.5" << "2.5" << "0" << true;
        QTest::newRow("scoring-off rows score -1") << "油污/0/-1 油污/0/-1" << holes << "100" << "200" << "-2 百平米扣分:-1" << "-1" << "0" << true;
        // P to one decimal, halves to the even digit, also a hair off the half in binary.
        QTest::newRow("0.25 → 0.2") << "油污/0/1" << holes << "100" << "400" << "1 百平米扣分:0.2" << "0.2" << "0" << true;
        QTest::newRow("0.45 → 0.4") << "油污/0/9" << holes << "100" << "2000" << "9 百平米扣分:0.4" << "0.4" << "0" << true;
        QTest::newRow("2/3 → 0.7") << "油污/0/2" << holes << "100" << "300" << "2 百平米扣分:0.7" << "0.7" << "0" << true;
        QTest::newRow("21 on 112 m² → 18.8") << "油污/0/21" << holes << "100" << "112" << "21 百平米扣分:18.8" << "18.8" << "0" << true;
        QTest::newRow("7 on 22.4 m² → 31.2") << "油污/0/7" << holes << "100" << "22.4" << "7 百平米扣分:31.2" << "31.2" << "0" << true;
    }
    void score()
    {
        QFETCH(QString, length);
        QFETCH(QString, width);
        QFETCH(QString, items);
        QFETCH(QString, bugs);
        Roll roll(items, bugs);
        QFETCH(bool, autoGrade);
        roll.s.autoGrade = autoGrade;
        const CheckGrading::Score r = roll.d.score({length.section('|', 0, 0), length.section('|', 1), width});
        QTEST(r.summary, "summary");
        QTEST(r.points, "points");
        QTEST(r.allowance, "allowance");
    }

    // A row deleted ("del", from 0); "结束" at the counter; a section alert after a defect at the
    // counter, over 10 points in the last 10 metres ("yd": yards; "plain": uncapped; "off": no
    // limit). The rows after (name|position|count|points), 加减 of 破洞 .5 and 断经 1.5 a defect,
    // what is said (the status line, the alert row's remark), whether something changed.
    void edit_data()
    {
        for (const char* c : {"items", "edit", "after", "allowance", "said"})
            QTest::addColumn<QString>(c);
        QTest::addColumn<bool>("done");
        const QString three = "破洞/1/4 油污/0/2 断经/0/1", before = "结束位置要大于疵点的起始位置";
        const QString all = "破洞|12.5|1|4 油污|12.5|0|2 断经|12.5|0|1", bar = "疵|20-33|0|2";
        QTest::newRow("del middle") << three << "del 1" << "破洞|12.5|1|4 断经|12.5|0|1" << "-2" << "" << true;
        QTest::newRow("del first") << three << "del 0" << "油污|12.5|0|2 断经|12.5|0|1" << "-1.5" << "" << true;
        QTest::newRow("del last") << three << "del 2" << "破洞|12.5|1|4 油污|12.5|0|2" << "-0.5" << "" << true;
        QTest::newRow("del past the last") << three << "del 3" << all << "-2" << "" << false;
        QTest::newRow("del none") << three << "del -1" << all << "-2" << "" << false;
        QTest::newRow("end before its start") << "20:2" << "end 19" << "疵|20|0|2" << "0" << before << false;
        QTest::newRow("end at its start") << "20:2" << "end 20" << "疵|20|0|2" << "0" << before << false;
        QTest::newRow("end at the counter") << "5:1 20:2" << "end 33" << "疵|5|0|1 " + bar << "0" << "" << true;
        QTest::newRow("end again: it moves on") << "20-33:2" << "end 40" << "疵|20-40|0|2" << "0" << "" << true;
        QTest::newRow("end: an alert is no defect") << "20:2 !25" << "end 33" << bar + " 区段报警|25|0|0" << "0" << "" << true;
        QTest::newRow("end: no defect") << "!25" << "end 33" << "区段报警|25|0|0" << "0" << "" << false;
        QTest::newRow("alert: long defect, 4 a metre") << "20-33:2" << "alert 33" << bar + " 区段报警|33|0|0" << "0" << "最近10米扣分40" << true;
        QTest::newRow("alert in yards") << "20-33:2" << "alert 33 yd" << bar + " 区段报警|33|0|0" << "0" << "最近10码扣分40" << true;
        QTest::newRow("alert uncapped: 2 points") << "20-33:2" << "alert 33 plain" << bar << "0" << "" << false;
        QTest::newRow("alert under the limit") << "20:4 25:4 28:2" << "alert 28" << "疵|20|0|4 疵|25|0|4 疵|28|0|2" << "0" << "" << false;
        QTest::newRow("alert over the limit") << "20:4 25:4 28:3" << "alert 28" << "疵|20|0|4 疵|25|0|4 疵|28|0|3 区段报警|28|0|0" << "0" << "最近10米扣分11" << true;
        QTest::newRow("alert: stretch alerted") << "20-33:2 !33" << "alert 34" << bar + " 区段报警|33|0|0" << "0" << "" << false;
        QTest::newRow("alert: earlier alert out of it") << "20-33:2 !23" << "alert 34" << bar + " 区段报警|23|0|0 区段报警|34|0|0" << "0" << "最近10米扣分36" << true;
        QTest::newRow("alert off") << "20-33:2" << "alert 33 off" << bar << "0" << "" << false;
    }
    void edit()
    {
        QFETCH(QString, items);
        QFETCH(QString, edit);
        Roll roll(items, "破洞_0.5,油污_0,断经_1.5");
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
        QTEST(done, "done");
        QTEST(said, "said");
        QTEST(roll.rows(), "after");
        QTEST(roll.d.score({"10", "0"}).allowance, "allowance");
    }

    // One defect row on a roll of 60 m ("" width: 100 m²) with 加减 typed, grades at 0, 20 and 40
    // points: the grade a recompute selects (-1 none), the 加减 it writes ("" none), the note.
    void recompute_data()
    {
        for (const char* c : {"items", "typed", "written", "note"})
            QTest::addColumn<QString>(c);
        QTest::addColumn<bool>("on");
        QTest::addColumn<int>("grade");
        const QString note = "加减已按疵点自动改为 -1（原 3）";
        QTest::newRow("25 → B") << "疵/1/25" << "3" << "-1" << note << true << 1;
        QTest::newRow("40 → C") << "疵/1/40" << "3" << "-1" << note << true << 2;
        QTest::newRow("10 → A") << "疵/1/10" << "3" << "-1" << note << true << 0;
        QTest::newRow("longer than the reject length → last") << "10-22:2" << "3" << "-1" << note << true << 2;
        QTest::newRow("grading off: as chosen") << "疵/1/10" << "3" << "" << "" << false << -1;
        QTest::newRow("typed as automatic: no note") << "疵/1/25" << "-1" << "-1" << "" << true << 1;
    }
    void recompute()
    {
        QFETCH(QString, items);
        QFETCH(QString, typed);
        Roll roll("", "疵_1");
        QFETCH(bool, on);
        roll.s.autoGrade = on;
        roll.s.longDefectReject = 5;
        const DefectForm form{"60", typed};
        roll.d.start(false, form);
        roll.d.setRows(defects(items));
        const RollDefects::Recompute r = roll.d.recompute(form, true);
        const DefectForm written{"60", r.plusMinus.value_or(typed)};
        QTEST(r.grade ? RollDefects::gradeOf(roll.d.score(written), {0, 20, 40}) : -1, "grade");
        QTEST(r.plusMinus.value_or(QString()), "written");
        QTEST(r.note, "note");
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

    void alertStretches()
    {
        const QList<QPair<double, double>> both{{23, 33}, {0, 5}};
        QCOMPARE(RollDefects::alertStretches(defects("!33 12:4 !5"), 10), both);
    }

    // The 4-point caps: per defect, per metre or yard, 4 per unit a long defect spans; points per
    // 100 m², or per 100 square yards counted in yards ("" width: 100 m²). A long defect longer
    // than the reject length (in metres) rejects the roll.
    void fourPointRules_data()
    {
        for (const char* c : {"items", "width", "length", "plain", "capped"})
            QTest::addColumn<QString>(c);
        QTest::addColumn<bool>("yards");
        QTest::addColumn<double>("reject");
        QTest::addColumn<bool>("rejected");
        QTest::newRow("two in one metre") << "12.2:4 12.8:3" << "150" << "100" << "7 百平米扣分:4.7" << "4 百平米扣分:2.7" << false << 0.0 << false;
        QTest::newRow("next metre") << "12.2:4 13.1:3" << "150" << "100" << "7 百平米扣分:4.7" << "7 百平米扣分:4.7" << false << 0.0 << false;
        QTest::newRow("metre edges") << "12:3 12.99:3 13:2" << "100" << "100" << "8 百平米扣分:8" << "6 百平米扣分:6" << false << 0.0 << false;
        QTest::newRow("one defect over 4") << "5:10" << "100" << "50" << "10 百平米扣分:20" << "4 百平米扣分:8" << false << 0.0 << false;
        QTest::newRow("long 10-22 over a 4, then 1") << "10-22:2 15:4 30:1" << "100" << "100" << "7 百平米扣分:7" << "49 百平米扣分:49" << false << 0.0 << false;
        QTest::newRow("long inside one metre") << "7.2-7.9:1" << "100" << "100" << "1 百平米扣分:1" << "4 百平米扣分:4" << false << 0.0 << false;
        QTest::newRow("yards: 58 in × 100 yd") << "5.5:4 5.9:4 8:2" << "147.32" << "100" << "10 百平米扣分:6.8" << "6 百平方码扣分:3.7" << true << 0.0 << false;
        QTest::newRow("yards, no width: per area") << "5.5:4 5.9:4" << "" << "100" << "8 百平米扣分:8" << "4 百平米扣分:4" << true << 0.0 << false;
        QTest::newRow("scoring-off rows count nothing") << "3:-1 4:-1" << "100" << "100" << "-2 百平米扣分:-2" << "0 百平米扣分:0" << false << 0.0 << false;
        QTest::newRow("12 m, limit 12") << "3:1 10-22:2" << "" << "100" << "3 百平米扣分:3" << "49 百平米扣分:49" << false << 12.0 << false;
        QTest::newRow("12 m, limit 11.9") << "3:1 10-22:2" << "" << "100" << "3 百平米扣分:3" << "49 百平米扣分:49" << false << 11.9 << true;
        QTest::newRow("12 yd = 10.97 m, limit 10.9") << "10-22:2" << "" << "100" << "2 百平米扣分:2" << "48 百平米扣分:48" << true << 10.9 << true;
        QTest::newRow("12 yd, limit 11") << "10-22:2" << "" << "100" << "2 百平米扣分:2" << "48 百平米扣分:48" << true << 11.0 << false;
    }
    void fourPointRules()
    {
        QFETCH(QString, items);
        QFETCH(QString, width);
        QFETCH(QString, length);
        QFETCH(bool, yards);
        QFETCH(double, reject);
        Roll roll(items);
        roll.s.scoring = "美标4分制";
        roll.s.longDefectReject = reject;
        const DefectForm form{length, "0", width, "", "", yards};
        QTEST(roll.d.score(form).summary, "plain");
        QTEST(roll.d.score(form).rejected, "rejected");
        roll.s.capPerUnit = true;
        QTEST(roll.d.score(form).summary, "capped");
        roll.s.scoring = "日标10分制"; // the caps are the 4-point system's
        QTEST(roll.d.score(form).summary, "plain");
        roll.s.longDefectReject = 0; // off
        QVERIFY(!roll.d.score(form).rejected);
    }

    void stretchAndShading_data()
    {
        QTest::addColumn<QString>("items");
        QTest::addColumn<double>("cap");
        QTest::addColumn<double>("lastTen"); // points of the ten units up to 40
        QTest::addColumn<QList<long>>("shaded");
        QTest::newRow("capped units") << "29.9:4 30.5:4 31:2 40:3 41:1" << 4.0 << 9.0 << QList<long>{};
        QTest::newRow("plain points") << "29.9:4 30.5:4 31:2 40:3 41:1" << 0.0 << 9.0 << QList<long>{};
        QTest::newRow("cut metre shaded") << "33.1:3 33.7:2 39:1" << 4.0 << 5.0 << QList<long>{33};
        QTest::newRow("long into the stretch") << "27-32:1" << 4.0 << 8.0 << QList<long>{27, 28, 29, 30, 31};
        QTest::newRow("long, plain") << "27-32:1" << 0.0 << 1.0 << QList<long>{27, 28, 29, 30, 31};
    }
    void stretchAndShading()
    {
        QFETCH(QString, items);
        QFETCH(double, cap);
        QList<FourPoint::Defect> spans;
        for (const DefectRow& r : defects(items))
            spans << r.span();
        QTEST(FourPoint::stretchPoints(spans, 30, 40, cap), "lastTen");
        QTEST(FourPoint::cappedUnits(spans), "shaded");
    }

    void gradeFor()
    {
        const QList<double> three{0, 20, 40};
        QCOMPARE(CheckGrading::gradeFor(25, three), 1);
        QCOMPARE(CheckGrading::gradeFor(40, three), 2);
        QCOMPARE(CheckGrading::gradeFor(19.9, three), 0);
        QCOMPARE(CheckGrading::gradeFor(3, {5, 10}), 0);     // below every threshold: the first
        QCOMPARE(CheckGrading::gradeFor(30, {0, 50, 20}), 2); // the last reached, not the largest
    }

    void settingIsTrue()
    {
        for (const auto& [value, on] : {std::pair{"0", false}, {"-1", true}, {"True", true}, {"", false}, {"yes", false}})
            QVERIFY2(CheckGrading::settingIsTrue(value) == on, value);
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
            QVERIFY2(area.contains(r[i]) && r[i].height() >= style.minHeight, qPrintable(QString::number(i)));
            QCOMPARE(r[i].y(), r[i / perRow * perRow].y()); // same row, same top
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
        const QSize frame(14400, 3910), narrow(6105, 5000); // narrow: no room beside a button
        QTest::newRow("room on the right") << frame << QRect(100, 330, 1660, 700) << QPoint(1820, 330);
        QTest::newRow("last column: left") << frame << QRect(12500, 330, 1660, 700) << QPoint(12500 - 60 - 5055, 330);
        QTest::newRow("low button: raised") << frame << QRect(100, 2000, 1660, 700) << QPoint(1820, 3910 - 2400);
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
        QVERIFY(QRect(QPoint(0, 0), frame).contains(QRect(at, picker)));
        if (frame.height() >= 2 * picker.height()) // room enough to keep the pressed button clear
            QVERIFY(!QRect(at, picker).intersects(button));
    }
};

QTEST_MAIN(TestCheckGrading)
#include "TestCheckGrading.moc"
