// The card registration window: three pages, the save, the keyboard-wedge flow of page 3, the
// desk reader, and the menu with full screen and the board's settings.
#include "stations/rfid/frmRFID.h"

#include "db/DbError.h"
#include "devices/Rfid.h"
#include "readers/RfidReaderLibrary.h"
#include "screen/Twips.h"
#include "shell/Database.h"
#include "shell/Journal.h"
#include "shell/MessageBox.h"
#include "shell/SysUtil.h"
#include "shell/SysUtilDb.h"
#include "stations/rfid/CardRegistration.h"
#include "stations/rfid/RfidSql.h"
#include "widgets/ComboEx.h"
#include "widgets/ScanField.h"
#include "widgets/ScreenMode.h"
#include "widgets/StatusLine.h"
#include "widgets/TwipLayout.h"

#include <QAbstractItemView>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

constexpr int FieldHeight = 620;

// The board's settings shown on this window, by their kanban.ini keys.
const char16_t* const SettingKeys[] = {u"库存看板", u"时间间隔", u"fontSize", u"看板SQL", u"跑马灯内容"};

} // namespace

frmRFID::frmRFID(QWidget* parent) : StationForm(parent), m_reader(std::make_unique<RfidReaderLibrary>())
{
    setObjectName(u"frmRFID"_s);
    setWindowTitle(u"RFID卡登记"_s);
    resize(1024, 768);
    buildControls();
    buildSettings();
}

frmRFID::~frmRFID() = default;

void frmRFID::buildControls()
{
    for (int i = 0; i < 2; ++i) {
        // The second line says what the desk did last: one line, whole on touch.
        QLabel* l = i == 0 ? new QLabel(this) : new StatusLine(this);
        l->setObjectName(u"lab_info_"_s + QString::number(i));
        l->installEventFilter(this);
        lab_info.append(l);
    }
    lab_info[RfidLine::Title]->setText(u"RFID卡登记"_s);
    lab_info[RfidLine::Title]->setAlignment(Qt::AlignCenter);
    placeTwips(lab_info[RfidLine::Title], QRect(120, 120, 15120, 900));
    lab_info[RfidLine::Status]->setText(u"刷卡或输入卡号，按回车确认"_s);
    lab_info[RfidLine::Status]->setAlignment(Qt::AlignCenter);
    placeTwips(lab_info[RfidLine::Status], QRect(120, 1060, 15120, 500));

    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(u"SSTab1"_s);
    placeTwips(SSTab1, QRect(1680, 1800, 12000, 5400));
    QWidget* pages[3];
    const QString titles[] = {u"员工卡"_s, u"删除卡"_s, u"生产卡"_s};
    for (int i = 0; i < 3; ++i) {
        pages[i] = new QWidget;
        pages[i]->setObjectName(u"SSTab1_"_s + QString::number(i));
        SSTab1->addTab(pages[i], titles[i]);
    }
    m_cardRow = new QWidget(pages[0]);
    m_cardRow->setObjectName(u"cardRow"_s);
    placeTwips(m_cardRow, QRect(300, 600, 8100, FieldHeight));
    QLabel* cardLabel =
        placeCaption(m_cardRow, u"Label1"_s, u"卡号"_s, QRect(0, 0, 2000, FieldHeight));
    txtCardno =
        placeTextBox(m_cardRow, u"txtCardno"_s, cardLabel, QRect(2100, 0, 5960, FieldHeight));
    QLabel* userLabel =
        placeCaption(pages[0], u"Label2"_s, u"员工"_s, QRect(300, 1600, 2000, FieldHeight));
    ComboUser = new ComboEx(pages[0]);
    ComboUser->setObjectName(u"ComboUser"_s);
    ComboUser->setAccessibleName(userLabel->text());
    userLabel->setBuddy(ComboUser);
    placeTwips(ComboUser, QRect(2400, 1600, 6000, FieldHeight));
    QLabel* card2Label =
        placeCaption(pages[2], u"Label3"_s, u"卡号"_s, QRect(300, 600, 2000, FieldHeight));
    txtCard2 =
        placeTextBox(pages[2], u"txtCard2"_s, card2Label, QRect(2400, 600, 6000, FieldHeight));
    QLabel* billLabel =
        placeCaption(pages[2], u"Label4"_s, u"生产单号"_s, QRect(300, 1600, 2000, FieldHeight));
    txtBillCode =
        placeTextBox(pages[2], u"txtBillCode"_s, billLabel, QRect(2400, 1600, 6000, FieldHeight));

    cmdRead = new QPushButton(u"读卡"_s, this);
    cmdRead->setObjectName(u"cmdRead"_s);
    cmdRead->setAccessibleName(cmdRead->text());
    cmdRead->setFocusPolicy(Qt::NoFocus);
    placeTwips(cmdRead, QRect(4680, 7500, 2800, 1000));
    Command1 = new QPushButton(u"保存"_s, this);
    Command1->setObjectName(u"Command1"_s);
    Command1->setAccessibleName(Command1->text());
    Command1->setFocusPolicy(Qt::NoFocus);
    placeTwips(Command1, QRect(7880, 7500, 2800, 1000));

    MainMenu = new QMenu(this);
    MainMenu->setObjectName(u"MainMenu"_s);
    full = MainMenu->addAction(u"全屏显示"_s);
    full->setObjectName(u"full"_s);
    setting = MainMenu->addAction(u"设置"_s);
    setting->setObjectName(u"setting"_s);

    connect(Command1, &QPushButton::clicked, this, &frmRFID::Command1_Click);
    connect(cmdRead, &QPushButton::clicked, this, &frmRFID::readCard);
    connect(full, &QAction::triggered, this, &frmRFID::full_Click);
    connect(setting, &QAction::triggered, this, &frmRFID::setting_Click);
    connect(SSTab1, &QTabWidget::currentChanged, this, &frmRFID::pageChanged);
    // Keyboard-wedge readers end every card with Enter: card, then production card, then save.
    for (QLineEdit* scanned : {txtCardno, txtCard2, txtBillCode})
        ScanField::install(scanned);
    connect(txtCard2, &QLineEdit::returnPressed, this, [this] {
        txtBillCode->setFocus();
        txtBillCode->selectAll();
    });
    connect(txtBillCode, &QLineEdit::returnPressed, this, [this] {
        Command1_Click();
        txtCard2->setFocus();
        txtCard2->selectAll();
    });
    // "按回车确认" on the worker and removal pages too: a worker card is saved once its worker
    // is chosen (else the list is opened for him), a card to remove is removed.
    connect(txtCardno, &QLineEdit::returnPressed, this, [this] {
        if (SSTab1->currentIndex() == CardPage::Worker && ComboUser->selectedValue().isEmpty() &&
            ComboUser->count() > 0) {
            ComboUser->setFocus();
            ComboUser->showPopup();
            return;
        }
        Command1_Click();
        txtCardno->setFocus();
        txtCardno->selectAll();
    });
}

