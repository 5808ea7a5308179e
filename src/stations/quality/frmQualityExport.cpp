// The quality overview on paper and in a spreadsheet: a PDF report (the figures and tables on
// the first page, one page per chart, each page titled) and the tables as an .xlsx workbook.
#include "stations/quality/frmQuality.h"

#include "sheet/SheetFile.h"
#include "shell/MessageBox.h"
#include "stations/quality/QualityChartViews.h"
#include "stations/quality/QualityText.h"
#include "stations/quality/QualityWorkbook.h"
#include "time/Clock.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPainter>
#include <QPdfWriter>

using namespace Qt::StringLiterals;

namespace {

// The title of a page and the filter below it; returns the y below both.
int drawTitle(QPainter& p, const QRect& page, const QString& title, const QString& filter)
{
    QFont f = p.font();
    f.setPointSizeF(18);
    f.setBold(true);
    p.setFont(f);
    const int titleHeight = p.fontMetrics().height();
    p.drawText(QRect(page.left(), page.top(), page.width(), titleHeight), Qt::AlignLeft, title);
    f.setPointSizeF(10);
    f.setBold(false);
    p.setFont(f);
    const int filterTop = page.top() + titleHeight + titleHeight / 4;
    p.drawText(QRect(page.left(), filterTop, page.width(), p.fontMetrics().height()), Qt::AlignLeft,
               filter);
    return filterTop + 2 * p.fontMetrics().height();
}

// The report's pages: each starts with the report's title and filter.
struct Pages {
    QPdfWriter& pdf;
    QPainter& p;
    QRect page;
    QString filter;
    /// A new page with its title; the y below the title.
    int next();
};

int Pages::next()
{
    pdf.newPage();
    return drawTitle(p, page, u"质量总览"_s, filter);
}

// Draws a table of texts from top; a table that reaches the bottom of the page goes on on the
// next, below its header again. Returns the y below it.
int drawTable(Pages& pages, int top, int width, const QStringList& header,
              const QList<QStringList>& rows)
{
    QPainter& p = pages.p;
    const int left = pages.page.left();
    const int line = p.fontMetrics().height() * 3 / 2;
    const int columns = int(std::max<qsizetype>(header.size(), 1));
    const int cell = width / columns;
    auto drawRow = [&](const QStringList& cells, int y, bool bold) {
        QFont f = p.font();
        f.setBold(bold);
        p.setFont(f);
        for (int c = 0; c < cells.size(); ++c)
            p.drawText(QRect(left + c * cell, y, cell, line), Qt::AlignLeft | Qt::AlignVCenter,
                       cells[c]);
        p.drawLine(left, y + line, left + width, y + line);
    };
    int y = top;
    // A header alone at the foot of a page is no use: it goes with its first row.
    if (y + 2 * line > pages.page.bottom())
        y = pages.next();
    drawRow(header, y, true);
    y += line;
    for (const QStringList& r : rows) {
        if (y + line > pages.page.bottom()) {
            y = pages.next();
            drawRow(header, y, true);
            y += line;
        }
        drawRow(r, y, false);
        y += line;
    }
    return y + line;
}

// The chart laid out at a page's proportions (the window may be hidden or small), drawn as
// vectors, and given back its size on the screen.
QString defaultFile(const QString& suffix)
{
    return QDir::home().filePath(u"质量总览-"_s + Clock::today().toString(u"yyyyMMdd"_s) + suffix);
}

} // namespace

bool frmQuality::exportPdf(QString path)
{
    if (path.isEmpty())
        path =
            MessageBox::saveFileName(u"导出PDF"_s, u"PDF (*.pdf)"_s, defaultFile(u".pdf"_s), this);
    if (path.isEmpty())
        return false;
    const QString cannot = u"无法写入文件："_s + path;
    if (!QFileInfo(QFileInfo(path).absolutePath()).isWritable()) {
        MessageBox::show(cannot, MessageBox::Critical, MessageBox::Ok, QString(), this);
        return false;
    }
    QPdfWriter pdf(path);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageOrientation(QPageLayout::Landscape);
    pdf.setResolution(150);
    pdf.setTitle(u"质量总览"_s);
    QPainter p;
    if (!p.begin(&pdf)) {
        MessageBox::show(cannot, MessageBox::Critical, MessageBox::Ok, QString(), this);
        return false;
    }
    const QRect page =
        pdf.pageLayout()
            .paintRectPixels(pdf.resolution())
            .translated(-pdf.pageLayout().paintRectPixels(pdf.resolution()).topLeft());
    const QString filterText = QualityText::filterText(m_overview.filter);
    Pages pages{pdf, p, page, filterText};

    int y = drawTitle(p, page, u"质量总览"_s, filterText);
    QList<QStringList> figureRows;
    for (const QualityText::Figure& f :
         QualityText::figures(m_overview.now, m_overview.before, m_overview.filter.defect))
        figureRows << QStringList{f.caption, f.now, f.before, f.change};
    y = drawTable(pages, y, page.width() / 2, {u"指标"_s, u"本期"_s, u"上期"_s, u"变化"_s},
                  figureRows);
    for (bool inspector : {false, true}) {
        QList<QStringList> rows;
        for (const QualityData::Group& g : inspector ? m_overview.inspectors : m_overview.machines)
            rows << QualityText::groupRow(g, inspector);
        y = drawTable(pages, y, page.width(),
                      QualityText::groupHeader(inspector, m_overview.filter.defect), rows);
    }

    const QList<std::pair<QString, QualityChartViews::Chart>> chartPages = {
        {QualityChartViews::paretoTitle(), QualityChartViews::Pareto},
        {QualityChartViews::gradesTitle(), QualityChartViews::Grades},
        {QualityChartViews::pointsTitle(m_overview.filter.defect), QualityChartViews::Points}};
    for (const auto& [title, chart] : chartPages) {
        if (!m_charts)
            break;
        pdf.newPage();
        const int top = drawTitle(p, page, title, filterText);
        m_charts->render(chart, p, QRectF(page.left(), top, page.width(), page.bottom() - top));
    }
    if (!p.end()) {
        MessageBox::show(cannot, MessageBox::Critical, MessageBox::Ok, QString(), this);
        return false;
    }
    lab_status->setText(u"已导出："_s + path);
    return true;
}

bool frmQuality::exportXlsx(QString path)
{
    if (path.isEmpty())
        path = MessageBox::saveFileName(u"导出Excel"_s, u"Excel (*.xlsx)"_s,
                                        defaultFile(u".xlsx"_s), this);
    if (path.isEmpty())
        return false;
    const QList<sheet::NamedSheet> tables =
        QualityWorkbook::sheets(m_overview, Clock::now());
    QString error;
    if (!sheet::writeXlsx(path, tables, &error)) {
        MessageBox::show(error, MessageBox::Critical, MessageBox::Ok, QString(), this);
        return false;
    }
    lab_status->setText(u"已导出："_s + path);
    return true;
}
