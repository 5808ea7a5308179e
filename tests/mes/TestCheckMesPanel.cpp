// The inspection window's MES button: the count or the error in a message box.
#include "../inspection/CheckFixture.h"
#include "MesFixture.h"

#include "db/Connection.h"
#include "shell/Database.h"
#include "shell/MessageBox.h"
#include "stations/inspection/CheckControls.h"
#include "stations/inspection/CheckMesPanel.h"
#include "time/Clock.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestCheckMesPanel : public QObject {
    Q_OBJECT

private slots:
    void button_data()
    {
        QTest::addColumn<QString>("host");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("icon");
        QTest::newRow("imports") << "mes.db" << "同步记录数1" << int(MessageBox::NoIcon);
        QTest::newRow("no MES configured") << "" << "MES_HOST" << int(MessageBox::Critical);
    }
    void button()
    {
        QFETCH(QString, host);
        QFETCH(QString, expected);
        CheckFixture fx;
        {
            Connection mes;
            mes.openOrCreate(u"Provider=SQLite;Data Source="_s + fx.home().file(u"mes.db"_s));
            mes.execute(u"insert into 生产卡(id,写卡时间,总经长,产品编号) values "
                        u"(7,'2026-03-01',900,'PB-9');"
                        "insert into 织机事件表(事件类型,上轴ID,卷号,织机编号,当前布长,事件时间) "
                        "values (33,7,'3','D04',450,'"_s +
                        Clock::today().toString(u"yyyy-MM-dd"_s) + u" 00:00:01')"_s);
        }
        fx.home().writeFile(u"mirel.ini"_s,
                            "[MIREL]\ncodeLen=000\n[MES]\nMES_HOST=" + host.toUtf8() + "\n");
        frmCheck& f = fx.open();
        CheckMesPanel part(&f);
        MessageBox::clearShown();
        f.runCommand(CheckCmd::Mes);
        QCOMPARE(MessageBox::shown().size(), 1);
        const MessageBox::Shown shown = MessageBox::lastShown();
        QVERIFY2(shown.text.contains(expected), qPrintable(shown.text));
        QTEST(int(shown.icon), "icon");
        const QString lines =
            fx.scalar(u"select count(*) from BillDetail where productionJarno='7'"_s);
        QCOMPARE(lines, expected.startsWith(u"同步") ? u"1"_s : u"0"_s);
        // The window goes on: the shared connection is open and out of any transaction.
        QVERIFY(Database::conn().isOpen());
        QVERIFY(!Database::conn().inTransaction());
        fx.lookUp(u"K001"_s);
    }
};

QTEST_MAIN(TestCheckMesPanel)
#include "TestCheckMesPanel.moc"
