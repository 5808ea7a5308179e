// The import the unattended run uses until the loom-event import is built into the shell.
#include "shell/MesRun.h"

namespace MesRun {

Import defaultImport()
{
    return [](const QString&, QString*, QString* error) {
        if (error)
            *error = QStringLiteral("MES导入尚未安装");
        return false;
    };
}

} // namespace MesRun
