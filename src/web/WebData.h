// What the web view reads from the database, as JSON: the same objects are the API's answers and
// what the pages are drawn from. Every value from a request is checked here and bound to a "?"
// marker; none becomes part of a statement's text.
#pragma once

#include "stations/quality/QualitySql.h"
#include "web/WebHttp.h"

#include <QDateTime>
#include <QJsonObject>
#include <QJsonValue>

class Connection;
class DbValue;
class QThreadPool;

namespace WebData {

/// A database value in JSON: null, a number, or text (times as "yyyy-MM-dd HH:mm:ss").
QJsonValue json(const DbValue& v);

/// One object per row of stationStatus, "late" when the last beat is older than three beats.
/// Throws DbError.
QJsonObject stations(Connection& c, const QDateTime& now);

/// The stock board as the kanban station shows it: title, interval, columns (with the stored
/// widths in per mille, 0 for a hidden column) and rows of kanban.ini's query, run read-only.
/// Throws DbError.
QJsonObject board(Connection& c);
/// The board without rows (title, interval), for a board whose database was away from the start.
QJsonObject boardFrame();

/// The overview's filter from a request: from, to ("yyyy-MM-dd", default the last seven days up
/// to today), machine, inspector, defect, card, item (names). Throws WebError 400.
QualitySql::Filter qualityFilter(const WebRequest& r, const QDate& today);
QJsonObject filterJson(const QualitySql::Filter& f);
/// A second connection and the threads that read through it: the range before an overview's is
/// read there while the range is read on the first.
struct Beside {
    Connection* conn = nullptr;
    QThreadPool* threads = nullptr;
};

/// The quality overview's figures, Pareto, days, machines and inspectors, with mirel.ini's
/// grades and scoring. Throws DbError.
QJsonObject quality(Connection& c, const QualitySql::Filter& f, Beside beside = {});

/// The same overview as a workbook (.xlsx bytes), as the quality station exports it; empty with
/// the reason when it cannot be written. Throws DbError.
QByteArray qualityWorkbook(Connection& c, const QualitySql::Filter& f, const QDateTime& now,
                           QString* error, Beside beside = {});

/// A checked name parameter: at most 50 characters, no control characters; required ones must
/// be given. Throws WebError 400.
QString name(const WebRequest& r, const QString& key, bool required = false);

/// The roll of card with that roll number into out: its fields, grade, points and defects.
/// False when there is none. Throws DbError.
bool roll(Connection& c, const QString& card, const QString& number, QJsonObject& out);

} // namespace WebData
