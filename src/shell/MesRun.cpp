// Times go to config.ini, the count to mirel.ini, so a scheduler's last run can be seen there.
#include "shell/MesRun.h"

#include "shell/SysUtil.h"
#include "text/Vb.h"

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
    SysUtil::writeIni(QStringLiteral("MES"), QStringLiteral("开始同步时间"), timeOfDay(),
                      QStringLiteral("/config.ini"));
    QString count;
    if (!import(startDate(), &count, error))
        return false;
    SysUtil::writeIni(QStringLiteral("MES"), QStringLiteral("同步记录数"), count,
                      QStringLiteral("/mirel.ini"));
    SysUtil::writeIni(QStringLiteral("MES"), QStringLiteral("完成同步时间"), timeOfDay(),
                      QStringLiteral("/config.ini"));
    return true;
}

} // namespace MesRun
