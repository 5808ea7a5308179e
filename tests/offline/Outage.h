// The database file goes away and comes back, as the mill's server does (a switch restarts).
#pragma once

#include <QFile>
#include <QString>

using namespace Qt::StringLiterals;

struct Outage {
    QString db;
    bool away() const { return QFile::rename(db, db + u".away"_s); }
    bool back() const { return QFile::rename(db + u".away"_s, db); }
};
