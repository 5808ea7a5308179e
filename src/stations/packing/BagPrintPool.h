// The packing table as the printer of the print pool: once a second, while "箱唛自动打印" is
// ticked, the oldest job is taken out of printpool inside a transaction, printed, and the
// transaction committed. A station that dies before the commit leaves the job in the pool.
#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

class BagPrintPool : public QObject {
    Q_OBJECT
public:
    /// Prints one job: its kind ("箱唛", "匹唛", "单据") and subject (box number, roll id).
    using Printer = std::function<void(const QString& kind, const QString& pid)>;

    explicit BagPrintPool(Printer printer, QObject* parent = nullptr);

    /// PDAautoPrint: the timer runs only while it is ticked.
    void setEnabled(bool on);
    bool isEnabled() const { return m_on; }
    QTimer& PrintTimer() { return m_timer; }

    /// One tick: at most one job. Returns true when a job was taken and committed.
    bool tick();

signals:
    /// After the commit of a printed job.
    void jobDone(qint64 id, const QString& kind, const QString& pid);
    /// The claim failed (the database refused it); once per distinct error until a claim works.
    void claimFailed(const QString& message);

private:
    Printer m_printer;
    QTimer m_timer;
    bool m_on = false;
    bool m_inTick = false;
    QString m_lastError;
};
