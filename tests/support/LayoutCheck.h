// Layout checks shared by the stations' layout tests.
#pragma once

#include <QString>

class QWidget;

/// Every visible control placed by design lies inside its parent; captions of fields (labels with
/// a buddy) and every visible grid caption are shown whole. Failures are reported through QVERIFY2.
void checkInsideAndReadable(QWidget& f, const QString& where);

/// Every visible label with text, the lines that show the mill's data as well as captions, is
/// read whole: on one line, or wrapped within its height.
void checkLabelsWhole(QWidget& f, const QString& where);

/// Every command button on the form (checkCommand_n) is in view: inside the window and not
/// covered by any other control on the form.
void checkCommandsInView(QWidget& f, const QString& where);

/// Every cell of every visible table on the form shows its text whole: on one line, or wrapped
/// within its row's height when the table wraps.
void checkCellsWhole(QWidget& f, const QString& where);
