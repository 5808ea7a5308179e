// The one way stations talk to the operator in dialogs: message boxes, questions, input boxes and
// file choosers. Tests queue the operator's answers in advance and read back what was shown.
#pragma once

#include <QList>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

class QFileDialog;
class QWidget;

class MessageBox {
public:
    enum Icon { NoIcon, Information, Critical, Question, Exclamation };
    /// YesNoDefaultNo: 否 is the default button, and the answer where no one can answer.
    enum Buttons { Ok, OkCancel, YesNo, YesNoCancel, YesNoDefaultNo };
    // The values the old message box function returned.
    enum Answer { AnswerOk = 1, AnswerCancel = 2, AnswerYes = 6, AnswerNo = 7 };

    /// Shows a message box; the caption defaults to the application title.
    static Answer show(const QString& text, Icon icon = NoIcon, Buttons buttons = Ok,
                       const QString& caption = QString(), QWidget* parent = nullptr);

    static void information(const QString& text, QWidget* parent = nullptr);
    static void critical(const QString& text, QWidget* parent = nullptr);
    /// A Yes/No question; true for Yes.
    static bool question(const QString& text, QWidget* parent = nullptr);

    /// An input box; nullopt when the operator cancels.
    static std::optional<QString> inputBox(const QString& prompt, const QString& title = QString(),
                                           const QString& defaultText = QString(),
                                           QWidget* parent = nullptr);

    /// As inputBox, the typed text hidden (an access code).
    static std::optional<QString> passwordBox(const QString& prompt,
                                              const QString& title = QString(),
                                              QWidget* parent = nullptr);

    /// File choosers; an empty text when the operator cancels. filter as "Excel (*.xlsx)".
    static QString openFileName(const QString& title, const QString& filter,
                                const QString& dir = QString(), QWidget* parent = nullptr);
    static QString saveFileName(const QString& title, const QString& filter,
                                const QString& dir = QString(), QWidget* parent = nullptr);

    /// Folder chooser starting at dir; an empty text when the operator cancels. Answered in
    /// advance with setNextFileName.
    static QString folderName(const QString& title, const QString& dir = QString(),
                              QWidget* parent = nullptr);

    /// The dialog behind the file choosers (kind "open", "save" or "folder"): it only chooses,
    /// it cannot rename, delete or make folders, and starts at dir or, without one, in the
    /// program folder.
    static std::unique_ptr<QFileDialog> fileDialog(const QString& kind, const QString& title,
                                                   const QString& filter, const QString& dir,
                                                   QWidget* parent = nullptr);

    // --- nothing waits on a person inside a database transaction ---
    /// While held() answers true (the shared connection is inside a transaction), a message with
    /// only an OK button is not shown but kept; showHeld() shows the kept ones in order once the
    /// transaction has ended. Questions cannot wait for their answer and are shown at once.
    static void setHeldWhile(std::function<bool()> held);
    static void showHeld();

    // --- answering in advance (tests, unattended runs) ---
    struct Shown {
        QString kind; // "message", "input", "open", "save", "folder"
        QString caption;
        QString text;
        Icon icon = NoIcon;
        Buttons buttons = Ok;
        bool heldBack = false; ///< raised inside a transaction, shown after it ended
    };
    static void setNextAnswer(Answer answer);
    static void setNextInput(std::optional<QString> text);
    static void setNextFileName(const QString& path);
    /// Everything shown since the last clearShown(), oldest first.
    static QList<Shown> shown();
    static Shown lastShown();
    static void clearShown();
    /// Drops answers that were queued but never used.
    static void clearAnswers();
    /// Called with every box at the moment it would stand open before the operator (a test
    /// holds it open there and looks at the rest of the world); nullptr removes it.
    static void setOnShow(std::function<void(const Shown&)> onShow);

    /// True when no dialog may wait for a person: MIREL_NONINTERACTIVE=1 or no GUI application.
    /// Messages then go to stderr and unanswered questions take their first button.
    static bool nonInteractive();

    static QString applicationTitle();
};
