// The label viewer window around Qt's print preview widget.
#include "report/frmBillPrintPreview.h"

#include "config/ProgramFolder.h"
#include "report/LabelReport.h"
#include "report/ReportError.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QIcon>
#include <QPageSize>
#include <QPainter>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {
int g_shown = 0;
QString g_lastTemplate;
std::function<void(const QString&)> g_errorHandler;

bool unattended()
{
    return qEnvironmentVariable("MIREL_NONINTERACTIVE") == u"1"_s ||
           !qobject_cast<QApplication*>(QCoreApplication::instance());
}
} // namespace

frmBillPrintPreview::frmBillPrintPreview(QWidget* parent)
    : QDialog(parent), m_printer(new QPrinter(QPrinter::HighResolution))
{
    setObjectName(u"frmBillPrintPreview"_s);
    setWindowTitle(u"打印预览"_s);
    m_viewer = new QPrintPreviewWidget(m_printer, this);
    m_viewer->setObjectName(u"GRPrintViewer1"_s);
    connect(m_viewer, &QPrintPreviewWidget::paintRequested, this,
            &frmBillPrintPreview::paintReport);
    m_toolBar = new QToolBar(this);
    buildToolBar();
    // The viewer fills the window whatever its size: the layout keeps it that way.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_toolBar);
    layout->addWidget(m_viewer, 1);
    resize(900, 700);
}

frmBillPrintPreview::~frmBillPrintPreview()
{
    delete m_viewer;
    delete m_printer;
}

void frmBillPrintPreview::buildToolBar()
{
    auto add = [this](const QString& text, auto slot) {
        QAction* a = m_toolBar->addAction(text);
        a->setObjectName(text);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    add(u"打印"_s, &frmBillPrintPreview::printReport);
    m_toolBar->addSeparator();
    add(u"放大"_s, [this] { m_viewer->zoomIn(); });
    add(u"缩小"_s, [this] { m_viewer->zoomOut(); });
    add(u"适合宽度"_s, [this] { m_viewer->fitToWidth(); });
    add(u"整页"_s, [this] { m_viewer->fitInView(); });
    add(u"上一页"_s, [this] { m_viewer->setCurrentPage(m_viewer->currentPage() - 1); });
    add(u"下一页"_s, [this] { m_viewer->setCurrentPage(m_viewer->currentPage() + 1); });
    m_toolBar->addSeparator();
    m_edit = add(u"修改模版文件"_s, &frmBillPrintPreview::editTemplate);
    const QString icon = ProgramFolder::file(u"mod.bmp"_s);
    if (QFileInfo::exists(icon))
        m_edit->setIcon(QIcon(icon));
    m_edit->setProperty("buttonIndex", 1);
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    add(u"关闭"_s, &QDialog::accept);
}

void frmBillPrintPreview::setReport(LabelReport* report, const QString& path)
{
    m_report = report;
    m_path = path;
    m_printer->setFullPage(true);
    const ReportTemplate& t = report->reportTemplate();
    m_printer->setPageSize(
        QPageSize(t.pageSize, QPageSize::Millimeter, t.name, QPageSize::ExactMatch));
    m_printer->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    setWindowTitle(u"打印预览 - %1"_s.arg(t.name));
    m_viewer->updatePreview();
}

void frmBillPrintPreview::paintReport(QPrinter* printer)
{
    m_painted = 0;
    if (!m_report)
        return;
    QPainter painter(printer);
    const int pages = m_report->pageCount();
    for (int i = 0; i < pages; ++i) {
        if (i > 0)
            printer->newPage();
        m_report->paintPage(painter, i);
        ++m_painted;
    }
}

void frmBillPrintPreview::editTemplate()
{
    if (m_path.isEmpty() || unattended())
        return;
#ifdef Q_OS_WIN
    QProcess::startDetached(u"cmd"_s, {u"/c"_s, u"call"_s, m_path});
#else
    QDesktopServices::openUrl(QUrl::fromLocalFile(m_path));
#endif
}

void frmBillPrintPreview::printReport()
{
    if (!m_report)
        return;
    try {
        m_report->print();
    } catch (const ReportError& e) {
        if (g_errorHandler)
            g_errorHandler(e.message());
        else
            qWarning("%s", e.what());
    }
}

void frmBillPrintPreview::Report(LabelReport& report, const QString& path)
{
    frmBillPrintPreview form;
    form.setReport(&report, path);
    ++g_shown;
    g_lastTemplate = path;
    if (unattended()) {
        form.show();
        QCoreApplication::processEvents();
        form.close();
        return;
    }
    form.setWindowState(Qt::WindowMaximized);
    form.exec();
}

int frmBillPrintPreview::shownCount()
{
    return g_shown;
}

QString frmBillPrintPreview::lastShownTemplate()
{
    return g_lastTemplate;
}

void frmBillPrintPreview::setErrorHandler(std::function<void(const QString&)> handler)
{
    g_errorHandler = std::move(handler);
}
