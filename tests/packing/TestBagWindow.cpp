// The packing window as an operator meets it: its keypads, and its scale (on a pty, or silent and
// ticked by the test).
#include "BagFixture.h"

#include "devices/DevSim.h"
#include "devices/PackingScale.h"
#include "shell/MessageBox.h"
#include "widgets/EditGrid.h"
#include "widgets/UserControl1.h"
#include "widgets/UserControl4.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

using namespace Qt::StringLiterals;

class TestBagWindow : public QObject {
    Q_OBJECT
private slots:
    void keypadsOfTheFields();
    void typedWeightStays();
    void silentScale_data();
    void silentScale();
    void swingingWeightWaits_data();
    void swingingWeightWaits();
};

void TestBagWindow::keypadsOfTheFields()
{
    BagFixture fx("是否要打包=1\n", "工号=001,002,007,\n");
    frmBag& f = fx.open();
    f.show();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    QTest::mouseClick(f.txtUser[BagField::Inspector], Qt::LeftButton);
    QTRY_VERIFY(f.UserControl41->isVisible());
    QCOMPARE(f.UserControl41->count(), 3);
    QTest::mouseClick(f.UserControl41->button(2), Qt::LeftButton);
    QCOMPARE(f.txtUser[BagField::Inspector]->text(), u"007"_s);
    QVERIFY(!f.UserControl41->isVisible());
    // No preset list for the machine, and the box remark is text: neither pad.
    for (QLineEdit* box : {f.txtUser[BagField::Machine], f.bagNumber[BagBoxField::Remark]}) {
        QTest::mouseClick(box, Qt::LeftButton);
        QVERIFY(!f.UserControl41->isVisible() && !f.NumberKeybord1->isVisible());
    }
    QTest::mouseClick(f.bagNumber[BagBoxField::Weight], Qt::LeftButton);
    QTRY_VERIFY(f.NumberKeybord1->isVisible());
    QCOMPARE(f.NumberKeybord1->GetTextBox(), f.bagNumber[BagBoxField::Weight]);
    QVERIFY(f.rect().contains(f.NumberKeybord1->geometry()));
    const QRect field(f.bagNumber[BagBoxField::Weight]->mapTo(&f, QPoint()), f.bagNumber[BagBoxField::Weight]->size());
    QVERIFY(!f.NumberKeybord1->geometry().intersects(field)); // beside the box weight, not over it
    // A touch into the barcode field takes the last code whole: a 2 typed next is roll 2, not 12.
    f.barcode->setText(u"1"_s);
    QTest::mouseClick(f.barcode, Qt::LeftButton, {}, QPoint(f.barcode->width() / 2, 5));
    QTRY_COMPARE(f.barcode->selectedText(), u"1"_s);
    QTest::keyClicks(f.barcode, u"2"_s);
    QCOMPARE(f.barcode->text(), u"2"_s);
}

// The scale repeats 10.5 kg: a weight the packer typed stays until the weight changes.
void TestBagWindow::typedWeightStays()
{
    DevSim scale({u"--device"_s, u"scale"_s, u"--format"_s, u"fixed"_s, u"--interval"_s, u"170"_s, u"--weight"_s, u"10.5"_s});
    QVERIFY(scale.ok());
    BagFixture fx("是否要打包=1\nisChen=1\n", "CHENCOM=COM3\n[SerialPorts]\nCOM3=" + scale.path().toLocal8Bit() + "\n");
    frmBag& f = fx.open();
    QLineEdit* weight = f.bagNumber[BagBoxField::Weight];
    QTRY_COMPARE_WITH_TIMEOUT(weight->text(), u"10.50"_s, 10000);
    weight->setText(u"12"_s);
    QSignalSpy ticks(f.scale(), &devices::PackingScale::status);
    QTRY_VERIFY_WITH_TIMEOUT(ticks.size() >= 3, 10000); // three readings of the same weight
    QCOMPARE(weight->text(), u"12"_s);
    scale.command("weight 11");
    QTRY_COMPARE_WITH_TIMEOUT(weight->text(), u"11.00"_s, 10000);
}

// The weight goes to the box weight only when packing is "1" exactly, else to the roll quantity.
// No scale answers: after exactly its silent ticks (not one before) the weight the scale left is
// cleared and the field says why (a weight the packer typed stays); F8 then asks before saving a
// box without weight.
void TestBagWindow::silentScale_data()
{
    QTest::addColumn<QByteArray>("pack");
    QTest::addColumn<bool>("intoBox");
    QTest::addColumn<QString>("typed"); // over the scale's weight before it falls silent
    QTest::newRow("packing 1: box weight") << QByteArray("是否要打包=1\n") << true << QString();
    QTest::newRow("packing 1, weight typed") << QByteArray("是否要打包=1\n") << true << u"12"_s;
    QTest::newRow("packing true: roll quantity") << QByteArray("是否要打包=true\n") << false << QString();
    QTest::newRow("no packing: roll quantity") << QByteArray("是否要打包=0\n") << false << QString();
}

