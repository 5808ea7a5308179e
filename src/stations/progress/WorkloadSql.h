// Statements and list rules of the process-progress station: the card lookup, reported totals,
// the report with its automatic allotment row, and the station's record list.
#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <optional>

namespace WorkloadSql {

/// One step button of the "Projects" list: its caption and its tag ("0" when the entry has none).
struct Step {
    QString caption;
    QString tag;
};

/// The steps of a comma-terminated "Projects" text: the part after the last comma is not a step,
/// so a list without its final comma loses its last entry. "染色_2" gives caption "染色", tag "2".
QList<Step> parseProjects(const QString& projects);

/// Top-left corner (design twips, from the grid origin) of step button i: rows of eight,
/// buttons of width x height with 75 twips between them.
struct Offset {
    int left;
    int top;
};
Offset stepOffset(int index, int width, int height);

/// The card with its customer, dictionary texts, status and the totals reported under "配布".
QString cardQuery(const QString& card);
/// The total reported for a card under a step (one value, 0 without rows).
QString reportedTotalQuery(const QString& card, const QString& step);
/// The ids already reported for card and step.
QString duplicateQuery(const QString& card, const QString& step);
/// The card's current step and the date of its last report ("yyyy/MM/dd").
QString updateBillStatus(const QString& card, const QString& step, const QDate& date);

/// One progress row as the station writes it.
struct Report {
    QString card;
    QString viewcount;  ///< a number, written unquoted
    QString viewnumber; ///< a number, written unquoted
    QString step;
    QString remark;
    QString worker;
    QString createdate; ///< "yyyy/MM/dd hh:mm:ss"
    QString machine;
};
QString insertReport(const Report& r);
/// The report's quantity or pieces field as stored: its leading number in shortest form ("" -> 0).
QString numberOfField(const QString& text);
/// "yyyy/MM/dd hh:mm:ss": the report date with the time of day it was written (24-hour).
QString createDate(const QDate& date, const QTime& now);

/// True for the step that uses up the card's remaining stock ("全部" in its caption).
bool allotsAll(const QString& step);
/// The customer's default storeroom and the item of every card line, lowest line first.
QString allotLinesQuery(const QString& card);
/// The stock batches of an item in a storeroom, summed.
QString stockQuery(const QString& itemId, const QString& storeroom);
/// Remark of the automatic allotment row.
QString autoAllotRemark();

/// The record list: a stored or built-in query with the period, the machine and the filters.
struct ListFilter {
    QDate from;
    QDate to;
    QString machine;
    QString card;
    QString worker;
};
QString builtInListQuery();
/// The active workers' codes and names, kept for offline use.
QString activeWorkers();
QString listQuery(const QString& base, const ListFilter& f);
QString deleteRecord(long long id);
/// The card a progress record was reported for.
QString reportCard(long long id);
/// The steps reported for a card, the latest first (the newest date, then the last written).
QString latestStep(const QString& card);
/// The card's status: a step, or none.
QString setBillStatus(const QString& card, const std::optional<QString>& step);

} // namespace WorkloadSql
