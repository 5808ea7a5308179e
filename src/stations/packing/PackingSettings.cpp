#include "stations/packing/PackingSettings.h"

#include "config/IniFile.h"
#include "config/MirelIni.h"
#include "config/ProgramFolder.h"
#include "text/Vb.h"

using namespace Qt::StringLiterals;

bool PackingSettings::flag(const QString& text)
{
    return text.trimmed().compare(u"true"_s, Qt::CaseInsensitive) == 0 || vb::Val(text) != 0;
}

PackingSettings PackingSettings::read()
{
    const IniFile ini(ProgramFolder::file(u"/mirel.ini"_s));
    const auto option = [&ini](const QString& key) { return ini.read(u"打包"_s, key, u"0"_s); };
    // The check boxes take the option's number.
    const auto ticked = [&option](const QString& key) { return vb::Val(option(key)) != 0; };
    PackingSettings s;
    s.saveCheck = flag(option(u"isSaveCheck"_s));
    s.markPrint = flag(option(u"唛头打印"_s));
    s.packing = option(u"是否要打包"_s);
    s.isChen = ticked(u"isChen"_s);
    s.autoAdd = ticked(u"autoAdd"_s);
    s.maitouAutoPrint = ticked(u"MaitouAutoPrint"_s);
    s.pdaAutoPrint = ticked(u"PDAautoPrint"_s);
    s.autoClear = ticked(u"autoClear"_s);
    s.autoSave = ticked(u"autoSave"_s);
    s.isPrintreview = ticked(u"isPrintreview"_s);
    s.billCodeValid = ticked(u"billCodeValid"_s);
    s.machineId = readMirel(u"menchineId"_s, s.machineId);
    s.dispFormat = readMirel(u"dispFormat"_s, s.dispFormat);
    return s;
}
