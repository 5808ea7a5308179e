// Dialogs through QMessageBox/QInputDialog/QFileDialog, with a queue of prepared answers.
#include "shell/MessageBox.h"

#include "config/ProgramFolder.h"
#include "screen/QuestionGate.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QDebug>
#include <QFileDialog>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QQueue>
#include <QScopeGuard>

#include <cstdio>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

struct Prepared {
    QQueue<MessageBox::Answer> answers;
    QQueue<std::optional<QString>> inputs;
    QQueue<QString> files;
    QList<MessageBox::Shown> shown;
    std::function<bool()> held;
    QList<std::pair<MessageBox::Shown, QPointer<QWidget>>> kept; // a window closed meanwhile: none
    std::function<void(const MessageBox::Shown&)> onShow;
};

Prepared& prepared()
{
    static Prepared p;
    return p;
}

void logToStderr(const MessageBox::Shown& s)
{
    const QString line = u"[%1] %2: %3\n"_s.arg(s.kind, s.caption, s.text);
    std::fputs(line.toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
}

MessageBox::Answer firstButton(MessageBox::Buttons b)
{
    if (b == MessageBox::YesNoDefaultNo)
        return MessageBox::AnswerNo;
    return b == MessageBox::Ok || b == MessageBox::OkCancel ? MessageBox::AnswerOk
                                                            : MessageBox::AnswerYes;
}

QMessageBox::Icon qtIcon(MessageBox::Icon icon)
{
    switch (icon) {
    case MessageBox::Information: return QMessageBox::Information;
    case MessageBox::Critical: return QMessageBox::Critical;
    case MessageBox::Question: return QMessageBox::Question;
    case MessageBox::Exclamation: return QMessageBox::Warning;
    case MessageBox::NoIcon: break;
    }
    return QMessageBox::NoIcon;
}

// A keyboard-wedge scanner types into whatever has the focus: with a box open, its keys and its
// Enter would answer the box and the code would be lost. The box keeps what is typed into it as
// scans (ended by Enter or Tab) for the window behind, takes no Enter for half a second after a
// scan, and has no default button; the operator answers by touch, or by Enter later on.
class ScanKeys : public QObject {
public:
    QStringList scans; ///< codes typed into the box, each ended by Enter or Tab
    QString typed;     ///< keys of a code whose end has not come

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && qobject_cast<QMessageBox*>(watched)) {
            for (QAbstractButton* b : static_cast<QMessageBox*>(watched)->buttons())
                if (auto* p = qobject_cast<QPushButton*>(b)) {
                    p->setDefault(false);
                    p->setAutoDefault(false);
                }
            return false;
        }
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool ending = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter
                            || key->key() == Qt::Key_Tab;
        if (ending && !typed.isEmpty()) {
            scans << std::exchange(typed, QString());
            QuestionGate::noteScan();
            return true;
        }
        if (ending) {
            if (QuestionGate::sinceScanMs() < QuestionGate::kScanEnterMs)
                return true; // the end of the scan that raised the box
            if (key->key() == Qt::Key_Tab)
                return false; // to the next button
            if (auto* button = qobject_cast<QAbstractButton*>(QApplication::focusWidget()))
                button->click();
            return true;
        }
        const QString text = key->text();
        const bool printable = !text.isEmpty() && text.at(0).isPrint() && text != u" "_s &&
                               !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
        if (!printable)
            return false;
        typed += text;
        QuestionGate::noteScan();
        return true;
    }
};

// The kept keys go to the scan field the scanner typed into last (else to the focused field) once
// the question's caller has finished, as a new scan into that field.
void typeIntoFocus(const QString& text, bool ended)
{
    QWidget* target = qobject_cast<QWidget*>(QuestionGate::lastScanField());
    if (!target || !target->isVisible() || !target->isEnabled())
        target = QApplication::focusWidget();
    if (!target)
        return;
    target->setFocus(Qt::OtherFocusReason);
    if (auto* field = qobject_cast<QLineEdit*>(target))
        field->selectAll();
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(target, &press);
    }
    if (ended) {
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, u"\r"_s);
        QCoreApplication::sendEvent(target, &enter);
    }
}

void keepScans(const ScanKeys& keys)
{
    for (const QString& code : keys.scans)
        QuestionGate::whenAnswered(qApp, [code] { typeIntoFocus(code, true); });
    if (!keys.typed.isEmpty())
        QuestionGate::whenAnswered(qApp, [code = keys.typed] { typeIntoFocus(code, false); });
}

