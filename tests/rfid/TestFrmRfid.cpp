// The card registration window: a save on each page through the tabs (the question and the
// refusals as boxes, the result on the status line, the desk started or losing the database
// offline), the keyboard flow of a wedge reader and the settings frame, cards from the simulated
// desk reader. What each page binds or refuses: TestCardRegistration.
#include "../devices/DevSim.h"

#include "shell/Database.h"
#include "shell/Journal.h"
#include "shell/MessageBox.h"
#include "stations/rfid/frmRFID.h"
#include "support/station/StationFixture.h"
#include "widgets/ComboEx.h"

#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

namespace {

struct Desk : StationFixture<frmRFID> {
    frmRFID& form;
    explicit Desk(bool startedAway = false) : form(*new frmRFID)
    {
        useDatabase();
        m_home.writeFile("kanban.ini", "[看板配置]\n库存看板=二号仓库存\n时间间隔=2000\n");
        seed({"insert into UserInfo(UserID,usercode,username) values(7,'001','王建国'),(8,'002','李红')",
              "insert into bill(billcode) values('K001'),('K002')",
              "insert into RFID_CARDINFO(CARDNO,refCode,CARDTYPE) values('C9','K002','2'),('C9','002','1'),('D1','001','1')"});
        const QString db = m_home.file("mirel.db");
        if (startedAway) {
            Database::conn().close();
            QFile::rename(db, db + ".away");
        }
        load(std::unique_ptr<frmRFID>(&form));
        if (startedAway && QFile::rename(db + ".away", db))
            Journal::retryNow();
    }
    QString cards() { return scalar("select group_concat(c,',') from (select CARDNO+':'+refCode+':'+CARDTYPE c from RFID_CARDINFO order by id)"); }
};

// A page's card and user (or production card) typed, the question's answer: the boxes and the
// status line, the cards afterwards.
struct Saving { int page; QString card, ref; int answer; QString messages, rows; };
// A page, the simulator's card: the page's card field and the status line after 读卡.
struct Reading { int page; QByteArray command; QString field, line; };

} // namespace

