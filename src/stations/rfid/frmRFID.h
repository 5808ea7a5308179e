// RFID card registration: binds a card serial to a user (page 1) or a production card (page 3),
// or removes a card (page 2). Cards are typed, read by a keyboard-wedge reader, or read from the
// desk reader.
#pragma once

#include "stations/rfid/CardRegistration.h"

#include <QList>
#include "stations/StationForm.h"

#include <memory>

class ComboEx;
class DbError;
class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTabWidget;
class RfidReaderLibrary;

class frmRFID : public StationForm {
    Q_OBJECT
public:
    explicit frmRFID(QWidget* parent = nullptr);
    ~frmRFID() override;

    /// Hides the settings, opens the shared connection and fills the user list.
    void Form_Load() override;
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
    QList<QLabel*> lab_info;       // by RfidLine
    QMenu* MainMenu = nullptr;
    QAction* full = nullptr;
    QAction* setting = nullptr;
    QGroupBox* Frame1 = nullptr;
    QList<QLineEdit*> txt_set;     // by RfidSetting
    RfidReaderLibrary& reader() { return *m_reader; }

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void fitToScale(const Twips& tw) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void buildSettings();
    void pageChanged(int page);
    void loadUsers();
    /// The page's card, and what it is to stand for, as the form holds them.
    CardRequest request() const;
    bool saveCard();
    /// 删除卡: the reason when nothing was removed.
    QString removeCard(const QString& card);
    /// 员工卡 and 生产卡: binds the card after the rebinding question, when there is one.
    bool bindCard(const CardRequest& request);
    /// The database is away: the status line says what still works until it answers again.
    void goneOffline();
    void showPrompt();
    /// The status line after a card was read: its number and what it is registered to.
    void showHolder(const QString& card);
    static QString offlineMessage();
    static QString savedMessage() { return QString::fromUtf16(u"保存成功"); }
    /// What the operator is told of a database error (plainly when the database is away).
    QString failure(const DbError& e);
    QLineEdit* currentCardBox() const;

    std::unique_ptr<RfidReaderLibrary> m_reader;
    bool m_readerTried = false;
    bool m_offline = false;
    QWidget* m_cardRow = nullptr; // caption and txtCardno, on page 1 or 2
};