MessageBox::Answer runBox(const MessageBox::Shown& s, QWidget* parent)
{
    QMessageBox box(qtIcon(s.icon), s.caption, s.text, QMessageBox::NoButton, parent);
    switch (s.buttons) {
    case MessageBox::Ok:
        box.addButton(u"确定"_s, QMessageBox::AcceptRole);
        break;
    case MessageBox::OkCancel:
        box.addButton(u"确定"_s, QMessageBox::AcceptRole);
        box.addButton(u"取消"_s, QMessageBox::RejectRole);
        break;
    case MessageBox::YesNo:
    case MessageBox::YesNoCancel:
    case MessageBox::YesNoDefaultNo: {
        box.addButton(u"是"_s, QMessageBox::YesRole);
        QPushButton* no = box.addButton(u"否"_s, QMessageBox::NoRole);
        if (s.buttons == MessageBox::YesNoCancel)
            box.addButton(u"取消"_s, QMessageBox::RejectRole);
        if (s.buttons == MessageBox::YesNoDefaultNo)
            box.setDefaultButton(no);
        break;
    }
    }
    QFont f = box.font();
    f.setPointSizeF(f.pointSizeF() * 1.4); // read at arm's length on the panel
    box.setFont(f);
    // Answered with a finger at the frame: buttons the size of the station's own.
    ScanKeys keys;
    box.installEventFilter(&keys);
    for (QAbstractButton* b : box.buttons()) {
        b->setMinimumSize(120, 56);
        b->setObjectName(b->text());
        b->setAccessibleName(b->text());
        b->installEventFilter(&keys);
        if (auto* button = qobject_cast<QPushButton*>(b))
            button->setAutoDefault(false);
    }
    box.exec();
    keepScans(keys);
    const auto role = box.buttonRole(box.clickedButton());
    switch (role) {
    case QMessageBox::AcceptRole: return MessageBox::AnswerOk;
    case QMessageBox::YesRole: return MessageBox::AnswerYes;
    case QMessageBox::NoRole: return MessageBox::AnswerNo;
    default:
        return s.buttons == MessageBox::YesNo || s.buttons == MessageBox::YesNoDefaultNo
                   ? MessageBox::AnswerNo
                   : MessageBox::AnswerCancel;
    }
}

} // namespace

QString MessageBox::applicationTitle()
{
    const QString name = QCoreApplication::applicationName();
    return name.isEmpty() ? u"mirel"_s : name;
}

bool MessageBox::nonInteractive()
{
    return qEnvironmentVariable("MIREL_NONINTERACTIVE") == u"1"_s ||
           qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr;
}

namespace {

MessageBox::Answer present(const MessageBox::Shown& s, QWidget* parent)
{
    Prepared& p = prepared();
    p.shown << s;
    // Scans that come while the box stands open wait for its answer.
    QuestionGate::opened();
    const auto answered = qScopeGuard([] { QuestionGate::closed(); });
    if (p.onShow)
        p.onShow(s);
    if (!p.answers.isEmpty())
        return p.answers.dequeue();
    if (MessageBox::nonInteractive()) {
        logToStderr(s);
        return firstButton(s.buttons);
    }
    return runBox(s, parent);
}

} // namespace

void MessageBox::setHeldWhile(std::function<bool()> held)
{
    prepared().held = std::move(held);
}

void MessageBox::showHeld()
{
    Prepared& p = prepared();
    while (!p.kept.isEmpty() && !(p.held && p.held())) {
        const auto [s, parent] = p.kept.takeFirst();
        present(s, parent);
    }
}

void MessageBox::setOnShow(std::function<void(const Shown&)> onShow)
{
    prepared().onShow = std::move(onShow);
}

MessageBox::Answer MessageBox::show(const QString& text, Icon icon, Buttons buttons,
                                    const QString& caption, QWidget* parent)
{
    Shown s{u"message"_s, caption.isEmpty() ? applicationTitle() : caption, text, icon, buttons};
    if (buttons == Ok && prepared().held && prepared().held()) {
        s.heldBack = true;
        prepared().kept.append({s, parent});
        return AnswerOk;
    }
    if (prepared().held && prepared().held())
        qWarning().noquote() << "a question waits on the operator inside a transaction:" << text;
    return present(s, parent);
}

void MessageBox::information(const QString& text, QWidget* parent)
{
    show(text, Information, Ok, QString(), parent);
}

void MessageBox::critical(const QString& text, QWidget* parent)
{
    show(text, Critical, Ok, QString(), parent);
}

