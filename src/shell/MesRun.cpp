// Times go to config.ini, the count to mirel.ini (installed: to their state files), so a
// scheduler's last run can be seen there.
#include "shell/MesRun.h"

#include "shell/SysUtil.h"
#include "text/Vb.h"

#include <QStringList>
#include <QTime>

using namespace Qt::StringLiterals;

namespace MesRun {

namespace {

QString timeOfDay()
{
    return QTime::currentTime().toString(u"HH:mm:ss"_s);
}

} // namespace

QString startDate(const QDate& today)
{
    const double days =
        vb::Val(SysUtil::readIni(u"MES"_s, u"SynDays"_s, u"-10"_s, u"/mirel.ini"_s));
    return today.addDays(qint64(vb::Fix(days))).toString(u"yyyy-MM-dd"_s);
}

bool run(const Import& import, QString* error)
{
    // The loom events matter more than the record of the run: the import runs even when the
    // times cannot be kept, and the run fails afterwards with the reason.
    QStringList unrecorded;
    const auto record = [&](const QString& key, const QString& value, const QString& file) {
        QString why;
        if (!SysUtil::writeIni(u"MES"_s, key, value, file, &why))
            unrecorded << u"不能记录%1（%2）：%3"_s.arg(key, file.mid(1), why);
    };
    record(u"开始同步时间"_s, timeOfDay(), u"/config.ini"_s);
    QString count;
    if (!import(startDate(), &count, error)) {
        if (error && !unrecorded.isEmpty())
            *error += u'\n' + unrecorded.join(u'\n');
        return false;
    }
    record(u"同步记录数"_s, count, u"/mirel.ini"_s);
    record(u"完成同步时间"_s, timeOfDay(), u"/config.ini"_s);
    if (!unrecorded.isEmpty() && error)
        *error = unrecorded.join(u'\n');
    return unrecorded.isEmpty();
}

} // namespace MesRun
