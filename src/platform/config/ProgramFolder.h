// Where the program's own files live: ini files, label templates, pictures.
#pragma once

#include <QString>

namespace ProgramFolder {

/// The folders of a program whose executable lies in a given folder.
struct Layout {
    QString config; ///< the ini files
    QString data;   ///< everything else: embedded database, templates, pictures, exports, journals
};

/// The layout for an executable in `executableDir`. A program installed from the package
/// (`<root>/usr/bin` beside a folder `<root>/etc/mirel`) keeps its ini files in `<root>/etc/mirel`
/// and the rest in `<root>/var/lib/mirel`; any other executable (a build tree, a copied folder)
/// keeps everything in its own folder. No trailing separators.
Layout layoutFor(const QString& executableDir);

/// The program folder: $MIREL_HOME when set, else the executable's layout's data folder (the
/// executable's folder for a build). No trailing separator.
QString path();

/// The folder of the ini files: $MIREL_HOME when set, else the executable's layout's config folder.
QString configPath();

/// A file named the way the stations name it, relative to the program folder: "/config.ini",
/// "\\打印\\唛头\\" or "打印/箱唛". Backslashes become the platform separator. A top-level ini
/// file ("/mirel.ini") lies in configPath(), everything else in path().
QString file(const QString& relative);

/// Where the program records its own values of an ini file of the config folder (run times,
/// window places, the settings a station saves): in the package's layout the admin's /etc/mirel
/// is never written, the values go to <data folder>/state/<file name> and override the ini's
/// values of the same keys. Empty for a build tree or $MIREL_HOME (one folder for both) and for
/// a file outside the config folder.
QString stateFileFor(const QString& iniPath);

/// A Windows absolute path used by the stations ("c:\\json.txt", "C:\\orvex.bmp"): unchanged on
/// Windows; elsewhere <program folder>/c/<rest of the path>.
QString systemPath(const QString& windowsPath);

/// Why a file name from the database ("小唛.grf") is no plain file name: a folder part ("/", "\\",
/// ".."), a drive or root ("c:"), control characters. Empty when it is one, which keeps a file
/// written under that name in the folder it is written to.
QString fileNameProblem(const QString& name);

/// The executable's base name without extension ("mirel").
QString executableName();

} // namespace ProgramFolder
