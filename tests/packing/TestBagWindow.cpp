// The packing window as an operator meets it: worked from the keyboard alone, its keypads, and
// its scale on a pty.
#include "BagFixture.h"

#include "devices/DevSim.h"
#include "shell/MessageBox.h"
#include "widgets/EditGrid.h"
#include "widgets/UserControl1.h"
#include "widgets/UserControl4.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

class TestBagWindow : public QObject {
    Q_OBJECT
private slots:
    void keyboardOnlyPacking();
    void keypadsOfTheFields();
    void scaleReadings_data();
    void scaleReadings();
    void typedWeightStaysSilentScaleAsks();
    void swingingBoxWaitsForItsWeight();
    void swingingRollWaitsForItsWeight();
};

void TestBagWindow::keyboardOnlyPacking()
{
    BagFixture fx("是否要打包=1\n");
    frmBag& f = fx.open();
    f.show();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    QTest::keyClick(&f, Qt::Key_F5);
    const QString box = f.bagNumber[0]->text();
    QCOMPARE(box.size(), 9);
    for (const char* roll : {"00042", "43", "44"}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F2);
        QCOMPARE(QApplication::focusWidget(), f.barcode);
        QTest::keyClicks(f.barcode, QString::fromLatin1(roll));
        QTest::keyClick(f.barcode, Qt::Key_Return);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F7);
    }
    QCOMPARE(f.Label4->text(), u"3/60.5"_s);
    f.bagNumber[1]->setFocus();
    QTest::keyClicks(f.bagNumber[1], u"58.5"_s);
    QTest::keyClick(f.bagNumber[1], Qt::Key_F8);
    QCOMPARE(f.LabMsg->text(), u"箱唛保存成功"_s);
    QCOMPARE(fx.scalar(u"select count(*) from checkinfo where bagnumber='%1' and bagweight=58.5"_s.arg(box)), u"3"_s);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F9);
    QTRY_VERIFY(QFileInfo(fx.boxPdf()).size() > 0);
    // F6 lists the saved box again; F5 starts the next box without its weight and remark.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6);
    QCOMPARE(f.Label4->text(), u"3/60.5"_s);
    f.bagNumber[2]->setText(u"外箱破"_s);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F5);
    QCOMPARE(f.bagNumber[1]->text() + f.bagNumber[2]->text(), QString());
}

void TestBagWindow::keypadsOfTheFields()
{
    BagFixture fx("是否要打包=1\n", "工号=001,002,007,\n");
    frmBag& f = fx.open();
    f.show();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    QTest::mouseClick(f.txtUser[44], Qt::LeftButton);
    QTRY_VERIFY(f.UserControl41->isVisible());
    QCOMPARE(f.UserControl41->count(), 3);
    QTest::mouseClick(f.UserControl41->button(2), Qt::LeftButton);
    QCOMPARE(f.txtUser[44]->text(), u"007"_s);
    QVERIFY(!f.UserControl41->isVisible());
    // No preset list for the machine, and the box remark is text: neither pad.
    for (QLineEdit* box : {f.txtUser[43], f.bagNumber[2]}) {
        QTest::mouseClick(box, Qt::LeftButton);
        QVERIFY(!f.UserControl41->isVisible() && !f.NumberKeybord1->isVisible());
    }
    QTest::mouseClick(f.bagNumber[1], Qt::LeftButton);
    QTRY_VERIFY(f.NumberKeybord1->isVisible());
    QCOMPARE(f.NumberKeybord1->GetTextBox(), f.bagNumber[1]);
    QVERIFY(f.rect().contains(f.NumberKeybord1->geometry()));
    const QRect field(f.bagNumber[1]->mapTo(&f, QPoint()), f.bagNumber[1]->size());
    QVERIFY(!f.NumberKeybord1->geometry().intersects(field)); // beside the box weight, not over it
    // A touch into the barcode field takes the last code whole: a 2 typed next is roll 2, not 12.
    f.barcode->setText(u"1"_s);
    QTest::mouseClick(f.barcode, Qt::LeftButton, {}, QPoint(f.barcode->width() / 2, 5));
    QTRY_COMPARE(f.barcode->selectedText(), u"1"_s);
    QTest::keyClicks(f.barcode, u"2"_s);
    QCOMPARE(f.barcode->text(), u"2"_s);
}

