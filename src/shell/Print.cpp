// The stations' print routine and the download of templates stored with cards and items.
#include "shell/Print.h"

#include "config/ProgramFolder.h"
#include "db/DbError.h"
#include "report/LabelReport.h"
#include "report/ReportError.h"
#include "report/frmBillPrintPreview.h"
#include "shell/Database.h"
#include "shell/Journal.h"
#include "shell/JournalLabel.h"
#include "shell/MessageBox.h"
#include "shell/SysUtil.h"

#include <QDir>
#include <QFile>

using namespace Qt::StringLiterals;

void fetchPrintTemplates(qint64 fkid, const QString& fileType)
{
    // Every step may fail on its own (no table, a locked file): the card lookup goes on anyway.
    Recordset rs;
    try {
        rs = Database::conn().execute(
            u"select  fileName,billFile from  billFiles where fileType='"_s + fileType +
            u"' AND right(filename,4)='.grf' AND  fkid = "_s + QString::number(fkid));
    } catch (const DbError&) {
        return;
    }
    const QString folder = ProgramFolder::file(u"\\打印\\唛头\\"_s);
    QDir().mkpath(folder);
    const QString app = ProgramFolder::executableName();
    int n = 0;
    int row = 0;
    QStringList refused;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
        ++row;
        QString name;
        try {
            // "小唛.GRF" is stored as "小唛.grf": the stations look a template up by its name and
            // ".grf", and the folder may be on a file system that tells the two apart.
            const QString fileName = rs.text(u"fileName"_s);
            // A name with a folder in it would write over another station's templates, or
            // anywhere the program may write.
            if (const QString problem = ProgramFolder::fileNameProblem(fileName); !problem.isEmpty()) {
                refused << u"billFiles 第%1行（fileType=%2，fkid=%3）“%4”：%5"_s.arg(row)
                               .arg(fileType)
                               .arg(fkid)
                               .arg(fileName, problem);
                continue;
            }
            name = fileName.left(fileName.size() - 4);
            QFile f(QDir(folder).filePath(name + u".grf"_s));
            if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
                f.write(rs.field(u"billFile"_s).toBytes());
        } catch (const DbError&) {
            continue;
        }
        ++n;
        SysUtil::saveSetting(app, u"PrintTemplate"_s, n == 1 ? u"checkMaitou"_s : u"check2"_s,
                             name);
    }
    if (!refused.isEmpty())
        MessageBox::show(u"以下模板的文件名不能用，没有写入：\n"_s + refused.join(u'\n'),
                         MessageBox::Critical);
}

void fetchBillTemplates(qint64 billId)
{
    fetchPrintTemplates(billId, u"Bill"_s);
}

namespace {

// A label filled from the database while it does not answer would come out with empty fields.
void requireDatabase()
{
    try {
        Database::conn().execute(u"select 1"_s);
    } catch (const DbError& e) {
        if (Journal::isOffline(e))
            throw ReportError(u"数据库离线，标签要从数据库取数，没有打印；数据库连上后再打印"_s);
    }
}

// Loads and fills the report; returns false when it went to the print pool instead.
bool prepare(LabelReport& report, const QString& path, const QVariant& id)
{
    report.load(path);
    report.setParameter(u"单据ID"_s, id);
    // A label of a record saved offline is filled from the record's own rows and says so.
    JournalLabelRows* offline = JournalLabelRows::active();
    report.setParameter(u"离线"_s, offline ? u"离线"_s : QString());
    report.setConnectionString(offline ? offline->connection().connectionString()
                                       : Database::connectionSetting());
    report.setSharedConnection(offline ? &offline->connection() : &Database::conn());
    if (!offline && !report.reportTemplate().query.trimmed().isEmpty())
        requireDatabase();
    const QString printer = report.parameterText(u"默认打印机"_s);
    if (report.hasParameter(u"默认打印机"_s) && !printer.isEmpty()) {
        // The print server takes its jobs from the database: offline the label prints here.
        if (printer.trimmed() != PrintPool::serverName())
            report.setPrinterName(printer);
        else if (!offline) {
            PrintPool::queueReport(report);
            return false;
        }
    }
    return true;
}

} // namespace

bool printLabel(const QString& templatePath, const QVariant& id, bool preview, int copies,
                const QString& errorText)
{
    try {
        LabelReport report;
        if (!prepare(report, templatePath, id))
            return true;
        if (preview) {
            frmBillPrintPreview::setErrorHandler(
                [errorText](const QString& m) { MessageBox::critical(errorText + m); });
            frmBillPrintPreview::Report(report, templatePath);
            frmBillPrintPreview::setErrorHandler({});
        } else {
            report.setCopies(copies);
            report.print();
        }
        return true;
    } catch (const ReportError& e) {
        MessageBox::critical(errorText + e.message());
    } catch (const DbError& e) {
        MessageBox::critical(errorText + e.message());
    }
    return false;
}

bool printMarkLabel(const QString& name, qint64 billId, bool preview, int copies)
{
    return printLabel(ProgramFolder::file(u"\\打印\\唛头\\"_s + name + u".grf"_s), double(billId),
                      preview, copies, u"PrintBill发生错误"_s);
}
