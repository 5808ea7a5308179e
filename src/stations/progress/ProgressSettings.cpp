#include "stations/progress/ProgressSettings.h"

#include "config/IniFile.h"
#include "config/MirelIni.h"
#include "config/ProgramFolder.h"
#include "text/Vb.h"

using namespace Qt::StringLiterals;

QString ProgressSettings::presets(const QString& key) const
{
    if (key == u"工号")
        return workerPresets;
    if (key == u"长度")
        return lengthPresets;
    return QString();
}

ProgressSettings ProgressSettings::read()
{
    ProgressSettings s;
    s.projects = readMirel(u"Projects"_s, QString());
    s.orderInGroup = readMirel(u"OrderInGroup"_s, u"false"_s) == u"true";
    s.allowRepeat = vb::Val(readMirel(u"keyPolicy"_s, u"0"_s)) != 0;
    s.keypadOnFocus = readMirel(u"KeyBoardValidate"_s, u"false"_s) != u"false";
    s.machineId = readMirel(u"menchineId"_s, s.machineId);
    s.workerPresets = readMirel(u"工号"_s, QString());
    s.lengthPresets = readMirel(u"长度"_s, QString());
    s.rfidReader = readMes(u"RFID"_s, u"1"_s) == u"0";
    return s;
}

QString ProgressSettings::shiftOf(const QString& workerName)
{
    return IniFile(ProgramFolder::file(u"/班别.ini"_s)).read(u"MIREL"_s, workerName, QString());
}
