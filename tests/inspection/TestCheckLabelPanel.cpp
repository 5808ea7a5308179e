// The labels of the inspection window, touched as the inspector does: a roll's label printed into
// the PDF its template names and read back, the template menu, the label tab's rows saved and
// printed, the roll list exported, a worksheet imported, and the grids' widths kept.
#include "CheckFixture.h"

#include "db/Recordset.h"
#include "sheet/SheetFile.h"
#include "shell/Database.h"
#include "shell/MessageBox.h"
#include "shell/SysUtil.h"
#include "config/ProgramFolder.h"
#include "stations/inspection/CheckLabelPanel.h"
#include "stations/inspection/CheckSettingsPanel.h"
#include "support/ReadBack.h"
#include "widgets/EditGrid.h"
#include "stations/inspection/CheckRollPanel.h"
#include "stations/inspection/CheckDevicePanel.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

void writeTemplate(CheckFixture& fx, const QString& name, const QByteArray& text = "[report]\npage = 60 x 40\n")
{
    fx.home().writeFile(u"打印/唛头/"_s + name + u".grf"_s, text);
}

void click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton); }

QString rowsOf(const CheckLabelPanel* part)
{
    QStringList out;
    for (const auto& [number, quantity] : part->labelRows())
        out << number + u':' + quantity;
    return out.join(u',');
}

} // namespace

