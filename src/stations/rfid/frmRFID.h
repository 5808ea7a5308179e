// RFID card registration: binds a card serial to a user (page 1) or a production card (page 3),
// or removes a card (page 2). Cards are typed, read by a keyboard-wedge reader, or read from the
// desk reader.
#pragma once

#include <QList>
#include <QWidget>

#include <memory>

class ComboEx;
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
    /// Page 1: binds the card to the chosen user's code; a card of another user is moved on Yes.
    bool saveUserCard();
    QLineEdit* currentCardBox() const;

    std::unique_ptr<RfidReaderLibrary> m_reader;
    bool m_readerTried = false;
    QWidget* m_cardRow = nullptr; // caption and txtCardno, on page 1 or 2
};
