// Qt Charts for the quality overview, the module's one entry point at the end. Each chart is
// built afresh for every query: a week has seven bars, a month thirty-one, and rebuilding costs
// less than keeping series in step.
#include "QualityCharts.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QKeyEvent>
#include <QLineSeries>
#include <QStackedBarSeries>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

QChartView* makeView(QWidget* parent, const QString& name, const QString& title)
{
    auto* v = new QChartView(new QChart, parent);
    v->setObjectName(name);
    v->setAccessibleName(title);
    v->setRenderHint(QPainter::Antialiasing);
    v->chart()->setAnimationOptions(QChart::NoAnimation);
    v->setFocusPolicy(Qt::StrongFocus);
    return v;
}

// Grade colours from good to bad, so that a growing red share is seen from across the office.
const QColor gradeColours[] = {QColor(0x2e, 0x7d, 0x32), QColor(0xf9, 0xa8, 0x25),
                               QColor(0xe6, 0x51, 0x00), QColor(0xc6, 0x28, 0x28),
                               QColor(0x6a, 0x1b, 0x9a), QColor(0x45, 0x5a, 0x64)};

QString dayCaption(const QDate& d)
{
    return d.toString(u"MM-dd"_s);
}

QValueAxis* valueAxis(double max, const QString& title)
{
    auto* a = new QValueAxis;
    a->setRange(0, max > 0 ? max * 1.1 : 1);
    // Round steps (0, 1, 2 … or 0, 20, 40 …), never two ticks with the same label.
    a->applyNiceNumbers();
    a->setTitleText(title);
    a->setTruncateLabels(false);
    a->setLabelFormat(u"%g"_s);
    return a;
}

// Days along the bottom; a month's captions stand upright so that they do not overlap.
QBarCategoryAxis* dayAxis(QChart* c, const QStringList& days)
{
    auto* x = new QBarCategoryAxis;
    x->append(days);
    x->setLabelsAngle(days.size() > 10 ? -90 : 0);
    x->setTruncateLabels(false); // a day cut to "…" says nothing
    c->addAxis(x, Qt::AlignBottom);
    return x;
}

} // namespace

QualityCharts::QualityCharts(QWidget* parent, const Handlers& handlers)
    : QObject(parent), m_handlers(handlers)
{
    m_pareto = makeView(parent, u"chartPareto"_s, paretoTitle());
    m_grades = makeView(parent, u"chartGrades"_s, gradesTitle());
    m_points = makeView(parent, u"chartPoints"_s, pointsTitle());
    for (QChartView* v : chartViews())
        v->installEventFilter(this);
}

bool QualityCharts::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    auto* view = static_cast<QChartView*>(watched);
    switch (static_cast<QKeyEvent*>(event)->key()) {
    case Qt::Key_Left:
        step(view, -1);
        return true;
    case Qt::Key_Right:
        step(view, +1);
        return true;
    case Qt::Key_Escape:
        m_handlers.touchDropped();
        return true;
    default:
        return QObject::eventFilter(watched, event);
    }
}

void QualityCharts::step(QChartView* view, int direction)
{
    const bool pareto = view == m_pareto;
    const int count = int(pareto ? m_paretoNames.size() : m_days.size());
    if (count == 0)
        return;
    const int at =
        int(pareto ? m_paretoNames.indexOf(m_touchedDefect) : m_days.indexOf(m_touchedDay));
    const int next = at < 0 ? (direction > 0 ? 0 : count - 1) : (at + direction + count) % count;
    if (pareto)
        m_handlers.defectTouched(m_paretoNames[next]);
    else
        // A day of the grade chart by keyboard keeps the touched grade: all grades when none.
        m_handlers.dayTouched(m_days[next], view == m_grades ? m_touchedGrade : QString());
}

QWidget* QualityCharts::view(Chart chart) const
{
    return chart == Pareto ? m_pareto : chart == Grades ? m_grades : m_points;
}

