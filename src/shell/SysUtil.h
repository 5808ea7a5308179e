// The shared utility operations every station uses: ini files of the program folder, per-user
// settings, comma lists and the stored positions of a form's controls.
#pragma once

#include <QString>

class Connection;
class QAbstractButton;
class QWidget;

namespace SysUtil {

/// Value of key in section of fileName ("/config.ini", "/mirel.ini", "/kanban.ini", "/班别.ini",
/// relative to the program folder), or def when the file, section or key is missing.
QString readIni(const QString& section, const QString& key, const QString& def,
                const QString& fileName);

/// Stores the value, creating file, section or key; false with error when the file is not writable.
bool writeIni(const QString& section, const QString& key, const QString& value,
              const QString& fileName, QString* error = nullptr);

/// Per-user settings: application "mirel" or the executable's name.
QString getSetting(const QString& appName, const QString& section, const QString& key,
                   const QString& def = QString());
void saveSetting(const QString& appName, const QString& section, const QString& key,
                 const QString& value);

/// Highest index of the list obtained by splitting text at ",".
int arrayUpperBound(const QString& text);

/// Layout text of the listed controls ("LabBox^3,TxtBox^3,cmdHuangang,..."; empty entries and
/// unknown names are skipped): "LabBox^3=left,top,width,height;..." in design twips.
QString captureLayout(const QWidget* form, const QString& controlList);

/// Moves the form's controls to the positions of a layout text. Unknown names are skipped; a
/// malformed text changes nothing and returns false.
bool applyLayout(QWidget* form, const QString& layout);

/// The object name of a control written as "Name^index" ("TxtBox^6" -> "TxtBox_6").
QString controlObjectName(const QString& layoutName);

/// Asks the operator (input box) for a new caption of a required-field box whose tag begins
/// with "Label", sets it and stores it under the tag (saveCaption). Cancel changes nothing.
/// Throws DbError.
void editCaption(Connection& conn, QAbstractButton* box, const QString& unused = QString());

} // namespace SysUtil
