// The journal's mark on every station window: "离线：N 条待上传" in red at the window's top
// right while saves wait for the database, and the list of refused and renumbered records.
#pragma once

#include "journal/JournalReplay.h"

#include <QPushButton>
#include <functional>

class OfflineBadge : public QPushButton {
    Q_OBJECT
public:
    /// Renumbered records the station may print again: (record, new number).
    using Reprint = std::function<void(const QList<JournalReplayResult::Renumbered>&)>;

    /// Puts the mark on a station window and starts the background retry: at the right end of
    /// the window's status line when it names one (statusLine), else at the window's top right;
    /// it follows their size. reprint may be empty (stations without labels).
    static OfflineBadge* attach(QWidget* window, QWidget* statusLine = nullptr,
                                Reprint reprint = {});

    /// "卷号已改：004 → 007，005 → 008".
    static QString renumberedText(const QList<JournalReplayResult::Renumbered>& list);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    OfflineBadge(QWidget* window, QWidget* statusLine, Reprint reprint);
    void show(int pending, int refused);
    void place();
    /// Keeps a status line's text out from under the mark while it shows.
    void keepStatusClear();
    void onReplayed(const JournalReplayResult& result);

    QWidget* m_statusLine;
    int m_lineMargin = 0; // the status line's own right margin
    Reprint m_reprint;
};
