// The mark-label station on a real embedded database: packages saved for a chosen article or a
// card, the automatic article, the pallet number and list, the per-pallet guard, the numbering
// scopes, reopening, and a save the database refuses.
#include "MaitouFixture.h"

#include "config/ProgramFolder.h"
#include "shell/Database.h"
#include "shell/MessageBox.h"
#include "shell/SysUtil.h"
#include "stations/inspection/CheckLabelPart.h"
#include "stations/inspection/CheckRollListPart.h"
#include "stations/inspection/CheckSettingsPanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QGroupBox>
#include <QLabel>
#include <QProcess>
#include <QSet>

using namespace Qt::StringLiterals;

namespace {

void save(frmCheck& f, const QString& quantity)
{
    f.controls().TxtBox[7]->setText(quantity);
    QTest::mouseClick(f.controls().checkCommand[2], Qt::LeftButton);
}

QString today() { return QDate::currentDate().toString(u"yyMMdd"_s); }

} // namespace

class TestFrmMaitou : public QObject {
    Q_OBJECT

private slots:
    void chosenArticleSavesWithoutCard()
    {
        CheckFixture fx;
        fx.exec(u"insert into item(itemid,itemname,itemspec,item2) values(7,'全棉贡缎','60x60','款Z')"_s);
        fx.exec(u"insert into Dictionary(ITEMTYPE,ItemValues,ItemName) values('CheckFill','简单检验','5|item2,23|itemspec,')"_s);
        frmMaitou& f = openMaitou(fx);
        chooseItem(f, u"贡缎"_s);
        const auto& c = f.controls();
        QCOMPARE(c.TxtBox[6]->text(), u"简单检验"_s);
        QCOMPARE(c.TxtBox[22]->text(), u"全棉贡缎"_s);
        QCOMPARE(c.TxtBox[5]->text(), u"款Z"_s); // the station's presets of the article
        QTest::mouseClick(f.cmdBangbtn(), Qt::LeftButton);
        save(f, u"25"_s);
        QCOMPARE(fx.scalar(u"select billCode||'/'||itemid||'/'||item8||'/'||item9||'/'||bagnumber from checkinfo"_s),
                 u"简单检验/7/全棉贡缎/60x60/"_s + today() + u"001"_s);
    }

