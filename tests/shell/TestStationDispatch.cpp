// The command-line word picks the station in a fixed order with exact case rules.
#include "shell/Database.h"
#include "shell/DbInfoCache.h"
#include "shell/MessageBox.h"
#include "shell/Startup.h"
#include "shell/Station.h"
#include "stations/Stations.h"
#include "support/TempProgramFolder.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QInputDialog>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(Station)

class TestStationDispatch : public QObject {
    Q_OBJECT
private slots:
    // The word's station; "3d…" words carry the number after them, as text for the tag and
    // rounded for the model, when it is above 0.
    void choose_data()
    {
        QTest::addColumn<QString>("cmd");
        QTest::addColumn<Station>("station");
        QTest::addColumn<double>("number");
        QTest::addColumn<QString>("tag");
        QTest::addColumn<int>("showMe");
        const auto words = [](Station station, std::initializer_list<const char*> cmds) {
            for (const char* cmd : cmds)
                QTest::addRow("'%s'", cmd) << QString::fromUtf8(cmd) << station << 0.0 << QString() << 0;
        };
        // Unknown words and other letter cases are the inspection station; four words take any case.
        words(Station::Check, {"", "Maitou", "3D", "Kanban", "check extra", "bag ", "weave"});
        words(Station::MesCheck, {"MES", "MESCHECK"});
        words(Station::MesRun, {"MesRun"});
        words(Station::Bag, {"BAG"});
        words(Station::Quick3D, {"3d0", "3dabc"});
        QTest::newRow("3d-4") << "3d-4" << Station::Quick3D << -4.0 << "" << 0;
        QTest::newRow("3d2.7") << "3d2.7" << Station::Quick3D << 2.7 << "2.7" << 3;
    }
    void choose()
    {
        QFETCH(QString, cmd);
        const StationChoice c = chooseStation(cmd);
        QTEST(c.station, "station");
        QTEST(c.number, "number");
        QTEST(c.tag, "tag");
        QTEST(c.showMeArg, "showMe");
    }

    // From the word to the window: the MES mode shows its import button and the card's progress
    // bar, the plain station neither; a station that is not installed says so and opens nothing.
    void open_data()
    {
        QTest::addColumn<QString>("cmd");
        QTest::addColumn<bool>("installed");
        QTest::addColumn<bool>("mesMode");
        QTest::newRow("check") << "check" << true << false;
        QTest::newRow("mes") << "mes" << true << true;
        QTest::newRow("not installed") << "kanban" << false << false;
    }
    void open()
    {
        QFETCH(QString, cmd);
        QFETCH(bool, installed);
        QFETCH(bool, mesMode);
        TempProgramFolder home;
        home.writeFile(u"config.ini"_s, "[CUSTOMER.SETTING]\nCONNECTIONSTRING=缺省\n");
        DbInfoCache::clear();
        MessageBox::clearShown();
        registerStations();
        const StationChoice choice = chooseStation(cmd);
        if (!installed)
            StationRegistry::add(choice.station, StationFactory()); // this build lacks it
        std::unique_ptr<QWidget> window(Startup::openStation(choice));
        const auto cleanup = qScopeGuard([&] {
            window.reset();
            Database::conn().close();
        });
        const bool saidNotInstalled =
            !MessageBox::shown().isEmpty() && MessageBox::lastShown().text == u"此工作站尚未安装"_s;
        QCOMPARE(saidNotInstalled, !installed);
        QCOMPARE(bool(window), installed);
        if (!installed)
            return;
        QCOMPARE(window->objectName(), u"frmCheck"_s);
        auto* mesButton = window->findChild<QPushButton*>(u"checkCommand_14"_s);
        QVERIFY(mesButton);
        QCOMPARE(mesButton->isVisibleTo(window.get()), mesMode);
        QWidget* bar = window->findChild<QWidget*>(u"fProcessBar1"_s);
        QCOMPARE(bar->isVisibleTo(window.get()), mesMode);
        // Toggled twice, the defect frame is back in its narrow place, with the defect buttons
        // below the progress bar, not under it.
        auto* frame = window->findChild<QGroupBox*>(u"Frame5"_s);
        QCOMPARE(frame->property("designRect").toRect().x(), 9000);
        QWidget* firstDefect = frame->findChild<QWidget*>(u"bugBtn_0"_s);
        QVERIFY(firstDefect);
        if (mesMode)
            QVERIFY(firstDefect->property("designRect").toRect().top()
                    >= bar->property("designRect").toRect().bottom());
    }

    void commandLineIsOneText()
    {
        QCOMPARE(Startup::commandLineText({"mirel", "mes", "check"}), u"mes check"_s);
        QCOMPARE(Startup::commandLineText({"mirel"}), QString());
    }

    // Input boxes (the delete password) and file choosers are Qt's own dialogs: after start-up
    // their buttons read Chinese like every message box.
    void qtDialogsSpeakChinese()
    {
        QVERIFY(Startup::installQtTranslations());
        QInputDialog box;
        box.show();
        QStringList captions;
        for (const QAbstractButton* b : box.findChild<QDialogButtonBox*>()->buttons())
            captions << b->text().remove(u'&');
        captions.sort();
        QCOMPARE(captions, QStringList({"取消", "确定"}));
    }
};

QTEST_MAIN(TestStationDispatch)
#include "TestStationDispatch.moc"
