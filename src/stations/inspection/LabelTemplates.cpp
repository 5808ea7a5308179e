// The label templates of the label folder and the choice of a roll's template by its grade.
#include "stations/inspection/LabelTemplates.h"

#include "config/ProgramFolder.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace CheckLabels {

QString templateFile(const QString& name)
{
    return ProgramFolder::file(u"\\打印\\唛头\\"_s + name + u".grf"_s);
}

bool templateExists(const QString& name)
{
    return QFileInfo::exists(templateFile(name));
}

QStringList templateNames()
{
    QStringList names;
    const QDir folder(ProgramFolder::file(u"\\打印\\唛头"_s));
    if (folder.exists()) {
        const QStringList files =
            folder.entryList({u"*.grf"_s}, QDir::Files, QDir::Name | QDir::IgnoreCase);
        for (const QString& f : files)
            names << f.section(u'.', 0, 0);
    }
    return names << u"bill"_s;
}

QString rollTemplate(const QString& grade, const QString& remembered)
{
    return !grade.isEmpty() && templateExists(grade) ? grade : remembered;
}

} // namespace CheckLabels
