// The four keypads driven with real mouse clicks: key rules, confirm events, cancel taps and
// the names an operator (or a screen reader) finds the keys by.
#include "widgets/CounterBox.h"
#include "widgets/PadText.h"
#include "widgets/UserControl1.h"
#include "widgets/UserControl2.h"
#include "widgets/UserControl3.h"
#include "widgets/UserControl4.h"

#include <QApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

// Finds a key the way an operator reads it: by its caption.
QPushButton* keyNamed(QWidget* pad, const QString& tag)
{
    const QString name = pad::captionOf(tag);
    const auto keys = pad->findChildren<QPushButton*>();
    for (QPushButton* k : keys)
        if (k->accessibleName() == name)
            return k;
    return nullptr;
}

void press(QWidget* pad, const QStringList& tags)
{
    for (const QString& tag : tags) {
        QPushButton* k = keyNamed(pad, tag);
        QVERIFY2(k, qPrintable(tag));
        QTest::mouseClick(k, Qt::LeftButton);
    }
}

// A station form with a text box and the pad over it, the box focused as in use.
struct Form {
    QWidget window;
    QLineEdit* box = new QLineEdit(&window);
    UserControl1* pad = new UserControl1(&window);
    Form()
    {
        window.resize(1024, 768);
        box->setGeometry(10, 10, 200, 40);
        window.show();
        QApplication::setActiveWindow(&window);
        box->setFocus();
    }
};

} // namespace

