// The three charts of the quality overview: the defect Pareto (bars and the cumulative line),
// rolls per grade and day (stacked bars) and points per 100 m² per day with the grade limits as
// lines. A touched bar is reported, so that the window can narrow the other views to it.
#pragma once

#include "stations/quality/QualityData.h"

#include <QObject>

class QBarSet;
class QChart;
class QChartView;
class QWidget;

class QualityCharts : public QObject {
    Q_OBJECT
public:
    /// Creates the chart views as children of parent (named chartPareto, chartGrades, chartPoints).
    explicit QualityCharts(QWidget* parent);

    QChartView* pareto() const { return m_pareto; }
    QChartView* grades() const { return m_grades; }
    QChartView* points() const { return m_points; }
    QList<QChartView*> views() const { return {m_pareto, m_grades, m_points}; }

    /// Shows the overview; the touched defect, day and grade of its filter are marked.
    /// limits: the grade names and limits of the `grade` setting.
    void show(const QualityData::Overview& o, const QualityData::Grades& limits);
    /// Type sizes for the window's scale (design points).
    void setFontPoints(double points);

    /// At most this many defect names get a bar of their own; the rest are one bar "其他".
    static constexpr int ParetoBars = 10;
    /// Title of each chart, as on the screen and the report's pages.
    static QString paretoTitle();
    static QString gradesTitle();
    /// With a touched defect the points are those of that defect, and the title says so.
    static QString pointsTitle(const QString& defect = QString());

protected:
    /// Left and right arrows on a chart touch the bar before or after the touched one (the
    /// first or last when none is), Esc drops it.
    bool eventFilter(QObject* watched, QEvent* event) override;

signals:
    void defectTouched(const QString& defect);
    void dayTouched(const QDate& day, const QString& grade);
    /// Esc on a chart.
    void touchDropped();

private:
    void showPareto(const QualityData::Overview& o);
    void showGrades(const QualityData::Overview& o);
    void showPoints(const QualityData::Overview& o, const QualityData::Grades& limits);
    QChart* fresh(QChartView* view, const QString& title);

    QChartView* m_pareto = nullptr;
    QChartView* m_grades = nullptr;
    QChartView* m_points = nullptr;
    void step(QChartView* view, int direction);

    QStringList m_paretoNames;
    QList<QDate> m_days;
    QString m_touchedDefect;
    QDate m_touchedDay;
    QString m_touchedGrade;
    double m_fontPoints = 9;
};
