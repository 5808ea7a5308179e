// The print thread: everything it draws is its own copy, so that a print abandoned after the
// time-out can finish later without touching the caller's objects.
#include "report/PrintJob.h"

#include "report/ReportError.h"

#include <QCoreApplication>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

int g_timeoutMs = 10000;

struct Job {
    ReportTemplate tpl;
    QList<FilledPage> pages;
    QString printerName;
    QPrinterInfo info;
    int copies = 1;
    // Written by the print thread before done is set.
    QStringList problems;
    QString error;
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
};

// Print threads still running, a print given up on after its time-out included. The application
// waits for them as it ends (up to ExitWaitMs), so that none finishes - destroying its printer and
// pages - while Qt's own objects are already being destroyed. One that ends even later keeps its
// job here undestroyed. Threads that ended are joined (at the next print and at the end), so that
// their teardown - Qt's per-thread data of the pages they drew - is over before the process is.
constexpr int ExitWaitMs = 10000;
struct Running {
    std::mutex mutex;
    std::condition_variable ended;
    int count = 0;
    bool waitAtExit = false;
    bool gaveUp = false;
    std::vector<std::shared_ptr<Job>> kept;
    std::vector<std::thread> threads;
    std::vector<std::thread::id> endedIds; // threads past their last step, not joined yet
};

Running& running()
{
    static auto* r = new Running; // never destroyed: a print thread may outlive the statics
    return *r;
}

// Joins the threads that ended; joining waits only for a thread's own teardown.
void joinEnded(Running& r, std::unique_lock<std::mutex>& lock)
{
    std::vector<std::thread> ended;
    for (auto t = r.threads.begin(); t != r.threads.end();) {
        const auto id = std::find(r.endedIds.begin(), r.endedIds.end(), t->get_id());
        if (id == r.endedIds.end()) {
            ++t;
            continue;
        }
        r.endedIds.erase(id);
        ended.push_back(std::move(*t));
        t = r.threads.erase(t);
    }
    lock.unlock();
    for (std::thread& t : ended)
        t.join();
    lock.lock();
}

void waitForPrints()
{
    Running& r = running();
    std::unique_lock lock(r.mutex);
    r.ended.wait_for(lock, std::chrono::milliseconds(ExitWaitMs), [&r] { return r.count == 0; });
    r.gaveUp = true;
    joinEnded(r, lock);
    for (std::thread& t : r.threads)
        t.detach(); // a printer still not done: its thread ends on its own
    r.threads.clear();
}

QPageSize pageSizeOf(const ReportTemplate& t)
{
    return QPageSize(t.pageSize, QPageSize::Millimeter, t.name, QPageSize::ExactMatch);
}

// Pages drawn passes times onto a device whose painter has begun.
void drawPages(Job& job, QPainter& painter, const std::function<void()>& newPage, int passes)
{
    for (int copy = 0; copy < passes; ++copy) {
        for (qsizetype i = 0; i < job.pages.size(); ++i) {
            if (copy > 0 || i > 0)
                newPage();
            ReportRenderer::paintPage(painter, job.tpl, job.pages[i], &job.problems);
        }
    }
    painter.end();
}

void printPdf(Job& job)
{
    QPdfWriter writer(job.printerName);
    writer.setResolution(1200);
    writer.setPageSize(pageSizeOf(job.tpl));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setTitle(job.tpl.name);
    writer.setCreator(u"mirel"_s);
    QPainter painter;
    if (!painter.begin(&writer))
        throw ReportError(u"无法写入 PDF 文件：%1"_s.arg(job.printerName));
    drawPages(
        job, painter, [&writer] { writer.newPage(); }, job.copies);
}

void printPrinter(Job& job)
{
    QPrinter printer(job.info, QPrinter::HighResolution);
    printer.setCopyCount(job.copies);
    printer.setDocName(job.tpl.name);
    QPainter painter;
    PrintJob::begin(painter, printer, job.tpl);
    drawPages(
        job, painter, [&printer] { printer.newPage(); }, 1);
}

} // namespace

namespace PrintJob {

void begin(QPainter& painter, QPrinter& printer, const ReportTemplate& t)
{
    printer.setFullPage(true);
    printer.setPageSize(pageSizeOf(t));
    printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    if (!painter.begin(&printer))
        throw ReportError(u"打印机无法开始打印：%1"_s.arg(printer.printerName()));
}

int timeoutMs()
{
    return g_timeoutMs;
}
void setTimeoutMs(int ms)
{
    g_timeoutMs = ms;
}

void run(const ReportTemplate& t, const QList<FilledPage>& pages, const QString& printerName,
         int copies, QStringList* problems)
{
    auto job = std::make_shared<Job>();
    job->tpl = t;
    job->pages = pages;
    job->printerName = printerName;
    job->copies = copies;
    const bool pdf = printerName.endsWith(u".pdf"_s, Qt::CaseInsensitive);
    if (!pdf) {
        // An unknown name is an error: the label must not come out of some other printer.
        job->info = printerName.isEmpty() ? QPrinterInfo::defaultPrinter()
                                          : QPrinterInfo::printerInfo(printerName);
        if (job->info.isNull())
            throw ReportError(printerName.isEmpty() ? u"没有默认打印机"_s
                                                    : u"找不到打印机：%1"_s.arg(printerName));
    }
    {
        Running& r = running();
        const std::lock_guard lock(r.mutex);
        if (!r.waitAtExit && QCoreApplication::instance()) {
            qAddPostRoutine(waitForPrints);
            r.waitAtExit = true;
        }
        ++r.count;
    }
    std::thread worker([job, pdf]() mutable {
        try {
            pdf ? printPdf(*job) : printPrinter(*job);
        } catch (const ReportError& e) {
            job->error = e.message();
        }
        {
            const std::lock_guard lock(job->mutex);
            job->done = true;
            job->finished.notify_all();
        }
        Running& r = running();
        const std::lock_guard lock(r.mutex);
        if (r.gaveUp)
            r.kept.push_back(job);
        job.reset(); // the last owner when the caller gave up on it
        --r.count;
        r.endedIds.push_back(std::this_thread::get_id());
        r.ended.notify_all();
    });
    {
        Running& r = running();
        std::unique_lock lock(r.mutex);
        joinEnded(r, lock);
        r.threads.push_back(std::move(worker));
    }
    std::unique_lock lock(job->mutex);
    if (!job->finished.wait_for(lock, std::chrono::milliseconds(g_timeoutMs),
                                [&job] { return job->done; }))
        throw ReportError(
            u"打印机没有应答（%1 秒内没有打完）：%2"_s.arg(g_timeoutMs / 1000.0)
                .arg(pdf || !printerName.isEmpty() ? printerName : job->info.printerName()));
    if (problems)
        for (const QString& p : std::as_const(job->problems))
            if (!problems->contains(p))
                problems->append(p);
    if (!job->error.isEmpty())
        throw ReportError(job->error);
}

} // namespace PrintJob
