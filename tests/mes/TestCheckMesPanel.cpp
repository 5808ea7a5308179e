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
        QTest::newRow("MES file missing") << "nowhere.db" << "nowhere.db" << int(MessageBox::Critical);
    }
    void button()
    {
        QFETCH(QString, host);
        QFETCH(QString, expected);
        CheckFixture fx;
        {
            Connection mes;
            mes.openOrCreate(QStringLiteral("Provider=SQLite;Data Source=") + fx.home().file(QStringLiteral("mes.db")));
            mes.execute(QStringLiteral("insert into 生产卡(id,写卡时间,总经长,产品编号) values (7,'2026-03-01',900,'PB-9');"
                                       "insert into 织机事件表(事件类型,上轴ID,卷号,织机编号,当前布长,事件时间) "
                                       "values (33,7,'3','D04',450,'") +
                         Clock::today().toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(" 00:00:01')"));
        }
        fx.home().writeFile(QStringLiteral("mirel.ini"), "[MIREL]\ncodeLen=000\n[MES]\nMES_HOST=" + host.toUtf8() + "\n");
        frmCheck& f = fx.open();
        CheckMesPanel part(&f);
        MessageBox::clearShown();
        f.runCommand(CheckCmd::Mes);
        QCOMPARE(MessageBox::shown().size(), 1);
        const MessageBox::Shown shown = MessageBox::lastShown();
        QVERIFY2(shown.text.contains(expected), qPrintable(shown.text));
        QTEST(int(shown.icon), "icon");
        const QString lines = fx.scalar(QStringLiteral("select count(*) from BillDetail where productionJarno='7'"));
        QCOMPARE(lines, expected.startsWith(u"同步") ? QStringLiteral("1") : QStringLiteral("0"));
        // The window goes on: the shared connection is open and out of any transaction.
        QVERIFY(Database::conn().isOpen());
        QVERIFY(!Database::conn().inTransaction());
        fx.lookUp(QStringLiteral("K001"));
    }
};

QTEST_MAIN(TestCheckMesPanel)
#include "TestCheckMesPanel.moc"
