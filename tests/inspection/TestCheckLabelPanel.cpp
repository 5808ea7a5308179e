// The label part of the inspection window: printing a roll (template choice, PDF output, one
// label per roll), the template menu, the label tab's batch save and print, export and import.
#include "CheckFixture.h"

#include "config/ProgramFolder.h"
#include "db/Recordset.h"
#include "sheet/SheetFile.h"
#include "shell/Database.h"
#include "shell/MessageBox.h"
#include "shell/SysUtil.h"
#include "stations/inspection/CheckLabelPanel.h"
#include "stations/inspection/CheckLabelRows.h"
#include "stations/inspection/CheckRollListPanel.h"
#include "stations/inspection/CheckSettingsPanel.h"
#include "support/ReadBack.h"
#include "widgets/EditGrid.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QLineEdit>
#include <QTest>

namespace {

struct PrintCall {
    QString name;
    qint64 id;
    bool preview;
    int copies;
};

// The labels the part sends to the printer, recorded instead of printed.
struct Prints : QList<PrintCall> {
    explicit Prints(CheckLabelPanel& part)
    {
        part.setPrintFn([this](const QString& n, qint64 id, bool p, int c) {
            append({n, id, p, c});
        });
    }
};

// A label template that writes a PDF to pdfPath, one page per roll.
QByteArray pdfTemplate(const QString& pdfPath)
{
    return "[report]\npage = 60 x 40\n[parameter]\nname = 单据ID\ntype = number\ndefault = 0\n"
           "[parameter]\nname = 默认打印机\ntype = text\ndefault = "
         + pdfPath.toUtf8()
         + "\n[detail]\nquery = select checkcode as 卷号, oncount as 数量 from checkinfo where id = [#单据ID#]\n"
           "[text]\nat = 1 1 50 8\ntext = [卷号] [数量]\n";
}

void writeTemplate(CheckFixture& fx, const QString& name, const QByteArray& text = "[report]\npage = 60 x 40\n")
{
    fx.home().writeFile(QStringLiteral("打印/唛头/") + name + QStringLiteral(".grf"), text);
}

// The card line K001/11 on screen with a worker, ready to save.
void readyToSave(CheckFixture& fx, frmCheck& f)
{
    fx.lookUp(QStringLiteral("K001"));
    f.controls().TxtBox[CheckField::Worker]->setText(QStringLiteral("001"));
    f.controls().TxtBox[CheckField::Quantity]->setText(QStringLiteral("100"));
    f.controls().autoHuanJuan->setChecked(false);
}

QString pythonWithXlwt()
{
    for (const QString& python : {QStringLiteral("/usr/bin/python3"), QStringLiteral("python3")}) {
        QProcess p;
        p.start(python, {QStringLiteral("-c"), QStringLiteral("import xlwt")});
        if (p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0)
            return python;
    }
    return QString();
}

// Writes rows (from row 2, cells from column A) as .xlsx with libxlsxwriter or as .xls with xlwt.
bool writeSheet(const QString& path, const QList<QVariantList>& rows)
{
    if (path.endsWith(u".xlsx")) {
        sheet::SheetTable t;
        t.header = QStringList{"ID", "卷号", "卡号", "", "", "", "", "", "", "数量", "等级"};
        t.rows = rows;
        return sheet::writeXlsx(path, t);
    }
    QJsonArray json;
    for (const QVariantList& r : rows)
        json.append(QJsonArray::fromVariantList(r));
    QProcess p;
    p.start(pythonWithXlwt(), {QDir(qEnvironmentVariable("MIREL_SOURCE_DIR")).filePath(QStringLiteral("tests/inspection/make_import_xls.py")),
                               path, QString::fromUtf8(QJsonDocument(json).toJson(QJsonDocument::Compact))});
    return p.waitForFinished(30000) && p.exitCode() == 0;
}

} // namespace

class TestCheckLabelPanel : public QObject {
    Q_OBJECT
private slots:
    // A station whose ini has no roll-number pattern numbers its first roll 001, the same on the
    // form, on generated labels and in the settings panel, whichever numbering rule it uses.
    void freshStationPattern_data()
    {
        QTest::addColumn<QByteArray>("rule");
        QTest::newRow("free number from the database") << QByteArray("0");
        QTest::newRow("counting up on the station") << QByteArray("1");
    }
    void freshStationPattern()
    {
        QFETCH(QByteArray, rule);
        CheckFixture fx;
        fx.home().writeFile(QStringLiteral("mirel.ini"), "[MIREL]\ncodeDESC=" + rule + "\n");
        frmCheck& f = fx.open();
        CheckLabelPanel part(&f);
        QCOMPARE(f.controls().TxtBox[CheckField::RollNumber]->text(), QString("001"));
        f.controls().machineCount->setText("500");
        part.cmdTag(0)->click();
        QCOMPARE(part.labelRows().value(1).first, QString("002"));
        auto* panel = f.settingsPanel();
        QCOMPARE(panel->textBoxes().value(0)->text(), QString("000"));
    }

