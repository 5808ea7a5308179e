// The command-line word picks the station in a fixed order with exact case rules.
#include "shell/Startup.h"
#include "shell/Station.h"

#include <QTest>

Q_DECLARE_METATYPE(Station)

class TestStationDispatch : public QObject {
    Q_OBJECT
private slots:
    void choose_data()
    {
        QTest::addColumn<QString>("cmd");
        QTest::addColumn<Station>("station");
        QTest::newRow("check") << "check" << Station::Check;
        QTest::newRow("CHECK falls through") << "CHECK" << Station::Check;
        QTest::newRow("empty") << "" << Station::Check;
        QTest::newRow("maitou") << "maitou" << Station::Maitou;
        QTest::newRow("Maitou falls through") << "Maitou" << Station::Check;
        QTest::newRow("huaxian") << "huaxian" << Station::Huaxian;
        QTest::newRow("mes") << "mes" << Station::MesCheck;
        QTest::newRow("Mes") << "Mes" << Station::MesCheck;
        QTest::newRow("MES") << "MES" << Station::MesCheck;
        QTest::newRow("MESCHECK") << "MESCHECK" << Station::MesCheck;
        QTest::newRow("mesrun") << "mesrun" << Station::MesRun;
        QTest::newRow("MesRun") << "MesRun" << Station::MesRun;
        QTest::newRow("bag") << "bag" << Station::Bag;
        QTest::newRow("BAG") << "BAG" << Station::Bag;
        QTest::newRow("item") << "item" << Station::Item;
        QTest::newRow("Item falls through") << "Item" << Station::Check;
        // "3d…" words are checked by quick3d, which also reads the number after them.
        QTest::newRow("3D falls through") << "3D" << Station::Check;
        QTest::newRow("load") << "load" << Station::Load;
        QTest::newRow("LOAD falls through") << "LOAD" << Station::Check;
        QTest::newRow("rfid") << "rfid" << Station::Rfid;
        QTest::newRow("kanban") << "kanban" << Station::Kanban;
        QTest::newRow("Kanban falls through") << "Kanban" << Station::Check;
        QTest::newRow("two words are one text") << "check extra" << Station::Check;
        QTest::newRow("bag with blank is not bag") << "bag " << Station::Check;
        QTest::newRow("unknown") << "weave" << Station::Check;
    }
    void choose()
    {
        QFETCH(QString, cmd);
        QFETCH(Station, station);
        QCOMPARE(chooseStation(cmd).station, station);
    }

    void quick3d_data()
    {
        QTest::addColumn<QString>("cmd");
        QTest::addColumn<double>("number");
        QTest::addColumn<QString>("tag");
        QTest::addColumn<int>("showMe");
        QTest::newRow("3d") << "3d" << 0.0 << "" << 0;
        QTest::newRow("3d0") << "3d0" << 0.0 << "" << 0;
        QTest::newRow("3dabc") << "3dabc" << 0.0 << "" << 0;
        QTest::newRow("3d-4") << "3d-4" << -4.0 << "" << 0;
        QTest::newRow("3d12") << "3d12" << 12.0 << "12" << 12;
        QTest::newRow("3d2.7") << "3d2.7" << 2.7 << "2.7" << 3;
        QTest::newRow("3d12x") << "3d12x" << 12.0 << "12" << 12;
    }
    void quick3d()
    {
        QFETCH(QString, cmd);
        QFETCH(double, number);
        QFETCH(QString, tag);
        QFETCH(int, showMe);
        const StationChoice c = chooseStation(cmd);
        QCOMPARE(c.station, Station::Quick3D);
        QCOMPARE(c.number, number);
        QCOMPARE(c.tag, tag);
        QCOMPARE(c.showMeArg, showMe);
    }

    void commandLineIsOneText()
    {
        QCOMPARE(Startup::commandLineText({"mirel", "mes", "check"}), QStringLiteral("mes check"));
        QCOMPARE(Startup::commandLineText({"mirel"}), QString());
    }
};

QTEST_APPLESS_MAIN(TestStationDispatch)
#include "TestStationDispatch.moc"
