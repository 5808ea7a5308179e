// Card registration: the three pages' statements, the page-3 keyboard flow of a wedge reader,
// cards read from the simulated desk reader, the settings frame.
#include "../devices/DevSim.h"

#include "shell/Database.h"
#include "shell/DbInfoCache.h"
#include "shell/Journal.h"
#include "shell/MessageBox.h"
#include "stations/rfid/frmRFID.h"
#include "support/TempProgramFolder.h"
#include "widgets/ComboEx.h"
#include "widgets/PanelStyle.h"

#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

namespace {

struct Desk {
    TempProgramFolder home;
    frmRFID form;
    explicit Desk(bool startedAway = false)
    {
        home.writeFile("config.ini", "[CUSTOMER.SETTING]\nCONNECTIONSTRING=缺省\n");
        home.writeFile("kanban.ini", "[看板配置]\n库存看板=二号仓库存\n时间间隔=2000\n");
        DbInfoCache::clear();
        MessageBox::clearShown();
        Database::openConnection();
        Database::conn().execute("insert into UserInfo(UserID,usercode,username) values(7,'001','王建国'),(8,'002','李红')");
        Database::conn().execute("insert into bill(billcode) values('K001'),('K002')");
        Database::conn().execute("insert into RFID_CARDINFO(CARDNO,refCode,CARDTYPE) "
                                 "values('C9','K002','2'),('C9','002','1'),('D1','001','1')");
        PanelStyle::install();
        const QString db = home.file("mirel.db");
        if (startedAway) {
            Database::conn().close();
            QFile::rename(db, db + ".away");
        }
        form.Form_Load();
        if (startedAway && QFile::rename(db + ".away", db))
            Journal::retryNow();
    }
    ~Desk() { Database::conn().close(); }
    QString cards()
    {
        return Database::conn().execute("select group_concat(c,',') from (select CARDNO+':'+refCode+':'+CARDTYPE c from RFID_CARDINFO order by id)").text(0);
    }
};

} // namespace

