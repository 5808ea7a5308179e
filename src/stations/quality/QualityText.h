// The quality overview's figures as the quality office reads them: value, the range before and
// the change, the same on the screen, in the PDF report and in the spreadsheet.
#pragma once

#include "stations/quality/QualityData.h"

#include <QList>
#include <QString>
#include <QStringList>

using namespace Qt::StringLiterals;

namespace QualityText {

/// The figures of the overview in their order (the window's figure boxes follow it).
enum FigureIndex : int { Rolls = 0, Metres = 1, FirstShare = 2, PointsPer100m2 = 3, DefectsPer100m = 4 };

/// One figure of the overview.
struct Figure {
    QString caption; ///< "卷数", "米数", "一等品率", "百平米扣分", "百米疵点"
    QString now;     ///< "—" when the range has nothing to measure
    QString before;
    QString change; ///< "+12.5%", "+1.3个百分点", "+0.40"; "—" when there is nothing to compare
    /// +1 when the change is good for the mill, -1 when bad, 0 when neither or unknown.
    int verdict = 0;
    // The same as numbers with the spreadsheet formats that show them as above, for the workbook.
    std::optional<double> nowValue;
    std::optional<double> beforeValue;
    std::optional<double> changeValue;
    QString format;       ///< of now and before: "0", "0.0", "0.0%", "0.00"
    QString changeFormat; ///< of the change: "+0.0%;-0.0%;0.0%" …
};

/// The spreadsheet format of a number with this many decimals ("0", "0.0", "0.00"), and of a
/// share in percent with one decimal.
QString numberFormat(int decimals);
QString percentFormat();

/// The five figures of now against before. With a touched defect the points and defects are
/// those of that defect, and their captions say so.
QList<Figure> figures(const QualityData::Totals& now, const QualityData::Totals& before,
                      const QString& defect = QString());

/// A caption of points or defects, followed by the touched defect they count: "百米疵点（破洞）".
inline QString counted(const QString& caption, const QString& defect)
{
    return defect.isEmpty() ? caption : caption + u"（"_s + defect + u"）"_s;
}

/// Captions of the per-machine and per-inspector tables.
QStringList groupHeader(bool inspector, const QString& defect = QString());
/// One table row: key (and name), rolls, metres, first-grade share, points per 100 m², defects
/// per 100 m.
QStringList groupRow(const QualityData::Group& g, bool inspector);

/// "2026-12-01 至 2026-12-07" and the narrowings in words, for titles.
QString filterText(const QualitySql::Filter& f);
/// "2026-12-01 至 2026-12-07" alone.
QString rangeText(const QualitySql::Filter& f);
/// The narrowings alone ("机台：001  疵点：破洞"), "无" without any.
QString narrowingText(const QualitySql::Filter& f);

} // namespace QualityText
