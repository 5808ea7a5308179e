// The one reader of the stations' mirel.ini options.
#include "config/MirelIni.h"

#include "config/IniFile.h"
#include "config/ProgramFolder.h"

using namespace Qt::StringLiterals;

namespace {

QString read(const QString& section, const QString& key, const QString& def)
{
    return IniFile(ProgramFolder::file(u"/mirel.ini"_s)).read(section, key, def);
}

} // namespace

QString readMirel(const QString& key, const QString& def)
{
    return read(u"MIREL"_s, key, def);
}

QString readMes(const QString& key, const QString& def)
{
    return read(u"MES"_s, key, def);
}
