// Times go to config.ini, the count to mirel.ini (installed: to their state files), so a
// scheduler's last run can be seen there.
#include "shell/MesRun.h"

#include "shell/SysUtil.h"
#include "text/Vb.h"

#include <QStringList>
#include <QTime>

namespace MesRun {

namespace {

QString timeOfDay() { return QTime::currentTime().toString(QStringLiteral("HH:mm:ss")); }

} // namespace

QString startDate(const QDate& today)
{
    const double days = vb::Val(SysUtil::readIni(QStringLiteral("MES"), QStringLiteral("SynDays"),
                                                 QStringLiteral("-10"), QStringLiteral("/mirel.ini")));
    return today.addDays(qint64(vb::Fix(days))).toString(QStringLiteral("yyyy-MM-dd"));
}

bool run(const Import& import, QString* error)
{
    // The loom events matter more than the record of the run: the import runs even when the
    // times cannot be kept, and the run fails afterwards with the reason.
    QStringList unrecorded;
    const auto record = [&](const QString& key, const QString& value, const QString& file) {
        QString why;
        if (!SysUtil::writeIni(QStringLiteral("MES"), key, value, file, &why))
            unrecorded << QStringLiteral("不能记录%1（%2）：%3").arg(key, file.mid(1), why);
    };
    record(QStringLiteral("开始同步时间"), timeOfDay(), QStringLiteral("/config.ini"));
    QString count;
    if (!import(startDate(), &count, error)) {
        if (error && !unrecorded.isEmpty())
            *error += u'\n' + unrecorded.join(u'\n');
        return false;
    }
    record(QStringLiteral("同步记录数"), count, QStringLiteral("/mirel.ini"));
    record(QStringLiteral("完成同步时间"), timeOfDay(), QStringLiteral("/config.ini"));
    if (!unrecorded.isEmpty() && error)
        *error = unrecorded.join(u'\n');
    return unrecorded.isEmpty();
}

} // namespace MesRun