void frmRFID::buildSettings()
{
    Frame1 = new QGroupBox(u"看板设置"_s, this);
    Frame1->setObjectName(u"Frame1"_s);
    placeTwips(Frame1, QRect(1680, 1800, 12000, 5400));
    int i = 0;
    for (const char16_t* key : SettingKeys) {
        const QString k = QString::fromUtf16(key);
        QLabel* l = placeCaption(Frame1, u"lab_set_"_s + QString::number(i), k,
                                 QRect(200, 500 + i * 800, 2200, FieldHeight));
        QLineEdit* b = placeTextBox(Frame1, u"txt_set_"_s + QString::number(i), l,
                                    QRect(2500, 500 + i * 800, 9200, FieldHeight));
        b->setProperty("Tag", k);
        txt_set.append(b);
        ++i;
    }
    auto* hideBtn = new QPushButton(u"关闭"_s, Frame1);
    hideBtn->setObjectName(u"setClose"_s);
    hideBtn->setAccessibleName(hideBtn->text());
    placeTwips(hideBtn, QRect(9700, 4560, 2000, FieldHeight));
    connect(hideBtn, &QPushButton::clicked, Frame1, &QWidget::hide);
    Frame1->hide();
}

void frmRFID::Form_Load()
{
    Frame1->hide();
    if (Database::openConnection())
        loadUsers();
    else // a desk started while the database is away lists the workers once it answers
        goneOffline();
    pageChanged(SSTab1->currentIndex());
}

void frmRFID::loadUsers()
{
    try {
        ComboUser->bindRecordset(SysUtil::openRecordset(Database::conn(), RfidSql::userListQuery()));
    } catch (const DbError& e) {
        if (Journal::isOffline(e))
            goneOffline();
        else
            MessageBox::show(e.message(), MessageBox::Critical, MessageBox::Ok, QString(), this);
    } catch (const std::exception& e) {
        MessageBox::show(QString::fromUtf8(e.what()), MessageBox::Critical, MessageBox::Ok,
                         QString(), this);
    }
}

void frmRFID::goneOffline()
{
    if (m_offline)
        return;
    m_offline = true;
    showPrompt();
    Journal::startRetry();
    Journal::whenDatabaseBack(this, [this] {
        m_offline = false;
        showPrompt();
        if (ComboUser->count() == 0)
            loadUsers();
    });
}

void frmRFID::showPrompt()
{
    // Cards are registered on the database only; the desk reader needs none.
    lab_info[RfidLine::Status]->setText(m_offline ? u"数据库离线：卡的登记和删除要等数据库连上，读卡照常可用"_s
                                   : u"刷卡或输入卡号，按回车确认"_s);
}

QLineEdit* frmRFID::currentCardBox() const { return SSTab1->currentIndex() == CardPage::Production ? txtCard2 : txtCardno; }

void frmRFID::pageChanged(int page)
{
    if (page < CardPage::Production && m_cardRow->parentWidget() != SSTab1->widget(page)) {
        // One card field serves the user page and the removal page.
        m_cardRow->setParent(SSTab1->widget(page));
        m_cardRow->show();
    }
    QLineEdit* card = currentCardBox();
    card->setFocus();
    card->selectAll();
}

