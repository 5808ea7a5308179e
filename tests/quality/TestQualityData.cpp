// The overview's figures on the fixture's hand-counted rolls: every narrowing, the range before,
// an empty range, yards, a roll without defects, a defect counted 0 with scoring off; the Pareto
// order and shares; a quote in a narrowing.
#include "QualityFixture.h"

#include "db/Connection.h"
#include "stations/fiberbox/frmHuaxian.h"
#include "stations/packing/BagSql.h"
#include "stations/quality/QualityText.h"

#include <QLineEdit>
#include <QTest>

using namespace Qt::StringLiterals;

using QualitySql::Filter;
using Edit = std::function<void(Filter&)>;
Q_DECLARE_METATYPE(Edit)

class TestQualityData : public QObject {
    Q_OBJECT
    QualityFixture m_fx;
    Connection m_c;

private slots:
    void initTestCase()
    {
        m_c.open(u"Provider=SQLite;Data Source="_s + m_fx.databasePath());
        // December: rolls on its first and last second and just after it, machines and grades the
        // database takes for the same ("C01", "c01 "; "a品", "A品"), grades outside the setting,
        // an inspector without a name, a mark-label package; defect names likewise, one empty.
        // The roll of New Year's Day is numbered far from the others (its range's defects are
        // then sought roll by roll, not read by the range of roll numbers).
        m_c.execute(
            u"insert checkinfo(id, itemid, onCount, checkcount, grade, machineId, checkUsercode, "
            "item2, createDate, bagnumber) values"
            "(11, 1, 100, 1, 'A品', 'C01', '002', '150', '2026-12-01 00:00:00', null),"
            "(12, 1, 50, 0.9144, 'B品', 'c01 ', '002', '100', '2026-12-31 23:59:59', null),"
            "(13, 1, 80, 1, 'a品', 'C01', 'x9', 'R1', '2026-12-15 12:00:00', null),"
            "(14, 2, 70, 1, 'D品', '002', '004', '0', '2026-12-15 08:00:00', null),"
            "(15, 2, 60, 1, '', '002', '002', '120', '2026-12-02 10:00:00', null),"
            "(500, 1, 90, 1, 'A品', 'C01', '002', '150', '2027-01-01 00:00:00', null),"
            "(17, 1, 40, 1, 'A品', 'C01', '002', '150', '2026-12-10', 'B1');"
            "insert checkDetail(checkId, bugName, bugCount, bugScore) values"
            "(11, '破洞', 1, 4), (11, 'ab', 2, 3), (12, 'AB', 1, 1), (12, '', 1, 2),"
            "(13, '破洞 ', 0, -1), (14, '油污', 1, 2), (500, '破洞', 1, 4), (17, '破洞', 1, 4);"
            // Pictures of the fixture's defects: roll 1's two 破洞 and its 油污.
            "insert checkDetailPhoto(detailId, fileName, takenAt) values"
            "(1, 'a.jpg', '2026-11-02 09:10:00'), (2, 'b.jpg', '2026-11-02 09:20:00'),"
            "(3, 'd.jpg', '2026-11-02 09:30:00')"_s);
    }

