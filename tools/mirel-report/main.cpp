// mirel-report: renders a label template with parameters to PDF, PNG, the JSON text export or a
// printer, through the same engine the stations print with. For template authors and tests.
#include "report/LabelReport.h"
#include "report/ReportError.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

void err(const QString& text)
{
    std::fputs(text.toUtf8().constData(), stderr);
    std::fputc('\n', stderr);
}

// Page 1 goes to the given name, later pages to name-2.png, name-3.png, …
QString pageFile(const QString& path, int page)
{
    if (page == 0)
        return path;
    const QFileInfo fi(path);
    return fi.path() + u'/' + fi.completeBaseName() + u"-%1."_s.arg(page + 1) + fi.suffix();
}

void addOptions(QCommandLineParser& p)
{
    p.setApplicationDescription(u"Renders a .grf label template."_s);
    p.addHelpOption();
    p.addPositionalArgument(u"template"_s, u"The .grf template file."_s);
    p.addOptions({
        {u"home"_s, u"Program folder (images, default database)."_s, u"dir"_s},
        {u"connection"_s, u"Connection string of the detail query."_s, u"string"_s},
        {u"param"_s, u"Parameter value, repeatable."_s, u"name=value"_s},
        {u"pdf"_s, u"Write a PDF file."_s, u"file"_s},
        {u"png"_s, u"Write PNG images (one per page)."_s, u"file"_s},
        {u"dpi"_s, u"Resolution of PNG images (default 300)."_s, u"dpi"_s, u"300"_s},
        {u"text"_s, u"Write the JSON text export."_s, u"file"_s},
        {u"printer"_s, u"Print on a printer ('' = default printer)."_s, u"name"_s},
        {u"copies"_s, u"Copies when printing."_s, u"n"_s, u"1"_s},
    });
}

int render(LabelReport& report, const QCommandLineParser& p)
{
    if (p.isSet(u"pdf"_s)) {
        report.setPrinterName(p.value(u"pdf"_s));
        report.print();
    } else if (p.isSet(u"png"_s)) {
        const int pages = report.pageCount();
        if (pages == 0)
            throw ReportError(report.problems().join(u'\n'));
        for (int i = 0; i < pages; ++i) {
            const QString file = pageFile(p.value(u"png"_s), i);
            if (!report.renderImage(i, p.value(u"dpi"_s).toDouble()).save(file, "PNG"))
                throw ReportError(u"无法写入图片：%1"_s.arg(file));
            std::puts(file.toUtf8().constData());
        }
        if (!report.problems().isEmpty())
            throw ReportError(report.problems().join(u'\n'));
    } else if (p.isSet(u"text"_s)) {
        report.exportText(p.value(u"text"_s), 2);
        if (!report.problems().isEmpty())
            throw ReportError(report.problems().join(u'\n'));
    } else {
        report.setPrinterName(p.value(u"printer"_s));
        report.setCopies(p.value(u"copies"_s).toInt());
        report.print();
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCommandLineParser p;
    addOptions(p);
    p.process(app);
    const int outputs = int(p.isSet(u"pdf"_s)) + int(p.isSet(u"png"_s)) + int(p.isSet(u"text"_s)) +
                        int(p.isSet(u"printer"_s));
    if (p.positionalArguments().size() != 1 || outputs != 1) {
        err(u"usage: mirel-report TEMPLATE.grf [--home DIR] [--connection STRING] "
            "[--param NAME=VALUE]... (--pdf OUT | --png OUT | --text OUT | --printer NAME "
            "[--copies N])"_s);
        return 2;
    }
    if (p.isSet(u"home"_s))
        qputenv("MIREL_HOME", p.value(u"home"_s).toUtf8());
    LabelReport report;
    try {
        report.load(p.positionalArguments().first());
    } catch (const ReportError& e) {
        err(e.message());
        return 2;
    }
    report.setConnectionString(p.isSet(u"connection"_s) ? p.value(u"connection"_s) : u"缺省"_s);
    for (const QString& kv : p.values(u"param"_s)) {
        const qsizetype eq = kv.indexOf(u'=');
        if (eq <= 0) {
            err(u"--param needs NAME=VALUE: %1"_s.arg(kv));
            return 2;
        }
        report.setParameter(kv.left(eq), kv.mid(eq + 1));
    }
    try {
        return render(report, p);
    } catch (const ReportError& e) {
        err(e.message());
        return 1;
    }
}
