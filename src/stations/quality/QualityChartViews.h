// The quality overview's three charts as the window sees them: the defect Pareto (bars and the
// cumulative line), rolls per grade and day (stacked bars) and points per 100 m² per day with the
// grade limits as lines. They are drawn with Qt Charts, which with OpenGL behind it lives in a
// module of its own (libmirel_charts.so) loaded when the overview opens: no other station loads
// and relocates it at its start.
#pragma once

#include "stations/quality/QualityData.h"
#include "stations/quality/QualityText.h"

#include <QDate>
#include <QList>
#include <QString>

#include <functional>

using namespace Qt::StringLiterals;

class QPainter;
class QRectF;
class QWidget;

class QualityChartViews {
public:
    /// What a touched bar (or a key on a chart) asks of the window.
    struct Handlers {
        std::function<void(const QString& defect)> defectTouched;
        std::function<void(const QDate& day, const QString& grade)> dayTouched;
        std::function<void()> touchDropped;
    };
    enum Chart { Pareto, Grades, Points };

    virtual ~QualityChartViews() = default;
    /// A chart's view, a child of the window (named chartPareto, chartGrades, chartPoints).
    virtual QWidget* view(Chart chart) const = 0;
    QWidget* pareto() const { return view(Pareto); }
    QWidget* grades() const { return view(Grades); }
    QWidget* points() const { return view(Points); }
    QList<QWidget*> views() const { return {view(Pareto), view(Grades), view(Points)}; }

    /// Shows the overview; the touched defect, day and grade of its filter are marked.
    /// limits: the grade names and limits of the `grade` setting.
    virtual void show(const QualityData::Overview& o, const QualityData::Grades& limits) = 0;
    /// Type sizes for the window's scale (design points).
    virtual void setFontPoints(double points) = 0;
    /// Draws a chart onto a report page: laid out for the page's proportions, then put back.
    virtual void render(Chart chart, QPainter& p, const QRectF& target) = 0;

    /// At most this many defect names get a bar of their own; the rest are one bar "其他".
    static constexpr int ParetoBars = 10;
    /// Title of each chart, as on the screen and the report's pages.
    static QString paretoTitle() { return u"疵点排列图"_s; }
    static QString gradesTitle() { return u"每日等级"_s; }
    /// With a touched defect the points are those of that defect, and the title says so.
    static QString pointsTitle(const QString& defect = QString())
    {
        return QualityText::counted(u"每日百平米扣分"_s, defect);
    }
};

/// The module's entry: the charts on parent (they live as long as parent does).
using CreateQualityChartsEntry =
    QualityChartViews* (*)(QWidget* parent, const QualityChartViews::Handlers* handlers);
inline constexpr char createQualityChartsEntryName[] = "mirelCreateQualityCharts";

/// Loads the module on first use and creates the charts on parent; nullptr with the reason when
/// the module cannot be loaded (the window then shows the reason where the charts would be).
QualityChartViews* loadQualityCharts(QWidget* parent, const QualityChartViews::Handlers& handlers,
                                     QString* why);
