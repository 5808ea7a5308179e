// The mark-label, packing and progress stations through a database outage: saves go
// into the journal and the form moves on, what needs the database is refused with the reason and
// loses nothing, and the replay writes everything once (renumbered where another station took a
// number). Labels printed offline are filled from the journaled roll and say 离线; a replay that
// renumbered rolls prints their labels again on request.
#include "../marklabel/MaitouFixture.h"
#include "../packing/BagFixture.h"
#include "../progress/ProgressFixture.h"

#include "Outage.h"

#include "shell/Database.h"
#include "shell/Journal.h"
#include "shell/JournalNumbers.h"
#include "shell/MessageBox.h"
#include "shell/Print.h"
#include "stations/Stations.h"
#include "stations/packing/frmBag.h"
#include "stations/progress/frmWorkload.h"
#include "stations/inspection/CheckRollPanel.h"
#include "stations/inspection/CheckSavePanel.h"

#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QtTest>
#include <sqlite3.h>

using namespace Qt::StringLiterals;

namespace {

// A replay pass as the background retry runs it, on a connection of its own, telling the
// windows when it ends.
void replay()
{
    Connection conn;
    conn.open(Database::connectionSetting());
    JournalNumbers numbers;
    const JournalReplayResult r = JournalReplay(Journal::store(), conn, &numbers).run();
    Journal::onReplayed(r, Journal::store().count(JournalStore::State::Pending),
                        Journal::store().count(JournalStore::State::Refused));
}

// What a scenario leaves: the checks' results after the replay, the records that waited while
// the database was away, the last thing shown when a save or a new number needed the database,
// and what the window shows after the replay.
struct Outcome {
    QStringList results;
    int pending = 0;
    QString refusal;
    QString after;
};

template <class Fixture> QStringList results(Fixture& fx, const QStringList& checks)
{
    QStringList out;
    for (qsizetype i = 0; i < checks.size(); i += 2)
        out << fx.scalar(checks[i]);
    return out;
}

QString shownOrStatus(const QString& status)
{
    return MessageBox::shown().isEmpty() ? status : MessageBox::lastShown().text;
}

// Packages of an automatic article; another station saves number 003 of the same scope during
// the outage. (The fiber-box station saves through the same window and journal; its batch and
// net weight: TestMaitouPallet.)
Outcome packages(const QStringList& checks)
{
    CheckFixture fx("itemAutoSave=1\n");
    frmMaitou& f = fx.open<frmMaitou>();
    Journal::status()->refresh(); // this program folder's journal
    CheckControls& c = f.controls();
    const Outage outage{fx.home().file(u"mirel.db"_s)};
    c.TxtBox[CheckField::ItemName]->setText(u"新品"_s);
    c.TxtBox[CheckField::SpareB]->setText(u"S"_s);
    c.TxtBox[CheckField::Color]->setText(u"红"_s);
    c.TxtBox[CheckField::Pallet]->setText(u"P1"_s);
    c.TxtBox[CheckField::Style]->setText(u"20"_s);
    const auto saveBox = [&](const QString& q) {
        c.TxtBox[CheckField::Quantity]->setText(q);
        f.runCommand(CheckCmd::Save);
    };
    saveBox(u"10"_s);
    Outcome o;
    if (!outage.away())
        return o;
    MessageBox::clearShown();
    saveBox(u"11"_s);
    saveBox(u"12"_s);
    // An article never seen here cannot be made offline.
    c.TxtBox[CheckField::ItemName]->setText(u"另一品"_s);
    saveBox(u"13"_s);
    const QString refusal = shownOrStatus(f.status()) + u" / "_s + c.TxtBox[CheckField::Quantity]->text();
    MessageBox::clearShown();
    f.cmdBangbtn_Click(); // pallet numbers of the day come from the database
    o.refusal = refusal + u" / "_s + shownOrStatus(f.status()) + u" / "_s + c.TxtBox[CheckField::Pallet]->text();
    o.pending = Journal::status()->pending();
    if (!outage.back())
        return o;
    fx.exec(u"insert into checkinfo(billdetailid, checkCode) values(0, '003')"_s);
    replay();
    o.results = results(fx, checks);
    o.after = f.palletSummary()->text() + u" / "_s + c.TxtBox[CheckField::RollNumber]->text() + u" / "_s + f.status();
    return o;
}

QString pdfText(const QString& pdf)
{
    QProcess p;
    p.start(u"pdftotext"_s, {pdf, u"-"_s});
    p.waitForFinished();
    return QString::fromUtf8(p.readAllStandardOutput()).simplified();
}

// Rolls looked up before the outage, one of them packed into box B1 then: offline its
// quantity is corrected and the other roll packed into the same box; both labels printed
// offline (the box's lists both rolls); a roll never looked up cannot be shown.
Outcome packing(const QStringList& checks)
{
    BagFixture fx;
    frmBag& f = fx.open();
    Journal::status()->refresh();
    const Outage outage{fx.home().file(u"mirel.db"_s)};
    f.bagNumber[BagBoxField::Number]->setText(u"B1"_s);
    f.bagNumber[BagBoxField::Weight]->setText(u"25"_s);
    fx.scan(u"42"_s);
    f.butFlow[BagCmd::AddRoll]->click();
    f.butFlow[BagCmd::SaveBox]->click();
    fx.scan(u"43"_s);
    Outcome o;
    if (!outage.away())
        return o;
    MessageBox::clearShown();
    fx.scan(u"43"_s);
    f.butFlow[BagCmd::PrintMark]->click(); // nothing waits yet: the database's silence alone sends it offline
    const QString first = pdfText(fx.markPdf()).section(u" 颜色"_s, 0, 0);
    fx.scan(u"42"_s);
    f.txtUser[BagField::Quantity]->setText(u"15"_s);
    f.butFlow[BagCmd::SaveMark]->click();
    f.butFlow[BagCmd::PrintMark]->click();
    fx.scan(u"43"_s);
    f.butFlow[BagCmd::AddRoll]->click();
    f.butFlow[BagCmd::SaveBox]->click();
    const QString saved = f.LabMsg->text();
    f.butFlow[BagCmd::PrintBox]->click(); // both labels from the rolls as read online, with the saves since
    const QString labels = pdfText(fx.markPdf()).section(u" 日期"_s, 0, 0) + u" / "_s +
                           pdfText(fx.boxPdf()).section(u" 装箱时间"_s, 0, 0);
    fx.scan(u"44"_s);
    const QString unknown = shownOrStatus(f.LabMsg->text());
    f.runCommand(BagCmd::NewBox); // a box number of the day comes from the database
    o.refusal = first + u" / "_s + saved + u" / "_s + labels + u" / "_s + unknown + u" / "_s +
                shownOrStatus(f.LabMsg->text()) + u" 箱重:"_s + f.bagNumber[BagBoxField::Weight]->text();
    fx.scan(u"42"_s); // saved again last: the status line names a save that waits
    f.txtUser[BagField::Quantity]->setText(u"15"_s);
    f.butFlow[BagCmd::SaveMark]->click();
    o.pending = Journal::status()->pending();
    if (!outage.back())
        return o;
    replay();
    o.results = results(fx, checks);
    o.after = f.LabMsg->text();
    return o;
}

// A step reported online, the next one offline; the allot-all step needs the stock on the
// database. The card may be deleted in the office before the report reaches the database.
Outcome progress(const QStringList& checks, bool cardDeleted)
{
    ProgressFixture fx;
    frmWorkload& f = fx.open();
    Journal::status()->refresh();
    const Outage outage{fx.home().file(u"mirel.db"_s)};
    fx.enter(u"K001"_s, 0, u"002"_s);
    f.Command1_Click();
    Outcome o;
    if (!outage.away())
        return o;
    MessageBox::clearShown();
    fx.enter(u"K001"_s, 1, u"001"_s);
    f.Command1_Click();
    const QString saved = f.Label1->text() + f.LabBox[WorkloadLabel::Message]->text(); // the message line gone
    fx.enter(u"K001"_s, 3, u"001"_s);
    f.Command1_Click();
    o.refusal = saved + u" / "_s + shownOrStatus(f.Label1->text()) + u" / "_s + f.selectedStep();
    o.pending = Journal::status()->pending();
    if (!outage.back())
        return o;
    if (cardDeleted)
        fx.exec(u"delete from bill where billcode='K001'"_s);
    replay();
    o.results = results(fx, checks);
    // 王建国 took over while the database was away: his name and shift come with the database.
    o.after = f.Label1->text() + f.LabBox[WorkloadLabel::Message]->text() + u" / "_s
        + f.LabBox[WorkloadLabel::WorkerName]->text() + f.TxtBox[WorkloadField::Remark]->text();
    return o;
}

// A shipped roll label, printing to a PDF file.
QByteArray pdfTemplate(const QString& name, const QString& pdf)
{
    QFile f(qEnvironmentVariable("MIREL_SOURCE_DIR") + u"/templates/唛头/"_s + name + u".grf"_s);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll().replace("name = 默认打印机\ntype = text\ndefault =",
                               "name = 默认打印机\ntype = text\ndefault = " + pdf.toUtf8());
}

// An inspection-type window with its label part printing both templates to label.pdf.
frmCheck& labelWindow(CheckFixture& fx, bool markLabel)
{
    for (const QString& name : {u"唛头"_s, u"订单唛头2"_s})
        fx.home().writeFile(u"打印/唛头/"_s + name + u".grf"_s,
                            pdfTemplate(name, fx.home().file(u"label.pdf"_s)));
    frmCheck& f = markLabel ? fx.open<frmMaitou>() : fx.open();
    Journal::status()->refresh();
    new CheckLabelPanel(&f);
    fx.exec(u"update bill set relateorder='PO-7' where billid=1"_s);
    fx.lookUp(u"K001"_s);
    if (markLabel) {
        f.controls().TxtBox[CheckField::Style]->setText(u"20"_s);
        f.controls().TxtBox[CheckField::ItemName]->setText(u"新品"_s); // an automatic article
    }
    return f;
}

} // namespace

