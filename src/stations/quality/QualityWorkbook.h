// The quality overview as a workbook: the figures with the ranges they are of, the defect Pareto,
// machines and inspectors, numbers as numbers in the formats the screen shows them in. The window
// saves it, the office's web view hands it out.
#pragma once

#include "sheet/SheetFile.h"
#include "stations/quality/QualityData.h"

#include <QDateTime>
#include <QList>

namespace QualityWorkbook {

/// The sheets "汇总", "疵点", "机台", "验布员" of the overview; exported: the time written on it.
QList<sheet::NamedSheet> sheets(const QualityData::Overview& o, const QDateTime& exported);

} // namespace QualityWorkbook
