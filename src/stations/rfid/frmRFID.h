// RFID card registration: binds a card serial to a user (page 1) or a production card (page 3),
// or removes a card (page 2). Cards are typed, read by a keyboard-wedge reader, or read from the
// desk reader.
#pragma once

#include <QList>
#include <QWidget>

#include <memory>

class ComboEx;
class Connection;
class DbError;
class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTabWidget;
class RfidReaderLibrary;

class frmRFID : public QWidget {
    Q_OBJECT
public:
    explicit frmRFID(QWidget* parent = nullptr);
    ~frmRFID() override;

    /// Hides the settings, opens the shared connection and fills the user list.
    void Form_Load();
    /// "保存" on the current page.
    void Command1_Click();
    /// "读卡": the card on the desk reader into the current page's card field.
    void readCard();
    /// The pop-up menu's two items.
    void full_Click();
    void setting_Click();

    QTabWidget* SSTab1 = nullptr;
    QLineEdit* txtCardno = nullptr; // pages 1 and 2: it moves with the page
    QLineEdit* txtCard2 = nullptr;
    QLineEdit* txtBillCode = nullptr;
    ComboEx* ComboUser = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* cmdRead = nullptr;
    QList<QLabel*> lab_info;
    QMenu* MainMenu = nullptr;
    QAction* full = nullptr;
    QAction* setting = nullptr;
    QGroupBox* Frame1 = nullptr;
    QList<QLineEdit*> txt_set;
    RfidReaderLibrary& reader() { return *m_reader; }

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void buildSettings();
    void pageChanged(int page);
    void loadUsers();
    bool saveCard();
    /// Page 2: removes every binding of the card; the reason when nothing was removed.
    QString removeCard();
    /// Pages 1 and 3: binds the card to the chosen user's code or to an existing production
    /// card; a card bound to anything else is moved on Yes.
    bool bindCard();
    bool billExists(Connection& conn, const QString& billCode);
    static QString noBillMessage(const QString& billCode);
    /// What the card is bound to besides (type, ref), as the question names it.
    QStringList otherHolders(const QString& card, const QString& type, const QString& ref);
    /// The database is away: the status line says what still works until it answers again.
    void goneOffline();
    void showPrompt();
    /// The status line after a card was read: its number and what it is registered to.
    void showHolder(const QString& card);
    static QString offlineMessage();
    static QString savedMessage() { return QStringLiteral("保存成功"); }
    /// What the operator is told of a database error (plainly when the database is away).
    QString failure(const DbError& e);
    QLineEdit* currentCardBox() const;

    std::unique_ptr<RfidReaderLibrary> m_reader;
    bool m_readerTried = false;
    bool m_offline = false;
    QWidget* m_cardRow = nullptr; // caption and txtCardno, on page 1 or 2
};