bool MessageBox::question(const QString& text, QWidget* parent)
{
    return show(text, Question, YesNo, QString(), parent) == AnswerYes;
}

namespace {

std::optional<QString> askText(const QString& prompt, const QString& caption,
                               const QString& defaultText, QLineEdit::EchoMode echo,
                               QWidget* parent)
{
    MessageBox::Shown s{u"input"_s, caption.isEmpty() ? MessageBox::applicationTitle() : caption,
                        prompt};
    prepared().shown << s;
    if (!prepared().inputs.isEmpty())
        return prepared().inputs.dequeue();
    if (MessageBox::nonInteractive()) {
        logToStderr(s);
        return std::nullopt;
    }
    QuestionGate::opened();
    const auto answered = qScopeGuard([] { QuestionGate::closed(); });
    bool ok = false;
    const QString text = QInputDialog::getText(parent, s.caption, prompt, echo, defaultText, &ok);
    return ok ? std::optional<QString>(text) : std::nullopt;
}

} // namespace

std::optional<QString> MessageBox::inputBox(const QString& prompt, const QString& title,
                                            const QString& defaultText, QWidget* parent)
{
    return askText(prompt, title, defaultText, QLineEdit::Normal, parent);
}

std::optional<QString> MessageBox::passwordBox(const QString& prompt, const QString& title,
                                               QWidget* parent)
{
    return askText(prompt, title, QString(), QLineEdit::Password, parent);
}

namespace {

QString chooseFile(const QString& kind, const QString& title, const QString& filter,
                   const QString& dir, QWidget* parent)
{
    MessageBox::Shown s{kind, title, filter};
    prepared().shown << s;
    if (!prepared().files.isEmpty())
        return prepared().files.dequeue();
    if (MessageBox::nonInteractive()) {
        logToStderr(s);
        return QString();
    }
    const std::unique_ptr<QFileDialog> d = MessageBox::fileDialog(kind, title, filter, dir, parent);
    return d->exec() == QDialog::Accepted ? d->selectedFiles().value(0) : QString();
}

} // namespace

std::unique_ptr<QFileDialog> MessageBox::fileDialog(const QString& kind, const QString& title,
                                                    const QString& filter, const QString& dir,
                                                    QWidget* parent)
{
    auto d = std::make_unique<QFileDialog>(parent, title,
                                           dir.isEmpty() ? ProgramFolder::path() : dir, filter);
    // Qt's own dialog: the desktop's dialog would offer rename and delete whatever is asked. On
    // the floor a slip there removes the templates of every station.
    d->setOption(QFileDialog::DontUseNativeDialog);
    d->setOption(QFileDialog::ReadOnly);
    if (kind == u"folder"_s) {
        d->setFileMode(QFileDialog::Directory);
        d->setOption(QFileDialog::ShowDirsOnly);
    } else if (kind == u"open"_s) {
        d->setFileMode(QFileDialog::ExistingFile);
    } else {
        d->setAcceptMode(QFileDialog::AcceptSave);
    }
    for (QAbstractItemView* view : d->findChildren<QAbstractItemView*>())
        view->setContextMenuPolicy(Qt::NoContextMenu);
    for (QAbstractButton* b : d->findChildren<QAbstractButton*>(u"newFolderButton"_s))
        b->hide();
    return d;
}

QString MessageBox::openFileName(const QString& title, const QString& filter, const QString& dir,
                                 QWidget* parent)
{
    return chooseFile(u"open"_s, title, filter, dir, parent);
}

QString MessageBox::saveFileName(const QString& title, const QString& filter, const QString& dir,
                                 QWidget* parent)
{
    return chooseFile(u"save"_s, title, filter, dir, parent);
}

QString MessageBox::folderName(const QString& title, const QString& dir, QWidget* parent)
{
    return chooseFile(u"folder"_s, title, QString(), dir, parent);
}

void MessageBox::setNextAnswer(Answer answer) { prepared().answers.enqueue(answer); }
void MessageBox::setNextInput(std::optional<QString> text) { prepared().inputs.enqueue(text); }
void MessageBox::setNextFileName(const QString& path) { prepared().files.enqueue(path); }
QList<MessageBox::Shown> MessageBox::shown() { return prepared().shown; }
MessageBox::Shown MessageBox::lastShown()
{
    return prepared().shown.isEmpty() ? Shown() : prepared().shown.last();
}
void MessageBox::clearShown() { prepared().shown.clear(); }
void MessageBox::clearAnswers()
{
    prepared().answers.clear();
    prepared().inputs.clear();
    prepared().files.clear();
}
