// Reads the quality overview: the rolls of the range and of the range before, and their defects,
// row by row, summed here per day, machine, inspector, grade and defect. A month holds some
// thirty thousand rolls; grouping them in the database made it sort every roll and every defect
// row by names compared without case, and summing the range before in the database sought every
// roll's defects twice.
#include "stations/quality/QualityData.h"

#include "db/Connection.h"
#include "grading/FourPoint.h"

#include <QHash>

#include <algorithm>
#include <tuple>
#include <utility>

using namespace Qt::StringLiterals;

namespace QualityData {

namespace {

Recordset run(Connection& c, const QualitySql::Query& q)
{
    return c.execute(q.text, q.params);
}

void forEach(Connection& c, const QualitySql::Query& q, const DbRowHandler& onRow)
{
    c.forEachRow(q.text, q.params, onRow);
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
        // Rolls of a day mostly share their names and a mill has a few defects: the names met
        // last are found without hashing (a name met before is shown already or after another).
        for (const auto& [seen, i] : m_recent)
            if (seen == name)
                return i;
        const QString key = keyOf(name);
        auto it = m_index.constFind(key);
        if (it == m_index.cend()) {
            it = m_index.insert(key, int(m_shown.size()));
            m_shown << name;
            m_keys << key;
        } else if (name < m_shown[*it]) {
            m_shown[*it] = name;
        }
        if (m_recent.size() < Recent)
            m_recent.append({name, *it});
        else
            m_recent[std::exchange(m_next, (m_next + 1) % Recent)] = {name, *it};
        return *it;
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
    static constexpr int Recent = 8;
    QList<std::pair<QString, int>> m_recent;
    int m_next = 0;
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

// The rolls read and where each lies by its id: in a list by the id's distance from the first
// when the ids lie close together (the rolls of a range are numbered as they are saved), else in
// a hash.
struct Read {
    QList<Roll> rolls;
    QList<qint64> ids;
    qint64 firstId = 0;
    qint64 lastId = -1;
    QList<int> byOffset;
    QHash<qint64, int> byId;
    Names machines, inspectors, grades;

    /// Whether the ids lie close enough together for a list, and the defect rows of the id
    /// range are fewer to read than those sought roll by roll.
    bool dense() const { return lastId - firstId < 4 * qint64(rolls.size()) + 64; }
    /// Whether every id from the first to the last is a roll read (ids do not repeat).
    bool whole() const { return !rolls.isEmpty() && lastId - firstId + 1 == rolls.size(); }
    void index()
    {
        if (rolls.isEmpty())
            return;
        const auto [lo, hi] = std::minmax_element(ids.cbegin(), ids.cend());
        firstId = *lo;
        lastId = *hi;
        if (dense()) {
            byOffset.fill(-1, lastId - firstId + 1);
            for (int i = 0; i < ids.size(); ++i)
                byOffset[ids[i] - firstId] = i;
        } else {
            byId.reserve(ids.size());
            for (int i = 0; i < ids.size(); ++i)
                byId.insert(ids[i], i);
        }
    }
    /// The roll of an id, nullptr when it was not read.
    Roll* find(qint64 id)
    {
        if (!byOffset.isEmpty()) {
            const int i = id < firstId || id > lastId ? -1 : byOffset[id - firstId];
            return i < 0 ? nullptr : &rolls[i];
        }
        const auto it = byId.constFind(id);
        return it == byId.cend() ? nullptr : &rolls[*it];
    }
};

// The rolls of a filter; with places their day (counted from first), machine and inspector.
void readRolls(Connection& c, const QualitySql::Filter& f, const QDate& first, bool defectTouched,
               bool places, Read& r)
{
    QString dayText;
    qint64 day = 0;
    forEach(c, QualitySql::rollRows(f, places), [&](const DbRow& row) {
        Roll roll{0, 0, 0, r.grades.index(row.text(1)), row.number(2), row.number(3), 0, 0,
                  !defectTouched};
        if (places) {
            if (const QString text = row.text(4); text != dayText) {
                dayText = text;
                day = first.daysTo(QDate::fromString(text, Qt::ISODate));
            }
            roll.day = day;
            roll.machine = r.machines.index(row.text(5));
            roll.inspector = r.inspectors.index(row.text(6));
        }
        r.ids << row.integer(0);
        r.rolls << roll;
    });
    r.index();
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

// The Pareto of the defect rows whose rolls pass the touched bars; it keeps the touched defect's
// rolls and the other defects.
class Pareto {
public:
    explicit Pareto(const Touch& touch) : m_touch(touch) {}
    void add(const Roll& roll, const QString& name, double defects, double points)
    {
        const int n = m_names.index(name);
        if (n == m_sums.size()) {
            m_sums << ParetoRow{};
            m_found << false;
        }
        if (m_names.key(n).isEmpty() || !m_touch.passes(roll))
            return;
        m_sums[n].defects += defects;
        m_sums[n].points += points;
        m_found[n] = true;
    }
    /// Most points first, then most defects, then by name as the database orders them.
    QList<ParetoRow> rows() const
    {
        QList<std::pair<QByteArray, ParetoRow>> rows;
        for (int n = 0; n < m_names.size(); ++n)
            if (m_found[n])
                rows.append({m_names.key(n).toUtf8(),
                             {m_names.shown(n), m_sums[n].defects, m_sums[n].points, 0}});
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

private:
    const Touch& m_touch;
    Names m_names;
    QList<ParetoRow> m_sums;
    QList<bool> m_found;
};

// The defect rows of the rolls read, summed into their rolls (only the touched defect when one
// is) and handed to the Pareto when there is one. Rolls of a range mostly have neighbouring ids,
// so their defects are read by that id range from the defect index alone, unless the range is
// much wider than the rolls read (a narrowing to a machine of many, say), where seeking the
// defects roll by roll reads less.
void readDefects(Connection& c, const QualitySql::Filter& f, const QString& touched, Read& r,
                 Pareto* pareto, double cap)
{
    if (r.rolls.isEmpty())
        return;
    const bool named = pareto || !touched.isEmpty();
    QString name;
    // Under the cap a roll's points follow from where its defects lie, not from their sum.
    QList<QList<FourPoint::Defect>> placed(cap > 0 ? r.rolls.size() : 0);
    forEach(c,
            r.dense() ? QualitySql::defectRowsOfIds(r.firstId, r.lastId)
                      : QualitySql::defectRows(f),
            [&](const DbRow& row) {
                Roll* roll = r.find(row.integer(0));
                if (!roll) // another roll, or saved after the rolls were read
                    return;
                Roll& to = *roll;
                if (named)
                    name = row.text(1);
                const double defects = row.number(2);
                const double points = row.number(3);
                if (touched.isEmpty() || keyOf(name) == touched) {
                    to.counted = true;
                    to.points += points;
                    to.defects += defects;
                    if (cap > 0)
                        placed[roll - r.rolls.data()].append(
                            {row.number(4), row.number(5), points});
                }
                if (pareto)
                    pareto->add(to, name, defects, points);
            });
    for (qsizetype i = 0; i < placed.size(); ++i)
        if (!placed[i].isEmpty())
            r.rolls[i].points = FourPoint::cappedSum(placed[i], cap);
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

// The touches of a filter on the rolls read; a day counts from the range's first day.
Touch touchOf(const QualitySql::Filter& f, const Read& r)
{
    Touch touch;
    touch.gradeTouched = !f.grade.trimmed().isEmpty();
    touch.grade = r.grades.find(f.grade.trimmed());
    touch.dayTouched = f.day.isValid();
    touch.day = f.from.daysTo(f.day);
    return touch;
}

// The totals of the range before, summed from its rows as the range's are: the database reads
// that range's day alone when a day is touched, the touched grade and defect are left to the sums.
Totals sumBefore(Connection& c, const QualitySql::Filter& f, const QString& firstGrade, double cap)
{
    QualitySql::Filter read = f;
    read.grade.clear();
    read.defect.clear();
    Read r;
    r.grades.index(firstGrade); // number 0
    const QString touchedDefect = keyOf(f.defect.trimmed());
    readRolls(c, read, f.from, !touchedDefect.isEmpty(), false, r);
    Touch touch = touchOf(f, r);
    touch.dayTouched = false;
    Totals t;
    // Every roll counts and the rolls' ids leave no gap: the database sums their defects.
    if (touchedDefect.isEmpty() && !touch.gradeTouched && r.whole() && cap <= 0) {
        const Recordset sums = run(c, QualitySql::defectSumsOfIds(r.firstId, r.lastId));
        t.defects = sums.number(u"defects"_s);
        t.points = sums.number(u"points"_s);
    } else {
        readDefects(c, read, touchedDefect, r, nullptr, cap);
    }
    for (const Roll& roll : r.rolls)
        if (roll.counted && touch.passes(roll))
            add(t, roll, roll.grade == 0);
    return t;
}

} // namespace

Overview load(Connection& c, const QualitySql::Filter& filter, const Grades& grades, double cap)
{
    Totals t = before(c, filter, grades, cap);
    Overview o = loadRange(c, filter, grades, cap);
    o.before = t;
    return o;
}

Totals before(Connection& c, const QualitySql::Filter& filter, const Grades& grades, double cap)
{
    return sumBefore(c, QualitySql::previousRange(filter), grades.first(), cap);
}

Overview loadRange(Connection& c, const QualitySql::Filter& filter, const Grades& grades,
                   double cap)
{
    Overview o;
    o.filter = filter;
    o.gradeNames = grades.names.isEmpty() ? QStringList{grades.first()} : grades.names;

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
    readRolls(c, read, filter.from, !touchedDefect.isEmpty(), true, r);
    const Touch touch = touchOf(filter, r);
    Pareto pareto(touch);
    readDefects(c, read, touchedDefect, r, &pareto, cap);
    o.pareto = pareto.rows();

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
