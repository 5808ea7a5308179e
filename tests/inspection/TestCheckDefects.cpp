// The defect side of the inspection window, touched as an inspector does: the buttons in each
// placement of the frame, a defect scored on the picker and on the 10-point pad, a long defect
// ended, the section alert, a row deleted, the grade touched, saved and reopened. The rules
// themselves are TestCheckGrading's.
#include "CheckFixture.h"

#include "stations/inspection/CheckDefectPanel.h"
#include "stations/inspection/CheckSectionAlert.h"
#include "widgets/CounterBox.h"
#include "widgets/EditGrid.h"
#include "widgets/RollStretchBar.h"
#include "widgets/UserControl2.h"
#include "widgets/UserControl3.h"
#include "widgets/fProcessBar.h"
#include "stations/inspection/CheckRollPanel.h"
#include "stations/inspection/CheckLayoutPanel.h"
#include "stations/inspection/CheckDefectGrid.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QTableWidget>
#include <QTest>

class TestCheckDefects : public QObject {
    Q_OBJECT
private slots:
    void touchRecordSave()
    {
        CheckFixture fx("bugs=破洞_0.5_1^4,油污,断经_1.5,纬斜_0_2,粗纱,色差,稀密路,毛粒,错纱\n"
                        "USASTANDARD=美标4分制\nautoGrade=1\nCapPerUnit=1\nLongDefects=1\nLongDefectReject=14\n"
                        "AlertPoints=10\ngrade=A品^0,B品^200,C品^400\nBugFrame5.Top=3300\nBugFrame5.Height=4000\n");
        frmCheck& f = fx.open();
        f.resize(1024, 768);
        CheckDefectPanel part(&f);
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        auto& c = f.controls();
        const QRect narrow = designRect(c.Frame5);
        for (int placement = 0; placement < 3; ++placement) { // narrow, wide, narrow again
            const bool wide = f.layoutPanel().defectFrameWide();
            QCOMPARE(wide, placement == 1);
            QCOMPARE(designRect(c.Frame5), wide ? QRect(270, 3300, 14400, 4000) : narrow);
            QCOMPARE(designRect(c.fProcessBar1).width(), wide ? 14300 : 6000);
            QCOMPARE(part.bugBtn().size(), 9);
            QSet<int> rows;
            for (QPushButton* b : part.bugBtn()) {
                QVERIFY2(c.Frame5->rect().contains(b->geometry()), qPrintable(b->text()));
                QVERIFY(!b->geometry().intersects(f.defectGrid().grid()->geometry()));
                QVERIFY(!b->geometry().intersects(part.Label9()->geometry()));
                QVERIFY2(b->height() >= 34 && b->width() >= 90, qPrintable(b->text())); // fingertip
                rows << b->y();
            }
            QCOMPARE(rows.size(), wide ? 2 : 3); // 8 a row wide, 4 narrow
            QVERIFY(c.Frame5->rect().contains(part.Label9()->geometry()));
            // A finger between two buttons missed a button; a tap on the title moves the frame.
            const QRect first = part.bugBtn()[0]->geometry(), second = part.bugBtn()[1]->geometry();
            QTest::mouseClick(c.Frame5, Qt::LeftButton, {}, (first.center() + second.center()) / 2);
            QTest::mouseClick(c.Frame5, Qt::LeftButton, {}, QPoint(first.x(), first.y() / 2));
        }
        QVERIFY(f.defectGrid().rows().isEmpty());

        // 油污 at 20 m touched, one of it scored 2 on the picker.
        fx.lookUp("K001");
        c.TxtBox[CheckField::Quantity]->setText("20");
        c.TxtBox[CheckField::Style]->setText("150");
        c.TxtBox[CheckField::Worker]->setText("001");
        c.Text1->setText("左边");
        UserControl3* picker = part.UserControl31();
        const auto score = [&](int button, int points, int count) {
            QTest::mouseClick(part.bugBtn()[button], Qt::LeftButton);
            QVERIFY(!picker->isHidden() && part.UserControl21()->isHidden());
            QVERIFY(c.Frame5->rect().contains(picker->geometry()));
            for (int i = 0; i < count; ++i)
                QTest::mouseClick(picker->counter()->upKey(), Qt::LeftButton);
            QTest::mouseClick(picker->scoreButton(points), Qt::LeftButton);
            QVERIFY(picker->isHidden());
            QCOMPARE(picker->counter()->text(), QString(" 0")); // ready for the next defect
        };
        QTest::mouseClick(part.bugBtn()[1], Qt::LeftButton);
        QVERIFY(f.defectGrid().rows().isEmpty()); // nothing before a score is chosen
        score(1, 2, 1);
        QCOMPARE(f.defectGrid().rows(), (QList<QStringList>{{"1", "油污", "20", "1", "2", "001", "左边"}}));
        QCOMPARE(f.defectGrid().grid()->rows(), 3); // and one empty row for the next defect
        QCOMPARE(part.Label9()->text(), QString("扣分合计：2 百平米扣分:6.7")); // on 30 m²
        QVERIFY(!part.sectionAlert()->active());

        // A weft bar: "结束" at 19 is refused, at 33 it scores 4 in each of its 13 metres, which
        // passes the section alert's 10 points at once. Longer than 12 m it takes the last grade.
        c.TxtBox[CheckField::Quantity]->setText("19");
        QTest::mouseClick(part.cmdBugEnd(), Qt::LeftButton);
        QCOMPARE(f.status(), QString("结束位置要大于疵点的起始位置"));
        c.TxtBox[CheckField::Quantity]->setText("33");
        QTest::mouseClick(part.cmdBugEnd(), Qt::LeftButton);
        QCOMPARE(f.defectGrid().rows()[0][2], QString("20-33"));
        QCOMPARE(part.Label9()->text(), QString("扣分合计：52 百平米扣分:105.1")); // on 49.5 m²
        QCOMPARE(f.currentGrade(), QString("A品"));
        QVERIFY(part.sectionAlert()->active());
        QCOMPARE(f.defectGrid().rows()[1], (QStringList{"2", "区段报警", "33", "0", "0", "001", "最近10米扣分40"}));
        QVERIFY(!c.fProcessBar1->alertRect().isEmpty());
        // Seen on the roll's own 33 m, over the defect list and never over one of its rows.
        const auto* bar = f.findChild<RollStretchBar*>(QStringLiteral("alertStretch"));
        QVERIFY(bar && bar->isVisible());
        QCOMPARE(bar->stretchRect(0).left(), bar->barRect().left() + bar->barRect().width() * 23 / 33);
        QTableWidget* list = f.defectGrid().grid()->table();
        const auto onForm = [&](const QWidget* w) { return QRect(w->mapTo(&f, QPoint()), w->size()); };
        QVERIFY(!onForm(part.sectionAlert()->button()).intersects(onForm(list)));
        QTest::mouseClick(part.sectionAlert()->button(), Qt::LeftButton);
        QVERIFY(!part.sectionAlert()->active() && part.sectionAlert()->button()->isHidden());
        c.TxtBox[CheckField::Quantity]->setText("34");
        score(0, 4, 0); // 破洞 (加减 0.5): the alert of this stretch stands
        QCOMPARE(f.defectGrid().rows().size(), 3);
        QCOMPARE(c.TxtBox[CheckField::PlusMinus]->text(), QString("-0.5"));
        fx.setIni("LongDefectReject", "12");
        f.runCommand(CheckCmd::Recompute);
        QCOMPARE(f.currentGrade(), QString("C品"));

        // Touched by hand the grade stays; the points follow the counter; the alert's row deleted.
        c.gradeBtn[1]->click();
        QCOMPARE(f.status(), QString("手动等级"));
        c.TxtBox[CheckField::Quantity]->setText("60.5");
        QCOMPARE(part.Label9()->text(), QString("扣分合计：56 百平米扣分:61.2")); // on 91.5 m²
        f.defectGrid().grid()->setRow(2);
        f.runCommand(CheckCmd::DeleteDefect);
        QCOMPARE(f.defectGrid().rows()[1], (QStringList{"2", "破洞", "34", "0", "4", "001", "左边"}));
        QCOMPARE(f.defectGrid().grid()->rows(), 4);
        QCOMPARE(f.currentGrade(), QString("B品"));

        c.TxtBox[CheckField::PlusMinus]->setText("1");
        c.autoHuanJuan->setChecked(false);
        f.runCommand(CheckCmd::Save);
        const QString id = c.checkId->text();
        QCOMPARE(fx.scalar("select onCount||'/'||patchcount||'/'||grade from checkinfo"), QString("61.5/1/B品"));
        QCOMPARE(fx.scalar("select group_concat(p) from (select bugPosition || '-' || bugEnd as p "
                           "from checkDetail where checkId=" + id + " order by id)"),
                 QString("20-33,34-0"));
        f.rollPanel().newRoll();
        QVERIFY(f.defectGrid().rows().isEmpty() && !bar->isVisible());
        QCOMPARE(part.Label9()->text(), QString("扣分合计：0 百平米扣分:0"));

        // Reopened it keeps what it had, until a defect scored on the 10-point pad comes.
        f.rollPanel().loadRoll(id.toLongLong());
        QCOMPARE(f.defectGrid().rows()[0][2], QString("20-33"));
        QCOMPARE(f.currentGrade(), QString("B品"));
        fx.setIni("USASTANDARD", "国标10分制");
        UserControl2* pad = part.UserControl21();
        QTest::mouseClick(part.bugBtn()[1], Qt::LeftButton);
        QVERIFY(!pad->isHidden() && picker->isHidden());
        QCOMPARE(pad->entryBox()->text(), QString(" 0"));
        const auto padKey = [&](const QString& tag) {
            for (PadKey* k : pad->keys())
                if (k->tag() == tag)
                    QTest::mouseClick(k, Qt::LeftButton);
        };
        padKey("7");
        QTest::mouseClick(pad->counter()->upKey(), Qt::LeftButton); // one of it
        padKey("Enter");
        QVERIFY(pad->isHidden());
        QCOMPARE(pad->entryBox()->text(), QString(" 0"));
        QCOMPARE(f.defectGrid().rows().last().mid(0, 5), (QStringList{"3", "油污", "60.5", "1", "7"}));
        QCOMPARE(f.status(), QString("加减已按疵点自动改为 -0.5（原 1）"));
        f.defectGrid().append({"", "纬档", "120.5-133.5", "1", "4", "001", ""}); // read whole
        QVERIFY(list->columnWidth(2) > list->fontMetrics().horizontalAdvance("120.5-133.5"));

        // No defect list: one button, hidden.
        fx.setIni("bugs", "");
        f.runCommand(CheckCmd::DefectFrameResized);
        QCOMPARE(part.bugBtn().size(), 1);
        QVERIFY(part.bugBtn()[0]->isHidden());
    }
};

QTEST_MAIN(TestCheckDefects)
#include "TestCheckDefects.moc"