class TestKeypads : public QObject {
    Q_OBJECT

private slots:
    void generalPadKeys_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<int>("selectFrom"); // -1: no selection
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QString>("expected");
        QTest::newRow("append, backspace, point")
            << "12" << -1 << QStringList{"3", "Backspace", "."} << "12.";
        QTest::newRow("all selected is replaced") << "12" << 0 << QStringList{"7"} << "7";
        QTest::newRow("part selected replaces all") << "123" << 2 << QStringList{"9"} << "9";
        QTest::newRow("backspace on empty") << "" << -1 << QStringList{"Backspace"} << "";
        QTest::newRow("clear then type") << "12" << -1 << QStringList{"Clear", "5", "0"} << "50";
        QTest::newRow("zeros are kept") << "0" << -1 << QStringList{"0", "."} << "00.";
    }
    void generalPadKeys()
    {
        QFETCH(QString, start);
        QFETCH(int, selectFrom);
        QFETCH(QStringList, keys);
        Form f;
        QVERIFY(QTest::qWaitForWindowActive(&f.window));
        f.box->setText(start);
        if (selectFrom >= 0)
            f.box->setSelection(selectFrom, int(start.size()) - selectFrom);
        f.pad->setTextBox(f.box);
        press(f.pad, keys);
        QTEST(f.box->text(), "expected");
        QVERIFY(f.box->hasFocus()); // keys never take the focus (and the selection) away
    }

    void generalPadEnterCollapsesAndConfirms()
    {
        Form f;
        f.box->setText(u"45"_s);
        f.pad->setTextBox(f.box);
        f.box->selectAll();
        QSignalSpy confirm(f.pad, &UserControl1::Confirm);
        press(f.pad, {u"Enter"_s});
        QCOMPARE(confirm.size(), 1);
        QCOMPARE(confirm.at(0).at(0).value<QLineEdit*>(), f.box);
        QVERIFY(!f.pad->isVisible());
        QVERIFY(!f.box->hasSelectedText());
        QCOMPARE(f.box->text(), u"45"_s);
    }

    void generalPadSizeAndNames()
    {
        Form f;
        f.pad->setTextBox(f.box);
        QCOMPARE(f.pad->size(), QSize(422, 413)); // 6330 x 6195 twips on a 1024 x 768 form
        QStringList names;
        for (PadKey* k : f.pad->keys()) {
            QCOMPARE(k->focusPolicy(), Qt::NoFocus);
            names << k->accessibleName();
        }
        names.sort();
        QCOMPARE(names.join(u' '), u". 0 1 2 3 4 5 6 7 8 9 清除 确定 退格"_s);
    }

    void tapBetweenKeysDoesNotCancel()
    {
        Form f;
        f.pad->setTextBox(f.box);
        QSignalSpy closed(f.pad, &UserControl1::closed);
        const QRect a = keyNamed(f.pad, u"7"_s)->geometry();
        const QRect b = keyNamed(f.pad, u"8"_s)->geometry();
        QTest::mouseClick(f.pad, Qt::LeftButton, {},
                          QPoint((a.right() + b.left()) / 2, a.center().y()));
        QCOMPARE(closed.size(), 0);
        // The border beside the first key is the frame: a tap there cancels.
        QTest::mouseClick(f.pad, Qt::LeftButton, {}, QPoint(a.left() - 2, a.center().y()));
        QCOMPARE(closed.size(), 1);
        QVERIFY(!f.pad->isVisible());
    }

    // The pad goes beside its field, inside the window and never over the field.
    void padBesideItsField_data()
    {
        QTest::addColumn<QRect>("field");
        QTest::newRow("top left") << QRect(10, 10, 200, 40);
        QTest::newRow("right edge") << QRect(900, 10, 120, 40);
        QTest::newRow("bottom right") << QRect(880, 720, 140, 40);
        QTest::newRow("as wide as the window") << QRect(0, 300, 1024, 40);
    }
    void padBesideItsField()
    {
        QFETCH(QRect, field);
        Form f;
        f.box->setGeometry(field);
        f.pad->placeBeside(f.box);
        QVERIFY(f.window.rect().contains(f.pad->geometry()));
        QVERIFY(!f.pad->geometry().intersects(field));
    }

    void entryPad_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QString>("expected");
        QTest::newRow("0 then 5") << 0.0 << QStringList{"5"} << " 5";
        QTest::newRow("two digits") << 0.0 << QStringList{"1", "2"} << " 12";
        QTest::newRow("point stays until a digit") << 0.0 << QStringList{"."} << " 0.";
        QTest::newRow("point then digit") << 0.0 << QStringList{".", "5"} << " .5";
        QTest::newRow("backspace") << 1.5 << QStringList{"Backspace"} << " 1.";
        QTest::newRow("clear then digit") << 3.0 << QStringList{"Clear", "7"} << " 7";
        QTest::newRow("negative start") << -2.0 << QStringList{"5"} << "-25";
    }
    void entryPad()
    {
        QFETCH(double, value);
        QFETCH(QStringList, keys);
        UserControl2 pad;
        pad.setTextBox(value);
        QVERIFY(pad.isVisible());
        QCOMPARE(pad.size(), QSize(337, 132));
        press(&pad, keys);
        QTEST(pad.entryBox()->text(), "expected");
    }

    void entryPadConfirmCounterAndCancel()
    {
        UserControl2 pad;
        pad.setTextBox(0);
        QSignalSpy confirm(&pad, &UserControl2::Confirm);
        press(&pad, {u"4"_s});
        QTest::mouseClick(pad.counter()->upKey(), Qt::LeftButton);
        QTest::mouseClick(pad.counter()->upKey(), Qt::LeftButton);
        press(&pad, {u"Enter"_s});
        QCOMPARE(confirm.size(), 1);
        QCOMPARE(confirm.at(0).at(0).toString(), u" 4"_s);
        QCOMPARE(confirm.at(0).at(1).toString(), u" 2"_s);
        for (int i = 0; i < 3; ++i)
            QTest::mouseClick(pad.counter()->downKey(), Qt::LeftButton);
        QCOMPARE(pad.counter()->text(), u"-1"_s);
        QTest::mouseClick(&pad, Qt::LeftButton, {}, QPoint(2, pad.height() - 2));
        QCOMPARE(confirm.size(), 2);
        QCOMPARE(confirm.at(1).at(0).toString(), QString());
        QCOMPARE(confirm.at(1).at(1).toString(), QString());
    }

    void scorePad()
    {
        UserControl3 pad;
        pad.show();
        QCOMPARE(pad.counter()->text(), u" 0"_s);
        QCOMPARE(pad.scoreButton(4)->text(), u" 4"_s);
        const int japanese[] = {1, 3, 5, 10};
        for (int i = 1; i <= 4; ++i)
            pad.setNumber(i, japanese[i - 1]);
        pad.setFenshu(3);
        QTest::mouseClick(pad.counter()->upKey(), Qt::LeftButton);
        QSignalSpy confirm(&pad, &UserControl3::Confirm);
        QTest::mouseClick(pad.scoreButton(4), Qt::LeftButton);
        QCOMPARE(confirm.size(), 1);
        QCOMPARE(confirm.at(0).at(0).toString(), u" 10"_s);
        QCOMPARE(confirm.at(0).at(1).toString(), u" 4"_s);
        QCOMPARE(pad.scoreButton(4)->accessibleName(), u"10"_s);
        QTest::mouseClick(&pad, Qt::LeftButton, {}, QPoint(2, 2));
        QCOMPARE(confirm.size(), 2);
        QCOMPARE(confirm.at(1).at(0).toString(), QString());
    }

    void presetPadRows_data()
    {
        QTest::addColumn<int>("values");
        QTest::addColumn<QList<int>>("perRow");
        QTest::newRow("9 values") << 9 << QList<int>{4, 4, 1};
        QTest::newRow("8 values") << 8 << QList<int>{4, 4};
        QTest::newRow("3 values") << 3 << QList<int>{3};
    }
    void presetPadRows()
    {
        QFETCH(int, values);
        QFETCH(QList<int>, perRow);
        UserControl4 pad;
        for (int i = 0; i < values; ++i)
            pad.setNumber(QString::number(100 + i));
        QMap<int, int> rows; // top -> buttons
        for (int i = 0; i < pad.count(); ++i)
            ++rows[pad.button(i)->geometry().top()];
        QCOMPARE(rows.values(), perRow);
        QCOMPARE(pad.rowCount(), int(perRow.size()));
        // The frame grows by one button and one gap per row.
        const int rowPitch = pad.button(0)->height() + 4; // 60 twips
        UserControl4 one;
        one.setNumber(u"1"_s);
        QCOMPARE(pad.height() - one.height(), (int(perRow.size()) - 1) * rowPitch);
        QCOMPARE(pad.button(1)->x() - pad.button(0)->geometry().right() - 1, 4);
    }

    void presetPadPicksAndCancels()
    {
        QLineEdit box;
        UserControl4 pad;
        pad.setNumber(u"张三"_s, u"007"_s);
        pad.setNumber(u"15"_s);
        pad.setTextBox(&box);
        QSignalSpy confirm(&pad, &UserControl4::Confirm);
        QTest::mouseClick(pad.button(0), Qt::LeftButton);
        QCOMPARE(box.text(), u"007"_s);
        QTest::mouseClick(pad.button(1), Qt::LeftButton);
        QCOMPARE(box.text(), u"15"_s);
        QTest::mouseClick(&pad, Qt::LeftButton, {}, QPoint(pad.width() - 3, pad.height() - 3));
        QCOMPARE(confirm.size(), 3);
        QCOMPARE(confirm.at(0).at(0).toString(), u"007"_s);
        QCOMPARE(confirm.at(2).at(0).toString(), QString());
        QCOMPARE(box.text(), u"15"_s);
        pad.clearBtn();
        QCOMPARE(pad.count(), 0);
        pad.setNumber(u"A"_s);
        QCOMPARE(pad.button(0)->geometry().topLeft(), QPoint(12, 12));
    }
};

QTEST_MAIN(TestKeypads)
#include "TestKeypads.moc"