class TestCheckLabelPanel : public QObject {
    Q_OBJECT
private slots:
    void labels()
    {
        CheckFixture fx;
        fx.home().writeFile(u"mirel.ini"_s, "[MIREL]\n"); // a fresh station: no roll-number pattern
        const QString pdf = fx.home().file(u"标签.pdf"_s);
        // The grade's own label, a page a copy, into a PDF.
        writeTemplate(fx, u"A品"_s, "[report]\npage = 60 x 40\n[parameter]\nname = 单据ID\ntype = number\ndefault = 0\n"
                                    "[parameter]\nname = 默认打印机\ntype = text\ndefault = " + pdf.toUtf8() +
                                    "\n[detail]\nquery = select checkcode as 卷号 from checkinfo where id = [#单据ID#]\n"
                                    "[text]\nat = 1 1 50 8\ntext = 卷[卷号]\n");
        writeTemplate(fx, u"唛头"_s);
        // The card keeps two templates: its look-up writes them into the folder, the second is
        // the mark label's.
        for (const char* file : {"卡唛.grf", "订单唛.grf"})
            fx.exec(u"insert into billFiles(fileName, billFile, fileType, fkid) values('%1', 0x%2, 'Bill', 1)"_s.arg(
                QString::fromUtf8(file), QString::fromLatin1(QByteArray("[report]\npage = 60 x 40\n").toHex())));
        frmCheck* f = &fx.open();
        auto* part = new CheckLabelPanel(f);
        auto* c = &f->controls();
        f->show();
        QCOMPARE(c->TxtBox[CheckField::RollNumber]->text(), u"001"_s);
        QCOMPARE(f->settingsPanel()->textBoxes().value(0)->text(), u"000"_s);
        fx.lookUp(u"K001"_s);
        c->TxtBox[CheckField::Worker]->setText(u"001"_s);
        c->TxtBox[CheckField::Quantity]->setText(u"100"_s);
        c->autoHuanJuan->setChecked(false);
        c->UpDown1->setValue(2);
        click(c->checkCommand[CheckCmd::PrintLabel]);
        const QString first = c->checkId->text();
        QCOMPARE(fx.scalar(u"select group_concat(id||checkCode) from checkinfo"_s), first + u"001"_s);
        QCOMPARE(ReadBack::pdfPages(pdf).size(), 2);
        QVERIFY(ReadBack::pdfPages(pdf).value(1).contains(u"卷001"));
        QVERIFY(!c->checkCommand[CheckCmd::PrintLabel]->isEnabled() && !f->devicePanel().polling()); // one label a roll
        f->rollPanel().newRoll();
        QVERIFY(c->checkCommand[CheckCmd::PrintLabel]->isEnabled() && f->devicePanel().polling());

        // From here on the labels are recorded instead of printed.
        QStringList prints;
        part->setPrintFn([&prints](const QString& name, qint64 id, bool preview, int copies) {
            prints << u"%1 %2 %3 %4"_s.arg(name).arg(id).arg(preview).arg(copies);
        });
        c->isPrintreview->setChecked(true);
        c->UpDown1->setValue(3);
        c->TxtBox[CheckField::Quantity]->setText(u"100"_s);
        click(c->checkCommand[CheckCmd::PrintMark]);
        QCOMPARE(prints, QStringList{u"订单唛 %1 1 3"_s.arg(c->checkId->text())});
        QFile::remove(fx.home().file(u"打印/唛头/订单唛.grf"_s));
        f->rollPanel().newRoll();
        c->TxtBox[CheckField::Quantity]->setText(u"100"_s);
        click(c->checkCommand[CheckCmd::PrintMark]);
        QCOMPARE(prints.size(), 1);
        QVERIFY(f->status().contains(u"订单唛"));
        // A reopened roll is saved again before its label is printed, unless saved rolls stay
        // as they are.
        for (const char* delCheck : {"1", "0"}) {
            fx.setIni(u"DelCheck"_s, QString::fromLatin1(delCheck));
            f->rollPanel().loadRoll(first.toLongLong());
            c->TxtBox[CheckField::Quantity]->setText(delCheck == QByteArray("1") ? u"77"_s : u"66"_s);
            f->runCommand(CheckCmd::PrintLabel);
            QCOMPARE(prints.last(), u"A品 %1 1 3"_s.arg(first));
            QCOMPARE(fx.scalar(u"select count(*)||':'||sum(onCount) from checkinfo where id="_s + first), u"1:77"_s);
        }
        QCOMPARE(fx.scalar(u"select count(*) from checkinfo"_s), u"3"_s);

        // The label tab: rows generated from the roll on screen, saved as rolls and printed once
        // each, without preview, with the remembered template.
        f->rollPanel().newRoll();
        click(part->cmdTag(1));
        QCOMPARE(f->status(), u"请点击生成标签按钮"_s);
        c->machineCount->setText(u"1000"_s);
        c->TxtBox[CheckField::RollNumber]->setText(u"010"_s);
        c->TxtBox[CheckField::PieceLength]->setText(u"0"_s);
        click(part->cmdTag(0));
        QCOMPARE(f->status() + rowsOf(part), u"每支长度必须大于0"_s);
        emit f->commandRequested(CheckCmd::VariableLabels); // the count's field was touched
        QVERIFY(part->tagType(1)->isChecked());
        c->TxtBox[CheckField::Quantity]->setText(u"120"_s);
        c->TxtBox[CheckField::LabelCount]->setText(u"2"_s);
        click(part->cmdTag(0));
        QCOMPARE(rowsOf(part), u"010:120,011:120"_s);
        click(part->cmdTag(3));
        QCOMPARE(rowsOf(part) + QString::number(part->pggTag()->rows()), u"2"_s);
        emit f->commandRequested(CheckCmd::FixedLength);
        c->TxtBox[CheckField::PieceLength]->setText(u"250.5"_s);
        click(part->cmdTag(0));
        QCOMPARE(rowsOf(part), u"010:250.5,011:250.5,012:250.5,013:248.5"_s);
        QCOMPARE(part->pggTag()->rows(), 6); // header, four labels, the empty row to type into
        prints.clear();
        click(part->cmdTag(2));
        QCOMPARE(f->status(), u"批量保存成功！"_s);
        QCOMPARE(fx.scalar(u"select group_concat(checkCode||':'||onCount) from (select * from checkinfo where checkCode>='010' order by id)"_s),
                 u"010:250.5,011:250.5,012:250.5,013:248.5"_s);
        QCOMPARE(prints.size(), 4);
        QVERIFY(prints.first().startsWith(u"唛头 ") && prints.first().endsWith(u" 0 1"));
        QCOMPARE(rowsOf(part) + c->checkId->text(), u"0"_s);

        // The template menu, at the size of the window's texts: a choice is remembered.
        click(c->checkCommand[CheckCmd::ChooseTemplate]);
        QStringList captions;
        for (QAction* a : part->templateMenu()->actions())
            if (a->isVisible())
                captions << a->text();
        QCOMPARE(captions, (QStringList{u"A品"_s, u"卡唛"_s, u"唛头"_s, u"订单唛"_s, u"bill"_s})); // the reopened roll's card wrote it again
        QCOMPARE(part->templateMenu()->font().pointSizeF(), f->font().pointSizeF());
        part->templateMenu()->close();
        part->templateMenu()->actions()[1]->trigger();
        QCOMPARE(SysUtil::getSetting(ProgramFolder::executableName(), u"PrintTemplate"_s, u"check"_s), u"卡唛"_s);

        // The roll list exported as the list tab queried it; a worksheet adds a roll to the card.
        click(part->cmdTag(4));
        QCOMPARE(MessageBox::lastShown().text, u"请先查找卡号！"_s);
        CheckLabelPanel::publishRollList(f, Database::conn().execute(
            u"select 7 as id,'001' as checkCode,250.5 as onCount,'A品' as grade union all select 8,'002',99,null"_s));
        MessageBox::setNextFileName(fx.home().file(u"卷列表"_s));
        click(part->cmdTag(4));
        sheet::SheetGrid grid;
        QVERIFY(sheet::readFirstSheet(fx.home().file(u"卷列表.xlsx"_s), &grid));
        QCOMPARE(grid.rowCount(), 3);
        QCOMPARE(grid.text(1, 2).toLower() + grid.text(2, 2) + grid.text(3, 4), u"checkcode001"_s);
        QVERIFY(grid.isNumber(2, 3) && grid.cell(2, 3).toDouble() == 250.5 && grid.cell(3, 1).toDouble() == 8.0);
        MessageBox::setNextFileName(QString());
        click(part->cmdTag(5));
        QCOMPARE(MessageBox::lastShown().text, u"请选择文件！"_s);
        const QVariant e;
        QVERIFY(sheet::writeXlsx(fx.home().file(u"导入.xlsx"_s), {QStringList{u"ID"_s},
            {{-1, u"099"_s, e, e, e, e, e, e, e, 80, u"一等品"_s}, {0, u"003"_s, e, e, e, e, e, e, e, 5, u"A品"_s}}}));
        c->TxtBox[CheckField::Worker]->setText(u"001"_s);
        c->Text1->setText(u"边'破"_s);
        MessageBox::setNextFileName(fx.home().file(u"导入.xlsx"_s));
        click(part->cmdTag(5));
        QCOMPARE(MessageBox::lastShown().text, u"导入成功"_s);
        QCOMPARE(fx.scalar(u"select billcode||billdetailId||':'||onCount||grade||checkUsercode||remark from checkinfo where checkCode='099'"_s),
                 u"K00111:80一等品001边'破"_s);

        // The widths the inspector gave the defect and label grids come back at the next start.
        for (const char* name : {"pggCheck", "pggTag"})
            f->findChild<EditGrid*>(QString::fromLatin1(name))->setColWidth(1, 2345);
        f->close();
        QCOMPARE(SysUtil::getSetting(u"mirel"_s, u"mirel"_s, u"frmPggTag"_s).split(u',').value(1), u"2345"_s);
        f = &fx.open();
        new CheckLabelPanel(f);
        for (const char* name : {"pggCheck", "pggTag"})
            QCOMPARE(f->findChild<EditGrid*>(QString::fromLatin1(name))->colWidth(1), 2345);
    }
};

QTEST_MAIN(TestCheckLabelPanel)
#include "TestCheckLabelPanel.moc"
