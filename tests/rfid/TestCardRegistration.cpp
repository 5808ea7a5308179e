// The card registration without a window, on a real embedded database: what each page binds or
// removes, the question before a card bound to someone or something else is moved, the refusals,
// the line that says what a card stands for, and the text a card's block gives a card field.
#include "db/Connection.h"
#include "stations/rfid/CardRegistration.h"
#include "stations/rfid/RfidSql.h"
#include "support/TempProgramFolder.h"

#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {
// A page's request (ref: the user id of 员工卡 or the card number of 生产卡); the question asked
// first ("no:" answered No, "gone:" the production card deleted meanwhile, else Yes); the refusal
// and the cards afterwards.
struct Saving { int page; QString card, ref, question, refused, rows; };
} // namespace

class TestCardRegistration : public QObject {
    Q_OBJECT

    TempProgramFolder m_home;
    Connection m_conn;

    QString cards() { return m_conn.execute(u"select group_concat(c,',') from (select CARDNO+':'+refCode+':'+CARDTYPE c from RFID_CARDINFO order by id)"_s).text(0); }

private slots:
    void init()
    {
        QFile::remove(m_home.file(u"mirel.db"_s)); // each case on a database of its own
        m_conn.openOrCreate(u"Provider=SQLite;Data Source="_s + m_home.file(u"mirel.db"_s));
        m_conn.execute(u"insert into UserInfo(UserID,usercode,username) values(7,'001','王建国'),(8,'002','李红')"_s);
        m_conn.execute(u"insert into bill(billcode) values('K001'),('K002')"_s);
        m_conn.execute(u"insert into RFID_CARDINFO(CARDNO,refCode,CARDTYPE) values('C9','K002','2'),('C9','002','1'),('D1','001','1')"_s);
    }
    void cleanup() { m_conn.close(); }

    void save_data()
    {
        QTest::addColumn<Saving>("c");
        const QString before = "C9:K002:2,C9:002:1,D1:001:1", noCard = CardRegistration::incompleteMessage();
        const int worker = CardPage::Worker, remove = CardPage::Remove, production = CardPage::Production;
        QTest::newRow("user card") << Saving{worker, "E5", "8", "", "", before + ",E5:002:1"};
        QTest::newRow("same serial again: a further row") << Saving{worker, "D1", "7", "", "", before + ",D1:001:1"};
        QTest::newRow("card of another user, moved") << Saving{worker, "D1", "8", "该卡已登记给 001 王建国，改登记给 002 李红？", "", "C9:K002:2,C9:002:1,D1:002:1"};
        QTest::newRow("worker card of a production card, moved") << Saving{worker, "C9", "8", "该卡已登记给 生产卡 K002，改登记给 002 李红？", "", "D1:001:1,C9:002:1"};
        QTest::newRow("user card without user") << Saving{worker, "E5", "", "", noCard, before};
        QTest::newRow("no card") << Saving{worker, "", "8", "", noCard, before};
        QTest::newRow("remove every type") << Saving{remove, "C9", "", "", "", "D1:001:1"};
        QTest::newRow("remove a card never registered") << Saving{remove, "E5", "", "", "这张卡没有登记：E5", before};
        QTest::newRow("production card") << Saving{production, "F6", "K001", "", "", before + ",F6:K001:2"};
        QTest::newRow("production card, no card") << Saving{production, "", "K001", "", noCard, before};
        QTest::newRow("production card, no number") << Saving{production, "F6", "", "", noCard, before};
        QTest::newRow("production card not on the database") << Saving{production, "F6", "K999", "", "没有生产单号 K999，这张卡没有登记", before};
        QTest::newRow("production card of a worker, kept") << Saving{production, "D1", "K001", "no:该卡已登记给 001 王建国，改登记给 生产卡 K001？", "", before};
        QTest::newRow("production card deleted while asked") << Saving{production, "C9", "K001", "gone:该卡已登记给 生产卡 K002、002 李红，改登记给 生产卡 K001？", "没有生产单号 K001，这张卡没有登记", before};
    }
    void save()
    {
        QFETCH(Saving, c);
        const CardRequest r{c.page, c.card, c.ref, c.ref == u"8" ? u"002 李红"_s : u"001 王建国"_s};
        const QString& question = c.question;
        CardRegistration desk(m_conn);
        QString refused;
        if (CardRegistration::incomplete(r)) {
            refused = CardRegistration::incompleteMessage();
        } else if (c.page == CardPage::Remove) {
            refused = desk.remove(c.card);
        } else {
            const CardRegistration::Plan plan = desk.plan(r);
            QCOMPARE(plan.question, question.section(u':', question.startsWith(u"no:") || question.startsWith(u"gone:") ? 1 : 0));
            refused = plan.refused;
            if (question.startsWith(u"gone:"))
                m_conn.execute(u"delete from bill where billcode='"_s + c.ref + u"'"_s);
            if (refused.isEmpty() && !question.startsWith(u"no:"))
                refused = desk.bind(r, plan);
        }
        QCOMPARE(refused, c.refused);
        QCOMPARE(cards(), c.rows);
    }

    // The line that says what a card stands for; a block's text without the zero bytes after it,
    // Chinese written as UTF-8, a blank block as nothing, a block that is no text as its
    // hexadecimal pairs.
    void cardLines()
    {
        CardRegistration desk(m_conn);
        QCOMPARE(desk.holdersLine(u"D1"_s), u"卡号 D1：已登记给 001 王建国"_s);
        QCOMPARE(desk.holdersLine(u"C9"_s), u"卡号 C9：已登记给 生产卡 K002、002 李红"_s);
        QCOMPARE(desk.holdersLine(u"A1B2C3D4"_s), u"卡号 A1B2C3D4：未登记"_s);
        const auto text = [](const QByteArray& block) { return RfidSql::cardFieldText(QString::fromLatin1(block), block); };
        QCOMPARE(text(QByteArray("A1B2C3D4").leftJustified(16, '\0')), u"A1B2C3D4"_s);
        QCOMPARE(text(QByteArray("工号甲001").leftJustified(16, '\0')), u"工号甲001"_s);
        QCOMPARE(text(QByteArray("0012345678901234")), u"0012345678901234"_s);
        QCOMPARE(text(QByteArray(16, '\0')), QString()); // a blank card
        QCOMPARE(text(QByteArray("\x01\x02\xFF").leftJustified(16, '\0')), u"0102FF00000000000000000000000000"_s);
    }
};

QTEST_MAIN(TestCardRegistration)
#include "TestCardRegistration.moc"