class TestFrmRfid : public QObject {
    Q_OBJECT
private slots:
    void save_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("card");
        QTest::addColumn<QString>("ref"); // user code on page 1, card number on page 3
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("messages");
        QTest::addColumn<QString>("rows");
        const QString before = "C9:K002:2,C9:002:1,D1:001:1";
        const QString ok = "状态行：保存成功", noCard = " 请输入卡号或ID卡";
        // clang-format off
        QTest::newRow("user card") << 0 << "E5" << "002" << 0 << ok << before + ",E5:002:1";
        QTest::newRow("same serial again") << 0 << "D1" << "001" << 0 << ok << before + ",D1:001:1";
        QTest::newRow("card of another user, moved") << 0 << "D1" << "002" << int(MessageBox::AnswerYes) << "该卡已登记给 001 王建国，改登记给 002 李红？|状态行：保存成功" << "C9:K002:2,C9:002:1,D1:002:1";
        QTest::newRow("worker card of a production card, moved") << 0 << "C9" << "002" << int(MessageBox::AnswerYes) << "该卡已登记给 生产卡 K002，改登记给 002 李红？|状态行：保存成功" << "D1:001:1,C9:002:1";
        QTest::newRow("user card, desk started offline") << 0 << "E5" << "002" << 0 << ok << before + ",E5:002:1";
        QTest::newRow("user card without user") << 0 << "E5" << "" << 0 << noCard << before;
        QTest::newRow("remove every type") << 1 << "C9" << "" << 0 << ok << "D1:001:1";
        QTest::newRow("remove a card never registered") << 1 << "E5" << "" << 0 << "这张卡没有登记：E5" << before;
        QTest::newRow("production card") << 2 << "F6" << "K001" << 0 << ok << before + ",F6:K001:2";
        QTest::newRow("production card, no card") << 2 << "" << "K001" << 0 << noCard << before;
        QTest::newRow("production card, no number") << 2 << "F6" << "" << 0 << noCard << before;
        QTest::newRow("production card not on the database") << 2 << "F6" << "K999" << 0 << "没有生产单号 K999，这张卡没有登记" << before;
        QTest::newRow("production card of a worker, kept") << 2 << "D1" << "K001" << int(MessageBox::AnswerNo) << "该卡已登记给 001 王建国，改登记给 生产卡 K001？" << before;
        QTest::newRow("production card, database away") << 2 << "F6" << "K001" << 0 << "数据库离线，这张卡没有保存：卡的登记和删除都要连上数据库。读卡照常可用，数据库连上后再按「保存」" << before;
        // clang-format on
    }
    void save()
    {
        QFETCH(int, page);
        QFETCH(QString, card);
        QFETCH(QString, ref);
        Desk d(QByteArray(QTest::currentDataTag()).endsWith("started offline"));
        d.form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d.form));
        QTRY_VERIFY_WITH_TIMEOUT(d.form.ComboUser->count() > 0, 20000); // listed once the database answers
        QTest::mouseClick(d.form.SSTab1->tabBar(), Qt::LeftButton, {}, d.form.SSTab1->tabBar()->tabRect(page).center());
        QCOMPARE(d.form.SSTab1->currentIndex(), page);
        if (page == 2) {
            d.form.txtCard2->setText(card);
            d.form.txtBillCode->setText(ref);
        } else {
            QVERIFY(d.form.SSTab1->currentWidget()->isAncestorOf(d.form.txtCardno));
            d.form.txtCardno->setText(card);
            if (!ref.isEmpty())
                d.form.ComboUser->setCurrentIndex(d.form.ComboUser->findText(ref, Qt::MatchStartsWith));
        }
        QFETCH(int, answer);
        if (answer)
            MessageBox::setNextAnswer(MessageBox::Answer(answer));
        MessageBox::clearShown();
        const QString db = d.home.file("mirel.db"), away = db + ".away"; // the database lost meanwhile
        QVERIFY(!QByteArray(QTest::currentDataTag()).endsWith("database away") || QFile::rename(db, away));
        QTest::mouseClick(d.form.Command1, Qt::LeftButton);
        QVERIFY(!QFile::exists(away) || QFile::rename(away, db));
        QStringList messages;
        for (const MessageBox::Shown& m : MessageBox::shown())
            messages << m.text;
        if (d.form.lab_info[1]->text() == "保存成功") // a box would take the next card's Enter
            messages << "状态行：保存成功";
        QTEST(messages.join('|'), "messages");
        QTEST(d.cards(), "rows");
        QCOMPARE(d.form.ComboUser->fontInfo().pixelSize(), d.form.txtCardno->fontInfo().pixelSize());
    }

    // A wedge reader types the card and Enter, then the production card and Enter: saved, and
    // the card field is ready for the next card.
    void wedgeFlow_data()
    {
        QTest::addColumn<int>("ending");
        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("Tab") << int(Qt::Key_Tab);
    }
    void wedgeFlow()
    {
        QFETCH(int, ending);
        Desk d;
        d.form.show();
        QVERIFY(QTest::qWaitForWindowActive(&d.form));
        d.form.SSTab1->setCurrentIndex(2);
        QTRY_VERIFY(d.form.txtCard2->hasFocus());
        QTest::keyClicks(d.form.txtCard2, "F6");
        QTest::keyClick(d.form.txtCard2, Qt::Key(ending));
        QVERIFY(d.form.txtBillCode->hasFocus());
        QTest::keyClicks(d.form.txtBillCode, "K001");
        QTest::keyClick(d.form.txtBillCode, Qt::Key(ending));
        QVERIFY(d.cards().endsWith(",F6:K001:2"));
        QVERIFY(d.form.txtCard2->hasFocus());
        QCOMPARE(d.form.txtCard2->selectedText(), QString("F6"));
        // The worker page: Enter saves as the prompt says.
        d.form.SSTab1->setCurrentIndex(0);
        d.form.ComboUser->setCurrentIndex(d.form.ComboUser->findText("002", Qt::MatchStartsWith));
        QTest::keyClicks(d.form.txtCardno, "E7");
        QTest::keyClick(d.form.txtCardno, Qt::Key_Return);
        QVERIFY(d.cards().endsWith(",E7:002:1"));
    }

    void readCard_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("line");
        QTest::newRow("text card on page 1") << 0 << QByteArray("card A1B2C3D4") << "A1B2C3D4" << "卡号 A1B2C3D4：未登记";
        QTest::newRow("registered card") << 0 << QByteArray("card D1") << "D1" << "卡号 D1：已登记给 001 王建国";
        QTest::newRow("card written in Chinese") << 1 << QByteArray("card 工号甲001") << "工号甲001" << "卡号 工号甲001：未登记";
        QTest::newRow("binary card on page 3") << 2 << QByteArray("hex 01 02 FF") << "0102FF00000000000000000000000000" << "卡号 0102FF00000000000000000000000000：未登记";
        QTest::newRow("no card") << 0 << QByteArray("remove") << "kept" << "请把卡放在读卡器上";
    }
    void readCard()
    {
        QFETCH(int, page);
        QFETCH(QByteArray, command);
        const QString file = QDir::temp().filePath("mirel-test-rfid-desk-" + QString::number(QCoreApplication::applicationPid()));
        qputenv("MIREL_DEVSIM_RFID", file.toLocal8Bit());
        Desk d;
        QVERIFY(QFile::copy(qEnvironmentVariable("MIREL_BIN_DIR") + "/devsim-rfid/libmi.so", d.home.file("libmi.so")));
        DevSim sim({"--device", "rfid"});
        QVERIFY(sim.ok());
        d.form.SSTab1->setCurrentIndex(page);
        QLineEdit* box = page == 2 ? d.form.txtCard2 : d.form.txtCardno;
        box->setText("kept");
        sim.command(command);
        QTRY_COMPARE(QFile::exists(file), command != "remove");
        QTest::mouseClick(d.form.cmdRead, Qt::LeftButton);
        QTEST(box->text(), "field");
        QTEST(d.form.lab_info[1]->text(), "line");
    }

    void settingsFrame()
    {
        Desk d;
        QVERIFY(d.form.Frame1->isHidden());
        d.form.setting->trigger();
        QVERIFY(!d.form.Frame1->isHidden());
        QCOMPARE(d.form.txt_set[0]->text(), QString("二号仓库存"));
        QCOMPARE(d.form.txt_set[1]->text(), QString("2000"));
    }
};

QTEST_MAIN(TestFrmRfid)
#include "TestFrmRfid.moc"
