// Station dispatch: the order of the tests decides, so "CHECK" falls through to the inspection
// station while "MES" selects the MES mode.
#include "shell/Station.h"

#include "text/Vb.h"

#include <QHash>

using namespace Qt::StringLiterals;

StationChoice chooseStation(const QString& cmd)
{
    const QString lower = cmd.toLower();
    StationChoice c;
    if (cmd == u"check")
        c.station = Station::Check;
    else if (cmd == u"maitou")
        c.station = Station::Maitou;
    else if (cmd == u"huaxian")
        c.station = Station::Huaxian;
    else if (lower == u"mescheck" || lower == u"mes")
        c.station = Station::MesCheck;
    else if (lower == u"mesrun")
        c.station = Station::MesRun;
    else if (lower == u"bag")
        c.station = Station::Bag;
    else if (cmd == u"item")
        c.station = Station::Item;
    else if (cmd.startsWith(u"3d")) {
        c.station = Station::Quick3D;
        c.number = vb::Val(QStringView(cmd).mid(2));
        if (c.number > 0) {
            c.tag = vb::CStr(c.number);
            c.showMeArg = int(vb::CInt(c.number));
        }
    } else if (cmd == u"load")
        c.station = Station::Load;
    else if (cmd == u"rfid")
        c.station = Station::Rfid;
    else if (cmd == u"kanban")
        c.station = Station::Kanban;
    else if (cmd == u"quality")
        c.station = Station::Quality;
    else if (cmd == u"serve")
        c.station = Station::Serve;
    else
        c.station = Station::Check;
    return c;
}

QString stationName(Station s)
{
    switch (s) {
    case Station::Check:
        return u"check"_s;
    case Station::Maitou:
        return u"maitou"_s;
    case Station::Huaxian:
        return u"huaxian"_s;
    case Station::MesCheck:
        return u"mescheck"_s;
    case Station::MesRun:
        return u"mesrun"_s;
    case Station::Bag:
        return u"bag"_s;
    case Station::Item:
        return u"item"_s;
    case Station::Quick3D:
        return u"3d"_s;
    case Station::Load:
        return u"load"_s;
    case Station::Rfid:
        return u"rfid"_s;
    case Station::Kanban:
        return u"kanban"_s;
    case Station::Quality:
        return u"quality"_s;
    case Station::Serve:
        return u"serve"_s;
    }
    return QString();
}

namespace StationRegistry {

namespace {
QHash<int, StationFactory>& factories()
{
    static QHash<int, StationFactory> f;
    return f;
}
QHash<int, StationRunner>& runners()
{
    static QHash<int, StationRunner> r;
    return r;
}
} // namespace

void add(Station station, StationFactory factory)
{
    factories().insert(int(station), std::move(factory));
}

StationFactory find(Station station) { return factories().value(int(station)); }

void addRunner(Station station, StationRunner runner)
{
    runners().insert(int(station), std::move(runner));
}

StationRunner findRunner(Station station) { return runners().value(int(station)); }

} // namespace StationRegistry
