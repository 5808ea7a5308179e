// The offline mark: placed over the window's top right corner, above the station's own fields.
#include "stations/OfflineBadge.h"

#include "shell/Journal.h"
#include "shell/MessageBox.h"
#include "widgets/FitText.h"
#include "dialogs/frmJournal.h"

#include <QEvent>
#include <QLabel>

using namespace Qt::StringLiterals;

OfflineBadge::OfflineBadge(QWidget* window, QWidget* statusLine, Reprint reprint)
    : QPushButton(window), m_statusLine(statusLine), m_reprint(std::move(reprint))
{
    setObjectName(u"labOffline"_s);
    setStyleSheet(u"QPushButton { color: #e00000; background: #fff4f4; border: 2px solid #e00000; "
                  "font-weight: bold; padding: 4px 12px; }"_s);
    setFocusPolicy(Qt::NoFocus); // the operator's fields keep the keyboard
    window->installEventFilter(this);
    if (statusLine) {
        statusLine->installEventFilter(this);
        m_lineMargin = statusLine->contentsMargins().right();
    }
    connect(Journal::status(), &Journal::Status::changed, this, &OfflineBadge::show);
    connect(Journal::status(), &Journal::Status::replayed, this, &OfflineBadge::onReplayed);
    connect(this, &QPushButton::clicked, this, [this] { frmJournal::open(parentWidget()); });
    hide();
}

OfflineBadge* OfflineBadge::attach(QWidget* window, QWidget* statusLine, Reprint reprint)
{
    auto* badge = new OfflineBadge(window, statusLine, std::move(reprint));
    Journal::startRetry();
    Journal::status()->refresh();
    return badge;
}

QString OfflineBadge::renumberedText(const QList<JournalReplayResult::Renumbered>& list)
{
    QStringList pairs;
    for (const auto& r : list)
        pairs << r.record.number.value + u" → "_s + r.newNumber;
    return u"卷号已改："_s + pairs.join(u"，"_s);
}

void OfflineBadge::show(int pending, int refused)
{
    const QString text = Journal::statusText(pending, refused);
    setText(text);
    setAccessibleName(text);
    setVisible(!text.isEmpty());
    place();
    if (text.isEmpty())
        keepStatusClear();
}

void OfflineBadge::keepStatusClear()
{
    // The line's text ends before the mark ("已恢复…请核对后保存" is read to its end): its right
    // margin is the mark's room, and its text is fitted again into what is left.
    auto* line = qobject_cast<QLabel*>(m_statusLine);
    if (!line)
        return;
    const int room = m_lineMargin + (isHidden() ? 0 : width() + 8);
    QMargins m = line->contentsMargins();
    if (m.right() == room)
        return;
    m.setRight(room);
    line->setContentsMargins(m);
    if (room > 0)
        FitText::fit(line, line->font().pointSizeF(), line->font().pointSizeF() * 2 / 3);
}

void OfflineBadge::place()
{
    adjustSize();
    keepStatusClear();
    if (m_statusLine) {
        // Over the line's right end: its text starts at the left.
        const QRect line(m_statusLine->mapTo(parentWidget(), QPoint(0, 0)), m_statusLine->size());
        move(line.right() - width() - 4, line.center().y() - height() / 2);
    } else {
        move(parentWidget()->width() - width() - 8, 4);
    }
    raise();
}

bool OfflineBadge::eventFilter(QObject* watched, QEvent* event)
{
    if ((event->type() == QEvent::Resize || event->type() == QEvent::Move) && isVisible())
        place();
    return QPushButton::eventFilter(watched, event);
}

void OfflineBadge::onReplayed(const JournalReplayResult& result)
{
    if (result.renumbered.isEmpty())
        return;
    const QString text = renumberedText(result.renumbered);
    if (!m_reprint) {
        MessageBox::information(text, parentWidget());
        return;
    }
    if (MessageBox::question(text + u"\n\n重新打印这些标签？"_s, parentWidget()))
        m_reprint(result.renumbered);
}
