// The report object the stations print labels with: a loaded template, its parameters, the
// database its detail query runs on, and where it goes (printer, PDF file, JSON text, viewer).
#pragma once

#include "report/FilledReport.h"
#include "report/ReportTemplate.h"

#include <QImage>
#include <QString>
#include <QVariant>
#include <optional>

class Connection;
class QPainter;
class QPrinter;

class LabelReport {
public:
    LabelReport() = default;

    /// Loads a .grf template. Throws ReportError for a missing or malformed file.
    void load(const QString& path);
    /// Loads a template from its text (templates kept in the database, tests).
    void loadText(const QString& text, const QString& name = QString());
    const ReportTemplate& reportTemplate() const { return m_template; }
    /// The file given to load(); empty after loadText().
    const QString& templatePath() const { return m_path; }

    /// True when the template declares the parameter (letter case ignored).
    bool hasParameter(const QString& name) const;
    /// Sets a parameter by name to a number or a text. A number parameter given a text takes the
    /// text's leading number; a name the template does not declare is kept and can be used in
    /// expressions and the query all the same.
    void setParameter(const QString& name, const QVariant& value);
    /// The parameter's text ("" for an unknown name), its default until it is set.
    QString parameterText(const QString& name) const;
    /// All parameters with their current values, in the template's order.
    QList<QPair<QString, QVariant>> parameters() const;

    /// The connection string the detail query runs on (as given to Connection::open).
    void setConnectionString(const QString& connectionString);
    const QString& connectionString() const { return m_connectionString; }
    /// A connection that is already open (the station's shared one): when it was opened with the
    /// same connection string, the detail query runs on it instead of on a connection of its own.
    void setSharedConnection(Connection* connection) { m_shared = connection; }

    /// "" = the default printer; a name ending in ".pdf" = a PDF file of that path.
    void setPrinterName(const QString& name);
    const QString& printerName() const { return m_printerName; }
    void setCopies(int copies);
    int copies() const { return m_copies; }

    /// Runs the detail query and fills the pages (cached until a parameter or the connection
    /// changes). Problems are collected in the result, never thrown.
    const FilledReport& fill();
    /// Drops the filled pages so the next use runs the query again.
    void refresh() { m_filled.reset(); }
    int pageCount() { return int(fill().pages.size()); }

    /// Prints every page, copies times, without a dialog, on the printer named by printerName().
    /// Throws ReportError when nothing could be printed (unknown printer, unwritable PDF, no
    /// data, a printer that did not finish within PrintJob::timeoutMs()) and, after printing
    /// what it could, when some boxes or the query had problems.
    void print();
    /// Prints onto a printer that is already set up (the viewer's print button).
    void printOn(QPrinter& printer);
    /// Draws one page onto a painter on a page-sized device (printer, PDF writer, image).
    void paintPage(QPainter& painter, int page);
    /// One page as an image at dpi dots per inch (white background). Throws ReportError for a
    /// page that does not exist.
    QImage renderImage(int page, double dpi);

    /// The filled report as a JSON document: parameters, detail rows and the text of every box
    /// on every page (the print-pool content).
    QByteArray exportJson();
    /// Writes exportJson() to a file (export type 2: text). Throws ReportError when it cannot.
    void exportText(const QString& fileName, int exportType = 2);

    /// Problems of the last fill and paint, one line each.
    QStringList problems() const;

private:
    void throwProblems(const QString& prefix) const;

    ReportTemplate m_template;
    QString m_path;
    QList<QPair<QString, QVariant>> m_params;
    QString m_connectionString;
    Connection* m_shared = nullptr;
    QString m_printerName;
    int m_copies = 1;
    std::optional<FilledReport> m_filled;
    QStringList m_paintProblems;
};