    void totals_data()
    {
        QTest::addColumn<Edit>("edit");
        QTest::addColumn<int>("rolls");
        QTest::addColumn<double>("metres");      // yards × 0.9144
        QTest::addColumn<double>("firstMetres"); // grade A品
        QTest::addColumn<double>("area");        // width cm × metres / 100; no width: 100 m²
        QTest::addColumn<double>("points");      // -1 (scoring off) is no points
        QTest::addColumn<double>("defects");     // count 0 is one defect
        QTest::newRow("range") << Edit([](Filter&) {}) << 3 << 225.72 << 180.0 << 295.72 << 14.0
                               << 5.0;
        QTest::newRow("range before") << Edit([](Filter& f) { f = QualitySql::previousRange(f); })
                                      << 1 << 60.0 << 60.0 << 60.0 << 4.0 << 1.0;
        QTest::newRow("empty range") << Edit([](Filter& f) { f.from = f.to = QDate(2026, 1, 5); })
                                     << 0 << 0.0 << 0.0 << 0.0 << 0.0 << 0.0;
        QTest::newRow("machine") << Edit([](Filter& f) { f.machine = u" 002 "_s; }) << 1 << 45.72
                                 << 0.0 << 45.72 << 0.0 << 1.0;
        QTest::newRow("card") << Edit([](Filter& f) { f.card = u"SC1"_s; }) << 2 << 180.0 << 180.0
                              << 250.0 << 14.0 << 4.0;
        QTest::newRow("item by name") << Edit([](Filter& f) { f.item = u"春亚纺"_s; }) << 1 << 45.72
                                      << 0.0 << 45.72 << 0.0 << 1.0;
        QTest::newRow("item by code") << Edit([](Filter& f) { f.item = u"t01"_s; }) << 2 << 180.0
                                      << 180.0 << 250.0 << 14.0 << 4.0;
        QTest::newRow("inspector") << Edit([](Filter& f) { f.inspector = u"004"_s; }) << 1 << 45.72
                                   << 0.0 << 45.72 << 0.0 << 1.0;
        // The rolls that have the defect, with the points and defects of that defect alone.
        QTest::newRow("touched defect") << Edit([](Filter& f) { f.defect = u"油污"_s; }) << 2
                                        << 145.72 << 100.0 << 195.72 << 2.0 << 2.0;
        QTest::newRow("touched grade") << Edit([](Filter& f) { f.grade = u"B品"_s; }) << 1 << 45.72
                                       << 0.0 << 45.72 << 0.0 << 1.0;
        QTest::newRow("touched day, no defects")
            << Edit([](Filter& f) { f.day = QDate(2026, 11, 3); }) << 1 << 80.0 << 80.0 << 100.0
            << 0.0 << 0.0;
        // A quote in any narrowing is a value, never SQL.
        const QString q = u"x' or '1'='1"_s;
        const std::pair<const char*, QString Filter::*> narrowings[] = {
            {"machine", &Filter::machine}, {"card", &Filter::card},
            {"item", &Filter::item},       {"inspector", &Filter::inspector},
            {"defect", &Filter::defect},   {"grade", &Filter::grade}};
        for (const auto& [name, field] : narrowings)
            QTest::addRow("quote in the %s", name) << Edit([q, field](Filter& f) { f.*field = q; })
                                                   << 0 << 0.0 << 0.0 << 0.0 << 0.0 << 0.0;
    }
    void totals()
    {
        QFETCH(Edit, edit);
        Filter f = QualityFixture::range();
        edit(f);
        const QualitySql::Query q = QualitySql::figures(f, u"A品"_s);
        const Recordset rs = m_c.execute(q.text, q.params);
        const QualityData::Totals t = QualityData::totalsOf(rs);
        QTEST(int(t.rolls), "rolls");
        QTEST(t.metres, "metres");
        QTEST(t.firstMetres, "firstMetres");
        QTEST(t.area, "area");
        QTEST(t.points, "points");
        QTEST(t.defects, "defects");
    }

