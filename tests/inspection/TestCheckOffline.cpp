// The inspection frame through a database outage: cards seen before still fill the form, rolls
// with their defects go into the journal with numbers counted on from the frame's reservation,
// and after the replay every roll is in the database once, renumbered where another frame took
// its number meanwhile.
#include "CheckFixture.h"

#include "db/Transaction.h"
#include "shell/Database.h"
#include "shell/Journal.h"
#include "shell/JournalNumbers.h"
#include "shell/MessageBox.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

using namespace Qt::StringLiterals;

class TestCheckOffline : public QObject {
    Q_OBJECT

private slots:
    void savesThroughAnOutage();
};

void TestCheckOffline::savesThroughAnOutage()
{
    CheckFixture fx;
    frmCheck& f = fx.open();
    CheckControls& c = f.controls();
    const QString db = fx.home().file(u"mirel.db"_s);
    const auto saveRoll = [&](const QString& metres) {
        c.TxtBox[7]->setText(metres);
        f.appendDefectRow({"", "破洞", "12.5", "1", "4", "001", ""});
        f.appendDefectRow({"", "油污", "30", "2", "2", "001", "边上"});
        f.runCommand(2);
    };
    fx.lookUp(u"K001"_s);
    saveRoll(u"50"_s);
    QCOMPARE(fx.scalar(u"select checkCode from checkinfo"_s), u"001"_s);

    QVERIFY(QFile::rename(db, db + u".away"_s));
    MessageBox::clearShown();
    fx.lookUp(u"K001"_s); // kept from the lookup before
    QCOMPARE(c.BillDetailId->text(), u"11"_s);
    QCOMPARE(c.TxtBox[18]->text(), u"002"_s); // the frame's reservation
    for (const QString& metres : {u"51"_s, u"52"_s, u"53"_s}) {
        saveRoll(metres);
        QVERIFY2(f.status().startsWith(u"离线保存：卷号 00"_s), qPrintable(f.status()));
    }
    QVERIFY(MessageBox::shown().isEmpty());
    QCOMPARE(c.TxtBox[18]->text(), u"005"_s);
    QCOMPARE(f.defectRows().size(), 0); // the form moved on
    QCOMPARE(Journal::status()->pending(), 3);
    fx.lookUp(u"K999"_s);
    QCOMPARE(MessageBox::lastShown().text, Journal::offlineLookupMessage());

    // Back; another frame of the card saved 003 meanwhile.
    QVERIFY(QFile::rename(db + u".away"_s, db));
    fx.exec(u"insert checkinfo(billcode, billdetailid, checkCode) values('K001', 11, '003')"_s);
    JournalNumbers numbers;
    const JournalReplayResult r = JournalReplay(Journal::store(), Database::conn(), &numbers).run();
    QCOMPARE(r.applied, 3);
    QCOMPARE(r.renumbered.size(), 2); // 003 and, pushed on by it, 004
    QCOMPARE(r.renumbered[0].newNumber, u"004"_s);
    QCOMPARE(fx.scalar(u"select group_concat(checkCode) from (select checkCode from checkinfo "
                       "where billdetailid=11 order by checkCode)"_s),
             u"001,002,003,004,005"_s);
    QCOMPARE(fx.scalar(u"select count(*) from checkDetail d join checkinfo c on c.id=d.checkId"_s),
             u"8"_s);
    QCOMPARE(fx.scalar(u"select sum(oncount) from checkinfo where checkCode in ('004', '005')"_s),
             u"105"_s); // the rolls saved as 003 and 004 (52 and 53 m) under their new numbers
}

QTEST_MAIN(TestCheckOffline)
#include "TestCheckOffline.moc"
