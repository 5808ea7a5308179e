#include <QTest>
class TestPrintRoutine : public QObject { Q_OBJECT };
QTEST_MAIN(TestPrintRoutine)
#include "TestPrintRoutine.moc"
