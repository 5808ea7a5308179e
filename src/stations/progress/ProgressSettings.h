// The progress station's options from mirel.ini ([MIREL] and [MES]), each with its default
// written once. Read when the station loads and at every reset of the entry (after a report and
// on 清除), so that a list of steps changed by hand counts from the next card on; the rules and
// the window take their options from here, never from the file.
#pragma once

#include "stations/progress/WorkloadSql.h"

#include <QList>
#include <QString>

struct ProgressSettings {
    QString projects;                             // Projects: the comma-terminated step list
    bool orderInGroup = false;                    // OrderInGroup exactly "true": a step needs the one before
    bool allowRepeat = false;                     // keyPolicy, as a number: a reported step may be chosen again
    bool keypadOnFocus = false;                   // KeyBoardValidate not "false": the pad pops up on a field
    QString machineId = QString::fromUtf16(u"%"); // menchineId: endUser of every report, the list's filter
    QString workerPresets;                        // 工号: the quick-pick keypad of the worker field
    QString lengthPresets;                        // 长度: the quick-pick keypad of metres and pieces
    bool rfidReader = false;                      // [MES] RFID "0": the desk reader is polled

    /// The step buttons of "Projects".
    QList<WorkloadSql::Step> steps() const { return WorkloadSql::parseProjects(projects); }
    /// The preset list of a keypad's key ("工号", "长度"), "" for any other key.
    QString presets(const QString& key) const;

    /// The options as mirel.ini holds them now.
    static ProgressSettings read();
    /// A worker's shift: the key of his name in 班别.ini, "" when none.
    static QString shiftOf(const QString& workerName);
};
