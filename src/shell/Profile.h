// Window-state settings of the picture browsers, kept in an ini file named after the executable.
#pragma once

#include <QString>

namespace basThumbs {

/// The profile file: fileName when given, else <program folder>/<executable name>.ini (computed
/// once per process).
QString profileFile(const QString& fileName = QString());

/// Value of key in section, cut to 2047 characters, or def.
QString readProfile(const QString& section, const QString& key, const QString& def,
                    const QString& fileName = QString());

/// Writes key=value; an empty key deletes the whole section, an empty value deletes the key.
bool writeProfile(const QString& section, const QString& key, const QString& value,
                  const QString& fileName = QString());

} // namespace basThumbs
