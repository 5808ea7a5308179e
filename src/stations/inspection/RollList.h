// The station's rolls looked back over, without a window: the filtered list and its total, a
// listed roll opened again, the previous or next roll of this machine and card, the newest,
// previous or next card of the shown types, and a roll deleted with everything booked for it.
#pragma once

#include "db/Connection.h"
#include "stations/inspection/CheckListSql.h"
#include "stations/inspection/InspectionSettings.h"

#include <QList>
#include <QString>

class DefectPhotos;

class RollList {
public:
    RollList(Connection& conn, const InspectionSettings& settings);
    /// The store of the defects' pictures: a deleted roll takes its picture rows (the files
    /// stay until the store's sweep). Null: no pictures.
    void setPhotos(const DefectPhotos* photos) { m_photos = photos; }

    /// The list statement: the mill's stored list, or base when it keeps none, for this machine,
    /// with the filters and the dates. Throws DbError.
    QString statement(const QString& base, const CheckListSql::Filters& filters);

    /// A listed roll: its id and its quantity as the list shows them.
    struct Listed {
        qint64 id = 0;
        double quantity = 0;
    };
    /// The listed total ("数量:…"), the rolls counted in yards summed apart. Throws DbError.
    QString total(const QList<Listed>& rows);

    /// The id of a listed roll while that roll still exists, else 0. Throws DbError.
    long long existing(const QString& idText);

    /// A step to the previous or next roll: the roll's id, or 0 and what to tell the inspector.
    struct Step {
        long long id = 0;
        QString message;
    };
    /// The roll of this machine before (backwards) or after the roll id, on the card when one is
    /// given. Throws DbError.
    Step neighbourRoll(long long id, bool backwards, const QString& card);
    /// The newest card of the shown types; "" when there is none or the database failed.
    QString latestCard();
    /// The card of the shown types before or after the card billId: "" when there is none, "0"
    /// going forwards from no card. Throws DbError.
    QString neighbourCard(long long billId, bool backwards);

    /// What a delete did: gone when the roll is not there any more (also when another station
    /// deleted it meanwhile); error is for the operator ("" when all went well).
    struct Removal {
        bool gone = false;
        QString error;
    };
    /// Deletes a roll in one transaction: its defects, its quantity off the card's packing
    /// progress, the roll, and (with stock posting on) one piece and its quantity out of the
    /// stock batch it was booked into. When any of it fails nothing is written.
    Removal remove(long long id);

private:
    QString firstText(const QString& sql);

    Connection& m_conn;
    const InspectionSettings& m_settings;
    const DefectPhotos* m_photos = nullptr;
};
