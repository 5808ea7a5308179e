// basThumbs profile routines on the shared ini reader.
#include "shell/Profile.h"

#include "config/IniFile.h"
#include "config/ProgramFolder.h"

using namespace Qt::StringLiterals;

namespace basThumbs {

QString profileFile(const QString& fileName)
{
    if (!fileName.isEmpty())
        return fileName;
    static const QString file =
        ProgramFolder::file(u'/' + ProgramFolder::executableName() + u".ini"_s);
    return file;
}

QString readProfile(const QString& section, const QString& key, const QString& def,
                    const QString& fileName)
{
    // The old routine read into a 2048-character buffer.
    return IniFile(profileFile(fileName)).read(section, key, def).left(2047);
}

bool writeProfile(const QString& section, const QString& key, const QString& value,
                  const QString& fileName)
{
    const IniFile ini(profileFile(fileName));
    if (key.isEmpty())
        return ini.removeSection(section);
    if (value.isEmpty())
        return ini.removeKey(section, key);
    return ini.write(section, key, value);
}

} // namespace basThumbs
