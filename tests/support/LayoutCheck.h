// Layout checks shared by the stations' layout tests.
#pragma once

#include <QString>

class QWidget;

/// Every visible control placed by design lies inside its parent; captions of fields (labels with
/// a buddy) and every visible grid caption are shown whole. Failures are reported through QVERIFY2.
void checkInsideAndReadable(QWidget& f, const QString& where);