// The packing scale's own frame (25.4 kg) goes to the box weight or the roll quantity; the
// heads of other makes are read by their rules.
void TestBagWindow::scaleReadings_data()
{
    QTest::addColumn<QByteArray>("pack");
    QTest::addColumn<QByteArray>("answer"); // empty: the packing frame
    QTest::addColumn<bool>("intoBox");
    QTest::addColumn<QString>("weight");
    const QByteArray rolls("是否要打包=0\nisChen=1\n");
    QTest::newRow("packing 1: box weight")
        << QByteArray("是否要打包=1\nisChen=1\n") << QByteArray() << true << u"25.40"_s;
    QTest::newRow("packing true: roll quantity")
        << QByteArray("是否要打包=true\nisChen=1\n") << QByteArray() << false << u"25.40"_s;
    QTest::newRow("wn...kg, third rule")
        << rolls << QByteArray("wn0012.50kg") << false << u"12.50"_s;
    QTest::newRow("reversed between two =, second rule")
        << rolls << QByteArray("=05.0100=") << false << u"10.50"_s;
    QTest::newRow("one =, from position 8")
        << rolls << QByteArray("ST,GS,=012.75kg") << false << u"12.75"_s;
}

void TestBagWindow::scaleReadings()
{
    QFETCH(QByteArray, pack);
    QFETCH(QByteArray, answer);
    QFETCH(bool, intoBox);
    DevSim scale({u"--device"_s, u"scale"_s, u"--format"_s, u"packing"_s, u"--weight"_s, u"25.4"_s});
    QVERIFY(scale.ok());
    if (!answer.isEmpty())
        scale.command("answer " + answer);
    BagFixture fx(pack, "CHENCOM=COM3\n[SerialPorts]\nCOM3=" + scale.path().toLocal8Bit() + "\n");
    frmBag& f = fx.open();
    QCOMPARE(f.ximadan->isVisibleTo(&f), !pack.startsWith("是否要打包=0")); // the box list
    QLineEdit* into = intoBox ? f.bagNumber[1] : f.txtUser[11];
    QLineEdit* other = intoBox ? f.txtUser[11] : f.bagNumber[1];
    QFETCH(QString, weight);
    QTRY_COMPARE_WITH_TIMEOUT(into->text(), weight, 15000);
    QCOMPARE(other->text(), QString());
    QCOMPARE(f.LabMsg3->text(), u"台称通讯中..."_s);
    QTest::mouseClick(f.isChen, Qt::LeftButton, {}, QPoint(8, f.isChen->height() / 2));
    QCOMPARE(f.LabMsg3->text(), u"台称暂停中"_s);
}

// The scale repeats 10.5 kg: a typed weight stays until the weight changes. Unplugged, the box
// weight is marked and cleared after three silent seconds, and F8 asks before saving a box
// without weight.
void TestBagWindow::typedWeightStaysSilentScaleAsks()
{
    // Under a link of its own, as udev names a scale: unplugged, the station must not find another
    // test's simulator under the freed pty number.
    const QTemporaryDir dev;
    DevSim scale({u"--device"_s, u"scale"_s, u"--format"_s, u"fixed"_s, u"--interval"_s, u"170"_s,
                  u"--weight"_s, u"10.5"_s, u"--link"_s, dev.filePath(u"ttyScale"_s)});
    QVERIFY(scale.ok());
    BagFixture fx("是否要打包=1\nisChen=1\n",
                  "CHENCOM=COM3\n[SerialPorts]\nCOM3=" + scale.path().toLocal8Bit() + "\n");
    frmBag& f = fx.open();
    QTRY_COMPARE_WITH_TIMEOUT(f.bagNumber[1]->text(), u"10.50"_s, 10000);
    f.bagNumber[1]->setText(u"12"_s);
    QTest::qWait(2500);
    QCOMPARE(f.bagNumber[1]->text(), u"12"_s);
    scale.command("weight 11");
    QTRY_COMPARE_WITH_TIMEOUT(f.bagNumber[1]->text(), u"11.00"_s, 10000);
    f.bagNumber[0]->setText(u"B5"_s);
    fx.scan(u"42"_s);
    f.butFlow[4]->click();
    QLabel* caption = f.findChild<QLabel*>(u"labBag_1"_s);
    const QColor normal = caption->palette().color(caption->foregroundRole());
    scale.command("unplug");
    QTRY_COMPARE_WITH_TIMEOUT(f.LabMsg3->text(), u"台称无读数"_s, 10000);
    caption->ensurePolished();
    QVERIFY(caption->palette().color(caption->foregroundRole()) != normal);
    // The weight the scale left is gone; the empty box weight says why.
    QCOMPARE(f.bagNumber[1]->text() + f.bagNumber[1]->placeholderText(), u"台称无读数"_s);
    MessageBox::setNextAnswer(MessageBox::AnswerNo);
    f.butFlow[5]->click();
    QVERIFY(MessageBox::lastShown().text.contains(u"没有箱重（台称无读数）"_s));
    QCOMPARE(fx.scalar(u"select count(*) from checkinfo where bagnumber='B5'"_s), u"0"_s);
    MessageBox::setNextAnswer(MessageBox::AnswerYes);
    f.butFlow[5]->click();
    QCOMPARE(fx.scalar(u"select bagweight from checkinfo where bagnumber='B5'"_s), u"0"_s);
}

