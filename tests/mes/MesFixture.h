// Two embedded databases for the loom-event import: the mill's and the weaving hall's MES.
#pragma once

#include "db/Connection.h"
#include "support/TempProgramFolder.h"

#include <QDate>
#include <QString>

using namespace Qt::StringLiterals;

class MesFixture {
public:
    MesFixture();
    ~MesFixture();

    TempProgramFolder& home() { return m_home; }
    Connection& mill() { return m_mill; }
    Connection& mes() { return m_mes; }
    QString millFile() const { return m_home.file(u"mirel.db"_s); }
    QString mesFile() const { return m_home.file(u"mes.db"_s); }

    /// Workers E01 张秀英, E02 李春梅, E03 王海燕; products PB-2001 and PB-3005.
    void addMasterData();
    /// A beam (production card) of the MES.
    void addBeam(int id, const QString& product, double warpLength = 3000);
    /// A loom event; worker and next are worker ids ("" for none); returns its id.
    int addEvent(int type, int beam, const QString& roll, const QString& loom, double length,
                 const QString& time, const QString& worker = u"E01"_s,
                 const QString& next = QString());
    /// A loom event of roll "1" on loom A01 at hour:00 of 2026-03-10; returns its id.
    int addA01Event(int type, int beam, double length, int hour, const QString& worker = u"E01"_s,
                    const QString& next = QString());
    /// Master data and beam 1 of product PB-2001: the start of most runs.
    void addMasterDataAndBeam();
    /// How many loom events the MES has marked as imported.
    int markedEvents();

    /// First field of the first row ("" when none).
    static QString scalar(Connection& c, const QString& sql);
    static int count(Connection& c, const QString& table);
    /// Runs raw SQLite text on a database file (triggers the translator does not know).
    static void native(const QString& file, const char* sql);

    /// The import as the run makes it: since, today's date of the cards.
    QString sync(const QString& since = u"2026-01-01"_s);
    static QDate today() { return QDate(2026, 3, 14); }

private:
    TempProgramFolder m_home;
    Connection m_mill;
    Connection m_mes;
};
