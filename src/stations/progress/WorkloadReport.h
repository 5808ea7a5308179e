// A progress report as the station's rules see it: the card as looked up, the step chosen under
// the order and repeat rules, the worker from a card or a code, what stops a submit, and the
// report written in one transaction (with the allotment row of an allot-all step) or kept for
// the offline journal. No widget here: the window reads its controls into a ReportForm, asks,
// and shows the answer.
#pragma once

#include "journal/JournalRecord.h"
#include "stations/progress/ProgressSettings.h"
#include "stations/progress/WorkloadFields.h"
#include "stations/progress/WorkloadSql.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QTime>

#include <functional>
#include <optional>

class Connection;
class Recordset;

/// What the entry page holds of one report.
struct ReportForm {
    QString card;     // 卡号 as typed (a scan exactly as received)
    QString lookedUp; // the card whose figures the form shows (the last lookup)
    QString step;     // the chosen step's caption, "" when none
    QString worker;   // a code or a team of codes "001,002"
    QString metres;
    QString pieces;
    QString remark;
    QDate date;       // 操作 时间
    QTime time;
};

/// Why a report may not be submitted: the message line's text and the field to go to (-1: none).
struct ReportProblem {
    QString message;
    int field = -1;
};

/// A card as the lookup shows it.
struct CardView {
    bool found = false;
    QString customer; // labInfo Customer
    QString work;     // labInfo Work
    QString status;   // the message line: "状态：" and the card's step
    QString metres;   // the totals reported under 配布
    QString pieces;
};

/// What pressing a step gives.
struct StepChoice {
    enum Outcome { Ignored, EmptyCard, Chosen, Refused };
    Outcome outcome = Ignored;
    QString message;    // the message line ("" clears it)
    QString frameTitle; // the step frame's caption after a refused repeat, "" for its own
};

/// What a worker card read on the desk reader makes of the worker field.
struct WorkerCardEntry {
    QString worker;
    int step = -1; // the step the card selects, -1 none
};

class WorkloadReport {
public:
    explicit WorkloadReport(const ProgressSettings& settings) : m_cfg(settings) {}

    /// The card's row (WorkloadSql::cardQuery): its lines, or not found.
    static CardView cardView(Recordset& rs);

    /// The reported total of card and step ("" when it cannot be known offline). Throws.
    using TotalOf = std::function<QString(const QString& step)>;
    /// Pressing step `index` of `captions` for `card`: the order rule ("OrderInGroup"), then the
    /// repeat rule (allowRepeat). Exceptions of totalOf go to the caller: no step is chosen.
    StepChoice chooseStep(const QStringList& captions, int index, const QString& card,
                          bool allowRepeat, const TotalOf& totalOf) const;
    /// The total reported for card and step on the database as text ("0" when none). Throws DbError.
    static QString reportedTotal(Connection& conn, const QString& card, const QString& step);

    /// A worker card's text: a card registered to a worker stands for his code; else a text that
    /// ends in a step number (1 … steps) sets the worker without it and selects that step; else
    /// the text joins the team. An empty text changes nothing.
    static WorkerCardEntry workerCard(const QString& team, const QString& cardText,
                                      const QString& registeredCode, int steps);
    /// The team with one more worker, each worker once, no empty code after the last.
    static QString withWorker(const QString& team, const QString& code);
    /// The worker's name among the active workers (code, name rows), "" when he is none of them.
    static QString nameAmong(Recordset& workers, const QString& code);

    /// The first thing that stops a submit: the card, a card typed over without its lookup, the
    /// step, the worker.
    std::optional<ReportProblem> validate(const ReportForm& form) const;
    /// The progress row the form gives.
    WorkloadSql::Report values(const ReportForm& form) const;

    /// The card and step have a report already: the operator is asked before another is added.
    static bool reportedBefore(Connection& conn, const QString& card, const QString& step);
    /// Writes the card's status, the report and, on an allot-all step, the allotment row in one
    /// transaction. Returns what the operator is told once it is committed ("" nothing). Throws
    /// DbError with nothing written (a card deleted meanwhile: isRowMissing()).
    QString save(Connection& conn, const ReportForm& form) const;
    /// The journal's record of the same report while the database is away; nothing, with the
    /// reason in refusal, for an allot-all step (its allotment needs the stock on the database).
    struct Kept {
        std::optional<JournalRecord> record;
        QString refusal;
    };
    Kept keep(const ReportForm& form, const QString& station) const;

    static QString resaveQuestion() { return QString::fromUtf16(u"这个进度已经保存过了，是否要重新保存?"); }
    static QString cardGoneMessage(const QString& card);
    /// The message line of a step chosen offline, whose reports could not be looked at.
    static QString uncheckedMessage();
    const ProgressSettings& settings() const { return m_cfg; }

private:
    /// The allotment row of an allot-all step, inside the save's transaction.
    QString writeAllotRow(Connection& conn, const ReportForm& form) const;

    const ProgressSettings& m_cfg;
};