class TestStationsOffline : public QObject {
    Q_OBJECT

private slots:
    void savesThroughAnOutage_data();
    void savesThroughAnOutage();
    void labelsPrintedOffline_data();
    void labelsPrintedOffline();
    void stockPostedOnReplay_data();
    void stockPostedOnReplay();
    void maitouRestartedWhileAway();
};

namespace {

QString noNumber(const QString& field, const QString& button)
{
    return u"数据库离线，新%1要由数据库发出，现在取不到：请手动输入%1（与其他机台不重复），数据库连"
           "上后再按「%2」"_s.arg(field, button);
}

} // namespace

void TestStationsOffline::savesThroughAnOutage_data()
{
    QTest::addColumn<QString>("station");
    QTest::addColumn<int>("pending");
    QTest::addColumn<QString>("refusal");
    QTest::addColumn<QStringList>("checks"); // query, result after the replay, …
    QTest::addColumn<QString>("after"); // the pallet list, the proposed number, the status line
    const QString noPallet = noNumber(u"板号"_s, u"新板号"_s);
    const QString palletBack = u"数据库已连上：新板号可以按「新板号」取了"_s;
    QTest::newRow("maitou")
        << "maitou" << 2
        << "数据库离线：商品「另一品」还没有建立，离线时不能新建商品。这一箱没有保存，数据库连上后"
           "请再按保存。 / 13 / " +
               noPallet + " / P1"
        << QStringList{"select group_concat(checkCode||'/'||bagnumber||'/'||oncount) from (select "
                       "* from checkinfo where itemid=2 order by checkCode)",
                       "001/P1/10,002/P1/11,004/P1/12", // 003 was the other station's
                       "select count(*) from item where itemname in ('新品', '另一品')", "1"}
        << "  卷数:3  米数:33 / 005 / " + palletBack;
    QTest::newRow("bag")
        << "bag" << 3
        << "产品标签 离线 品名： 涤棉府绸 编码： T1 / 离线保存：箱 B1，数据库连上后上传 / 产品标签 "
           "离线 品名： 涤棉府绸 编码： T1 "
           "颜色： 藏青 卡号： K001 门幅： 150 卷号： 001 15.0 米 等级： 数量： A / "
           "箱 唛 箱号 B1 B1 品名：涤棉府绸 编码：T1 颜色：藏青 匹数：2 批号：J1 "
           "总数：35.5 米 毛重：25.00 序 卷号 颜色 数量 等级 1 001 藏青 15.0 A "
           "2 002 藏青 20.5 A 离线 / 数据库离线，这个号码以前没有查过，离线时无法查询 / " +
               noNumber(u"箱号"_s, u"取"_s) + u" 箱重:"_s
        << QStringList{"select group_concat(id||'/'||oncount||'/'||bagnumber||'/'||bagweight) from "
                       "(select * from checkinfo where id in (42, 43) order by id)",
                       "42/15/B1/25,43/20.5/B1/25"}
        << "离线保存的记录已上传";
    QTest::newRow("load")
        << "load" << 1
        << "离线保存，数据库连上后上传 / "
           "数据库离线：「全部配布」要按库存自动配布，必须连上数据库才能提交。这"
           "条进度没有保存，数据库连上后请再按提交。 / 全部配布"
        << QStringList{"select group_concat(billstatus||'/'||viewcount) from (select * "
                       "from BillStatusDetail where barcode='K001' order by id)",
                       "织造/0,配布/0", "select billstatus from bill where billcode='K001'", "配布",
                       // 王建国's shift, though he came in while the database was away
                       "select group_concat(usercode||'/'||remark) from (select * from "
                       "BillStatusDetail where barcode='K001' order by id)",
                       "002/,001/早班"}
        << "离线保存的记录已上传 / 王建国早班";
    QTest::newRow("load, card deleted meanwhile")
        << "load-deleted" << 1
        << "离线保存，数据库连上后上传 / "
           "数据库离线：「全部配布」要按库存自动配布，必须连上数据库才能提交。这"
           "条进度没有保存，数据库连上后请再按提交。 / 全部配布"
        << QStringList{"select group_concat(billstatus) from BillStatusDetail", "织造"}
        << "离线保存的记录有 1 条被服务器拒绝，点红框查看原因 / 王建国早班";
}

