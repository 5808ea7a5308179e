// Printing labels from templates: downloading the templates stored with a card or item, the
// mark-label print routine with its print-server queue, and the print routine the stations share.
#pragma once

#include <QString>
#include <QVariant>

class LabelReport;

/// Writes every template stored in billFiles for (fileType, fkid) into the program folder's
/// "打印/唛头", each file holding exactly the stored bytes; remembers the first one's name as the
/// per-user "checkMaitou" template and the later ones' as "check2". A stored name that is no
/// plain file name (ProgramFolder::fileNameProblem) is not written and named in a message; every
/// other failing step is skipped silently.
void fetchPrintTemplates(qint64 fkid, const QString& fileType);

/// fetchPrintTemplates(billId, "Bill").
void fetchBillTemplates(qint64 billId);

/// Prints the template "打印/唛头/<name>.grf" for a bill or roll id: directly with copies, in
/// the preview, or, when its "默认打印机" parameter says "打印服务器", as a print-pool row.
/// Errors show "PrintBill发生错误" and the description, and give false.
bool printMarkLabel(const QString& name, qint64 billId, bool preview, int copies);

/// The print routine behind printMarkLabel and the stations' PrintBill/PrintBag: loads the
/// template file, sets "单据ID" to id (a number, or a text such as a box number), connects the
/// detail query to the station's database and prints, previews or queues as printMarkLabel
/// does. On any error shows errorText followed by the description (critical icon) and returns
/// false.
bool printLabel(const QString& templatePath, const QVariant& id, bool preview, int copies,
                const QString& errorText);

namespace PrintPool {

/// The print-server name a template's "默认打印机" may hold.
QString serverName();

/// The statement that queues one job: columns pid, PrintType, Content, printfrom, createtime.
QString insertSql(const QString& pid, const QString& printType, const QString& content,
                  const QString& printFrom, const QString& createTime);

/// Exports the filled report as text to "c:\json.txt", reads the file back and adds a
/// "喷码打印" row to printpool on the shared connection with mirel.ini [MIREL] "PRINT_NO" and
/// "menchineId" (default "001" each). Throws ReportError or DbError.
void queueReport(LabelReport& report);

} // namespace PrintPool
