// The label templates of the station: the files of the label folder (打印\唛头), the template
// menu's names, and the template a roll of a grade is printed with.
#pragma once

#include <QString>
#include <QStringList>

namespace CheckLabels {

/// The template file of a name in the label folder.
QString templateFile(const QString& name);
/// True when the label folder holds that template.
bool templateExists(const QString& name);
/// The template menu: the folder's templates by name, then "bill".
QStringList templateNames();
/// The roll label of a grade: the grade's own template when the folder holds one (a seconds
/// label says so in large print), else the remembered choice.
QString rollTemplate(const QString& grade, const QString& remembered);

} // namespace CheckLabels