void TestStationsOffline::savesThroughAnOutage()
{
    QFETCH(QString, station);
    QFETCH(int, pending);
    QFETCH(QString, refusal);
    QFETCH(QStringList, checks);
    QFETCH(QString, after);
    const Outcome o = station == u"bag"               ? packing(checks)
                      : station.startsWith(u"load"_s) ? progress(checks, station != u"load")
                                                      : packages(checks);
    QCOMPARE(o.refusal, refusal);
    QCOMPARE(o.pending, pending);
    QStringList expected;
    for (qsizetype i = 1; i < checks.size(); i += 2)
        expected << checks[i];
    QCOMPARE(o.results, expected);
    QCOMPARE(o.after, after);
    QCOMPARE(Journal::status()->pending(), 0);
}

// A label printed offline shows the fields the same roll's label shows online, with its mark
// 离线 and the roll id 0 on its barcode (the id is known after the upload); an inspection roll
// renumbered by the replay has its label printed again, with its new number.
void TestStationsOffline::labelsPrintedOffline_data()
{
    QTest::addColumn<bool>("markLabel");
    QTest::addColumn<QStringList>("fields"); // on both labels
    QTest::newRow("inspection") << false
                                << QStringList{"品名： 涤棉府绸", "颜色： 藏青", "卡号： K001",
                                               "A品"};
    QTest::newRow("mark label") << true
                                << QStringList{"杭州锦华服饰", "订单号 PO-7", "品 名 新品",
                                               "颜 色 藏青"};
}

