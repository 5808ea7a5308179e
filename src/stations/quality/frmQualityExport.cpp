// The quality overview on paper and in a spreadsheet: a PDF report (the figures and tables on
// the first page, one page per chart, each page titled) and the tables as an .xlsx workbook.
#include "stations/quality/frmQuality.h"

#include "sheet/SheetFile.h"
#include "shell/MessageBox.h"
#include "stations/quality/QualityCharts.h"
#include "stations/quality/QualityText.h"

#include <QChart>
#include <QChartView>
#include <QDir>
#include <QFileInfo>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QLabel>
#include <QPainter>
#include <QPdfWriter>

namespace {

// Draws a table of texts from top; returns the y below it.
int drawTable(QPainter& p, int left, int top, int width, const QStringList& header,
              const QList<QStringList>& rows)
{
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
    drawRow(header, top, true);
    int y = top + line;
    for (const QStringList& r : rows) {
        drawRow(r, y, false);
        y += line;
    }
    return y + line;
}

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

// The chart laid out at a page's proportions (the window may be hidden or small), drawn as
// vectors, and given back its size on the screen.
void drawChart(QPainter& p, QChart* chart, const QRectF& target)
{
    const QSizeF onScreen = chart->size();
    const QSizeF page(760, 760 * target.height() / target.width());
    chart->resize(page);
    chart->layout()->activate();
    chart->scene()->render(&p, target, QRectF(chart->pos(), page), Qt::KeepAspectRatio);
    chart->resize(onScreen);
    chart->layout()->activate();
}

QString defaultFile(const QString& suffix)
{
    return QDir::home().filePath(QStringLiteral("质量总览-") +
                                 QDate::currentDate().toString(QStringLiteral("yyyyMMdd")) +
                                 suffix);
}

} // namespace

bool frmQuality::exportPdf(QString path)
{
    if (path.isEmpty())
        path = MessageBox::saveFileName(QStringLiteral("导出PDF"), QStringLiteral("PDF (*.pdf)"),
                                        defaultFile(QStringLiteral(".pdf")), this);
    if (path.isEmpty())
        return false;
    const QString cannot = QStringLiteral("无法写入文件：") + path;
    if (!QFileInfo(QFileInfo(path).absolutePath()).isWritable()) {
        MessageBox::show(cannot, MessageBox::Critical, MessageBox::Ok, QString(), this);
        return false;
    }
    QPdfWriter pdf(path);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageOrientation(QPageLayout::Landscape);
    pdf.setResolution(150);
    pdf.setTitle(QStringLiteral("质量总览"));
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

    int y = drawTitle(p, page, QStringLiteral("质量总览"), filterText);
    QList<QStringList> figureRows;
    for (const QualityText::Figure& f :
         QualityText::figures(m_overview.now, m_overview.before, m_overview.filter.defect))
        figureRows << QStringList{f.caption, f.now, f.before, f.change};
    y = drawTable(p, page.left(), y, page.width() / 2,
                  {QStringLiteral("指标"), QStringLiteral("本期"), QStringLiteral("上期"),
                   QStringLiteral("变化")},
                  figureRows);
    for (bool inspector : {false, true}) {
        QList<QStringList> rows;
        for (const QualityData::Group& g : inspector ? m_overview.inspectors : m_overview.machines)
            rows << QualityText::groupRow(g, inspector);
        y = drawTable(p, page.left(), y, page.width(),
                      QualityText::groupHeader(inspector, m_overview.filter.defect), rows);
    }

    const QList<std::pair<QString, QChartView*>> chartPages = {
        {QualityCharts::paretoTitle(), m_charts->pareto()},
        {QualityCharts::gradesTitle(), m_charts->grades()},
        {QualityCharts::pointsTitle(m_overview.filter.defect), m_charts->points()}};
    for (const auto& [title, view] : chartPages) {
        pdf.newPage();
        const int top = drawTitle(p, page, title, filterText);
        drawChart(p, view->chart(), QRectF(page.left(), top, page.width(), page.bottom() - top));
    }
    if (!p.end()) {
        MessageBox::show(cannot, MessageBox::Critical, MessageBox::Ok, QString(), this);
        return false;
    }
    lab_status->setText(QStringLiteral("已导出：") + path);
    return true;
}

bool frmQuality::exportXlsx(QString path)
{
    if (path.isEmpty())
        path =
            MessageBox::saveFileName(QStringLiteral("导出Excel"), QStringLiteral("Excel (*.xlsx)"),
                                     defaultFile(QStringLiteral(".xlsx")), this);
    if (path.isEmpty())
        return false;
    // Numbers go in as numbers, so that the quality office can go on calculating with them.
    auto number = [](std::optional<double> v) { return v ? QVariant(*v) : QVariant(); };
    sheet::SheetTable figures{
        {QStringLiteral("指标"), QStringLiteral("本期"), QStringLiteral("上期")}, {}};
    const QualityData::Totals& n = m_overview.now;
    const QualityData::Totals& b = m_overview.before;
    figures.rows << QVariantList{QStringLiteral("卷数"), n.rolls, b.rolls}
                 << QVariantList{QStringLiteral("米数"), n.metres, b.metres}
                 << QVariantList{QStringLiteral("一等品率"), number(n.firstShare()),
                                 number(b.firstShare())}
                 << QVariantList{QStringLiteral("百平米扣分"), number(n.pointsPer100m2()),
                                 number(b.pointsPer100m2())}
                 << QVariantList{QStringLiteral("百米疵点"), number(n.defectsPer100m()),
                                 number(b.defectsPer100m())};
    sheet::SheetTable pareto{{QStringLiteral("疵点"), QStringLiteral("个数"),
                              QStringLiteral("扣分"), QStringLiteral("累计")},
                             {}};
    for (const QualityData::ParetoRow& r : m_overview.pareto)
        pareto.rows << QVariantList{r.defect, r.defects, r.points, r.cumulative};
    QList<sheet::NamedSheet> tables{{QStringLiteral("汇总"), figures},
                                    {QStringLiteral("疵点"), pareto}};
    for (bool inspector : {false, true}) {
        sheet::SheetTable t{QualityText::groupHeader(inspector, m_overview.filter.defect), {}};
        for (const QualityData::Group& g :
             inspector ? m_overview.inspectors : m_overview.machines) {
            QVariantList row{g.key};
            if (inspector)
                row << g.name;
            row << g.totals.rolls << g.totals.metres << number(g.totals.firstShare())
                << number(g.totals.pointsPer100m2()) << number(g.totals.defectsPer100m());
            t.rows << row;
        }
        tables << sheet::NamedSheet(inspector ? QStringLiteral("验布员") : QStringLiteral("机台"),
                                    t);
    }
    QString error;
    if (!sheet::writeXlsx(path, tables, &error)) {
        MessageBox::show(error, MessageBox::Critical, MessageBox::Ok, QString(), this);
        return false;
    }
    lab_status->setText(QStringLiteral("已导出：") + path);
    return true;
}