void TestBagWindow::silentScale()
{
    QFETCH(QByteArray, pack);
    QFETCH(bool, intoBox);
    QFETCH(QString, typed);
    BagFixture fx(pack + "isChen=1\n");
    frmBag& f = fx.open(); // not shown: nothing but the test ticks the scale
    QCOMPARE(f.ximadan->isVisibleTo(&f), !pack.contains("=0")); // the box list
    QLineEdit* into = intoBox ? f.bagNumber[BagBoxField::Weight] : f.txtUser[BagField::Quantity];
    QLineEdit* other = intoBox ? f.txtUser[BagField::Quantity] : f.bagNumber[BagBoxField::Weight];
    QLabel* caption = f.findChild<QLabel*>(intoBox ? u"labBag_1"_s : u"labUser_11"_s);
    emit f.scale()->weightText(u"25.40"_s);
    QCOMPARE(into->text() + other->text(), u"25.40"_s);
    if (!typed.isEmpty())
        into->setText(typed);
    const QString weight = into->text();
    for (int tick = 1; tick < devices::PackingScale::kSilentTicks; ++tick)
        f.scale()->poll();
    QCOMPARE(into->text() + into->placeholderText() + caption->styleSheet(), weight);
    QVERIFY(f.LabMsg3->text() != u"台称无读数"_s);
    f.scale()->poll();
    QCOMPARE(f.LabMsg3->text(), u"台称无读数"_s);
    QCOMPARE(into->text() + into->placeholderText(), typed + u"台称无读数"_s);
    QVERIFY(!caption->styleSheet().isEmpty()); // red
    if (intoBox && typed.isEmpty()) {
        f.bagNumber[BagBoxField::Number]->setText(u"B5"_s);
        fx.scan(u"42"_s);
        f.butFlow[BagCmd::AddRoll]->click();
        MessageBox::setNextAnswer(MessageBox::AnswerNo);
        f.butFlow[BagCmd::SaveBox]->click();
        QCOMPARE(MessageBox::lastShown().text, u"箱 B5 没有箱重（台称无读数），仍然按箱重 0 保存？"_s);
        QCOMPARE(fx.scalar(u"select count(*) from checkinfo where bagnumber='B5'"_s), u"0"_s);
        MessageBox::setNextAnswer(MessageBox::AnswerYes);
        f.butFlow[BagCmd::SaveBox]->click();
        QCOMPARE(fx.scalar(u"select bagweight from checkinfo where bagnumber='B5'"_s), u"0"_s);
    }
    QTest::mouseClick(f.isChen, Qt::LeftButton, {}, QPoint(8, f.isChen->height() / 2));
    QCOMPARE(f.LabMsg3->text(), u"台称暂停中"_s);
}

// A box put on the scale swings: F8 pressed meanwhile waits and saves the settled weight; on the
// empty scale, or a second time for the same placing, nothing is saved. Without box packing the
// roll is weighed into its quantity, and F3 waits the same way.
void TestBagWindow::swingingWeightWaits_data()
{
    QTest::addColumn<bool>("box");
    QTest::newRow("box, F8") << true;
    QTest::newRow("roll, F3") << false;
}

void TestBagWindow::swingingWeightWaits()
{
    QFETCH(bool, box);
    DevSim scale({u"--device"_s, u"scale"_s, u"--format"_s, u"wnkg"_s, u"--interval"_s, u"100"_s, u"--settle"_s, u"800"_s});
    QVERIFY(scale.ok());
    BagFixture fx(QByteArray(box ? "是否要打包=1\n" : "是否要打包=0\nisSaveCheck=1\n") + "isChen=1\nStableReadings=3\nStableTime=300\n",
                  "CHENCOM=COM3\n[SerialPorts]\nCOM3=" + scale.path().toLocal8Bit() + "\n");
    frmBag& f = fx.open();
    QPushButton* save = f.butFlow[box ? BagCmd::SaveBox : BagCmd::SaveMark];
    const QString stored = box ? u"select bagweight from checkinfo where bagnumber='B7'"_s
                               : u"select oncount from checkinfo where id=50"_s;
    if (box) {
        f.bagNumber[BagBoxField::Number]->setText(u"B7"_s);
        fx.scan(u"42"_s);
        f.butFlow[BagCmd::AddRoll]->click();
        QTRY_COMPARE_WITH_TIMEOUT(f.bagNumber[BagBoxField::Weight]->text(), u"0.00"_s, 10000);
        save->click();
        QTRY_COMPARE_WITH_TIMEOUT(f.LabMsg->text(), u"空秤"_s, 5000);
        QCOMPARE(fx.scalar(stored), QString());
    } else {
        fx.scan(u"50"_s);
    }
    scale.command("weight 25.4");
    QLabel* caption = f.findChild<QLabel*>(box ? u"labBag_1"_s : u"labUser_11"_s);
    QTRY_COMPARE_WITH_TIMEOUT(caption->text(), u"称重中…"_s, 5000);
    save->click();
    QCOMPARE(f.LabMsg->text(), u"称重中…"_s);
    QTRY_COMPARE_WITH_TIMEOUT(f.LabMsg->text(), box ? u"箱唛保存成功"_s : u"唛头保存成功"_s, 4000);
    QCOMPARE(fx.scalar(stored), u"25.4"_s);
    QCOMPARE(caption->text(), box ? u"箱重"_s : u"数量"_s);
    if (!box)
        return;
    QVERIFY(!f.cmdZero->isVisibleTo(&f)); // this scale takes no zero command
    save->click();
    QCOMPARE(f.LabMsg->text(), u"这一箱已保存，请取下后再称下一箱"_s);
}

QTEST_MAIN(TestBagWindow)
#include "TestBagWindow.moc"