void TestStationsOffline::labelsPrintedOffline()
{
    QFETCH(bool, markLabel);
    QFETCH(QStringList, fields);
    CheckFixture fx("itemAutoSave=1\n");
    frmCheck& f = labelWindow(fx, markLabel);
    const QString pdf = fx.home().file(u"label.pdf"_s);
    QStringList printed;
    for (const QString& quantity : {u"50"_s, u"51"_s}) {
        if (!printed.isEmpty())
            QVERIFY(Outage{fx.home().file(u"mirel.db"_s)}.away());
        f.controls().TxtBox[CheckField::Quantity]->setText(quantity);
        f.runCommand(CheckCmd::PrintLabel);
        printed << pdfText(pdf);
        QVERIFY2(QFile::remove(pdf), qPrintable(f.status()));
    }
    for (const QString& field : fields + QStringList{u"50.0 米"_s, u"001"_s})
        QVERIFY2(printed[0].contains(field), qPrintable(field + u" in "_s + printed[0]));
    for (const QString& field : fields + QStringList{u"51.0 米"_s, u"002"_s, u"离线"_s})
        QVERIFY2(printed[1].contains(field), qPrintable(field + u" in "_s + printed[1]));
    QVERIFY2(!printed[0].contains(u"离线"_s) && printed[1].contains(u" 00000000"_s),
             qPrintable(printed.join(u" | "_s)));
    // A label of a roll only the database holds is not printed with empty fields.
    QVERIFY(!printMarkLabel(u"唛头"_s, 1, false, 1));
    QVERIFY(MessageBox::lastShown().text.contains(u"数据库离线"_s) && !QFile::exists(pdf));
    QCOMPARE(Journal::status()->pending(), 1);
    if (markLabel)
        return;
    // Another frame of the card saved 002 meanwhile; then the replay renumbers the roll, and the
    // station's offline mark (attached as the station attaches it) prints its label again on request.
    QVERIFY(Outage{fx.home().file(u"mirel.db"_s)}.back());
    fx.exec(u"insert checkinfo(billcode, billdetailid, checkCode) values('K001', 11, '002')"_s);
    MessageBox::clearShown();
    MessageBox::setNextAnswer(MessageBox::AnswerYes);
    attachOfflineMark(&f);
    replay();
    QTRY_VERIFY_WITH_TIMEOUT(!MessageBox::shown().isEmpty(), 20000);
    QCOMPARE(MessageBox::lastShown().text, u"卷号已改：002 → 003\n\n重新打印这些标签？"_s);
    const QString label = pdfText(pdf);
    QVERIFY2(label.contains(u"卷号： 003"_s) && label.contains(u"51.0 米"_s) && !label.contains(u"离线"_s), qPrintable(label));
}

