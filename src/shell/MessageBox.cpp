// Dialogs through QMessageBox/QInputDialog/QFileDialog, with a queue of prepared answers.
#include "shell/MessageBox.h"

#include "config/ProgramFolder.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QDebug>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QQueue>

#include <cstdio>

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
    const QString line = QStringLiteral("[%1] %2: %3\n").arg(s.kind, s.caption, s.text);
    std::fputs(line.toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
}

MessageBox::Answer firstButton(MessageBox::Buttons b)
{
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

MessageBox::Answer runBox(const MessageBox::Shown& s, QWidget* parent)
{
    QMessageBox box(qtIcon(s.icon), s.caption, s.text, QMessageBox::NoButton, parent);
    switch (s.buttons) {
    case MessageBox::Ok: box.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole); break;
    case MessageBox::OkCancel:
        box.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole);
        box.addButton(QStringLiteral("取消"), QMessageBox::RejectRole);
        break;
    case MessageBox::YesNo:
    case MessageBox::YesNoCancel:
        box.addButton(QStringLiteral("是"), QMessageBox::YesRole);
        box.addButton(QStringLiteral("否"), QMessageBox::NoRole);
        if (s.buttons == MessageBox::YesNoCancel)
            box.addButton(QStringLiteral("取消"), QMessageBox::RejectRole);
        break;
    }
    QFont f = box.font();
    f.setPointSizeF(f.pointSizeF() * 1.4); // read at arm's length on the panel
    box.setFont(f);
    // Answered with a finger at the frame: buttons the size of the station's own.
    for (QAbstractButton* b : box.buttons())
        b->setMinimumSize(120, 56);
    box.exec();
    const auto role = box.buttonRole(box.clickedButton());
    switch (role) {
    case QMessageBox::AcceptRole: return MessageBox::AnswerOk;
    case QMessageBox::YesRole: return MessageBox::AnswerYes;
    case QMessageBox::NoRole: return MessageBox::AnswerNo;
    default: return s.buttons == MessageBox::YesNo ? MessageBox::AnswerNo : MessageBox::AnswerCancel;
    }
}

} // namespace

QString MessageBox::applicationTitle()
{
    const QString name = QCoreApplication::applicationName();
    return name.isEmpty() ? QStringLiteral("mirel") : name;
}

bool MessageBox::nonInteractive()
{
    return qEnvironmentVariable("MIREL_NONINTERACTIVE") == QStringLiteral("1")
        || qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr;
}

namespace {

MessageBox::Answer present(const MessageBox::Shown& s, QWidget* parent)
{
    Prepared& p = prepared();
    p.shown << s;
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
    Shown s{QStringLiteral("message"), caption.isEmpty() ? applicationTitle() : caption, text, icon,
            buttons};
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
    MessageBox::Shown s{QStringLiteral("input"),
                        caption.isEmpty() ? MessageBox::applicationTitle() : caption, prompt};
    prepared().shown << s;
    if (!prepared().inputs.isEmpty())
        return prepared().inputs.dequeue();
    if (MessageBox::nonInteractive()) {
        logToStderr(s);
        return std::nullopt;
    }
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
    if (kind == QStringLiteral("folder")) {
        d->setFileMode(QFileDialog::Directory);
        d->setOption(QFileDialog::ShowDirsOnly);
    } else if (kind == QStringLiteral("open")) {
        d->setFileMode(QFileDialog::ExistingFile);
    } else {
        d->setAcceptMode(QFileDialog::AcceptSave);
    }
    for (QAbstractItemView* view : d->findChildren<QAbstractItemView*>())
        view->setContextMenuPolicy(Qt::NoContextMenu);
    for (QAbstractButton* b : d->findChildren<QAbstractButton*>(QStringLiteral("newFolderButton")))
        b->hide();
    return d;
}

QString MessageBox::openFileName(const QString& title, const QString& filter, const QString& dir,
                                 QWidget* parent)
{
    return chooseFile(QStringLiteral("open"), title, filter, dir, parent);
}

QString MessageBox::saveFileName(const QString& title, const QString& filter, const QString& dir,
                                 QWidget* parent)
{
    return chooseFile(QStringLiteral("save"), title, filter, dir, parent);
}

QString MessageBox::folderName(const QString& title, const QString& dir, QWidget* parent)
{
    return chooseFile(QStringLiteral("folder"), title, QString(), dir, parent);
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
