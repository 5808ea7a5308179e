// The quality overview's charts on Qt Charts. A touched bar is reported through the window's
// handlers, so that the window can narrow the other views to it.
#pragma once

#include "stations/quality/QualityChartViews.h"

#include <QObject>

class QChart;
class QChartView;

class QualityCharts : public QObject, public QualityChartViews {
public:
    /// Creates the chart views as children of parent.
    QualityCharts(QWidget* parent, const Handlers& handlers);

    QWidget* view(Chart chart) const override;
    void show(const QualityData::Overview& o, const QualityData::Grades& limits) override;
    void setFontPoints(double points) override;
    void render(Chart chart, QPainter& p, const QRectF& target) override;

protected:
    /// Left and right arrows on a chart touch the bar before or after the touched one (the
    /// first or last when none is), Esc drops it.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QList<QChartView*> chartViews() const { return {m_pareto, m_grades, m_points}; }
    void showPareto(const QualityData::Overview& o);
    void showGrades(const QualityData::Overview& o);
    void showPoints(const QualityData::Overview& o, const QualityData::Grades& limits);
    QChart* fresh(QChartView* view, const QString& title);
    void step(QChartView* view, int direction);

    Handlers m_handlers;
    QChartView* m_pareto = nullptr;
    QChartView* m_grades = nullptr;
    QChartView* m_points = nullptr;
    QStringList m_paretoNames;
    QList<QDate> m_days;
    QString m_touchedDefect;
    QDate m_touchedDay;
    QString m_touchedGrade;
    double m_fontPoints = 9;
};
