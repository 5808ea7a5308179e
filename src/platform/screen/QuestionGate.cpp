// The open-question count and the scans kept while it is above zero.
#include "screen/QuestionGate.h"

#include <QElapsedTimer>
#include <QList>
#include <QMetaObject>
#include <QPointer>

#include <limits>
#include <utility>

namespace QuestionGate {

namespace {

struct State {
    int open = 0;
    QList<std::pair<QPointer<QObject>, std::function<void()>>> kept;
    QElapsedTimer sinceScan;
    QPointer<QObject> field;
};

State& state()
{
    static State s;
    return s;
}

} // namespace

void opened() { ++state().open; }

void closed()
{
    State& s = state();
    if (s.open > 0)
        --s.open;
    if (s.open > 0)
        return;
    // Queued: the code asking the question goes on with its answer first; a kept scan that
    // asks a question of its own keeps the ones after it waiting again.
    for (auto& [context, what] : std::exchange(s.kept, {}))
        if (QObject* c = context.data())
            QMetaObject::invokeMethod(
                c, [c, what = std::move(what)] { whenAnswered(c, what); }, Qt::QueuedConnection);
}

bool isOpen() { return state().open > 0; }

void whenAnswered(QObject* context, std::function<void()> what)
{
    if (!isOpen()) {
        what();
        return;
    }
    state().kept.append({QPointer<QObject>(context), std::move(what)});
}

void noteScan(QObject* field)
{
    state().sinceScan.start();
    if (field)
        state().field = field;
}

QObject* lastScanField() { return state().field.data(); }

qint64 sinceScanMs()
{
    const QElapsedTimer& t = state().sinceScan;
    return t.isValid() ? t.elapsed() : std::numeric_limits<qint64>::max();
}

} // namespace QuestionGate