// A box put on the scale swings: F8 pressed meanwhile waits and saves the settled weight; on the
// empty scale, or a second time for the same placing, nothing is saved.
void TestBagWindow::swingingBoxWaitsForItsWeight()
{
    DevSim scale({u"--device"_s, u"scale"_s, u"--format"_s, u"wnkg"_s, u"--interval"_s, u"100"_s,
                  u"--settle"_s, u"800"_s});
    QVERIFY(scale.ok());
    BagFixture fx("是否要打包=1\nisChen=1\nStableReadings=3\nStableTime=300\n",
                  "CHENCOM=COM3\n[SerialPorts]\nCOM3=" + scale.path().toLocal8Bit() + "\n");
    frmBag& f = fx.open();
    f.bagNumber[0]->setText(u"B7"_s);
    fx.scan(u"42"_s);
    f.butFlow[4]->click();
    QTRY_COMPARE_WITH_TIMEOUT(f.bagNumber[1]->text(), u"0.00"_s, 10000);
    f.butFlow[5]->click();
    QTRY_COMPARE_WITH_TIMEOUT(f.LabMsg->text(), u"空秤"_s, 5000);
    QCOMPARE(fx.scalar(u"select count(*) from checkinfo where bagnumber='B7'"_s), u"0"_s);
    scale.command("weight 25.4");
    QLabel* caption = f.findChild<QLabel*>(u"labBag_1"_s);
    QTRY_COMPARE_WITH_TIMEOUT(caption->text(), u"称重中…"_s, 5000);
    f.butFlow[5]->click();
    QCOMPARE(f.LabMsg->text(), u"称重中…"_s);
    QTRY_COMPARE_WITH_TIMEOUT(f.LabMsg->text(), u"箱唛保存成功"_s, 4000);
    QCOMPARE(fx.scalar(u"select bagweight from checkinfo where bagnumber='B7'"_s), u"25.4"_s);
    QCOMPARE(caption->text(), u"箱重"_s);
    QVERIFY(!f.cmdZero->isVisibleTo(&f)); // this scale takes no zero command
    f.butFlow[5]->click();
    QCOMPARE(f.LabMsg->text(), u"这一箱已保存，请取下后再称下一箱"_s);
}

// Without box packing the scale weighs the roll into its quantity: F3 pressed while it swings
// waits and saves the settled weight too.
void TestBagWindow::swingingRollWaitsForItsWeight()
{
    DevSim scale({u"--device"_s, u"scale"_s, u"--format"_s, u"wnkg"_s, u"--interval"_s, u"100"_s,
                  u"--settle"_s, u"800"_s});
    QVERIFY(scale.ok());
    BagFixture fx("是否要打包=0\nisSaveCheck=1\nisChen=1\nStableReadings=3\nStableTime=300\n",
                  "CHENCOM=COM3\n[SerialPorts]\nCOM3=" + scale.path().toLocal8Bit() + "\n");
    frmBag& f = fx.open();
    fx.scan(u"50"_s);
    scale.command("weight 25.4");
    QLabel* caption = f.findChild<QLabel*>(u"labUser_11"_s);
    QTRY_COMPARE_WITH_TIMEOUT(caption->text(), u"称重中…"_s, 5000);
    f.butFlow[1]->click();
    QCOMPARE(f.LabMsg->text(), u"称重中…"_s);
    QTRY_COMPARE_WITH_TIMEOUT(f.LabMsg->text(), u"唛头保存成功"_s, 4000);
    QCOMPARE(fx.scalar(u"select oncount from checkinfo where id=50"_s), u"25.4"_s);
}

QTEST_MAIN(TestBagWindow)
#include "TestBagWindow.moc"