    // The column widths the inspector gave a grid come back at the next start; the roll list
    // filled again keeps them.
    void gridWidthsKept_data()
    {
        QTest::addColumn<QString>("grid");
        QTest::addColumn<QString>("key");
        QTest::newRow("defect grid") << "pggCheck" << "frmCheck";
        QTest::newRow("label grid") << "pggTag" << "frmPggTag";
        QTest::newRow("roll list") << "ppgCheckGrid"
                                   << "ppgCheckGrid2";
    }
    void gridWidthsKept()
    {
        QFETCH(QString, grid);
        QFETCH(QString, key);
        CheckFixture fx;
        fx.exec("insert into checkinfo(billCode,checkCode,machineId) values('K001','001','001')");
        const auto open = [&fx]() -> frmCheck& {
            frmCheck& f = fx.open();
            new CheckLabelPanel(&f);
            new CheckRollListPanel(&f);
            f.runCommand(CheckCmd::QueryList);
            return f;
        };
        frmCheck& f = open();
        f.findChild<EditGrid*>(grid)->setColWidth(1, 2345);
        f.runCommand(CheckCmd::QueryList);
        QCOMPARE(f.findChild<EditGrid*>(grid)->colWidth(1), 2345);
        f.close();
        QCOMPARE(SysUtil::getSetting("mirel", "mirel", key).split(',').value(1), QString("2345"));
        QCOMPARE(open().findChild<EditGrid*>(grid)->colWidth(1), 2345);
    }

    // A saved roll prints its label into the PDF its template names, a page a copy; one label per
    // roll from the button, the next roll may print again.
    void printSavedRollToPdf()
    {
        CheckFixture fx;
        const QString pdf = fx.home().file(QStringLiteral("唛头.pdf"));
        writeTemplate(fx, QStringLiteral("唛头"), pdfTemplate(pdf));
        frmCheck& f = fx.open();
        CheckLabelPanel part(&f);
        readyToSave(fx, f);
        f.controls().UpDown1->setValue(2);
        f.runCommand(CheckCmd::PrintLabel);
        QVERIFY(f.controls().checkId->text().toLongLong() > 0);
        QCOMPARE(fx.scalar("select count(*) from checkinfo"), QString("1"));
        QCOMPARE(int(ReadBack::pdfPages(pdf).size()), 2);
        QVERIFY(!f.controls().checkCommand[CheckCmd::PrintLabel]->isEnabled() && !f.polling());
        f.newRoll();
        QVERIFY(f.controls().checkCommand[CheckCmd::PrintLabel]->isEnabled() && f.polling());
    }