// Rolls saved offline with stock posting on are booked into stock when they are sent, in the
// same transaction, once: a new roll, and a roll reopened before the outage whose quantity was
// corrected offline (only the difference is booked). A posting the warehouse's batch refuses
// leaves the roll saved, as online, and the window says so.
void TestStationsOffline::stockPostedOnReplay_data()
{
    QTest::addColumn<bool>("edit");
    QTest::addColumn<QString>("refusal"); // a trigger on the batches, or ""
    QTest::addColumn<QString>("stock");   // the batch's quantity / pieces, rolls, rolls unbooked
    QTest::newRow("new roll") << false << ""
                              << "101/2/2/0";
    QTest::newRow("edited roll") << true << ""
                                 << "55/1/1/0";
    QTest::newRow("posting refused")
        << false
        << "create trigger stocktaking before update of batchId on checkinfo begin select "
           "raise(abort, '盘点中'); end"
        << "50/1/2/1 离线保存的卷已上传，但没有入库：\n卷号 001  卡号 K001（卷号已改为 "
           "002）：盘点中";
}

void TestStationsOffline::stockPostedOnReplay()
{
    QFETCH(bool, edit);
    QFETCH(QString, refusal);
    QFETCH(QString, stock);
    CheckFixture fx("Save2Store=1\n");
    frmCheck& f = fx.open();
    Journal::status()->refresh();
    const Outage outage{fx.home().file(u"mirel.db"_s)};
    fx.lookUp(u"K001"_s);
    f.controls().TxtBox[CheckField::Quantity]->setText(u"50"_s);
    const long long first = f.savePanel().saveRoll(false);
    QVERIFY(first > 0);
    if (edit)
        f.rollPanel().loadRoll(first);
    QVERIFY(outage.away());
    f.controls().TxtBox[CheckField::Quantity]->setText(edit ? u"55"_s : u"51"_s);
    QCOMPARE(f.savePanel().saveRoll(false), CheckSavePanel::SavedOffline);
    QVERIFY(outage.back());
    if (!refusal.isEmpty()) { // a trigger's ";" would split the statement on the connection
        sqlite3* db = nullptr;
        sqlite3_open(outage.db.toUtf8().constData(), &db);
        QCOMPARE(sqlite3_exec(db, refusal.toUtf8().constData(), nullptr, nullptr, nullptr), 0);
        sqlite3_close(db);
    }
    MessageBox::clearShown();
    replay();
    replay(); // nothing is left to book twice
    QStringList shown{fx.scalar(u"select (select group_concat(itemcount||'/'||productionNumber) "
                                "from iteminBatch)||'/'||(select count(*) from checkinfo)||'/'||"
                                "(select count(*) from checkinfo where isnull(batchId,0)=0)"_s)};
    for (const MessageBox::Shown& m : MessageBox::shown())
        shown << m.text.section(u'\n', 0, 1); // the reason's statement follows
    QCOMPARE(shown.join(u' '), stock);
}

