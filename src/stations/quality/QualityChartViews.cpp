// Loads the charts module when the quality overview opens.
#include "stations/quality/QualityChartViews.h"

#include "module/ModuleFile.h"

QualityChartViews* loadQualityCharts(QWidget* parent, const QualityChartViews::Handlers& handlers,
                                     QString* why)
{
    const QString path = module::path(QStringLiteral("libmirel_charts.so"), "MIREL_CHARTS_MODULE");
    QString reason;
    const auto create = reinterpret_cast<CreateQualityChartsEntry>(
        module::entry(path, createQualityChartsEntryName, &reason));
    if (!create) {
        *why = path + QStringLiteral("：") + reason;
        return nullptr;
    }
    return create(parent, &handlers);
}
