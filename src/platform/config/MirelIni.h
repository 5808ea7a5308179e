// The station options of the program folder's mirel.ini, read on every use so that a change made
// by the settings panel or by hand counts from the next reading on.
#pragma once

#include <QString>

/// Value of key in section "MIREL" of mirel.ini, or def.
QString readMirel(const QString& key, const QString& def);

/// Value of key in section "MES" of mirel.ini, or def.
QString readMes(const QString& key, const QString& def);