void QualityCharts::render(Chart chart, QPainter& p, const QRectF& target)
{
    QChart* c = static_cast<QChartView*>(view(chart))->chart();
    const QSizeF onScreen = c->size();
    const QSizeF page(760, 760 * target.height() / target.width());
    c->resize(page);
    c->layout()->activate();
    c->scene()->render(&p, target, QRectF(c->pos(), page), Qt::KeepAspectRatio);
    c->resize(onScreen);
    c->layout()->activate();
}

void QualityCharts::setFontPoints(double points)
{
    m_fontPoints = points;
    for (QChartView* v : chartViews()) {
        QFont f = v->font();
        f.setPointSizeF(points);
        v->chart()->setFont(f);
        QFont title = f;
        title.setBold(true);
        title.setPointSizeF(points * 1.2);
        v->chart()->setTitleFont(title);
        v->chart()->legend()->setFont(f);
        for (QAbstractAxis* a : v->chart()->axes()) {
            a->setLabelsFont(f);
            a->setTitleFont(f);
        }
    }
}

QChart* QualityCharts::fresh(QChartView* view, const QString& title)
{
    QChart* c = view->chart();
    c->removeAllSeries();
    for (QAbstractAxis* a : c->axes()) {
        c->removeAxis(a);
        delete a;
    }
    c->setTitle(title);
    c->legend()->setAlignment(Qt::AlignBottom);
    return c;
}

void QualityCharts::show(const QualityData::Overview& o, const QualityData::Grades& limits)
{
    m_touchedDefect = o.filter.defect;
    m_touchedDay = o.filter.day;
    m_touchedGrade = o.filter.grade;
    showPareto(o);
    showGrades(o);
    showPoints(o, limits);
    setFontPoints(m_fontPoints);
}

void QualityCharts::showPareto(const QualityData::Overview& o)
{
    QChart* c = fresh(m_pareto, paretoTitle());
    const bool scored = std::any_of(o.pareto.begin(), o.pareto.end(),
                                    [](const QualityData::ParetoRow& r) { return r.points > 0; });
    auto* set = new QBarSet(scored ? u"扣分"_s : u"个数"_s);
    auto* cumulative = new QLineSeries;
    cumulative->setName(u"累计%"_s);
    m_paretoNames.clear();
    QStringList categories;
    for (int i = 0; i < o.pareto.size(); ++i) {
        const QualityData::ParetoRow& r = o.pareto[i];
        const double value = scored ? r.points : r.defects;
        if (i < ParetoBars) {
            m_paretoNames << r.defect;
            categories << r.defect;
            *set << value;
        } else if (i == ParetoBars) {
            categories << u"其他"_s;
            *set << value;
        } else {
            set->replace(ParetoBars, set->at(ParetoBars) + value);
        }
    }
    double max = 0;
    for (int bar = 0; bar < set->count(); ++bar) {
        max = std::max(max, set->at(bar));
        // The share reached by the last defect name inside the bar.
        const int lastRow = bar < ParetoBars ? bar : int(o.pareto.size()) - 1;
        cumulative->append(bar, o.pareto[lastRow].cumulative * 100);
    }
    const int focus = int(m_paretoNames.indexOf(o.filter.defect));
    if (focus >= 0)
        set->selectBar(focus);
    set->setSelectedColor(QColor(0xc6, 0x28, 0x28));
    auto* bars = new QBarSeries;
    bars->append(set);
    c->addSeries(bars);
    c->addSeries(cumulative);
    auto* x = new QBarCategoryAxis;
    x->append(categories);
    c->addAxis(x, Qt::AlignBottom);
    auto* y = valueAxis(max, set->label());
    c->addAxis(y, Qt::AlignLeft);
    auto* share = new QValueAxis;
    share->setRange(0, 100);
    share->setLabelFormat(u"%.0f%%"_s);
    c->addAxis(share, Qt::AlignRight);
    bars->attachAxis(x);
    bars->attachAxis(y);
    cumulative->attachAxis(x);
    cumulative->attachAxis(share);
    connect(set, &QBarSet::clicked, this, [this](int index) {
        if (index < m_paretoNames.size())
            m_handlers.defectTouched(m_paretoNames[index]);
    });
}

