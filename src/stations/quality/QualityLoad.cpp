// Reads the quality overview: the figures of the range before in one statement, then the range's
// rolls and their defects row by row, summed here per day, machine, inspector, grade and defect.
// A month holds some thirty thousand rolls; grouping them in the database made it sort every
// roll and every defect row by names compared without case, which took most of the time.
#include "stations/quality/QualityData.h"

#include "db/Connection.h"

#include <QHash>

#include <algorithm>
#include <tuple>

namespace QualityData {

namespace {

Recordset run(Connection& c, const QualitySql::Query& q)
{
    return c.execute(q.text, q.params);
}

bool upper(QChar c)
{
    return c.unicode() >= u'A' && c.unicode() <= u'Z';
}

// Names are grouped as the database compares them (SQL Server's default collation, NOCASE on
// the embedded database): letter case (ASCII) and trailing blanks do not count.
QString keyOf(const QString& s)
{
    qsizetype n = s.size();
    while (n > 0 && s.at(n - 1) == u' ')
        --n;
    if (n == s.size() && std::none_of(s.begin(), s.end(), upper))
        return s;
    QString key = s.left(n);
    for (QChar& c : key)
        if (upper(c))
            c = QChar(c.unicode() + 32);
    return key;
}

// The names of one column (machines, inspectors, grades or defects), numbered as found. Of
// names the database takes for the same (say "C01" and "c01") the first in binary order is shown.
class Names {
public:
    int index(const QString& name)
    {
        if (m_last >= 0 && name == m_lastName) // rolls of a day mostly share their names
            return m_last;
        const QString key = keyOf(name);
        auto it = m_index.constFind(key);
        if (it == m_index.cend()) {
            it = m_index.insert(key, int(m_shown.size()));
            m_shown << name;
            m_keys << key;
        } else if (name < m_shown[*it]) {
            m_shown[*it] = name;
        }
        m_lastName = name;
        return m_last = *it;
    }
    /// The number of a name, -1 when it was not found.
    int find(const QString& name) const { return m_index.value(keyOf(name), -1); }
    const QString& shown(int i) const { return m_shown[i]; }
    const QString& key(int i) const { return m_keys[i]; }
    int size() const { return int(m_shown.size()); }

private:
    QHash<QString, int> m_index;
    QStringList m_shown;
    QStringList m_keys;
    QString m_lastName;
    int m_last = -1;
};

struct Roll {
    qint64 day; ///< days after the range's first day
    int machine;
    int inspector;
    int grade; ///< number in the grade Names
    double metres;
    double area;
    double points = 0;  ///< of its defects, or of the touched defect alone
    double defects = 0; ///< likewise
    bool counted;       ///< no defect is touched, or the roll has the touched defect
};

struct Read {
    QList<Roll> rolls;
    QHash<qint64, int> byId;
    Names machines, inspectors, grades;
};

void readRolls(Connection& c, const QualitySql::Filter& f, const QDate& first, bool defectTouched,
               Read& r)
{
    const Recordset rs = run(c, QualitySql::rollRows(f));
    r.rolls.reserve(rs.recordCount());
    r.byId.reserve(rs.recordCount());
    QString dayText;
    qint64 day = 0;
    for (const QList<DbValue>& row : rs.rows()) {
        if (const QString text = row[1].toString(); text != dayText) {
            dayText = text;
            day = first.daysTo(QDate::fromString(text, Qt::ISODate));
        }
        r.byId.insert(row[0].toLongLong(), int(r.rolls.size()));
        r.rolls << Roll{day,
                        r.machines.index(row[2].toString()),
                        r.inspectors.index(row[3].toString()),
                        r.grades.index(row[4].toString()),
                        row[5].toDouble(),
                        row[6].toDouble(),
                        0,
                        0,
                        !defectTouched};
    }
}

// The rolls that pass the touched bars: a grade of the grade chart, a day of the points chart.
struct Touch {
    int grade = -1; ///< number in the grade Names; -1 when none is touched
    bool gradeTouched = false;
    qint64 day = 0;
    bool dayTouched = false;
    bool passes(const Roll& roll) const
    {
        return (!gradeTouched || roll.grade == grade) && (!dayTouched || roll.day == day);
    }
};

// The defect rows: summed into their rolls (only the touched defect when one is), and per name
// into the Pareto, which keeps the touched defect's rolls and the other defects.
QList<ParetoRow> readDefects(Connection& c, const QualitySql::Filter& f, const QString& touched,
                             const Touch& touch, Read& r)
{
    Names names;
    QList<ParetoRow> sums;
    QList<bool> found;
    const Recordset rs = run(c, QualitySql::defectRows(f));
    for (const QList<DbValue>& row : rs.rows()) {
        const auto roll = r.byId.constFind(row[0].toLongLong());
        if (roll == r.byId.cend()) // saved by a frame after the rolls were read
            continue;
        Roll& to = r.rolls[*roll];
        const QString name = row[1].toString();
        const double defects = row[2].toDouble();
        const double points = row[3].toDouble();
        const int n = names.index(name);
        if (n == sums.size()) {
            sums << ParetoRow{};
            found << false;
        }
        if (touched.isEmpty() || names.key(n) == touched) {
            to.counted = true;
            to.points += points;
            to.defects += defects;
        }
        if (!names.key(n).isEmpty() && touch.passes(to)) {
            sums[n].defects += defects;
            sums[n].points += points;
            found[n] = true;
        }
    }
    // Most points first, then most defects, then by name as the database orders them.
    QList<std::pair<QByteArray, ParetoRow>> rows;
    for (int n = 0; n < names.size(); ++n)
        if (found[n])
            rows.append(
                {names.key(n).toUtf8(), {names.shown(n), sums[n].defects, sums[n].points, 0}});
    std::sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) {
        if (a.second.points != b.second.points)
            return a.second.points > b.second.points;
        if (a.second.defects != b.second.defects)
            return a.second.defects > b.second.defects;
        return a.first < b.first;
    });
    QList<ParetoRow> out;
    for (const auto& row : rows)
        out << row.second;
    return pareto(out);
}

