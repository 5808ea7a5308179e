// Where the program's own files live: ini files, label templates, pictures.
#pragma once

#include <QString>

namespace ProgramFolder {

/// The program folder: $MIREL_HOME when set, else the executable's folder. No trailing separator.
QString path();

/// A file named the way the stations name it, relative to the program folder: "/config.ini",
/// "\\打印\\唛头\\" or "打印/箱唛". Backslashes become the platform separator.
QString file(const QString& relative);

/// A Windows absolute path used by the stations ("c:\\json.txt", "C:\\orvex.bmp"): unchanged on
/// Windows; elsewhere <program folder>/c/<rest of the path>.
QString systemPath(const QString& windowsPath);

/// The executable's base name without extension ("mirel").
QString executableName();

} // namespace ProgramFolder
