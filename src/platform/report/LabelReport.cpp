// The report object: parameters, the detail query, and printing to printers, PDF files and images.
#include "report/LabelReport.h"

#include "db/Connection.h"
#include "report/PrintJob.h"
#include "report/ReportError.h"
#include "report/ReportExpression.h"
#include "text/Vb.h"

#include <QFileInfo>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>

using namespace Qt::StringLiterals;

void LabelReport::load(const QString& path)
{
    m_template = GrfFormat::load(path);
    m_path = path;
    m_params.clear();
    m_filled.reset();
}

void LabelReport::loadText(const QString& text, const QString& name)
{
    m_template = GrfFormat::parse(text, name);
    m_path.clear();
    m_params.clear();
    m_filled.reset();
}

bool LabelReport::hasParameter(const QString& name) const
{
    return m_template.parameter(name) != nullptr;
}

void LabelReport::setParameter(const QString& name, const QVariant& value)
{
    const ReportParameter* declared = m_template.parameter(name);
    QVariant v = value;
    if (declared && declared->type == ReportParameter::Number && v.typeId() == QMetaType::QString)
        v = vb::Val(v.toString());
    else if (declared && declared->type == ReportParameter::Text)
        v = ReportExpression::text(v);
    const QString key = declared ? declared->name : name;
    for (auto& [k, old] : m_params) {
        if (k.compare(key, Qt::CaseInsensitive) == 0) {
            old = v;
            m_filled.reset();
            return;
        }
    }
    m_params.append({key, v});
    m_filled.reset();
}

QList<QPair<QString, QVariant>> LabelReport::parameters() const
{
    QList<QPair<QString, QVariant>> out;
    for (const ReportParameter& p : m_template.parameters) {
        QVariant v = p.type == ReportParameter::Number ? QVariant(vb::Val(p.defaultValue))
                                                       : QVariant(p.defaultValue);
        for (const auto& [k, value] : m_params) {
            if (k.compare(p.name, Qt::CaseInsensitive) == 0)
                v = value;
        }
        out.append({p.name, v});
    }
    for (const auto& [k, value] : m_params) {
        if (!m_template.parameter(k))
            out.append({k, value});
    }
    return out;
}

QString LabelReport::parameterText(const QString& name) const
{
    for (const auto& [k, value] : parameters()) {
        if (k.compare(name, Qt::CaseInsensitive) == 0)
            return ReportExpression::text(value);
    }
    return QString();
}

void LabelReport::setConnectionString(const QString& connectionString)
{
    m_connectionString = connectionString;
    m_filled.reset();
}

void LabelReport::setPrinterName(const QString& name)
{
    m_printerName = name;
}

void LabelReport::setCopies(int copies)
{
    m_copies = qMax(1, copies);
}

const FilledReport& LabelReport::fill()
{
    if (m_filled)
        return *m_filled;
    const auto params = parameters();
    QStringList columns;
    QList<QList<DbValue>> rows;
    QString queryProblem;
    QStringList expandProblems;
    // Opening a second SQL Server connection per label would cost more than the label: the
    // station's own connection is used when it is the same database, and one of our own is
    // opened at most once.
    Connection own;
    const auto database = [&]() -> Connection& {
        if (m_connectionString.isEmpty())
            throw DbError(u"没有设置明细数据的连接串"_s);
        if (m_shared && m_shared->isOpen() && m_shared->connectionString() == m_connectionString)
            return *m_shared;
        if (!own.isOpen())
            own.open(m_connectionString);
        return own;
    };
    const ReportRenderer::QueryRunner runQuery = [&](const QString& sql, QString* problem) {
        try {
            return database().query(sql).rows();
        } catch (const DbError& e) {
            *problem = e.message();
            return QList<QList<DbValue>>();
        }
    };
    if (!m_template.query.trimmed().isEmpty()) {
        const ReportExpression::Lookup lookup = [&](const QString& n,
                                                    bool) -> std::optional<QVariant> {
            for (const auto& [k, v] : params) {
                if (k.compare(n, Qt::CaseInsensitive) == 0)
                    return v;
            }
            return std::nullopt;
        };
        const QString sql =
            ReportExpression::expandQuery(m_template.query, lookup, &expandProblems);
        try {
            const Recordset rs = database().query(sql);
            columns = rs.columns();
            rows = rs.rows();
        } catch (const DbError& e) {
            queryProblem = u"明细查询失败：%1"_s.arg(e.message());
        }
    }
    m_filled = ReportRenderer::fill(m_template, params, columns, rows, queryProblem,
                                    m_path.isEmpty() ? QString() : QFileInfo(m_path).absolutePath(),
                                    runQuery);
    m_filled->problems = expandProblems + m_filled->problems;
    m_paintProblems.clear();
    return *m_filled;
}

QStringList LabelReport::problems() const
{
    QStringList all = m_filled ? m_filled->problems : QStringList();
    all += m_paintProblems;
    all.removeDuplicates();
    return all;
}

void LabelReport::throwProblems(const QString& prefix) const
{
    const QStringList p = problems();
    if (!p.isEmpty())
        throw ReportError(prefix + p.join(u'\n'));
}

void LabelReport::paintPage(QPainter& painter, int page)
{
    const FilledReport& f = fill();
    if (page < 0 || page >= f.pages.size())
        throw ReportError(u"没有第 %1 页"_s.arg(page + 1));
    QStringList drawProblems;
    ReportRenderer::paintPage(painter, m_template, f.pages[page], &drawProblems);
    for (const QString& p : drawProblems) {
        if (!m_paintProblems.contains(p))
            m_paintProblems.append(p);
    }
}

QImage LabelReport::renderImage(int page, double dpi)
{
    const QSizeF mm = m_template.pageSize;
    QImage img(qRound(mm.width() * dpi / 25.4), qRound(mm.height() * dpi / 25.4),
               QImage::Format_RGB32);
    img.setDotsPerMeterX(qRound(dpi / 0.0254));
    img.setDotsPerMeterY(qRound(dpi / 0.0254));
    img.fill(Qt::white);
    QPainter painter(&img);
    paintPage(painter, page);
    return img;
}

void LabelReport::printOn(QPrinter& printer)
{
    QPainter painter;
    PrintJob::begin(painter, printer, m_template);
    for (int i = 0; i < pageCount(); ++i) {
        if (i > 0)
            printer.newPage();
        paintPage(painter, i);
    }
    painter.end();
}

void LabelReport::print()
{
    const FilledReport& f = fill();
    if (f.pages.isEmpty())
        throw ReportError(problems().join(u'\n'));
    // On a thread of its own, bounded in time: a printer that does not answer is an error.
    PrintJob::run(m_template, f.pages, m_printerName, m_copies, &m_paintProblems);
    throwProblems(u"标签已打印，但有以下问题：\n"_s);
}