void add(Totals& t, const Roll& roll, bool firstGrade)
{
    t.rolls += 1;
    t.metres += roll.metres;
    t.firstMetres += firstGrade ? roll.metres : 0;
    t.area += roll.area;
    t.points += roll.points;
    t.defects += roll.defects;
}

// Grades found that the setting does not name get columns after the setting's, in the order of
// their first roll of the range's days by day, machine and inspector.
QList<int> gradeColumns(const Read& r, qint64 days, QStringList& gradeNames,
                        const QList<int>& setting)
{
    QList<int> column = setting;
    column.resize(r.grades.size(), -1);
    using Place = std::tuple<qint64, QByteArray, QByteArray, QByteArray>;
    QHash<int, Place> firstRoll;
    for (const Roll& roll : r.rolls) {
        if (!roll.counted || column[roll.grade] >= 0 || roll.day < 0 || roll.day >= days)
            continue;
        const Place place{roll.day, r.machines.key(roll.machine).toUtf8(),
                          r.inspectors.key(roll.inspector).toUtf8(),
                          r.grades.key(roll.grade).toUtf8()};
        auto it = firstRoll.find(roll.grade);
        if (it == firstRoll.end())
            firstRoll.insert(roll.grade, place);
        else if (place < *it)
            *it = place;
    }
    QList<int> found = firstRoll.keys();
    std::sort(found.begin(), found.end(),
              [&](int a, int b) { return firstRoll.value(a) < firstRoll.value(b); });
    for (int g : found) {
        column[g] = int(gradeNames.size());
        gradeNames << r.grades.shown(g);
    }
    return column;
}

QList<Group> groups(const Names& names, const QList<Totals>& sums)
{
    QList<Group> out;
    for (int i = 0; i < names.size(); ++i)
        if (sums[i].rolls > 0)
            out << Group{names.shown(i), QString(), sums[i]};
    std::sort(out.begin(), out.end(), [](const Group& a, const Group& b) { return a.key < b.key; });
    return out;
}

} // namespace

Overview load(Connection& c, const QualitySql::Filter& filter, const Grades& grades)
{
    Overview o;
    o.filter = filter;
    o.gradeNames = grades.names.isEmpty() ? QStringList{grades.first()} : grades.names;
    o.before =
        totalsOf(run(c, QualitySql::figures(QualitySql::previousRange(filter), grades.first())));

    // The range's rolls, touches left to the sums below; a touched day outside the range (the
    // range changed since) still gives its Pareto, as the days and tables show the range alone.
    QualitySql::Filter read = filter;
    read.day = QDate();
    read.grade.clear();
    read.defect.clear();
    if (filter.day.isValid()) {
        read.from = std::min(filter.from, filter.day);
        read.to = std::max(filter.to, filter.day);
    }
    Read r;
    QList<int> settingColumns; // a grade named twice in the setting gets the first column
    for (int i = 0; i < o.gradeNames.size(); ++i)
        if (r.grades.index(o.gradeNames[i]) == settingColumns.size())
            settingColumns << i;
    const QString touchedDefect = keyOf(filter.defect.trimmed());
    readRolls(c, read, filter.from, !touchedDefect.isEmpty(), r);
    Touch touch;
    touch.gradeTouched = !filter.grade.trimmed().isEmpty();
    touch.grade = r.grades.find(filter.grade.trimmed());
    touch.dayTouched = filter.day.isValid();
    touch.day = filter.from.daysTo(filter.day);
    o.pareto = readDefects(c, read, touchedDefect, touch, r);

    const QList<int> column =
        gradeColumns(r, filter.from.daysTo(filter.to) + 1, o.gradeNames, settingColumns);
    for (QDate d = filter.from; d.isValid() && d <= filter.to; d = d.addDays(1))
        o.days << Day{d, QList<qint64>(o.gradeNames.size(), 0), 0, 0};
    QList<Totals> machines(r.machines.size()), inspectors(r.inspectors.size());
    Touch gradeOnly = touch;
    gradeOnly.dayTouched = false;
    for (const Roll& roll : r.rolls) {
        if (!roll.counted || roll.day < 0 || roll.day >= o.days.size())
            continue;
        Day& day = o.days[roll.day];
        day.rollsPerGrade[column[roll.grade]] += 1;
        if (!gradeOnly.passes(roll))
            continue;
        day.area += roll.area;
        day.points += roll.points;
        if (!touch.passes(roll))
            continue;
        const bool first = column[roll.grade] == 0;
        add(o.now, roll, first);
        add(machines[roll.machine], roll, first);
        add(inspectors[roll.inspector], roll, first);
    }
    o.machines = groups(r.machines, machines);
    o.inspectors = groups(r.inspectors, inspectors);
    for (Group& g : o.inspectors) {
        const Recordset name = run(c, QualitySql::inspectorName(g.key));
        g.name = name.eof() ? QString() : name.text(0);
    }
    return o;
}

} // namespace QualityData
