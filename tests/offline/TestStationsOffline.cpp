// The mark-label, fiber-box, packing and progress stations through a database outage: saves go
// into the journal and the form moves on, what needs the database is refused with the reason and
// loses nothing, and the replay writes everything once (renumbered where another station took a
// number). Labels printed offline are filled from the journaled roll and say 离线; a replay that
// renumbered rolls prints their labels again on request.
#include "../marklabel/MaitouFixture.h"
#include "../packing/BagFixture.h"
#include "../progress/ProgressFixture.h"

#include "shell/Database.h"
#include "shell/Journal.h"
#include "shell/JournalNumbers.h"
#include "shell/MessageBox.h"
#include "stations/Stations.h"
#include "stations/packing/frmBag.h"
#include "stations/progress/frmWorkload.h"

#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

// The database file goes away and comes back, as the mill's server does.
struct Outage {
    QString db;
    bool away() const { return QFile::rename(db, db + u".away"_s); }
    bool back() const { return QFile::rename(db + u".away"_s, db); }
};

void replay()
{
    JournalNumbers numbers;
    JournalReplay(Journal::store(), Database::conn(), &numbers).run();
    Journal::status()->refresh();
}

// What a scenario leaves: the checks' results after the replay, the records that waited while
// the database was away, and the last thing shown when a save needed the database.
struct Outcome {
    QStringList results;
    int pending = 0;
    QString refusal;
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

// Packages of an automatic article, or boxes of a chosen one with a composed batch; another
// station saves number 003 of the same scope during the outage.
Outcome packages(bool fiberBox, const QStringList& checks)
{
    CheckFixture fx(fiberBox ? "批次号构成=[缸号]-[备A]\n" : "itemAutoSave=1\n");
    frmMaitou& f = openMaitou(fx, fiberBox);
    Journal::status()->refresh(); // this program folder's journal
    CheckControls& c = f.controls();
    const Outage outage{fx.home().file(u"mirel.db"_s)};
    if (fiberBox) {
        f.loadItem(u"1"_s);
        c.TxtBox[3]->setText(u"2405"_s);
        c.TxtBox[24]->setText(u"3"_s);
    } else {
        c.TxtBox[22]->setText(u"新品"_s);
        c.TxtBox[25]->setText(u"S"_s);
        c.TxtBox[23]->setText(u"红"_s);
    }
    c.TxtBox[28]->setText(u"P1"_s);
    c.TxtBox[5]->setText(u"20"_s);
    const auto saveBox = [&](const QString& q) {
        c.TxtBox[7]->setText(q);
        f.runCommand(2);
    };
    saveBox(u"10"_s);
    Outcome o;
    if (!outage.away())
        return o;
    MessageBox::clearShown();
    saveBox(u"11"_s);
    saveBox(u"12"_s);
    QString refusal = f.status();
    if (!fiberBox) { // an article never seen here cannot be made offline
        c.TxtBox[22]->setText(u"另一品"_s);
        saveBox(u"13"_s);
        refusal = shownOrStatus(f.status()) + u" / "_s + c.TxtBox[7]->text();
    }
    o.refusal = refusal;
    o.pending = Journal::status()->pending();
    if (!outage.back())
        return o;
    fx.exec(u"insert into checkinfo(billdetailid, checkCode) values(0, '003')"_s);
    replay();
    o.results = results(fx, checks);
    return o;
}

// Rolls looked up before the outage: one's quantity corrected, both packed into a box; a roll
// never looked up cannot be shown.
Outcome packing(const QStringList& checks)
{
    BagFixture fx;
    frmBag& f = fx.open();
    Journal::status()->refresh();
    const Outage outage{fx.home().file(u"mirel.db"_s)};
    fx.scan(u"42"_s);
    fx.scan(u"43"_s);
    Outcome o;
    if (!outage.away())
        return o;
    MessageBox::clearShown();
    fx.scan(u"42"_s);
    f.txtUser[11]->setText(u"15"_s);
    f.butFlow[1]->click();
    f.bagNumber[0]->setText(u"B1"_s);
    f.bagNumber[1]->setText(u"25"_s);
    f.butFlow[4]->click();
    fx.scan(u"43"_s);
    f.butFlow[4]->click();
    f.butFlow[5]->click();
    const QString saved = f.LabMsg->text();
    fx.scan(u"44"_s);
    o.refusal = saved + u" / "_s + shownOrStatus(f.LabMsg->text());
    o.pending = Journal::status()->pending();
    if (!outage.back())
        return o;
    replay();
    o.results = results(fx, checks);
    return o;
}

// A step reported online, the next one offline; the allot-all step needs the stock on the
// database.
Outcome progress(const QStringList& checks)
{
    ProgressFixture fx;
    frmWorkload& f = fx.open();
    Journal::status()->refresh();
    const Outage outage{fx.home().file(u"mirel.db"_s)};
    fx.enter(u"K001"_s, 0, u"001"_s);
    f.Command1_Click();
    Outcome o;
    if (!outage.away())
        return o;
    MessageBox::clearShown();
    fx.enter(u"K001"_s, 1, u"001"_s);
    f.Command1_Click();
    const QString saved = f.Label1->text();
    fx.enter(u"K001"_s, 3, u"001"_s);
    f.Command1_Click();
    o.refusal = saved + u" / "_s + shownOrStatus(f.Label1->text()) + u" / "_s + f.selectedStep();
    o.pending = Journal::status()->pending();
    if (!outage.back())
        return o;
    replay();
    o.results = results(fx, checks);
    return o;
}

// The shipped roll label, printing to a PDF file.
QByteArray pdfTemplate(const QString& pdf)
{
    QFile f(qEnvironmentVariable("MIREL_SOURCE_DIR") + u"/templates/唛头/唛头.grf"_s);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll().replace("name = 默认打印机\ntype = text\ndefault =",
                               "name = 默认打印机\ntype = text\ndefault = " + pdf.toUtf8());
}

QString pdfText(const QString& pdf)
{
    QProcess p;
    p.start(u"pdftotext"_s, {pdf, u"-"_s});
    p.waitForFinished();
    return QString::fromUtf8(p.readAllStandardOutput()).simplified();
}

// An inspection-type window with its label part printing both templates to label.pdf.
frmCheck& labelWindow(CheckFixture& fx, bool markLabel)
{
    for (const QString& name : {u"唛头"_s, u"订单唛头2"_s})
        fx.home().writeFile(u"打印/唛头/"_s + name + u".grf"_s,
                            pdfTemplate(fx.home().file(u"label.pdf"_s)));
    frmCheck& f = markLabel ? openMaitou(fx) : fx.open();
    Journal::status()->refresh();
    new CheckLabelPart(&f);
    fx.lookUp(u"K001"_s);
    if (markLabel)
        f.controls().TxtBox[5]->setText(u"20"_s);
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
    void renumberedLabelsPrintAgain();
};

void TestStationsOffline::savesThroughAnOutage_data()
{
    QTest::addColumn<QString>("station");
    QTest::addColumn<int>("pending");
    QTest::addColumn<QString>("refusal");
    QTest::addColumn<QStringList>("checks"); // query, result after the replay, …
    QTest::newRow("maitou")
        << "maitou" << 2
        << "数据库离线：商品「另一品」还没有建立，离线时不能新建商品。这一箱没有保存，数据库连上后"
           "请再按保存。 / 13"
        << QStringList{"select group_concat(checkCode||'/'||bagnumber||'/'||oncount) from (select "
                       "* from checkinfo where itemid=2 order by checkCode)",
                       "001/P1/10,002/P1/11,004/P1/12", // 003 was the other station's
                       "select count(*) from item where itemname in ('新品', '另一品')", "1"};
    QTest::newRow("huaxian")
        << "huaxian" << 2 << "离线保存：卷号 003"
        << QStringList{"select group_concat(checkCode||'/'||taskno||'/'||oncount) from (select * "
                       "from checkinfo where itemid=1 order by checkCode)",
                       "001/2405-3/10,002/2405-3/11,004/2405-3/12"};
    QTest::newRow("bag")
        << "bag" << 2
        << "离线保存：箱 B1，数据库连上后上传 / 数据库离线，这个号码以前没有查过，离线时无法查询"
        << QStringList{"select group_concat(id||'/'||oncount||'/'||bagnumber||'/'||bagweight) from "
                       "(select * from checkinfo where id in (42, 43) order by id)",
                       "42/15/B1/25,43/20.5/B1/25"};
    QTest::newRow("load") << "load" << 1
                          << "离线保存，数据库连上后上传 / "
                             "数据库离线：「全部配布」要按库存自动配布，必须连上数据库才能提交。这"
                             "条进度没有保存，数据库连上后请再按提交。 / 全部配布"
                          << QStringList{
                                 "select group_concat(billstatus||'/'||viewcount) from (select * "
                                 "from BillStatusDetail where barcode='K001' order by id)",
                                 "织造/0,配布/0",
                                 "select billstatus from bill where billcode='K001'", "配布"};
}

void TestStationsOffline::savesThroughAnOutage()
{
    QFETCH(QString, station);
    QFETCH(int, pending);
    QFETCH(QString, refusal);
    QFETCH(QStringList, checks);
    const Outcome o = station == u"bag"    ? packing(checks)
                      : station == u"load" ? progress(checks)
                                           : packages(station == u"huaxian", checks);
    QCOMPARE(o.refusal, refusal);
    QCOMPARE(o.pending, pending);
    QStringList expected;
    for (qsizetype i = 1; i < checks.size(); i += 2)
        expected << checks[i];
    QCOMPARE(o.results, expected);
    QCOMPARE(Journal::status()->pending(), 0);
}

void TestStationsOffline::labelsPrintedOffline_data()
{
    QTest::addColumn<bool>("markLabel");
    QTest::addColumn<QStringList>("offlineLabel"); // what the label printed offline reads
    QTest::newRow("inspection") << false
                                << QStringList{"离线", "品名： 涤棉府绸", "颜色： 藏青",
                                               "卷号： 002", "51.0 米", "A品", " 00000000"};
    QTest::newRow("mark label") << true
                                << QStringList{"离线", "颜色： 藏青", "卷号： 002", "51.0 米",
                                               " 00000000"};
}

void TestStationsOffline::labelsPrintedOffline()
{
    QFETCH(bool, markLabel);
    QFETCH(QStringList, offlineLabel);
    CheckFixture fx("itemAutoSave=1\n");
    frmCheck& f = labelWindow(fx, markLabel);
    const QString pdf = fx.home().file(u"label.pdf"_s);
    f.controls().TxtBox[7]->setText(u"50"_s);
    f.runCommand(4);
    const QString online = pdfText(pdf);
    QVERIFY2(online.contains(u"卷号： 001"_s) && !online.contains(u"离线"_s), qPrintable(online));
    QVERIFY(QFile::remove(pdf));
    QVERIFY(Outage{fx.home().file(u"mirel.db"_s)}.away());
    f.controls().TxtBox[7]->setText(u"51"_s);
    f.runCommand(4);
    const QString offline = pdfText(pdf);
    for (const QString& piece : offlineLabel)
        QVERIFY2(offline.contains(piece), qPrintable(piece + u" in "_s + offline));
    QCOMPARE(Journal::status()->pending(), 1);
}

// The window as the station runs it, with the mark and its background retry (attached once the
// outage is over, so that the retry cannot send the roll before the other frame's).
void TestStationsOffline::renumberedLabelsPrintAgain()
{
    CheckFixture fx;
    frmCheck& f = labelWindow(fx, false);
    const Outage outage{fx.home().file(u"mirel.db"_s)};
    const QString pdf = fx.home().file(u"label.pdf"_s);
    f.controls().TxtBox[7]->setText(u"50"_s);
    f.runCommand(2);
    QVERIFY(outage.away());
    f.controls().TxtBox[7]->setText(u"51"_s);
    f.runCommand(2);
    QVERIFY(outage.back());
    // Another frame of the card saved 002 meanwhile; then the station's retry finds the
    // database.
    fx.exec(u"insert checkinfo(billcode, billdetailid, checkCode) values('K001', 11, '002')"_s);
    MessageBox::clearShown();
    MessageBox::setNextAnswer(MessageBox::AnswerYes);
    attachOfflineMark(&f);
    QTRY_VERIFY_WITH_TIMEOUT(!MessageBox::shown().isEmpty(), 20000);
    QCOMPARE(MessageBox::lastShown().text, u"卷号已改：002 → 003\n\n重新打印这些标签？"_s);
    const QString label = pdfText(pdf);
    QVERIFY2(label.contains(u"卷号： 003"_s) && label.contains(u"51.0 米"_s) &&
                 !label.contains(u"离线"_s),
             qPrintable(label));
}

QTEST_MAIN(TestStationsOffline)
#include "TestStationsOffline.moc"
