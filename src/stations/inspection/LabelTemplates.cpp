// The label templates of the label folder and the choice of a roll's template by its grade.
#include "stations/inspection/LabelTemplates.h"

#include "config/ProgramFolder.h"

#include <QDir>
#include <QFileInfo>

namespace CheckLabels {

QString templateFile(const QString& name)
{
    return ProgramFolder::file(QStringLiteral("\\打印\\唛头\\") + name + QStringLiteral(".grf"));
}

bool templateExists(const QString& name)
{
    return QFileInfo::exists(templateFile(name));
}

QStringList templateNames()
{
    QStringList names;
    const QDir folder(ProgramFolder::file(QStringLiteral("\\打印\\唛头")));
    if (folder.exists()) {
        const QStringList files =
            folder.entryList({QStringLiteral("*.grf")}, QDir::Files, QDir::Name | QDir::IgnoreCase);
        for (const QString& f : files)
            names << f.section(u'.', 0, 0);
    }
    return names << QStringLiteral("bill");
}

QString rollTemplate(const QString& grade, const QString& remembered)
{
    return !grade.isEmpty() && templateExists(grade) ? grade : remembered;
}

} // namespace CheckLabels
