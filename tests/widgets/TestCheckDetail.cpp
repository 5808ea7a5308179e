// The defect detail dialog through showMe, operated with keys and the pad: its result text,
// cancel, the Enter flow and where the pad goes.
#include "widgets/UserControl1.h"
#include "widgets/frmCheckDetail.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

using namespace Qt::StringLiterals;

namespace {

// Runs `operate` on the dialog once showMe has it on screen, and returns showMe's result.
QString showMeOperated(const QString& name, double position,
                       const std::function<void(frmCheckDetail*)>& operate)
{
    QTimer::singleShot(0, [operate] {
        auto* d = qobject_cast<frmCheckDetail*>(QApplication::activeModalWidget());
        if (!d) {
            qWarning("no defect dialog on screen");
            return;
        }
        QApplication::setActiveWindow(d);
        if (!QTest::qWaitForWindowActive(d))
            qWarning("defect dialog not active");
        operate(d);
        if (d->isVisible())
            d->reject(); // a failed step must not leave the test waiting
    });
    return frmCheckDetail::showMe(name, position);
}

QPushButton* padKey(frmCheckDetail* d, const QString& caption)
{
    for (PadKey* k : d->keypad()->keys())
        if (k->accessibleName() == caption)
            return k;
    return nullptr;
}

} // namespace

class TestCheckDetail : public QObject {
    Q_OBJECT

private slots:
    void typedWithKeyboard_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<double>("position");
        QTest::addColumn<QStringList>("typed"); // per box; "-" leaves the box as it is
        QTest::addColumn<QString>("expected");
        QTest::newRow("empty count") << "A" << 12.5 << QStringList{"-", "", "4"} << "A, 12.5, 0, 4";
        QTest::newRow("fraction position") << "破洞" << 0.5 << QStringList{"-", "2", "3.5"} << "破洞, .5, 2, 3.5";
        QTest::newRow("position typed over") << "B" << 7.0 << QStringList{"30", "1", ""} << "B, 30, 1, 0";
        QTest::newRow("text is not a number") << "C" << 1.0 << QStringList{"-", "x", "2m"} << "C, 1, 0, 2";
    }
    void typedWithKeyboard()
    {
        QFETCH(QString, name);
        QFETCH(double, position);
        QFETCH(QStringList, typed);
        QString caption;
        const QString result = showMeOperated(name, position, [&](frmCheckDetail* d) {
            caption = d->frameCaption();
            for (int i = 0; i < 3; ++i) {
                QTRY_VERIFY(d->TxtBox(i)->hasFocus());
                if (typed.at(i) != u"-")
                    QTest::keyClicks(d->TxtBox(i), typed.at(i)); // the selection is typed over
                QTest::keyClick(d->TxtBox(i), Qt::Key_Return);
            }
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
            QTest::mouseClick(padKey(d, u"确定"_s), Qt::LeftButton);
            QTRY_COMPARE(d->keypad()->GetTextBox(), d->TxtBox(1));
            QTest::mouseClick(padKey(d, u"确定"_s), Qt::LeftButton);
            QTRY_COMPARE(d->keypad()->GetTextBox(), d->TxtBox(2));
            QVERIFY(d->keypad()->isVisible());
            QTest::mouseClick(padKey(d, u"4"_s), Qt::LeftButton);
            QTest::mouseClick(d->Command1(0), Qt::LeftButton);
        });
        QCOMPARE(result, u"A, 12.5, 0, 4"_s);
    }

    void cancelGivesEmptyText_data()
    {
        QTest::addColumn<bool>("escape");
        QTest::newRow("取消") << false;
        QTest::newRow("Esc") << true;
    }
    void cancelGivesEmptyText()
    {
        QFETCH(bool, escape);
        const QString result = showMeOperated(u"A"_s, 3, [escape](frmCheckDetail* d) {
            QTest::keyClicks(d->TxtBox(0), u"9"_s);
            if (escape)
                QTest::keyClick(d->TxtBox(0), Qt::Key_Escape);
            else
                QTest::mouseClick(d->Command1(1), Qt::LeftButton);
        });
        QCOMPARE(result, QString());
    }

    void padFollowsTheBox()
    {
        showMeOperated(u"A"_s, 1, [](frmCheckDetail* d) {
            for (int i : {2, 1}) {
                d->TxtBox(i)->setFocus();
                QTRY_COMPARE(d->keypad()->GetTextBox(), d->TxtBox(i));
                const QPoint box = d->TxtBox(i)->mapTo(d, QPoint(0, 0));
                QCOMPARE(d->keypad()->x(), box.x());
                QVERIFY(d->keypad()->y() >= box.y() + d->TxtBox(i)->height());
                QVERIFY(d->rect().contains(d->keypad()->geometry()));
                QVERIFY(d->TxtBox(i)->hasSelectedText() || d->TxtBox(i)->text().isEmpty());
            }
        });
    }

    void padPlace_data()
    {
        QTest::addColumn<QRect>("box");
        QTest::addColumn<QPoint>("expected");
        // Pad 400 x 300 on a form of 800 x 600.
        QTest::newRow("fits below") << QRect(50, 100, 150, 40) << QPoint(50, 140);
        QTest::newRow("just fits below") << QRect(50, 260, 150, 40) << QPoint(50, 300);
        QTest::newRow("goes above") << QRect(50, 261, 150, 40) << QPoint(50, -39);
        QTest::newRow("above near the bottom") << QRect(10, 500, 150, 40) << QPoint(10, 200);
        QTest::newRow("kept inside on the right") << QRect(600, 100, 150, 40) << QPoint(400, 140);
    }
    void padPlace()
    {
        QFETCH(QRect, box);
        QTEST(frmCheckDetail::padPlace(box, QSize(400, 300), QSize(800, 600)), "expected");
    }
};

QTEST_MAIN(TestCheckDetail)
#include "TestCheckDetail.moc"
