// Print-server jobs: a label whose template names the print server is exported as text and
// queued in printpool for the machine that prints it.
#include "shell/Print.h"

#include "config/ProgramFolder.h"
#include "db/SqlText.h"
#include "report/LabelReport.h"
#include "report/ReportError.h"
#include "shell/Database.h"
#include "shell/SysUtil.h"
#include "time/Clock.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

QString PrintPool::serverName()
{
    return u"打印服务器"_s;
}

QString PrintPool::insertSql(const QString& pid, const QString& printType, const QString& content,
                             const QString& printFrom, const QString& createTime)
{
    return u"insert into printpool (pid,PrintType,Content,printfrom,createtime) values ("_s +
           SqlText::quoted(pid) + u","_s + SqlText::quoted(printType) + u","_s +
           SqlText::quoted(content) + u","_s + SqlText::quoted(printFrom) + u","_s +
           SqlText::quoted(createTime) + u")"_s;
}

void PrintPool::queueReport(LabelReport& report)
{
    // The print server reads the job from the exported file's text, as the old engine wrote it.
    const QString file = ProgramFolder::systemPath(u"c:\\json.txt"_s);
    QDir().mkpath(QFileInfo(file).absolutePath());
    report.exportText(file, 2);
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        throw ReportError(u"无法读取导出文件：%1（%2）"_s.arg(file, f.errorString()));
    const QString content = QString::fromUtf8(f.readAll());
    const QString pid = SysUtil::readIni(u"MIREL"_s, u"PRINT_NO"_s, u"001"_s, u"/mirel.ini"_s);
    const QString from = SysUtil::readIni(u"MIREL"_s, u"menchineId"_s, u"001"_s, u"/mirel.ini"_s);
    Database::conn().execute(insertSql(pid, u"喷码打印"_s, content, from, Clock::nowText()));
}
