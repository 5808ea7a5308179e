// Layout checks of the station windows at the panel sizes the mill uses.
#pragma once

#include <QString>

class QWidget;

/// Every visible control placed by design lies inside its parent; captions of fields and grid
/// headers are shown whole. Fails the running test otherwise.
void checkInsideAndReadable(QWidget& f, const QString& where);