    // The label comes out of the template the button picks: the folder's own, or the ones stored
    // with the card, which the card look-up writes into the folder ("小唛.GRF" as "小唛.grf").
    void templateChoice_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("stored"); // billFiles rows of the card, in order
        QTest::addColumn<QString>("check");
        QTest::addColumn<QString>("check2");
        QTest::addColumn<QString>("printed"); // "" = nothing printed
        const auto row = [](const char* name, int command, const QStringList& files,
                            const QStringList& stored, const char* check, const char* check2,
                            const char* printed) {
            QTest::newRow(name) << command << files << stored << QString::fromUtf8(check)
                                << QString::fromUtf8(check2) << QString::fromUtf8(printed);
        };
        row("grade's own template", CheckCmd::PrintLabel, {"A品", "唛头"}, {}, "", "", "A品");
        row("remembered choice", CheckCmd::PrintLabel, {"特殊", "唛头"}, {}, "特殊", "", "特殊");
        row("missing template file", CheckCmd::PrintLabel, {}, {}, "", "", "");
        row("mark label default", CheckCmd::PrintMark, {"A品", "订单唛头2"}, {}, "", "", "订单唛头2");
        row("mark label remembered", CheckCmd::PrintMark, {"A品", "二号"}, {}, "", "二号", "二号");
        row("card's second template", CheckCmd::PrintMark, {"唛头"}, {"卡唛.grf", "订单唛.grf"}, "", "", "订单唛");
        row("upper-case extension", CheckCmd::PrintMark, {"唛头"}, {"大唛.grf", "小唛.GRF"}, "", "", "小唛");
    }
    void templateChoice()
    {
        QFETCH(int, command);
        QFETCH(QStringList, files);
        QFETCH(QStringList, stored);
        QFETCH(QString, check);
        QFETCH(QString, check2);
        QFETCH(QString, printed);
        CheckFixture fx;
        for (const QString& name : files)
            writeTemplate(fx, name);
        for (const QString& file : stored)
            fx.exec("insert into billFiles(fileName, billFile, fileType, fkid) values('" + file +
                    "', 0x" + QByteArray("[report]\npage = 60 x 40\n").toHex() + ", 'Bill', 1)");
        const QString app = ProgramFolder::executableName();
        if (!check.isEmpty())
            SysUtil::saveSetting(app, "PrintTemplate", "check", check);
        if (!check2.isEmpty())
            SysUtil::saveSetting(app, "PrintTemplate", "check2", check2);
        frmCheck& f = fx.open();
        CheckLabelPanel part(&f);
        Prints calls(part);
        readyToSave(fx, f);
        f.controls().isPrintreview->setChecked(true);
        f.controls().UpDown1->setValue(3);
        f.runCommand(command);
        QVERIFY(!f.controls().checkCommand[command]->isEnabled());
        if (printed.isEmpty()) {
            QVERIFY(calls.isEmpty());
            QVERIFY(f.status().contains(u"唛头"));
            return;
        }
        QCOMPARE(calls.size(), 1);
        QCOMPARE(calls[0].name, printed);
        QCOMPARE(QString::number(calls[0].id), f.controls().checkId->text());
        QVERIFY(calls[0].preview);
        QCOMPARE(calls[0].copies, 3);
    }

    void reopenedRoll_data()
    {
        QTest::addColumn<QString>("delCheck");
        QTest::addColumn<QString>("quantityAfter");
        QTest::newRow("saved again") << "1" << "77";
        QTest::newRow("printed unchanged") << "0" << "50";
    }
    void reopenedRoll()
    {
        QFETCH(QString, delCheck);
        CheckFixture fx("DelCheck=" + delCheck.toUtf8() + "\n");
        writeTemplate(fx, QStringLiteral("唛头"));
        fx.exec("insert into checkinfo(id,billcode,billdetailId,itemid,checkCode,onCount,checkUsercode,grade) "
                "values(40,'K001',11,1,'001',50,'001','A品')");
        frmCheck& f = fx.open();
        CheckLabelPanel part(&f);
        Prints calls(part);
        f.loadRoll(40);
        f.controls().TxtBox[CheckField::Worker]->setText(QStringLiteral("001"));
        f.controls().TxtBox[CheckField::Quantity]->setText(QStringLiteral("77"));
        f.runCommand(CheckCmd::PrintLabel);
        QCOMPARE(calls.size(), 1);
        QCOMPARE(calls[0].id, 40);
        QCOMPARE(fx.scalar("select count(*) from checkinfo"), QString("1"));
        QTEST(fx.scalar("select onCount from checkinfo where id=40"), "quantityAfter");
    }

    void templateMenu()
    {
        CheckFixture fx;
        for (const char* name : {"唛头", "订单唛头2", "A品"})
            writeTemplate(fx, QString::fromUtf8(name));
        fx.home().writeFile(QStringLiteral("打印/唛头/说明.txt"), "not a template");
        frmCheck& f = fx.open();
        CheckLabelPanel part(&f);
        f.runCommand(CheckCmd::ChooseTemplate);
        QStringList captions;
        for (QAction* a : part.templateMenu()->actions())
            if (a->isVisible())
                captions << a->text();
        QCOMPARE(captions, (QStringList{"A品", "唛头", "订单唛头2", "bill"}));
        QCOMPARE(part.templateMenu()->font().pointSizeF(), f.font().pointSizeF()); // finger size
        part.templateMenu()->close();
        part.templateMenu()->actions()[2]->trigger();
        QCOMPARE(SysUtil::getSetting(ProgramFolder::executableName(), "PrintTemplate", "check"), QString("订单唛头2"));
    }

    void generateOnForm()
    {
        CheckFixture fx;
        frmCheck& f = fx.open();
        CheckLabelPanel part(&f);
        auto& c = f.controls();
        part.cmdTag(1)->click(); // a batch save before any label is generated
        QCOMPARE(f.status(), QString("请点击生成标签按钮"));
        QCOMPARE(fx.scalar("select count(*) from checkinfo"), QString("0"));
        c.machineCount->setText("1000");
        c.TxtBox[CheckField::RollNumber]->setText("001");
        c.TxtBox[CheckField::PieceLength]->setText("0");
        part.cmdTag(0)->click();
        QCOMPARE(f.status(), CheckLabels::zeroPieceText());
        QVERIFY(part.labelRows().isEmpty());
        c.TxtBox[CheckField::PieceLength]->setText("300");
        part.cmdTag(0)->click();
        QCOMPARE(part.labelRows().size(), 4);
        QCOMPARE(part.labelRows().last(), qMakePair(QString("004"), QString("100")));
        QCOMPARE(part.pggTag()->rows(), 6); // header, four labels, the empty row
        QCOMPARE(part.pggTag()->textMatrix(5, 1), QString());
        c.TxtBox[CheckField::PieceLength]->setText("250.5"); // the grid shows the length as typed
        part.cmdTag(0)->click();
        QCOMPARE(part.labelRows().first(), qMakePair(QString("001"), QString("250.5")));
        QCOMPARE(part.labelRows().last(), qMakePair(QString("004"), QString("248.5")));
        QVERIFY(part.tagType(0)->isChecked());
        emit f.commandRequested(-1); // focus in the piece count picks its rule
        QVERIFY(part.tagType(1)->isChecked());
        c.TxtBox[CheckField::Quantity]->setText("120");
        c.TxtBox[CheckField::LabelCount]->setText("3");
        c.TxtBox[CheckField::RollNumber]->setText("5");
        part.cmdTag(0)->click();
        QCOMPARE(part.labelRows(), (QList<QPair<QString, QString>>{{"005", "120"}, {"006", "120"}, {"007", "120"}}));
        part.cmdTag(3)->click();
        QVERIFY(part.labelRows().isEmpty());
        QCOMPARE(part.pggTag()->rows(), 2);
        emit f.commandRequested(-2); // and the piece length its own
        QVERIFY(part.tagType(0)->isChecked());
    }

    // Every label of the batch becomes a roll and prints once, without preview, whatever the
    // copies spinner and the preview box say.
    void batchSaveAndPrint()
    {
        CheckFixture fx;
        writeTemplate(fx, QStringLiteral("唛头"));
        frmCheck& f = fx.open();
        CheckLabelPanel part(&f);
        Prints calls(part);
        readyToSave(fx, f);
        f.controls().machineCount->setText("1000");
        f.controls().TxtBox[CheckField::RollNumber]->setText("001");
        f.controls().UpDown1->setValue(3);
        f.controls().isPrintreview->setChecked(true);
        part.cmdTag(0)->click();
        part.cmdTag(2)->click();
        QCOMPARE(f.status(), QString("批量保存成功！"));
        QCOMPARE(fx.scalar("select group_concat(checkCode || ':' || onCount) from (select * from checkinfo order by id)"),
                 QString("001:250,002:250,003:250,004:250"));
        QCOMPARE(calls.size(), 4);
        for (const PrintCall& call : calls) {
            QVERIFY(!call.preview);
            QCOMPARE(call.copies, 1);
            QCOMPARE(call.name, QString("唛头"));
        }
        QVERIFY(part.labelRows().isEmpty());
        QCOMPARE(f.controls().checkId->text(), QString("0"));
    }

    void exportRollList()
    {
        CheckFixture fx;
        fx.exec("insert into checkinfo(id,billcode,checkCode,onCount,grade) values(7,'K001','001',250.5,'A品')");
        fx.exec("insert into checkinfo(id,billcode,checkCode,onCount,grade) values(8,'K001','002',99,null)");
        frmCheck& f = fx.open();
        CheckLabelPanel part(&f);
        part.cmdTag(4)->click();
        QCOMPARE(MessageBox::lastShown().text, QString("请先查找卡号！"));

        CheckLabelPanel::publishRollList(&f, Database::conn().execute("select id,checkCode,onCount,grade from checkinfo order by id"));
        const QString path = fx.home().file(QStringLiteral("卷列表"));
        MessageBox::setNextFileName(path);
        part.cmdTag(4)->click();
        sheet::SheetGrid grid;
        QString error;
        QVERIFY2(sheet::readFirstSheet(path + ".xlsx", &grid, &error), qPrintable(error));
        QCOMPARE(grid.rowCount(), 3);
        QCOMPARE(grid.text(1, 2).toLower(), QString("checkcode"));
        QCOMPARE(grid.text(2, 2), QString("001"));
        QVERIFY(grid.isNumber(2, 3));
        QCOMPARE(grid.cell(2, 3).toDouble(), 250.5);
        QCOMPARE(grid.text(3, 4), QString());
        QCOMPARE(grid.cell(3, 1).toDouble(), 8.0);
    }

    // The rows are written in one transaction: a number the database refuses (taken under a
    // unique index) takes back the first row's update too.
    void importFile_data()
    {
        QTest::addColumn<QString>("fileName"); // "": none chosen
        QTest::addColumn<QString>("bad");      // what is wrong with the rows or the file
        QTest::addColumn<QString>("message");  // part of the message shown
        QTest::addColumn<bool>("critical");
        const auto row = [](const char* name, const char* file, const char* bad,
                            const char* message, bool critical) {
            QTest::newRow(name) << QString::fromUtf8(file) << QString::fromUtf8(bad)
                                << QString::fromUtf8(message) << critical;
        };
        row("xls good", "rolls.xls", "", "导入成功", false);
        row("xls quantity in words", "rolls.xls", "row", "第4行", false);
        row("xlsx good", "rolls.xlsx", "", "导入成功", false);
        row("xlsx quantity in words", "rolls.xlsx", "row", "第4行", false);
        row("roll deleted since the export", "rolls.xlsx", "roll", "已被删除", true);
        row("database refuses a row", "rolls.xlsx", "clash", "", true);
        row("no valid row", "rolls.xlsx", "empty", "没有有效的数据。", false);
        row("no file chosen", "", "", "请选择文件！", false);
        row("file gone", "gone.xlsx", "gone", "", true);
    }
    void importFile()
    {
        QFETCH(QString, fileName);
        QFETCH(QString, bad);
        QFETCH(QString, message);
        if (fileName.endsWith(u".xls") && pythonWithXlwt().isEmpty())
            QSKIP("python3 with xlwt (package python3-xlwt) is needed to write the .xls file");
        CheckFixture fx;
        fx.exec("insert into checkinfo(id,billcode,billdetailId,itemid,checkCode,onCount,grade) values(17,'K001',11,1,'001',100,'A品')");
        if (bad == "clash") {
            fx.exec(
                "insert into checkinfo(id,billcode,billdetailId,itemid,checkCode,onCount,grade) "
                "values(18,'K001',11,1,'009',7,'A品')");
            fx.exec("create unique index ux_test_checkcode on checkinfo(checkCode)");
        }
        frmCheck& f = fx.open();
        CheckLabelPanel part(&f);
        readyToSave(fx, f);
        f.controls().Text1->setText("边'破");
        const QVariant e;
        QList<QVariantList> rows = {
            {17, "001", e, e, e, e, e, e, e, 250.5, "二等品"},
            {-1, "009", e, e, e, e, e, e, e, 80, "一等品"},
        };
        if (bad == "row" || bad == "roll")
            rows << (bad == "row" ? QVariantList{18, "002", e, e, e, e, e, e, e, "八十", "A品"}
                                  : QVariantList{999, "002", e, e, e, e, e, e, e, 80, "A品"});
        if (bad == "empty")
            rows.clear();
        rows << QVariantList{0, "003", e, e, e, e, e, e, e, 5, "A品"}; // the end of the list
        const QString path = fileName.isEmpty() ? QString() : fx.home().file(fileName);
        if (!path.isEmpty() && bad != "gone")
            QVERIFY(writeSheet(path, rows));
        MessageBox::setNextFileName(path);
        part.cmdTag(5)->click();
        QVERIFY2(MessageBox::lastShown().text.contains(message),
                 qPrintable(MessageBox::lastShown().text));
        QTEST(MessageBox::lastShown().icon == MessageBox::Critical, "critical");
        if (message != u"导入成功") {
            QCOMPARE(
                fx.scalar("select group_concat(id || ':' || onCount || grade, ';') from checkinfo"),
                QString(bad == "clash" ? "17:100A品;18:7A品" : "17:100A品"));
            return;
        }
        QCOMPARE(fx.scalar("select onCount || grade from checkinfo where id=17"), QString("250.5二等品"));
        QCOMPARE(fx.scalar("select billcode || billdetailId || ':' || onCount || grade || checkUsercode || remark from checkinfo where checkCode='009'"),
                 QString("K00111:80一等品001边'破"));
        QCOMPARE(fx.scalar("select count(*) from checkinfo"), QString("2"));
    }
};

QTEST_MAIN(TestCheckLabelPanel)
#include "TestCheckLabelPanel.moc"
