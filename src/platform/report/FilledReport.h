// A template filled with its parameters and detail rows: the pages with the final text of every
// box, ready to be drawn, exported or previewed.
#pragma once

#include "db/DbValue.h"
#include "report/Barcode.h"
#include "report/ReportTemplate.h"
#include "report/RollMap.h"

#include <functional>

#include <QList>
#include <QStringList>

class QPainter;

struct FilledBox {
    ReportBox box;        ///< the template box, with rect moved to its place on the page
    QString text;         ///< text box: the text; barcode: the encoded data; image: the file
    BarcodeSymbol symbol; ///< barcode boxes
    RollMapData map;      ///< roll map boxes (text: the caption beside the bar)
};

struct FilledPage {
    QList<FilledBox> boxes;
};

struct FilledReport {
    QStringList columns;
    QList<QList<DbValue>> rows;
    QList<FilledPage> pages;
    QStringList problems; ///< everything that could not be filled or drawn, one line each
};

namespace ReportRenderer {

/// Parameter values by name (letter case ignored), in the template's order.
using Parameters = QList<QPair<QString, QVariant>>;

/// Runs a box's own query (a roll map's defects) on the label's database. A failure is
/// reported in *problem and gives no rows.
using QueryRunner = std::function<QList<QList<DbValue>>(const QString& sql, QString* problem)>;

/// Builds the pages: one label per detail row, or, with a band, pages of band rows under the
/// page boxes (filled from the first row). Without a query there is one label. queryProblem is
/// the error of a failed detail query: the label is then filled from the parameters only.
/// A roll map's points are the field 扣分 of the other boxes of its page (unless the row has
/// one); its query runs through runQuery.
FilledReport fill(const ReportTemplate& t, const Parameters& params, const QStringList& columns,
                  const QList<QList<DbValue>>& rows, const QString& queryProblem,
                  const QString& templateFolder, const QueryRunner& runQuery = {});

/// Draws one page onto a painter whose device is a page of the template's size (printer, PDF
/// writer or image); coordinates follow the device's resolution. Problems met while drawing (a
/// missing image, a barcode too wide for its box) are appended to problems.
void paintPage(QPainter& painter, const ReportTemplate& t, const FilledPage& page,
               QStringList* problems = nullptr);

} // namespace ReportRenderer