class TestFrmRfid : public QObject {
    Q_OBJECT
private slots:
    void save_data()
    {
        QTest::addColumn<Saving>("c");
        const QString before = "C9:K002:2,C9:002:1,D1:001:1", ok = "状态行：保存成功";
        const int worker = CardPage::Worker, production = CardPage::Production;
        const int yes = MessageBox::AnswerYes, no = MessageBox::AnswerNo;
        QTest::newRow("card of another user, moved") << Saving{worker, "D1", "002", yes, "该卡已登记给 001 王建国，改登记给 002 李红？|" + ok, "C9:K002:2,C9:002:1,D1:002:1"};
        QTest::newRow("user card, desk started offline") << Saving{worker, "E5", "002", 0, ok, before + ",E5:002:1"};
        QTest::newRow("remove a card never registered") << Saving{CardPage::Remove, "E5", "", 0, "这张卡没有登记：E5", before};
        QTest::newRow("production card of a worker, kept") << Saving{production, "D1", "K001", no, "该卡已登记给 001 王建国，改登记给 生产卡 K001？", before};
        QTest::newRow("production card, database away") << Saving{production, "F6", "K001", 0, "数据库离线，这张卡没有保存：卡的登记和删除都要连上数据库。读卡照常可用，数据库连上后再按「保存」", before};
    }
    void save()
    {
        QFETCH(Saving, c);
        Desk d(QByteArray(QTest::currentDataTag()).endsWith("started offline"));
        d.form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d.form));
        QTRY_VERIFY_WITH_TIMEOUT(d.form.ComboUser->count() > 0, 20000); // listed once the database answers
        QTest::mouseClick(d.form.SSTab1->tabBar(), Qt::LeftButton, {}, d.form.SSTab1->tabBar()->tabRect(c.page).center());
        QCOMPARE(d.form.SSTab1->currentIndex(), c.page);
        if (c.page == CardPage::Production) {
            d.form.txtCard2->setText(c.card);
            d.form.txtBillCode->setText(c.ref);
        } else {
            QVERIFY(d.form.SSTab1->currentWidget()->isAncestorOf(d.form.txtCardno));
            d.form.txtCardno->setText(c.card);
            if (!c.ref.isEmpty())
                d.form.ComboUser->setCurrentIndex(d.form.ComboUser->findText(c.ref, Qt::MatchStartsWith));
        }
        if (c.answer)
            MessageBox::setNextAnswer(MessageBox::Answer(c.answer));
        MessageBox::clearShown();
        const QString db = d.home().file("mirel.db"), away = db + ".away"; // the database lost meanwhile
        QVERIFY(!QByteArray(QTest::currentDataTag()).endsWith("database away") || QFile::rename(db, away));
        QTest::mouseClick(d.form.Command1, Qt::LeftButton);
        QVERIFY(!QFile::exists(away) || QFile::rename(away, db));
        QStringList messages;
        for (const MessageBox::Shown& m : MessageBox::shown())
            messages << m.text;
        if (d.form.lab_info[RfidLine::Status]->text() == "保存成功") // a box would take the next card's Enter
            messages << "状态行：保存成功";
        QCOMPARE(messages.join('|'), c.messages);
        QCOMPARE(d.cards(), c.rows);
        QCOMPARE(d.form.ComboUser->fontInfo().pixelSize(), d.form.txtCardno->fontInfo().pixelSize());
    }

    // A wedge reader types the card and Enter, then the production card and Enter: saved, and
    // the card field is ready for the next card; then the settings frame. (A reader ending with Tab
    // instead: the scan fields' filter, TestFrmWorkload walk and TestFrmCheck.)
    void wedgeFlow()
    {
        Desk d;
        d.form.show();
        QVERIFY(QTest::qWaitForWindowActive(&d.form));
        d.form.SSTab1->setCurrentIndex(CardPage::Production);
        QTRY_VERIFY(d.form.txtCard2->hasFocus());
        QTest::keyClicks(d.form.txtCard2, "F6");
        QTest::keyClick(d.form.txtCard2, Qt::Key_Return);
        QVERIFY(d.form.txtBillCode->hasFocus());
        QTest::keyClicks(d.form.txtBillCode, "K001");
        QTest::keyClick(d.form.txtBillCode, Qt::Key_Return);
        QVERIFY(d.cards().endsWith(",F6:K001:2"));
        QVERIFY(d.form.txtCard2->hasFocus());
        QCOMPARE(d.form.txtCard2->selectedText(), QString("F6"));
        // The worker page: Enter saves as the prompt says.
        d.form.SSTab1->setCurrentIndex(CardPage::Worker);
        d.form.ComboUser->setCurrentIndex(d.form.ComboUser->findText("002", Qt::MatchStartsWith));
        QTest::keyClicks(d.form.txtCardno, "E7");
        QTest::keyClick(d.form.txtCardno, Qt::Key_Return);
        QVERIFY(d.cards().endsWith(",E7:002:1"));
        // The settings frame, from the menu, shows the board's settings.
        QVERIFY(d.form.Frame1->isHidden());
        d.form.setting->trigger();
        QVERIFY(!d.form.Frame1->isHidden());
        QCOMPARE(d.form.txt_set[RfidSetting::Board]->text() + d.form.txt_set[RfidSetting::Interval]->text(), QString("二号仓库存2000"));
    }

    void readCard_data()
    {
        QTest::addColumn<Reading>("c");
        QTest::newRow("registered card") << Reading{CardPage::Worker, "card D1", "D1", "卡号 D1：已登记给 001 王建国"};
        QTest::newRow("binary card on page 3") << Reading{CardPage::Production, "hex 01 02 FF", "0102FF00000000000000000000000000", "卡号 0102FF00000000000000000000000000：未登记"};
        QTest::newRow("no card") << Reading{CardPage::Worker, "remove", "kept", "请把卡放在读卡器上"};
    }
    void readCard()
    {
        QFETCH(Reading, c);
        const QString file = QDir::temp().filePath("mirel-test-rfid-desk-" + QString::number(QCoreApplication::applicationPid()));
        qputenv("MIREL_DEVSIM_RFID", file.toLocal8Bit());
        Desk d;
        QVERIFY(QFile::copy(qEnvironmentVariable("MIREL_BIN_DIR") + "/devsim-rfid/libmi.so", d.home().file("libmi.so")));
        DevSim sim({"--device", "rfid"});
        QVERIFY(sim.ok());
        d.form.SSTab1->setCurrentIndex(c.page);
        QLineEdit* box = c.page == CardPage::Production ? d.form.txtCard2 : d.form.txtCardno;
        box->setText("kept");
        sim.command(c.command);
        QTRY_COMPARE(QFile::exists(file), c.command != "remove");
        QTest::mouseClick(d.form.cmdRead, Qt::LeftButton);
        QCOMPARE(box->text(), c.field);
        QCOMPARE(d.form.lab_info[RfidLine::Status]->text(), c.line);
    }
};

QTEST_MAIN(TestFrmRfid)
#include "TestFrmRfid.moc"