void QualityCharts::showGrades(const QualityData::Overview& o)
{
    QChart* c = fresh(m_grades, gradesTitle());
    auto* bars = new QStackedBarSeries;
    m_days.clear();
    QStringList categories;
    for (const QualityData::Day& d : o.days) {
        m_days << d.day;
        categories << dayCaption(d.day);
    }
    double max = 0;
    for (const QualityData::Day& d : o.days) {
        qint64 sum = 0;
        for (qint64 n : d.rollsPerGrade)
            sum += n;
        max = std::max(max, double(sum));
    }
    const int focus = int(m_days.indexOf(o.filter.day));
    for (int g = 0; g < o.gradeNames.size(); ++g) {
        auto* set = new QBarSet(o.gradeNames[g]);
        set->setColor(gradeColours[g % std::size(gradeColours)]);
        set->setSelectedColor(QColor(0x15, 0x65, 0xc0));
        for (const QualityData::Day& d : o.days)
            *set << double(d.rollsPerGrade.value(g));
        if (focus >= 0 && (o.filter.grade.isEmpty() || o.filter.grade == o.gradeNames[g]))
            set->selectBar(focus);
        const QString grade = o.gradeNames[g];
        connect(set, &QBarSet::clicked, this, [this, grade](int index) {
            if (index < m_days.size())
                m_handlers.dayTouched(m_days[index], grade);
        });
        bars->append(set);
    }
    c->addSeries(bars);
    QBarCategoryAxis* x = dayAxis(c, categories);
    // No axis title: beside one-digit counts Qt Charts cuts any title to "…"; the chart's title
    // says what is counted.
    auto* y = valueAxis(max, QString());
    if (max <= 10) { // a few rolls: whole numbers only
        y->setRange(0, std::max(1.0, std::ceil(max)));
        y->setTickCount(int(y->max()) + 1);
    }
    c->addAxis(y, Qt::AlignLeft);
    bars->attachAxis(x);
    bars->attachAxis(y);
}

void QualityCharts::showPoints(const QualityData::Overview& o, const QualityData::Grades& limits)
{
    QChart* c = fresh(m_points, pointsTitle(o.filter.defect));
    auto* set = new QBarSet(u"百平米扣分"_s);
    set->setColor(QColor(0x15, 0x65, 0xc0));
    set->setSelectedColor(QColor(0xc6, 0x28, 0x28));
    QStringList categories;
    double max = 0;
    for (const QualityData::Day& d : o.days) {
        categories << dayCaption(d.day);
        *set << d.pointsPer100m2().value_or(0);
        max = std::max(max, d.pointsPer100m2().value_or(0));
    }
    const int focus = int(m_days.indexOf(o.filter.day));
    if (focus >= 0)
        set->selectBar(focus);
    auto* bars = new QBarSeries;
    bars->append(set);
    c->addSeries(bars);
    QBarCategoryAxis* x = dayAxis(c, categories);
    // The limits above the first grade: where a roll drops to the next grade.
    QList<QLineSeries*> lines;
    for (int g = 1; g < limits.names.size(); ++g) {
        if (!limits.limits[g])
            continue;
        auto* line = new QLineSeries;
        line->setName(limits.names[g] + u" "_s + QString::number(*limits.limits[g]));
        line->setColor(gradeColours[g % std::size(gradeColours)]);
        line->append(-0.5, *limits.limits[g]);
        line->append(std::max<qsizetype>(categories.size(), 1) - 0.5, *limits.limits[g]);
        max = std::max(max, *limits.limits[g]);
        c->addSeries(line);
        lines << line;
    }
    auto* y = valueAxis(max, u"百平米扣分"_s);
    c->addAxis(y, Qt::AlignLeft);
    bars->attachAxis(x);
    bars->attachAxis(y);
    for (QLineSeries* line : lines) {
        line->attachAxis(x);
        line->attachAxis(y);
    }
    connect(set, &QBarSet::clicked, this, [this](int index) {
        if (index < m_days.size())
            m_handlers.dayTouched(m_days[index], QString());
    });
}

extern "C" Q_DECL_EXPORT QualityChartViews*
mirelCreateQualityCharts(QWidget* parent, const QualityChartViews::Handlers* handlers)
{
    return new QualityCharts(parent, *handlers);
}
