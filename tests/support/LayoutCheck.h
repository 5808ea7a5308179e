// A layout rule the station table (tests/layout) and the windows outside it (the journal list)
// both hold their tables to.
#pragma once

#include <QString>

class QWidget;

/// Every cell of every visible table on the form shows its text whole: on one line, or wrapped
/// within its row's height when the table wraps.
void checkCellsWhole(QWidget& f, const QString& where);