// A mark-label station restarted while the database is away goes on with the pallet of its last
// package; once the database is back the pallet list after the upload comes from it.
void TestStationsOffline::maitouRestartedWhileAway()
{
    CheckFixture fx("itemAutoSave=1\n");
    const Outage outage{fx.home().file(u"mirel.db"_s)};
    const auto start = [&fx](const QString& pallet, const QString& quantity) {
        frmMaitou& f = fx.open<frmMaitou>();
        CheckControls& c = f.controls();
        if (!pallet.isEmpty()) {
            c.TxtBox[CheckField::Pallet]->setText(pallet);
            c.TxtBox[CheckField::Style]->setText(u"20"_s);
        }
        c.TxtBox[CheckField::ItemName]->setText(u"新品"_s);
        c.TxtBox[CheckField::Quantity]->setText(quantity);
        f.runCommand(CheckCmd::Save);
        return &f;
    };
    start(u"P1"_s, u"10"_s);
    QVERIFY(outage.away());
    Database::conn().close();
    Database::openConnection();
    frmMaitou* f = start(QString(), u"11"_s);
    QCOMPARE(f->controls().TxtBox[CheckField::Pallet]->text() + u'/' + f->controls().TxtBox[CheckField::Style]->text(), u"P1/20"_s);
    QVERIFY(outage.back());
    replay();
    QCOMPARE(f->palletSummary()->text(), u"  卷数:2  米数:21"_s);
    // Away again with nothing to upload: the list comes back with the database.
    QVERIFY(outage.away());
    f->loadPalletList();
    QVERIFY(outage.back());
    replay();
    QTRY_COMPARE(f->palletSummary()->text(), u"  卷数:2  米数:21"_s);
}

QTEST_MAIN(TestStationsOffline)
#include "TestStationsOffline.moc"