CardRequest frmRFID::request() const
{
    CardRequest r;
    r.page = SSTab1->currentIndex();
    r.card = currentCardBox()->text();
    r.ref = r.page == CardPage::Production ? txtBillCode->text() : ComboUser->selectedValue();
    r.holder = ComboUser->selectedText();
    return r;
}

bool frmRFID::saveCard()
{
    const CardRequest r = request();
    QString refused;
    // The user list of a desk started offline is empty: that is no fault of the operator's.
    if (CardRegistration::incomplete(r))
        refused = r.page == CardPage::Worker && !r.card.isEmpty() && m_offline && ComboUser->count() == 0
                      ? offlineMessage()
                      : CardRegistration::incompleteMessage();
    else if (r.page == CardPage::Remove)
        refused = removeCard(r.card);
    else
        return bindCard(r);
    if (refused.isEmpty())
        return true;
    MessageBox::show(refused, r.page == CardPage::Remove ? MessageBox::Critical : MessageBox::Exclamation,
                     MessageBox::Ok, QString(), this);
    return false;
}

QString frmRFID::removeCard(const QString& card)
{
    try {
        return CardRegistration(Database::conn()).remove(card);
    } catch (const DbError& e) {
        return failure(e);
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    }
}

bool frmRFID::bindCard(const CardRequest& r)
{
    QString refused;
    try {
        CardRegistration desk(Database::conn());
        const CardRegistration::Plan plan = desk.plan(r);
        refused = plan.refused;
        if (refused.isEmpty()) {
            // Asked before the write's transaction: nothing waits on the operator inside it.
            if (!plan.question.isEmpty() && !MessageBox::question(plan.question, this))
                return false;
            refused = desk.bind(r, plan);
        }
    } catch (const DbError& e) {
        refused = failure(e);
    } catch (const std::exception& e) {
        refused = QString::fromUtf8(e.what());
    }
    if (refused.isEmpty())
        return true;
    MessageBox::show(refused, MessageBox::Critical, MessageBox::Ok, QString(), this);
    return false;
}

QString frmRFID::offlineMessage()
{
    return u"数据库离线，这张卡没有保存：卡的登记和删除都要连上数据库。"
           "读卡照常可用，数据库连上后再按「保存」"_s;
}

QString frmRFID::failure(const DbError& e)
{
    if (!Journal::isOffline(e))
        return e.message();
    goneOffline();
    return offlineMessage();
}

void frmRFID::Command1_Click()
{
    // Said on the status line: a box would take the next card's Enter and lose its number.
    showPrompt();
    if (saveCard())
        lab_info[RfidLine::Status]->setText(savedMessage());
}

void frmRFID::readCard()
{
    if (!m_reader->isLoaded() && !m_readerTried) {
        m_readerTried = true;
        m_reader->load();
    }
    if (!m_reader->isLoaded()) {
        lab_info[RfidLine::Status]->setText(u"没有读卡器"_s);
        return;
    }
    QByteArray block;
    if (!devices::readCardBlock(*m_reader, &block)) {
        lab_info[RfidLine::Status]->setText(u"请把卡放在读卡器上"_s);
        return;
    }
    QLineEdit* target = currentCardBox();
    target->setText(RfidSql::cardFieldText(devices::bytesToCardText(block, 16), block));
    showPrompt();
    showHolder(target->text());
    target->setFocus();
    target->selectAll();
}

void frmRFID::showHolder(const QString& card)
{
    try {
        lab_info[RfidLine::Status]->setText(CardRegistration(Database::conn()).holdersLine(card));
    } catch (const DbError& e) {
        if (Journal::isOffline(e))
            goneOffline();
        else
            lab_info[RfidLine::Status]->setText(e.message());
    }
}

void frmRFID::full_Click()
{
    const bool on = ScreenMode::toggle(this);
    full->setText(on ? u"退出全屏"_s : u"全屏显示"_s);
}

void frmRFID::setting_Click()
{
    for (QLineEdit* b : txt_set)
        b->setText(SysUtil::readIni(u"看板配置"_s, b->property("Tag").toString(), QString(), u"/kanban.ini"_s));
    Frame1->show();
    Frame1->raise();
}

void frmRFID::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        MainMenu->popup(event->globalPosition().toPoint());
        return;
    }
    QWidget::mouseReleaseEvent(event);
}

bool frmRFID::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease && lab_info.contains(qobject_cast<QLabel*>(watched))) {
        auto* me = static_cast<QMouseEvent*>(event);
        if (me->button() == Qt::RightButton) {
            MainMenu->popup(me->globalPosition().toPoint());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmRFID::fitToScale(const Twips& tw)
{
    relayoutTwips(this);
    QFont f = font();
    f.setPointSizeF(tw.font(16));
    setFont(f);
    // The pick list carries a style sheet of its own, which stops the window's font from
    // reaching it: without this the worker names show at half the size of the card field.
    ComboUser->setFont(f);
    ComboUser->view()->setFont(f);
    QFont title = lab_info[RfidLine::Title]->font();
    title.setPointSizeF(tw.font(28));
    title.setBold(true);
    lab_info[RfidLine::Title]->setFont(title);
}
