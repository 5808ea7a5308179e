// The four keypads driven with real mouse clicks: key rules, confirm events, cancel taps and
// the names an operator (or a screen reader) finds the keys by; and the defect dialog through
// showMe, worked with keys and its pad: its result text, cancel, the Enter flow, the pad's place.
#include "widgets/CounterBox.h"
#include "widgets/PadText.h"
#include "widgets/UserControl1.h"
#include "widgets/UserControl2.h"
#include "widgets/UserControl3.h"
#include "widgets/UserControl4.h"
#include "widgets/frmCheckDetail.h"

#include <QApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <functional>

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

// What a signal carried: each emission's values joined by ',', emissions by '/'.
QString emitted(const QSignalSpy& spy)
{
    QStringList all;
    for (const QList<QVariant>& args : spy) {
        QStringList values;
        for (const QVariant& v : args)
            values << v.toString();
        all << values.join(u',');
    }
    return all.join(u'/');
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

// Runs `operate` on the defect dialog once showMe has it on screen, and returns showMe's result.
QString showMeOperated(const QString& name, double position,
                       const std::function<void(frmCheckDetail*)>& operate)
{
    QTimer::singleShot(0, [operate] {
        auto* d = qobject_cast<frmCheckDetail*>(QApplication::activeModalWidget());
        if (!d)
            return qWarning("no defect dialog on screen");
        QApplication::setActiveWindow(d);
        if (!QTest::qWaitForWindowActive(d))
            qWarning("defect dialog not active");
        operate(d);
        if (d->isVisible())
            d->reject(); // a failed step must not leave the test waiting
    });
    return frmCheckDetail::showMe(name, position);
}

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
        QTest::newRow("enter confirms, keeps the text")
            << "45" << 0 << QStringList{"Enter"} << "45";
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
        QSignalSpy confirm(f.pad, &UserControl1::Confirm);
        press(f.pad, keys);
        QTEST(f.box->text(), "expected");
        QVERIFY(f.box->hasFocus());         // keys never take the focus (and the selection) away
        QVERIFY(!f.box->hasSelectedText()); // typed over, or collapsed by Enter
        // Enter confirms the box and puts the pad away.
        const bool enter = keys.contains(u"Enter"_s);
        QCOMPARE(confirm.size(), enter ? 1 : 0);
        QVERIFY(!enter || confirm.at(0).at(0).value<QLineEdit*>() == f.box);
        QCOMPARE(f.pad->isVisible(), !enter);
    }

    void tapBetweenKeysDoesNotCancel()
    {
        Form f;
        f.pad->setTextBox(f.box);
        QSignalSpy closed(f.pad, &UserControl1::closed);
        const QRect a = keyNamed(f.pad, u"7"_s)->geometry();
        const QRect b = keyNamed(f.pad, u"8"_s)->geometry();
        QVERIFY(a.width() >= 80 && a.height() >= 80); // a fingertip fits
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
        QTest::newRow("top left") << QRect(10, 10, 200, 40); // the packing table's fields
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
        for (int i = 0; i < 3; ++i)
            QTest::mouseClick(pad.counter()->downKey(), Qt::LeftButton);
        QCOMPARE(pad.counter()->text(), u"-1"_s);
        QTest::mouseClick(&pad, Qt::LeftButton, {}, QPoint(2, pad.height() - 2)); // cancels
        QCOMPARE(emitted(confirm), u" 4, 2/,"_s);
    }

    void scorePad()
    {
        UserControl3 pad;
        pad.show();
        const int japanese[] = {1, 3, 5, 10};
        for (int i = 1; i <= 4; ++i)
            pad.setNumber(i, japanese[i - 1]);
        pad.setFenshu(3);
        QTest::mouseClick(pad.counter()->upKey(), Qt::LeftButton);
        QSignalSpy confirm(&pad, &UserControl3::Confirm);
        QTest::mouseClick(pad.scoreButton(4), Qt::LeftButton);
        QCOMPARE(pad.scoreButton(4)->accessibleName(), u"10"_s);
        QTest::mouseClick(&pad, Qt::LeftButton, {}, QPoint(2, 2)); // cancels
        QCOMPARE(emitted(confirm), u" 10, 4/,"_s);
    }

    // Four presets a row; the frame grows with its rows, the last one inside it.
    void presetPadRows()
    {
        UserControl4 pad;
        for (int i = 0; i < 9; ++i)
            pad.setNumber(QString::number(100 + i));
        QCOMPARE(pad.rowCount(), 3);
        QVERIFY(pad.rect().contains(pad.button(8)->geometry()));
        QVERIFY(pad.height() - pad.button(8)->geometry().bottom() < pad.button(0)->height());
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
        QTest::mouseClick(&pad, Qt::LeftButton, {}, QPoint(pad.width() - 3, pad.height() - 3));
        QCOMPARE(emitted(confirm), u"007/15/"_s);
        QCOMPARE(box.text(), u"15"_s); // a cancel leaves the box as it was
        const QRect first = pad.button(0)->geometry();
        pad.clearBtn();
        QCOMPARE(pad.count(), 0);
        pad.setNumber(u"A"_s); // laid out again from the first place
        QCOMPARE(pad.button(0)->geometry(), first);
    }

    void typedWithKeyboard_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<double>("position");
        QTest::addColumn<QStringList>("typed"); // per box; "-" leaves the box as it is
        QTest::addColumn<QString>("end");       // Enter on the boxes and 确定, Esc or 取消
        QTest::addColumn<QString>("expected");
        QTest::newRow("fraction position")
            << "破洞" << 0.5 << QStringList{"-", "2", "3.5"} << "Enter"
            << "破洞, .5, 2, 3.5";
        QTest::newRow("position typed over") << "B" << 7.0 << QStringList{"30", "1", ""} << "Enter"
                                             << "B, 30, 1, 0";
        QTest::newRow("text is not a number")
            << "C" << 1.0 << QStringList{"-", "x", "2m"} << "Enter"
            << "C, 1, 0, 2";
        QTest::newRow("取消") << "A" << 3.0 << QStringList{"9"} << "取消"
                              << "";
        QTest::newRow("Esc") << "A" << 3.0 << QStringList{"9"} << "Esc"
                             << "";
    }
    void typedWithKeyboard()
    {
        QFETCH(QString, name);
        QFETCH(double, position);
        QFETCH(QStringList, typed);
        QFETCH(QString, end);
        QString caption;
        const QString result = showMeOperated(name, position, [&](frmCheckDetail* d) {
            caption = d->frameCaption();
            for (int i = 0; i < typed.size(); ++i) {
                QTRY_VERIFY(d->TxtBox(i)->hasFocus());
                if (typed.at(i) != u"-")
                    QTest::keyClicks(d->TxtBox(i), typed.at(i)); // the selection is typed over
                QTest::keyClick(d->TxtBox(i), end == u"Esc" ? Qt::Key_Escape : Qt::Key_Return);
            }
            if (end == u"取消")
                QTest::mouseClick(d->Command1(1), Qt::LeftButton);
            if (end != u"Enter")
                return;
            QVERIFY(d->Command1(0)->hasFocus());
            QTest::keyClick(d->Command1(0), Qt::Key_Return);
        });
        QCOMPARE(caption, name + u" - 疵点信息"_s);
        QTEST(result, "expected");
    }

    void typedOnThePad()
    {
        const QString result = showMeOperated(u"A"_s, 12.5, [](frmCheckDetail* d) {
            QVERIFY(d->keypad()->isVisible());
            QCOMPARE(d->keypad()->GetTextBox(), d->TxtBox(0));
            QTest::mouseClick(keyNamed(d->keypad(), u"Enter"_s), Qt::LeftButton);
            QTRY_COMPARE(d->keypad()->GetTextBox(), d->TxtBox(1));
            QTest::mouseClick(keyNamed(d->keypad(), u"Enter"_s), Qt::LeftButton);
            QTRY_COMPARE(d->keypad()->GetTextBox(), d->TxtBox(2));
            QVERIFY(d->keypad()->isVisible() && d->rect().contains(d->keypad()->geometry()));
            QTest::mouseClick(keyNamed(d->keypad(), u"4"_s), Qt::LeftButton);
            QTest::mouseClick(d->Command1(0), Qt::LeftButton);
        });
        QCOMPARE(result, u"A, 12.5, 0, 4"_s);
    }

    void padPlace_data()
    {
        QTest::addColumn<QRect>("box");
        QTest::addColumn<QPoint>("expected");
        // Pad 400 x 300 on a form of 800 x 600.
        QTest::newRow("just fits below") << QRect(50, 260, 150, 40) << QPoint(50, 300);
        QTest::newRow("goes above") << QRect(50, 261, 150, 40) << QPoint(50, -39);
        QTest::newRow("kept inside on the right") << QRect(600, 100, 150, 40) << QPoint(400, 140);
    }
    void padPlace()
    {
        QFETCH(QRect, box);
        QTEST(frmCheckDetail::padPlace(box, QSize(400, 300), QSize(800, 600)), "expected");
    }
};

QTEST_MAIN(TestKeypads)
#include "TestKeypads.moc"
