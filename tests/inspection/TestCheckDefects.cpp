// Defect buttons on the inspection window: recording in every scoring mode, the picker answers,
// grading and allowance, deleting rows and rebuilding the buttons for the frame's placements.
#include "CheckFixture.h"

#include "stations/inspection/CheckDefectPanel.h"
#include "stations/inspection/CheckSectionAlert.h"
#include "widgets/CounterBox.h"
#include "widgets/EditGrid.h"
#include "widgets/RollStretchBar.h"
#include "widgets/UserControl2.h"
#include "widgets/UserControl3.h"
#include "widgets/fProcessBar.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QTableWidget>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

const QByteArray Bugs = "bugs=破洞_0.5_1^4,油污,断经_1.5,纬斜_0_2,粗纱,色差,稀密路,毛粒,错纱\n";

PadKey* tenPointKey(UserControl2* pad, const QString& tag)
{
    for (PadKey* k : pad->keys())
        if (k->tag() == tag)
            return k;
    return nullptr;
}

// Fills the roll fields the defect rows take their position, worker and remark from.
void rollFields(frmCheck& f, const QString& quantity, const QString& width = "")
{
    auto& c = f.controls();
    c.TxtBox[CheckField::Quantity]->setText(quantity);
    c.TxtBox[CheckField::Style]->setText(width);
    c.TxtBox[CheckField::Worker]->setText("001");
    c.Text1->setText("左边");
}

} // namespace