    // One record of each station saved with that station's own statement on a day of the range:
    // only the inspection frame's roll counts, also after the packing table boxed it (and took it
    // out again); the mark-label packages and fiber boxes share the table but are no rolls.
    void onlyInspectedRollsCount_data()
    {
        QTest::addColumn<int>("station"); // 0 inspection, 1 mark label, 2 fiber box
        QTest::addColumn<QString>("pallet");
        QTest::addColumn<int>("packing"); // 0 none, 1 boxed, 2 boxed and taken out
        QTest::addColumn<int>("counted");
        QTest::newRow("inspection") << 0 << "" << 0 << 1;
        QTest::newRow("inspection, boxed") << 0 << "" << 1 << 1;
        QTest::newRow("inspection, taken out") << 0 << "" << 2 << 1;
        QTest::newRow("mark label") << 1 << "B0007" << 0 << 0;
        QTest::newRow("mark label, no pallet") << 1 << "" << 0 << 0;
        QTest::newRow("fiber box") << 2 << "B0008" << 0 << 0;
    }
    void onlyInspectedRollsCount()
    {
        QFETCH(int, station);
        QFETCH(QString, pallet);
        QFETCH(int, packing);
        CheckSql::Roll r;
        r.billCode = u"SC1"_s;
        r.onCount = 40;
        r.itemId = 1;
        r.grade = u"B品"_s;
        r.items[2] = u"150"_s;
        r.machineId = u"001"_s;
        r.today = u"2026-11-03"_s;
        const auto save = [&](auto form) {
            // The inspection form has no pallet field: its rolls never carry a pallet.
            if (auto* box = form->template findChild<QLineEdit*>(u"TxtBox_28"_s))
                box->setText(pallet);
            return form->rules().insertStatement(form->readRoll(), r);
        };
        const QString insert = station == 0   ? save(std::make_unique<frmCheck>())
                               : station == 1 ? save(std::make_unique<frmMaitou>())
                                              : save(std::make_unique<frmHuaxian>());
        m_c.beginTrans();
        const double id = m_c.execute(insert + u";select SCOPE_IDENTITY()"_s).field(0).toDouble();
        m_c.execute(u"insert checkDetail(checkId, bugName, bugCount, bugScore) "
                    "values(%1, '破洞', 1, 4)"_s.arg(id));
        if (packing > 0)
            m_c.execute(BagSql::saveBag({id, u"X01"_s, QString()}, 20,
                                        QDateTime(QDate(2026, 11, 5), QTime(8, 0)), u"B1"_s));
        if (packing > 1)
            m_c.execute(BagSql::removeRoll(id, u"X01"_s));
        const QualitySql::Query q = QualitySql::figures(QualityFixture::range(), u"A品"_s);
        const QualityData::Totals t = QualityData::totalsOf(m_c.execute(q.text, q.params));
        const QList<QualityData::ParetoRow> pareto =
            QualityData::load(m_c, QualityFixture::range(), {}).pareto;
        m_c.rollbackTrans();
        QFETCH(int, counted);
        QCOMPARE(t.rolls, 3 + counted);
        QCOMPARE(t.metres, 225.72 + 40 * counted);
        QCOMPARE(t.defects, 5.0 + counted);
        QCOMPARE(pareto[0].defects, 3.0 + counted); // 破洞 first
    }