    void validationAroundTheRequiredFields_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<bool>("choose");
        QTest::addColumn<QString>("worker");
        QTest::addColumn<QString>("quantity");
        QTest::addColumn<QString>("status");
        QTest::addColumn<int>("focus");
        QTest::newRow("no article") << QByteArray() << false << "001" << "10" << "请选择商品" << 22;
        QTest::newRow("required field before quantity") << QByteArray("requireTxtbox=1,0;\n") << true << "" << "0" << "工号,没有输入。" << 0;
        QTest::newRow("no quantity") << QByteArray("requireTxtbox=1,0;\n") << true << "001" << "0" << "请输入有效的数量" << 7;
        QTest::newRow("text quantity") << QByteArray() << true << "001" << "abc" << "请输入有效的数量" << 7;
        QTest::newRow("automatic article needs no choice") << QByteArray("itemAutoSave=1\n") << false << "001" << "10" << "新" << -1; // saved, next package
    }
    void validationAroundTheRequiredFields()
    {
        QFETCH(QByteArray, ini);
        QFETCH(bool, choose);
        QFETCH(QString, worker);
        QFETCH(QString, quantity);
        QFETCH(QString, status);
        QFETCH(int, focus);
        CheckFixture fx(ini);
        frmMaitou& f = openMaitou(fx);
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        if (choose)
            chooseItem(f, u"府绸"_s);
        f.controls().TxtBox[0]->setText(worker);
        save(f, quantity);
        QCOMPARE(f.status(), status);
        QCOMPARE(fx.scalar(u"select count(*) from checkinfo"_s), focus < 0 ? u"1"_s : u"0"_s);
        if (focus >= 0)
            QCOMPARE(f.focusWidget(), f.controls().TxtBox[focus]);
    }

    // Each package names the article of the name, spare B and colour on the form when it is
    // saved, made once; numbered per article.
    void automaticArticleOfTheForm_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("saved");
        QTest::newRow("same name twice") << QStringList{"O'Neil 弹力布", "O'Neil 弹力布"}
                                         << "O'Neil 弹力布:001|O'Neil 弹力布:002";
        QTest::newRow("renamed and back")
            << QStringList{"AAA", "BBB", "AAA"} << "AAA:001|BBB:001|AAA:002";
    }
    void automaticArticleOfTheForm()
    {
        QFETCH(QStringList, names);
        QFETCH(QString, saved);
        CheckFixture fx("itemAutoSave=1\ncodetype=面料编码\n");
        fx.exec(u"insert into itemtype(itemtypeId,itemtypeName) values(3,'成品')"_s);
        frmMaitou& f = openMaitou(fx);
        const auto& c = f.controls();
        c.TxtBox[25]->setText(u"S捻"_s);
        c.TxtBox[23]->setText(u"藏青"_s);
        for (const QString& name : names) {
            c.TxtBox[22]->setText(name);
            save(f, u"10"_s);
        }
        QCOMPARE(fx.scalar(u"select group_concat(n,'|') from (select i.itemname||':'||a.checkcode "
                           u"as n from checkinfo a"
                           " join item i on i.itemid=a.itemid order by a.id)"_s),
                 saved);
        QCOMPARE(fx.scalar(u"select count(*) from item where itemid>1"_s).toLongLong(),
                 QSet<QString>(names.begin(), names.end()).size());
        QCOMPARE(
            fx.scalar(
                u"select group_concat(distinct itemcode||'/'||itemtypeid||'/'||item5||'/'||item6) from item where itemid>1"_s),
            u"0001/3/S捻/藏青"_s);
    }

    void refusedSaveLeavesNothingHalfWritten()
    {
        CheckFixture fx("itemAutoSave=1\n");
        frmMaitou& f = openMaitou(fx);
        // The packages' table is away (a stock-taking job of the office has it) while the
        // article is already written in the same transaction.
        fx.exec(u"alter table checkinfo rename to checkinfo_away"_s);
        f.controls().TxtBox[22]->setText(u"新布"_s);
        MessageBox::clearShown();
        save(f, u"10"_s);
        QVERIFY(MessageBox::lastShown().text.contains(u"checkinfo"_s, Qt::CaseInsensitive));
        QCOMPARE(MessageBox::lastShown().icon, MessageBox::Critical);
        fx.exec(u"alter table checkinfo_away rename to checkinfo"_s);
        QCOMPARE(fx.scalar(u"select count(*) from item where itemname='新布'"_s), u"0"_s);
        QCOMPARE(fx.scalar(u"select count(*) from checkinfo"_s), u"0"_s);
        QCOMPARE(f.controls().TxtBox[7]->text(), u"10"_s); // nothing typed is lost
        save(f, u"10"_s);
        QCOMPARE(fx.scalar(u"select count(*) from item where itemname='新布'"_s), u"1"_s);
        QCOMPARE(fx.scalar(u"select count(*) from checkinfo"_s), u"1"_s);
    }

    void palletListSumsThePallet()
    {
        CheckFixture fx;
        frmMaitou& f = openMaitou(fx);
        chooseItem(f, u"府绸"_s);
        f.controls().TxtBox[28]->setText(u"P-OLD"_s);
        save(f, u"7"_s); // another pallet, not listed below
        QTest::mouseClick(f.cmdBangbtn(), Qt::LeftButton);
        QCOMPARE(f.controls().TxtBox[28]->text(), today() + u"001"_s);
        QCOMPARE(f.ppgCheckGrid2()->rows(), 1);
        save(f, u"12.5"_s);
        save(f, u"30"_s);
        QCOMPARE(f.ppgCheckGrid2()->rows(), 3);
        QCOMPARE(f.palletSummary()->text(), u"  卷数:2  米数:42.5"_s);
        QCOMPARE(f.ppgCheckGrid2()->textMatrix(1, 7), u"30"_s); // 净重, newest first
        // The roll list's total is its quantity column, not the grade beside it.
        auto* list = new CheckRollListPart(&f);
        f.runCommand(10);
        QCOMPARE(list->sumLabel()->text(), u"数量:49.5"_s);
        // After a restart the station goes on with its pallet.
        frmMaitou& again = openMaitou(fx);
        QCOMPARE(again.controls().TxtBox[28]->text(), today() + u"001"_s);
        QCOMPARE(again.ppgCheckGrid2()->rows(), 3);
        // Another station's packages on the same pallet are not this station's list.
        fx.setIni(u"menchineId"_s, u"002"_s);
        again.loadPalletList();
        QCOMPARE(again.ppgCheckGrid2()->rows(), 1);
    }

    void reopenedPackageKeepsArticleAndPallet()
    {
        CheckFixture fx;
        frmMaitou& f = openMaitou(fx);
        chooseItem(f, u"府绸"_s);
        f.controls().TxtBox[28]->setText(u"B-7"_s);
        save(f, u"9"_s);
        const long long id = fx.scalar(u"select max(id) from checkinfo"_s).toLongLong();
        f.clearForm();
        f.loadRoll(id);
        const auto& c = f.controls();
        QCOMPARE(tagOf(c.TxtBox[22]), u"1"_s);
        QCOMPARE(tagOf(c.BillDetailId), u"1"_s);
        QCOMPARE(c.TxtBox[28]->text(), u"B-7"_s);
        // The update writes the pallet too, and the statement stays valid.
        c.TxtBox[28]->setText(u"B-8"_s);
        c.autoHuanJuan->setChecked(false);
        save(f, u"9.5"_s);
        QCOMPARE(f.status(), u" 修改成功！"_s);
        QCOMPARE(fx.scalar(u"select bagnumber||'/'||oncount from checkinfo where id="_s + QString::number(id)),
                 u"B-8/9.5"_s);
    }

    void packagesPerPalletGuardsStepping_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("perPallet");
        QTest::addColumn<bool>("stops");
        QTest::newRow("previous, empty") << 5 << "" << true;
        QTest::newRow("next, empty") << 6 << "" << true;
        QTest::newRow("previous, zero") << 5 << "0" << true;
        QTest::newRow("previous, text") << 5 << "箱" << true;
        QTest::newRow("previous, 20 a pallet") << 5 << "20" << false;
    }
    void packagesPerPalletGuardsStepping()
    {
        QFETCH(int, command);
        QFETCH(QString, perPallet);
        QFETCH(bool, stops);
        CheckFixture fx;
        frmMaitou& f = openMaitou(fx);
        new CheckRollListPart(&f);
        f.show();
        chooseItem(f, u"府绸"_s);
        f.controls().TxtBox[5]->setText(u"20"_s);
        save(f, u"5"_s);
        save(f, u"6"_s);
        f.controls().checkId->setText(u"0"_s);
        f.controls().TxtBox[5]->setText(perPallet);
        MessageBox::clearShown();
        QTest::mouseClick(f.controls().checkCommand[command], Qt::LeftButton);
        if (!stops) { // the previous package is on screen
            QCOMPARE(f.controls().checkId->text(), fx.scalar(u"select max(id) from checkinfo"_s));
            return;
        }
        QCOMPARE(f.controls().LabBox[5]->text(), u"箱数"_s);
        QCOMPARE(MessageBox::lastShown().text, u"输入每版的箱数"_s);
        QCOMPARE(MessageBox::lastShown().icon, MessageBox::Information);
        QCOMPARE(f.controls().checkId->text(), u"0"_s);
        QCOMPARE(f.focusWidget(), f.controls().TxtBox[5]);
    }

    void numberingScopes_data()
    {
        QTest::addColumn<QString>("codetype");
        QTest::addColumn<QString>("next");
        // Two packages of article 1 on line 11, one of article 1 without a card line.
        QTest::newRow("per card line (default)") << "" << "003";
        QTest::newRow("per article") << "面料编码" << "004";
        QTest::newRow("dye lot is per card line here") << "缸号" << "003";
    }
    void numberingScopes()
    {
        QFETCH(QString, codetype);
        QFETCH(QString, next);
        CheckFixture fx("codetype=" + codetype.toUtf8() + "\n");
        fx.exec(u"insert into checkinfo(billcode,billdetailid,itemid,checkcode,taskno) values"
                "('K001',11,1,'001','J1'),('K001',11,1,'002','J1'),('简单检验',0,1,'003','J9')"_s);
        frmMaitou& f = openMaitou(fx);
        fx.lookUp(u"K001"_s); // proposes the package's number for the card line
        if (codetype == u"面料编码") {
            // The article scope needs the article: choose it, then the next package.
            f.loadItem(u"1"_s);
            QTest::mouseClick(f.controls().checkCommand[1], Qt::LeftButton);
        }
        QCOMPARE(f.controls().TxtBox[18]->text(), next);
        // A typed dye lot does not renumber the package.
        f.controls().TxtBox[3]->setFocus();
        QTest::keyClicks(f.controls().TxtBox[3], u"J9"_s);
        QCOMPARE(f.controls().TxtBox[18]->text(), next);
        // Another article without packages starts its own numbers (per card line: the line's).
        fx.exec(u"insert into item(itemid,itemname) values(2,'全棉贡缎')"_s);
        f.loadItem(u"2"_s);
        save(f, u"10"_s);
        QCOMPARE(fx.scalar(u"select checkcode from checkinfo where itemid=2"_s),
                 codetype == u"面料编码" ? u"001"_s : next);
    }

    // Deleting the package on screen asks twice; the second question is the variant's.
    void deleteAsksByRollNumber_data()
    {
        QTest::addColumn<bool>("maitou");
        QTest::addColumn<QString>("question");
        QTest::newRow("mark label") << true << "是否要删除卷号[001]的标签";
        QTest::newRow("inspection as before") << false << "是否要删除卷ID[%1]的标签";
    }
    void deleteAsksByRollNumber()
    {
        QFETCH(bool, maitou);
        QFETCH(QString, question);
        CheckFixture fx;
        frmCheck& f = maitou ? openMaitou(fx) : fx.open();
        new CheckRollListPart(&f);
        fx.lookUp(u"K001"_s);
        f.controls().TxtBox[22]->setText(u"涤棉府绸"_s);
        setTag(f.controls().TxtBox[22], u"1"_s);
        f.controls().autoHuanJuan->setChecked(false);
        save(f, u"5"_s);
        const QString id = fx.scalar(u"select max(id) from checkinfo"_s);
        MessageBox::clearShown();
        MessageBox::setNextAnswer(MessageBox::AnswerYes);
        MessageBox::setNextAnswer(MessageBox::AnswerCancel);
        QTest::mouseClick(f.controls().checkCommand[9], Qt::LeftButton);
        QCOMPARE(MessageBox::shown().value(1).text, question.arg(id));
        QCOMPARE(fx.scalar(u"select count(*) from checkinfo"_s), u"1"_s);
    }

    void fieldGroupGeometry_data()
    {
        QTest::addColumn<bool>("maitou");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QRect>("box");
        // A null box: the pallet number stays where it was.
        QTest::newRow("moved") << true << "3000,100,600;3000,760,900;3000,1700,420;3600,760,1200" << QRect(760, 3000, 900, 500);
        QTest::newRow("bad part keeps its place") << true << "3000,100,600;x,1,1" << QRect();
        QTest::newRow("cancelled") << true << "" << QRect();
        QTest::newRow("inspection asks nothing") << false << "" << QRect();
    }
    void fieldGroupGeometry()
    {
        QFETCH(bool, maitou);
        QFETCH(QString, answer);
        QFETCH(QRect, box);
        CheckFixture fx;
        frmCheck& f = maitou ? openMaitou(fx) : fx.open();
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        // A tap on a caption is no drag: the group keeps its shape (the keypad button and
        // 新板号 stay under the pallet number).
        QWidget* key = f.controls().numKeybtn[27];
        const QRect keyBefore = key->geometry();
        QTest::mouseClick(f.controls().LabBox[33], Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(key->geometry(), keyBefore);
        const QRect before = designRect(f.controls().TxtBox[28]);
        MessageBox::clearShown();
        MessageBox::setNextInput(answer.isEmpty() ? std::nullopt : std::optional<QString>(answer));
        QTest::mouseDClick(f.controls().LabBox[33], Qt::LeftButton);
        QCOMPARE(MessageBox::shown().size(), maitou ? 1 : 0);
        if (maitou)
            QCOMPARE(MessageBox::lastShown().text.left(6), u"请输入控件组"_s);
        const QRect now = designRect(f.controls().TxtBox[28]);
        const QRect want = box.isNull() ? before : box;
        QCOMPARE(QRect(now.x(), now.y(), now.width(), 0), QRect(want.x(), want.y(), want.width(), 0));
        MessageBox::clearAnswers();
        QLabel* caption = f.controls().LabBox[33]; // a drag still moves the group
        const int x = caption->x();
        QTest::mousePress(caption, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseRelease(caption, Qt::LeftButton, {}, QPoint(45, 5));
        QCOMPARE(caption->x(), x + 40);
    }

    // What each station keeps apart: its layout key, its remembered label template, its
    // roll-number scopes and the place of its wide defect frame.
    void stationsOwnSettings_data()
    {
        QTest::addColumn<bool>("maitou");
        QTest::addColumn<QStringList>("keys"); // layout, other layout, template, other template
        QTest::addColumn<QString>("label");
        QTest::addColumn<QStringList>("scopes");
        QTest::addColumn<QRect>("wide");
        QTest::newRow("mark label")
            << true << QStringList{"InputPosition-maitou", "InputPosition", "checkMaitou", "check"}
            << "订单唛头2" << QStringList{"检验单缸号", "面料编码"}
            << QRect(270, 4080, 14400, 5310);
        QTest::newRow("inspection as before")
            << false << QStringList{"InputPosition", "InputPosition-maitou", "check", "checkMaitou"}
            << "唛头" << QStringList{"检验单颜色", "面料编码", "缸号"}
            << QRect(270, 3100, 14400, 3910);
    }
    void stationsOwnSettings()
    {
        QFETCH(bool, maitou);
        QFETCH(QStringList, keys);
        QFETCH(QString, label);
        QFETCH(QStringList, scopes);
        QFETCH(QRect, wide);
        CheckFixture fx;
        frmCheck& f = maitou ? openMaitou(fx) : fx.open();
        const QComboBox* scope =
            f.findChild<CheckSettingsPanel*>(u"Frame3"_s)->comboBoxes().first();
        QStringList offered;
        for (int i = 0; i < scope->count(); ++i)
            offered << scope->itemText(i);
        QCOMPARE(offered, scopes);
        QCOMPARE(scope->currentText(), scopes.first());
        f.Frame5_Click();
        QCOMPARE(designRect(f.controls().Frame5), wide);
        auto* labels = new CheckLabelPart(&f);
        QCOMPARE(labels->rollTemplate(), label);
        labels->chooseTemplate(u"大标"_s);
        const auto remembered = [](const QString& key) {
            return SysUtil::getSetting(ProgramFolder::executableName(), u"PrintTemplate"_s, key,
                                       u"-"_s);
        };
        QCOMPARE(remembered(keys[2]), u"大标"_s);
        QCOMPARE(remembered(keys[3]), u"-"_s);
        f.btnSavePosi_Click(0);
        const QString layout = SysUtil::readIni(u"MIREL"_s, keys[0], QString(), u"/mirel.ini"_s);
        QVERIFY(layout.contains(u"TxtBox^18="_s));
        QCOMPARE(layout.contains(u"TxtBox^28="_s) && layout.contains(u"cmdBangbtn="_s), maitou);
        QCOMPARE(SysUtil::readIni(u"MIREL"_s, keys[1], u"-"_s, u"/mirel.ini"_s), u"-"_s);
    }

    void functionKeysReachTheNewButtons()
    {
        CheckFixture fx;
        frmMaitou& f = openMaitou(fx);
        f.show();
        f.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f));
        QTest::keyClick(f.controls().TxtBox[6], Qt::Key_F4);
        // A shortcut presses its button the way a finger does, a moment later.
        QTRY_COMPARE(f.controls().TxtBox[28]->text(), today() + u"001"_s);
        bool opened = false;
        QTimer watch;
        connect(&watch, &QTimer::timeout, [&] {
            if (auto* d = qobject_cast<frmSelectItem*>(QApplication::activeModalWidget())) {
                opened = true;
                watch.stop();
                QTest::keyClick(d, Qt::Key_Escape);
            }
        });
        watch.start(20);
        QTest::keyClick(f.controls().TxtBox[6], Qt::Key_F3);
        QTRY_VERIFY(opened);
        QCOMPARE(f.controls().TxtBox[6]->text(), QString()); // closed without an article
    }

    void twoStationsNeverShareAPalletNumber()
    {
        CheckFixture fx;
        const int processes = 2, each = 15;
        QList<QProcess*> children;
        for (int i = 0; i < processes; ++i) {
            auto* p = new QProcess(this);
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(u"MIREL_PALLET_CHILD"_s, QString::number(each));
            p->setProcessEnvironment(env);
            p->start(QCoreApplication::applicationFilePath(), {});
            children << p;
        }
        QStringList numbers;
        for (QProcess* p : children) {
            QVERIFY(p->waitForFinished(60000));
            QCOMPARE(p->exitCode(), 0);
            numbers << QString::fromUtf8(p->readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
        }
        QCOMPARE(numbers.size(), processes * each);
        QCOMPARE(QSet<QString>(numbers.begin(), numbers.end()).size(), processes * each);
        for (const QString& n : numbers)
            QVERIFY2(n.startsWith(today()), qPrintable(n));
    }
};

// Child station for the two-station test: presses the new-pallet button and prints each number.
static int palletChild(int count)
{
    PanelStyle::install();
    frmMaitou f;
    f.Form_Load();
    QTextStream out(stdout);
    for (int i = 0; i < count; ++i) {
        f.cmdBangbtn()->click();
        out << f.controls().TxtBox[28]->text() << '\n';
        out.flush();
    }
    return 0;
}

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int child = qEnvironmentVariableIntValue("MIREL_PALLET_CHILD");
    if (child > 0)
        return palletChild(child);
    TestFrmMaitou t;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&t, argc, argv);
}

#include "TestFrmMaitou.moc"
