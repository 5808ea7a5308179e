// Loads the charts module when the quality overview opens.
#include "stations/quality/QualityChartViews.h"

#include "module/ModuleFile.h"

using namespace Qt::StringLiterals;

QualityChartViews* loadQualityCharts(QWidget* parent, const QualityChartViews::Handlers& handlers,
                                     QString* why)
{
    const QString path = module::path(u"libmirel_charts.so"_s, "MIREL_CHARTS_MODULE");
    QString reason;
    const auto create = reinterpret_cast<CreateQualityChartsEntry>(
        module::entry(path, createQualityChartsEntryName, &reason));
    if (!create) {
        *why = path + u"："_s + reason;
        return nullptr;
    }
    return create(parent, &handlers);
}