    // December's overview summed in the program against the figures statement narrowed to each
    // of its machines, inspectors, days, grades and defects.
    void overviewAgainstFigures_data()
    {
        QTest::addColumn<Edit>("edit");
        QTest::addColumn<QStringList>("grades");
        QTest::addColumn<QStringList>("pareto"); // most points, then most defects first
        const QStringList setting{"A品", "B品", "C品"};
        const QStringList all = setting + QStringList{"", "D品"};
        QTest::newRow("month") << Edit([](Filter&) {}) << all << QStringList{"AB", "破洞", "油污"};
        QTest::newRow("machine") << Edit([](Filter& f) { f.machine = u"c01"_s; }) << setting
                                 << QStringList{"AB", "破洞"};
        QTest::newRow("inspector") << Edit([](Filter& f) { f.inspector = u"002"_s; })
                                   << setting + QStringList{""} << QStringList{"AB", "破洞"};
        QTest::newRow("touched defect") << Edit([](Filter& f) { f.defect = u"ab"_s; }) << setting
                                        << QStringList{"AB", "破洞", "油污"};
        QTest::newRow("touched grade")
            << Edit([](Filter& f) { f.grade = u"A品"_s; }) << all << QStringList{"破洞", "AB"};
        QTest::newRow("touched last day")
            << Edit([](Filter& f) { f.day = QDate(2026, 12, 31); }) << all << QStringList{"AB"};
        // The days before are rolls 1 and 2, numbers without a gap: their defects are summed
        // by the database.
        QTest::newRow("fixture's days")
            << Edit([](Filter& f) { f.from = QDate(2026, 11, 3), f.to = QDate(2026, 11, 4); })
            << setting << QStringList{};
        QTest::newRow("empty range, rolls before")
            << Edit([](Filter& f) { f.from = QDate(2027, 1, 2), f.to = QDate(2027, 1, 31); })
            << setting << QStringList{};
    }
    void overviewAgainstFigures()
    {
        QFETCH(Edit, edit);
        Filter f;
        f.from = QDate(2026, 12, 1);
        f.to = QDate(2026, 12, 31);
        edit(f);
        const QualityData::Overview o =
            QualityData::load(m_c, f, QualityData::parseGrades(u"A品^0,B品^20,C品^40"_s));
        QTEST(o.gradeNames, "grades");
        QStringList names;
        for (const QualityData::ParetoRow& row : o.pareto)
            names << row.defect;
        QTEST(names, "pareto");

        QStringList wrong;
        auto figures = [&](const Filter& n) {
            const QualitySql::Query q = QualitySql::figures(n, u"A品"_s);
            return QualityData::totalsOf(m_c.execute(q.text, q.params));
        };
        auto sums = [](const QualityData::Totals& t) {
            return QList<double>{double(t.rolls), t.metres, t.firstMetres,
                                 t.area,          t.points, t.defects};
        };
        auto check = [&](const QString& what, const QList<double>& got, const QList<double>& e) {
            for (qsizetype i = 0; i < got.size(); ++i)
                if (qAbs(got[i] - e[i]) > 1e-9)
                    wrong << QString::asprintf("%s #%d: %g, figures %g", qPrintable(what), int(i),
                                               got[i], e[i]);
        };
        check(u"range"_s, sums(o.now), sums(figures(f)));
        check(u"before"_s, sums(o.before), sums(figures(QualitySql::previousRange(f))));
        for (bool inspector : {false, true}) {
            double rolls = 0;
            for (const QualityData::Group& g : inspector ? o.inspectors : o.machines) {
                Filter n = f;
                (inspector ? n.inspector : n.machine) = g.key;
                check(g.key, sums(g.totals), sums(figures(n)));
                rolls += g.totals.rolls;
            }
            check(u"groups"_s, {rolls}, {double(o.now.rolls)});
        }
        for (const QualityData::Group& g : o.inspectors)
            if (g.name != (g.key == u"002" ? u"王建国" : g.key == u"004" ? u"李秀英" : u""))
                wrong << g.key + u' ' + g.name;
        QCOMPARE(o.days.size(), f.from.daysTo(f.to) + 1);
        for (const QualityData::Day& day : o.days) {
            Filter n = f;
            n.day = day.day; // the touched grade's points, every grade's rolls
            const QualityData::Totals e = figures(n);
            check(day.day.toString(), {day.area, day.points}, {e.area, e.points});
            n.grade.clear();
            double rolls = 0;
            for (qsizetype g = 0; g < o.gradeNames.size(); ++g) {
                rolls += day.rollsPerGrade[g];
                Filter graded = n;
                graded.grade = o.gradeNames[g];
                if (!graded.grade.isEmpty()) // an empty grade does not narrow
                    check(graded.grade + day.day.toString(), {double(day.rollsPerGrade[g])},
                          {double(figures(graded).rolls)});
            }
            check(day.day.toString(), {rolls}, {double(figures(n).rolls)});
        }
        for (const QualityData::ParetoRow& row : o.pareto) {
            Filter n = f;
            n.defect = row.defect;
            const QualityData::Totals e = figures(n);
            check(row.defect, {row.defects, row.points}, {e.defects, e.points});
        }
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(u"; ")));
    }

    // A 40 m roll graded under the frames' scoring: its points are those it was graded with
    // (metre 5 holds 4 + 3, capped to 4; the long defect 20-23.5 scores 4 in each of its four
    // metres), and the section alert kept with it is no defect, in the range and before it.
    void gradedPointsWithoutAlerts_data()
    {
        QTest::addColumn<QString>("scoring");
        QTest::addColumn<QString>("capSetting");
        QTest::addColumn<double>("points");
        QTest::newRow("4-point, capped") << "美标4分制" << "1" << 26.0;
        QTest::newRow("4-point, no cap") << "美标4分制" << "0" << 17.0;
        QTest::newRow("10-point ignores the cap") << "国标10分制" << "1" << 17.0;
    }
    void gradedPointsWithoutAlerts()
    {
        QFETCH(QString, scoring);
        QFETCH(QString, capSetting);
        QFETCH(double, points);
        m_c.execute(
            u"delete from checkDetail where checkId = 600; delete from checkinfo where id = 600;"
            "insert checkinfo(id, itemid, onCount, checkcount, grade, machineId, item2, "
            "createDate) values(600, 1, 40, 1, 'B品', 'C01', '150', '2027-03-01 10:00:00');"
            "insert checkDetail(checkId, bugName, bugPosition, bugEnd, bugCount, bugScore) values"
            "(600, '破洞', 5, 0, 1, 4), (600, '破洞', 5.5, 0, 1, 3), (600, '油污', 10, 0, 1, 4),"
            "(600, '纬档', 20, 23.5, 1, 4), (600, '油污', 30, 0, 1, 2),"
            "(600, '区段报警', 12, 0, 0, 0)"_s);
        const double cap = QualityData::frameCap(scoring, capSetting);
        const auto grades = QualityData::parseGrades(u"A品^0,B品^20"_s);
        Filter f;
        f.from = f.to = QDate(2027, 3, 1);
        const QualityData::Overview o = QualityData::load(m_c, f, grades, cap);
        f.from = f.to = QDate(2027, 3, 2);
        const QualityData::Totals before = QualityData::load(m_c, f, grades, cap).before;
        for (const QualityData::Totals& t : {o.now, before}) {
            QCOMPARE(t.points, points);
            QCOMPARE(t.defects, 5.0);
        }
        for (const QualityData::ParetoRow& row : o.pareto)
            QVERIFY(row.defect != u"区段报警");
        QCOMPARE(o.pareto.size(), 3);
    }

    // The colour follows the change as shown: a change that rounds to "0.0" is not coloured.
    void pointsChange_data()
    {
        QTest::addColumn<double>("now"); // points on 100 m² now; 100 m² before with 10 points
        QTest::addColumn<QString>("change");
        QTest::addColumn<int>("verdict");
        QTest::newRow("rounds to nothing") << 10.04 << "0.0" << 0;
        QTest::newRow("more points") << 10.4 << "+0.4" << -1;
        QTest::newRow("fewer points") << 9.0 << "-1.0" << 1;
    }
    void pointsChange()
    {
        QFETCH(double, now);
        const QualityText::Figure f =
            QualityText::figures({1, 100, 0, 100, now, 0}, {1, 100, 0, 100, 10, 0})[3];
        QTEST(f.change, "change");
        QTEST(f.verdict, "verdict");
    }

    // The touched defect's latest pictures: newest first, as many as asked (the range and the
    // other narrowings are the totals' own); none without a touched defect.
    void pictures_data()
    {
        QTest::addColumn<Edit>("edit");
        QTest::addColumn<int>("count");
        QTest::addColumn<QStringList>("files");
        const Edit hole = [](Filter& f) { f.defect = u"破洞"_s; };
        QTest::newRow("破洞") << hole << 8 << QStringList{"b.jpg", "a.jpg"};
        QTest::newRow("the newest") << hole << 1 << QStringList{"b.jpg"};
        QTest::newRow("油污") << Edit([](Filter& f) { f.defect = u"油污"_s; }) << 8
                            << QStringList{"d.jpg"};
        QTest::newRow("no defect touched") << Edit([](Filter&) {}) << 8 << QStringList{};
    }
    void pictures()
    {
        QFETCH(Edit, edit);
        QFETCH(int, count);
        Filter f = QualityFixture::range();
        edit(f);
        QStringList files;
        for (const QualityData::Picture& p : QualityData::pictures(m_c, f, count))
            files << p.file;
        QTEST(files, "files");
    }

    // Scoring off gives no points: the Pareto then ranks and accumulates by defects.
    void paretoWithoutPoints()
    {
        const QList<QualityData::ParetoRow> rows =
            QualityData::pareto({{u"油污"_s, 1, 0, 0}, {u"断经"_s, 3, 0, 0}, {u"结头"_s, 1, 0, 0}});
        QCOMPARE(rows[0].defect, u"断经"_s);
        QCOMPARE(rows[0].cumulative, 0.6);
        QCOMPARE(rows[2].cumulative, 1.0);
        QVERIFY(!QualityData::Totals().pointsPer100m2()); // no area, no figure
    }
};

QTEST_MAIN(TestQualityData)
#include "TestQualityData.moc"
