// Program start: one running copy, the lookup cache, the station word, one station window or the
// unattended MES run.
#pragma once

#include <QStringList>

class QWidget;
struct StationChoice;

namespace Startup {

/// Creates the chosen station's window, prepared for the choice (MES mode …). A station that is
/// not installed in this build says so ("此工作站尚未安装") and gives no window.
QWidget* openStation(const StationChoice& choice);

/// The whole command-line text after the program name, as one string.
QString commandLineText(const QStringList& arguments);

/// Loads Qt's own Simplified Chinese texts (qtbase_zh_CN), so that the buttons of input boxes and
/// file choosers read as every other text of the stations. False when they are not installed.
bool installQtTranslations();

/// Runs the program and returns the process exit code: 0 normally, 1 when the unattended MES run
/// fails, 2 when another copy is running.
int run(int argc, char** argv);

} // namespace Startup