class TestCheckDefects : public QObject {
    Q_OBJECT
private slots:
    void recordInEachMode_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("key"); // picker button, or the digit typed on the 10-point pad
        QTest::addColumn<QString>("count");
        QTest::addColumn<QString>("score");
        QTest::newRow("off: hint count^score") << "关闭评分" << 0 << 0 << "1" << "4";
        QTest::newRow("off: plain name") << "关闭评分" << 1 << 0 << "0" << "-1";
        QTest::newRow("off: hint without score") << "关闭评分" << 3 << 0 << "2" << "-1";
        QTest::newRow("off: empty hint") << "关闭评分" << 2 << 0 << "0" << "-1";
        QTest::newRow("unknown mode is off") << "英标" << 0 << 0 << "1" << "4";
        QTest::newRow("4-point, button 3") << "美标4分制" << 1 << 3 << "2" << "3";
        QTest::newRow("Japanese, button 4") << "日标10分制" << 1 << 4 << "2" << "10";
        QTest::newRow("Japanese, button 2") << "日标10分制" << 1 << 2 << "2" << "3";
        QTest::newRow("national 10-point, typed 7") << "国标10分制" << 1 << 7 << "2" << "7";
    }
    void recordInEachMode()
    {
        QFETCH(QString, mode);
        QFETCH(int, button);
        QFETCH(int, key);
        QFETCH(QString, count);
        QFETCH(QString, score);
        CheckFixture fx(Bugs + "USASTANDARD=" + mode.toUtf8() + "\n");
        frmCheck& f = fx.open();
        CheckDefectPanel part(&f);
        rollFields(f, "123.4");
        part.bugBtn_Click(button);
        UserControl3* picker = part.UserControl31();
        UserControl2* pad = part.UserControl21();
        if (mode == "美标4分制" || mode == "日标10分制") {
            QVERIFY(!picker->isHidden());
            QVERIFY(pad->isHidden());
            QVERIFY(f.controls().Frame5->rect().contains(picker->geometry()));
            QVERIFY(f.defectRows().isEmpty()); // nothing before a score is chosen
            picker->counter()->upKey()->click();
            picker->counter()->upKey()->click();
            picker->scoreButton(key)->click();
            QVERIFY(picker->isHidden());
            QCOMPARE(picker->counter()->text(), QString(" 0")); // ready for the next defect
        } else if (mode == "国标10分制") {
            QVERIFY(!pad->isHidden());
            QVERIFY(picker->isHidden());
            QCOMPARE(pad->entryBox()->text(), QString(" 0"));
            tenPointKey(pad, QString::number(key))->click();
            pad->counter()->upKey()->click();
            pad->counter()->upKey()->click();
            tenPointKey(pad, "Enter")->click();
            QVERIFY(pad->isHidden());
            QCOMPARE(pad->entryBox()->text(), QString(" 0"));
        } else {
            QVERIFY(picker->isHidden() && pad->isHidden());
        }
        const QList<QStringList> rows = f.defectRows();
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0], (QStringList{"1", part.bugBtn()[button]->text(), "123.4", count, score,
                                       "001", "左边"}));
        // The grid keeps one empty row at the end for the next defect.
        EditGrid* grid = f.pggCheck();
        QCOMPARE(grid->rows(), 3);
        QCOMPARE(grid->textMatrix(2, 1), QString());
    }

    void fourPointGradesTheArea()
    {
        CheckFixture fx(Bugs + "USASTANDARD=美标4分制\nautoGrade=1\n");
        frmCheck& f = fx.open();
        CheckDefectPanel part(&f);
        rollFields(f, "100", "150");
        part.bugBtn_Click(1);
        emit part.UserControl31()->Confirm(" 4", " 0");
        part.bugBtn_Click(1);
        emit part.UserControl31()->Confirm(" 2", " 0");
        QCOMPARE(part.Label9()->text(), QString("扣分合计：6 百平米扣分:4"));
        QCOMPARE(f.controls().TxtBox[CheckField::PlusMinus]->text(), QString("0"));
        // A width that is not a number counts as 100 m²: the points themselves.
        f.controls().TxtBox[CheckField::Style]->setText("宽幅");
        f.runCommand(CheckCmd::Recompute);
        QCOMPARE(part.Label9()->text(), QString("扣分合计：6 百平米扣分:6"));
        // Width 0 counts as 100 cm; the plus/minus length is taken off the counted length.
        f.controls().TxtBox[CheckField::Style]->setText("0");
        f.controls().TxtBox[CheckField::PlusMinus]->setText("-20");
        f.runCommand(CheckCmd::Recompute);
        QCOMPARE(part.Label9()->text(), QString("扣分合计：6 百平米扣分:5")); // 6 / 1.2
    }

    // With grading off the grade chosen and the allowance typed stay as they are.
    void autoGrade_data()
    {
        QTest::addColumn<int>("points");
        QTest::addColumn<bool>("on");
        QTest::addColumn<QString>("grade");
        QTest::addColumn<double>("allowance");
        QTest::newRow("P 25") << 25 << true << "B品" << 0.0;
        QTest::newRow("P 40") << 40 << true << "C品" << 0.0;
        QTest::newRow("P 10") << 10 << true << "A品" << 0.0;
        QTest::newRow("grading off") << 10 << false << "C品" << 3.0;
    }
    void autoGrade()
    {
        QFETCH(int, points);
        QFETCH(bool, on);
        CheckFixture fx("bugs=疵_0_1^" + QByteArray::number(points) +
                        "\ngrade=A品^0,B品^20,C品^40\nautoGrade=" + (on ? "1" : "0") + "\n");
        frmCheck& f = fx.open();
        CheckDefectPanel part(&f);
        f.selectGrade("C品");
        f.controls().TxtBox[CheckField::PlusMinus]->setText("3");
        part.bugBtn_Click(0);
        QCOMPARE(f.defectRows().size(), 1);
        QTEST(f.currentGrade(), "grade");
        QTEST(f.controls().TxtBox[CheckField::PlusMinus]->text().toDouble(), "allowance");
        const QString p = QString::number(points);
        QCOMPARE(part.Label9()->text(), "扣分合计：" + p + (on ? " 百平米扣分:" + p : QString()));
    }

    // No row: a comma in a field the row takes (it would split the row), no defect list (one
    // hidden button), a button that is not there.
    void nothingRecorded_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<int>("comma"); // in the remark, worker, position field; -1: none
        QTest::addColumn<int>("button");
        QTest::newRow("comma in the remark") << Bugs << 0 << 0;
        QTest::newRow("comma in the worker") << Bugs << 1 << 0;
        QTest::newRow("comma in the position") << Bugs << 2 << 0;
        QTest::newRow("no defect list") << QByteArray() << -1 << 0;
        QTest::newRow("no such button") << QByteArray() << -1 << 7;
    }
    void nothingRecorded()
    {
        QFETCH(QByteArray, ini);
        QFETCH(int, comma);
        QFETCH(int, button);
        CheckFixture fx(ini);
        frmCheck& f = fx.open();
        CheckDefectPanel part(&f);
        rollFields(f, "10");
        auto& c = f.controls();
        QLineEdit* const fields[] = {c.Text1, c.TxtBox[CheckField::Worker], c.TxtBox[CheckField::Quantity]};
        if (comma >= 0)
            fields[comma]->setText("1,2");
        QCOMPARE(part.bugBtn().size(), ini.isEmpty() ? 1 : 9);
        QCOMPARE(part.bugBtn()[0]->isHidden(), ini.isEmpty());
        part.bugBtn_Click(button);
        QVERIFY(f.defectRows().isEmpty());
        QCOMPARE(f.pggCheck()->rows(), 2);
    }

    // Rows are numbered again and points and allowance follow the rows that are left (-1: the
    // next roll empties the list).
    void deleteSelectedRow_data()
    {
        QTest::addColumn<int>("selected");
        QTest::addColumn<QStringList>("left");
        QTest::addColumn<QString>("allowance");
        QTest::addColumn<int>("points");
        QTest::newRow("middle") << 2 << QStringList{"破洞", "断经"} << "-2" << 5;
        QTest::newRow("first") << 1 << QStringList{"油污", "断经"} << "-1.5" << 3;
        QTest::newRow("last defect") << 3 << QStringList{"破洞", "油污"} << "-0.5" << 6;
        QTest::newRow("the empty row stays")
            << 4 << QStringList{"破洞", "油污", "断经"} << "-2" << 7;
        QTest::newRow("nothing selected") << 0 << QStringList{"破洞", "油污", "断经"} << "-2" << 7;
        QTest::newRow("next roll: all gone") << -1 << QStringList{} << "0" << 0;
    }
    void deleteSelectedRow()
    {
        QFETCH(int, selected);
        QFETCH(QStringList, left);
        QFETCH(int, points);
        CheckFixture fx("bugs=破洞_0.5_1^4,油污_0_0^2,断经_1.5_0^1\nautoGrade=1\n");
        frmCheck& f = fx.open();
        CheckDefectPanel part(&f);
        rollFields(f, "10");
        for (int i : {0, 1, 2})
            part.bugBtn_Click(i);
        if (selected < 0) {
            f.newRoll();
        } else {
            f.pggCheck()->setRow(selected);
            f.runCommand(CheckCmd::DeleteDefect);
        }
        QStringList rows;
        for (int i = 0; i < left.size(); ++i)
            rows << QString::number(i + 1) + ' ' + left[i];
        QStringList shown;
        for (const QStringList& r : f.defectRows())
            shown << r[0] + ' ' + r[1];
        QCOMPARE(shown, rows);
        QCOMPARE(f.pggCheck()->rows(), int(left.size()) + 2);
        QCOMPARE(f.pggCheck()->textMatrix(f.pggCheck()->rows() - 1, 1), QString());
        QTEST(f.controls().TxtBox[CheckField::PlusMinus]->text(), "allowance");
        QVERIFY(part.Label9()->text().startsWith("扣分合计：" + QString::number(points) + " "));
    }

    void rebuiltForEachPlacement()
    {
        CheckFixture fx(Bugs + "BugFrame5.Top=3300\nBugFrame5.Height=4000\n");
        frmCheck& f = fx.open();
        f.resize(1024, 768);
        CheckDefectPanel part(&f);
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        auto& c = f.controls();
        const QRect narrow = designRect(c.Frame5);
        for (int placement = 0; placement < 3; ++placement) { // narrow, wide, narrow again
            const bool wide = f.defectFrameWide();
            QCOMPARE(wide, placement == 1);
            QCOMPARE(designRect(c.Frame5), wide ? QRect(270, 3300, 14400, 4000) : narrow);
            QCOMPARE(designRect(c.fProcessBar1).width(), wide ? 14300 : 6000);
            const QRect grid = f.pggCheck()->geometry();
            QCOMPARE(part.bugBtn().size(), 9);
            int rowsSeen = 0;
            int lastTop = -1;
            for (QPushButton* b : part.bugBtn()) {
                QVERIFY2(c.Frame5->rect().contains(b->geometry()), qPrintable(b->text()));
                QVERIFY2(!b->geometry().intersects(grid), qPrintable(b->text()));
                QVERIFY(!b->geometry().intersects(part.Label9()->geometry()));
                QVERIFY2(b->height() >= 34 && b->width() >= 90, qPrintable(b->text())); // fingertip
                if (b->y() != lastTop)
                    ++rowsSeen;
                lastTop = b->y();
            }
            QCOMPARE(rowsSeen, wide ? 2 : 3); // 8 a row wide, 4 narrow
            QVERIFY(c.Frame5->rect().contains(part.Label9()->geometry()));
            // A finger between two buttons missed a button; a tap on the title moves the frame.
            const QRect first = part.bugBtn()[0]->geometry(), second = part.bugBtn()[1]->geometry();
            QTest::mouseClick(c.Frame5, Qt::LeftButton, {}, (first.center() + second.center()) / 2);
            QTest::mouseClick(c.Frame5, Qt::LeftButton, {}, QPoint(first.x(), first.y() / 2));
        }
        // The list changed in the settings: the next placement shows the new one.
        fx.setIni("bugs", "破洞,油污");
        f.Frame5_Click();
        QCOMPARE(part.bugBtn().size(), 2);
        QCOMPARE(part.bugBtn()[1]->text(), QString("油污"));
        QVERIFY(!part.bugBtn()[1]->isHidden());
    }

    // A weft bar by touch: pressed at 20, "结束" at 33. Under the cap it scores 4 in each of its
    // 13 metres, which passes the section alert's limit at once; it is saved with its end and
    // reopened as 起-止, and longer than LongDefectReject it takes the last grade.
    void longDefectAndSectionAlert()
    {
        CheckFixture fx(Bugs +
                        "USASTANDARD=美标4分制\nautoGrade=1\nCapPerUnit=1\nLongDefects=1\n"
                        "LongDefectReject=14\nAlertPoints=10\ngrade=A品^0,B品^200,C品^400\n");
        frmCheck& f = fx.open();
        CheckDefectPanel part(&f);
        f.show();
        fx.lookUp("K001");
        auto& c = f.controls();
        const auto record = [&](const char* at, int points) {
            c.TxtBox[CheckField::Quantity]->setText(at);
            QTest::mouseClick(part.bugBtn()[1], Qt::LeftButton);
            QTest::mouseClick(part.UserControl31()->scoreButton(points), Qt::LeftButton);
        };
        rollFields(f, "20", "150");
        record("20", 2);
        QVERIFY(!part.sectionAlert()->active()); // 2 points in the last 10 metres
        QVERIFY(!part.cmdBugEnd()->isHidden());
        c.TxtBox[CheckField::Quantity]->setText("19");
        QTest::mouseClick(part.cmdBugEnd(), Qt::LeftButton);
        QCOMPARE(f.status(), QString("结束位置要大于疵点的起始位置"));
        c.TxtBox[CheckField::Quantity]->setText("33");
        QTest::mouseClick(part.cmdBugEnd(), Qt::LeftButton);
        QCOMPARE(f.defectRows()[0][2], QString("20-33"));
        QCOMPARE(part.Label9()->text(), QString("扣分合计：52 百平米扣分:105.1")); // 52 on 49.5 m²
        QCOMPARE(f.currentGrade(), QString("A品"));
        QVERIFY(part.sectionAlert()->active());
        QCOMPARE(f.defectRows()[1],
                 (QStringList{"2", "区段报警", "33", "0", "0", "001", "最近10米扣分40"}));
        QVERIFY(!c.fProcessBar1->alertRect().isEmpty());
        QVERIFY(!part.sectionAlert()->button()->isHidden());
        // Seen on the roll's own 33 m, over the defect list and never over one of its rows.
        const auto* bar = f.findChild<RollStretchBar*>(QStringLiteral("alertStretch"));
        QVERIFY(bar && bar->isVisible());
        QCOMPARE(bar->stretchRect(0).left(), bar->barRect().left() + bar->barRect().width() * 23 / 33);
        QTableWidget* list = f.pggCheck()->table();
        const auto onForm = [&](const QWidget* w) { return QRect(w->mapTo(&f, QPoint()), w->size()); };
        QVERIFY(!onForm(part.sectionAlert()->button()).intersects(onForm(list)));
        QTest::mouseClick(part.sectionAlert()->button(), Qt::LeftButton);
        QVERIFY(!part.sectionAlert()->active() && part.sectionAlert()->button()->isHidden());
        record("34", 4); // the alert of this stretch stands
        QCOMPARE(f.defectRows().size(), 3);
        fx.setIni("LongDefectReject", "12");
        f.runCommand(CheckCmd::Recompute);
        QCOMPARE(f.currentGrade(), QString("C品"));

        c.autoHuanJuan->setChecked(false);
        f.runCommand(CheckCmd::Save);
        const QString id = c.checkId->text();
        QCOMPARE(fx.scalar("select group_concat(p) from (select bugPosition || '-' || bugEnd as p "
                           "from checkDetail where checkId=" +
                           id + " order by id)"),
                 QString("20-33,33-0,34-0"));
        f.newRoll();
        QVERIFY(f.defectRows().isEmpty() && !bar->isVisible());
        f.loadRoll(id.toLongLong());
        QCOMPARE(f.defectRows()[0][2], QString("20-33"));
        QCOMPARE(f.defectRows()[2][2], QString("34"));
        f.appendDefectRow({"", "纬档", "120.5-133.5", "1", "4", "001", ""}); // read whole
        QVERIFY(list->columnWidth(2) > list->fontMetrics().horizontalAdvance("120.5-133.5"));
    }

    // A 4-point defect at 2 m, the counter on to 60 m: 保存 stores what the screen shows, a grade
    // touched by hand too; reopened, the roll keeps all it had until a defect is added.
    void gradeOnScreenIsStored_data()
    {
        QTest::addColumn<int>("touch"); // grade touched at 2 m, -1 none
        QTest::addColumn<int>("reopen"); // 0 no, 1 saved again, 2 with a defect added
        QTest::addColumn<QString>("stored");
        QTest::newRow("automatic") << -1 << 0 << "60/0/A品";
        QTest::newRow("touched") << 1 << 0 << "60/0/B品";
        QTest::newRow("reopened") << 1 << 1 << "61/1/B品";
        QTest::newRow("reopened, defect added") << 1 << 2 << "60/0/A品";
    }
    void gradeOnScreenIsStored()
    {
        QFETCH(int, touch);
        QFETCH(int, reopen);
        CheckFixture fx(Bugs + "USASTANDARD=美标4分制\nautoGrade=1\ngrade=A品^0,B品^20,C品^40\n");
        frmCheck& f = fx.open();
        CheckDefectPanel part(&f);
        fx.lookUp("K001");
        auto& c = f.controls();
        const auto defect = [&] { part.bugBtn_Click(1); emit part.UserControl31()->Confirm("4", "0"); };
        rollFields(f, "2", "150");
        defect();
        if (touch >= 0)
            c.gradeBtn[touch]->click();
        QCOMPARE(f.status(), QString(touch >= 0 ? "手动等级" : "新"));
        c.TxtBox[CheckField::Quantity]->setText("60");
        QCOMPARE(part.Label9()->text(), QString("扣分合计：4 百平米扣分:4.4"));
        c.TxtBox[CheckField::PlusMinus]->setText(reopen ? "1" : "0");
        c.autoHuanJuan->setChecked(false);
        f.runCommand(CheckCmd::Save);
        if (reopen)
            f.loadRoll(c.checkId->text().toLongLong());
        if (reopen == 2) {
            defect();
            QCOMPARE(f.status(), QString("加减已按疵点自动改为 0（原 1）"));
        }
        f.runCommand(CheckCmd::Save);
        QTEST(fx.scalar("select onCount||'/'||patchcount||'/'||grade from checkinfo"), "stored");
    }
};

QTEST_MAIN(TestCheckDefects)
#include "TestCheckDefects.moc"
