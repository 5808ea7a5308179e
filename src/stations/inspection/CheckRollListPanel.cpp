// Looking back over the station's rolls: the filtered list with its total, opening a listed
// roll, stepping roll by roll or card by card, and deleting a roll with everything booked for it.
#include "stations/inspection/CheckRollListPanel.h"

#include "shell/Database.h"
#include "shell/MessageBox.h"
#include "shell/SysUtil.h"
#include "stations/inspection/CheckLabelPanel.h"
#include "stations/inspection/CheckListSql.h"
#include "stations/inspection/DefectCamera.h"
#include "stations/inspection/RollList.h"
#include "stations/inspection/frmCheck.h"
#include "text/Vb.h"
#include "time/Clock.h"
#include "widgets/EditGrid.h"
#include "stations/inspection/CheckRollPanel.h"
#include "stations/inspection/CheckCardPanel.h"
#include "stations/inspection/CheckLayoutPanel.h"

#include <QCloseEvent>
#include <algorithm>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

using namespace Qt::StringLiterals;

namespace {

const QString WidthKey = u"ppgCheckGrid2"_s;

// A filter's caption, tied to its field (the field is read out by this name).
QLabel* caption(QWidget* page, const QString& text, const QRect& twips, QWidget* field)
{
    auto* l = new QLabel(text, page);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    l->setBuddy(field);
    placeTwips(l, twips);
    return l;
}

} // namespace

CheckRollListPanel::CheckRollListPanel(frmCheck* form)
    : QObject(form)
    , m_form(form)
{
    setObjectName(u"CheckRollListPanel"_s);
    CheckControls& c = form->controls();
    m_page = c.SSTab1->widget(1);
    // The total sits in the tab bar's free end, so that the list keeps the page's height.
    m_sum = new QLabel(u"数量:"_s, c.SSTab1);
    m_sum->setObjectName(u"labSum"_s);
    m_sum->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_sum->setContentsMargins(0, 0, 12, 0);
    c.SSTab1->setCornerWidget(m_sum, Qt::TopRightCorner);
    m_tabsDesign = designRect(c.SSTab1);
    c.SSTab1->setAutoFillBackground(true);
    connect(c.SSTab1, &QTabWidget::currentChanged, this, &CheckRollListPanel::placeTabs);
    placeTabs(c.SSTab1->currentIndex());
    connect(form, &frmCheck::commandRequested, this, &CheckRollListPanel::onCommand);
    form->installEventFilter(this);
}

EditGrid* CheckRollListPanel::grid()
{
    layOutTab();
    return m_grid;
}

QDateEdit* CheckRollListPanel::date(int i)
{
    layOutTab();
    return m_dates[i];
}

void CheckRollListPanel::layOutTab()
{
    // The page is built when it is first opened or its list is first asked for.
    if (m_grid)
        return;
    CheckControls& c = m_form->controls();
    QWidget* page = m_page;
    // One row of filters in the order the operator reads them, the list below, the total under it.
    struct Field {
        int box;
        const char16_t* label;
        int width;
    };
    // Widths add up to the tab's 15000 twips: captions wide enough for two characters, dates
    // wide enough for "2026-12-05" and the calendar arrow.
    const Field fields[] = {{8, u"卡号", 1200}, {9, u"色号", 900}, {10, u"缸号", 900},
                            {11, u"卷号", 800},  {13, u"工号", 700}, {12, u"备注", 1000}};
    int x = 60;
    const int top = 60, height = 360, labelWidth = 560;
    for (const Field& f : fields) {
        caption(page, QString::fromUtf16(f.label), QRect(x, top, labelWidth - 30, height), c.TxtBox[f.box]);
        placeTwips(c.TxtBox[f.box], QRect(x + labelWidth, top, f.width, height));
        x += labelWidth + f.width + 60;
    }
    QLabel* dateCaption = caption(page, u"日期"_s, QRect(x, top, labelWidth - 30, height), nullptr);
    x += labelWidth;
    for (int i = 0; i < 2; ++i) {
        m_dates[i] = new QDateEdit(Clock::today(), page);
        m_dates[i]->setObjectName(u"DTdate_%1"_s.arg(i));
        m_dates[i]->setDisplayFormat(u"yyyy-MM-dd"_s);
        m_dates[i]->setCalendarPopup(true);
        placeTwips(m_dates[i], QRect(x, top, 1800, height));
        x += 1860;
    }
    dateCaption->setBuddy(m_dates[0]);
    placeTwips(c.checkCommand[CheckCmd::QueryList], QRect(x, top, 700, height));
    placeTwips(c.checkCommand[CheckCmd::DeleteListed], QRect(x + 770, top, 700, height));

    m_grid = new EditGrid(page);
    m_grid->setObjectName(u"ppgCheckGrid"_s);
    m_grid->setAccessibleName(u"卷列表"_s);
    m_grid->setHeader({u"id"_s, u"卷号"_s, u"生产单号"_s, u"品名"_s, u"颜色"_s, u"门幅"_s,
                       u"色号"_s, u"克重"_s, u"缸号"_s, u"数量"_s, u"等级"_s, u"工号"_s,
                       u"备注"_s});
    m_grid->setTwips(Twips::of(m_form));
    m_grid->setFontSize(11); // as the defect list: read, not typed into
    m_grid->setCompactRows(true);
    m_grid->applyColWidthList(SysUtil::getSetting(u"mirel"_s, u"mirel"_s, WidthKey));
    connect(m_grid, &EditGrid::cellDoubleClicked, this,
            [this](int row, int) { openListedRoll(row); });
    // The list fills the page below the filters; it is placed whenever the page changes size.
    page->installEventFilter(this);
    placeGrid();
    // The page is usually on screen already when it is first opened, and widgets added to a
    // shown page stay hidden until they are shown themselves.
    for (QWidget* w : page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (!w->testAttribute(Qt::WA_WState_ExplicitShowHide))
            w->show();
}

void CheckRollListPanel::placeTabs(int index)
{
    CheckControls& c = m_form->controls();
    const bool listOpen = c.SSTab1->widget(index) == m_page;
    if (listOpen)
        layOutTab();
    // While a list is open (the roll list, or a station's own list tab) the commands rise over
    // the room the roll form and the defect frame give up, and the tabs take the room below
    // them: the inspector looks back over several rolls and still ends the roll on screen. The
    // label tab, the first, gives the room back.
    const bool tall = index > 0;
    m_form->layoutPanel().setListOpen(tall);
    QRect tabs = m_tabsDesign;
    if (tall)
        tabs.setTop(tabs.top() - CheckLayoutPanel::listTabsRise());
    placeTwips(c.SSTab1, tabs);
    m_sum->setVisible(listOpen);
}

void CheckRollListPanel::placeGrid()
{
    const Twips tw = Twips::of(m_form);
    const int x = tw.x(60);
    const int top = tw.y(480);
    m_grid->setGeometry(x, top, std::max(0, m_page->width() - 2 * x), std::max(0, m_page->height() - top - tw.y(60)));
}

bool CheckRollListPanel::eventFilter(QObject* watched, QEvent* event)
{
    // The form scales every grid on it when it is resized; the list only keeps its widths.
    if (watched == m_page && m_grid && event->type() == QEvent::Resize)
        placeGrid();
    if (watched == m_form && m_grid && event->type() == QEvent::Close)
        SysUtil::saveSetting(u"mirel"_s, u"mirel"_s, WidthKey, m_grid->colWidthList());
    return QObject::eventFilter(watched, event);
}

void CheckRollListPanel::onCommand(int index)
{
    switch (index) {
    case CheckCmd::PreviousRoll: stepRoll(true); break;
    case CheckCmd::NextRoll: stepRoll(false); break;
    case CheckCmd::LatestCard:
    case CheckCmd::PreviousCard:
    case CheckCmd::NextCard: stepCard(index); break;
    case CheckCmd::DeleteRoll: deleteShownRoll(); break;
    case CheckCmd::QueryList: queryCheck(); break;
    case CheckCmd::DeleteListed: deleteListedRoll(); break;
    default: break;
    }
}

void CheckRollListPanel::queryCheck()
{
    layOutTab();
    CheckControls& c = m_form->controls();
    CheckListSql::Filters f;
    f.card = c.TxtBox[CheckField::ListCard]->text();
    f.color = c.TxtBox[CheckField::ListColor]->text();
    f.dyeLot = c.TxtBox[CheckField::ListDyeLot]->text();
    f.rollNo = c.TxtBox[CheckField::ListRoll]->text();
    f.remark = c.TxtBox[CheckField::ListRemark]->text();
    f.worker = c.TxtBox[CheckField::ListWorker]->text();
    f.from = m_dates[0]->date();
    f.to = m_dates[1]->date();
    try {
        Connection& conn = Database::conn();
        RollList list(conn, m_form->settings());
        Recordset rs = conn.query(list.statement(m_form->rules().rollListBase(), f));
        m_grid->bindRecordset(rs);
        CheckLabelPanel::publishRollList(m_form, rs); // the label tab exports what was queried
        m_sum->setText(list.total(listedRolls()));
    } catch (const DbError& e) {
        MessageBox::critical(e.message(), m_form);
    }
}

QList<RollList::Listed> CheckRollListPanel::listedRolls() const
{
    // The quantity column is where the shown list has it (the mark-label list puts the grade in
    // column 9); a stored list without a "数量" column keeps the mill's old place for it.
    const int quantity = int(m_grid->header().indexOf(u"数量"_s));
    QList<RollList::Listed> rows;
    for (int row = 1; row < m_grid->rows(); ++row)
        rows.append({qint64(vb::Val(m_grid->textMatrix(row, 0))),
                     vb::Val(m_grid->textMatrix(row, quantity >= 0 ? quantity : 9))});
    return rows;
}

void CheckRollListPanel::openListedRoll(int row)
{
    layOutTab();
    if (row < 1)
        return; // the header
    long long id = 0;
    try {
        id = RollList(Database::conn(), m_form->settings()).existing(m_grid->textMatrix(row, 0));
    } catch (const DbError& e) {
        MessageBox::critical(e.message(), m_form);
        return;
    }
    m_form->rollPanel().loadRoll(id);
    m_form->controls().SSTab1->setCurrentIndex(0);
}

void CheckRollListPanel::stepRoll(bool backwards)
{
    CheckControls& c = m_form->controls();
    const auto id = static_cast<long long>(vb::Val(c.checkId->text()));
    m_form->rollPanel().newRoll();
    RollList::Step next;
    try {
        next = RollList(Database::conn(), m_form->settings())
                   .neighbourRoll(id, backwards, c.TxtBox[CheckField::Card]->text());
    } catch (const DbError& e) {
        MessageBox::critical(e.message(), m_form);
        return;
    }
    if (next.id == 0)
        MessageBox::show(next.message, MessageBox::Information, MessageBox::Ok, QString(), m_form);
    else
        m_form->rollPanel().loadRoll(next.id);
}

void CheckRollListPanel::stepCard(int index)
{
    QLineEdit* card = m_form->controls().TxtBox[CheckField::Card];
    QString code;
    try {
        RollList list(Database::conn(), m_form->settings());
        const auto billId = static_cast<long long>(vb::Val(tagOf(card)));
        code = index == CheckCmd::LatestCard
                   ? list.latestCard()
                   : list.neighbourCard(billId, index == CheckCmd::PreviousCard);
    } catch (const DbError& e) {
        MessageBox::critical(e.message(), m_form);
        return;
    }
    card->setText(code);
    m_form->runCommand(CheckCmd::FindCard);
}

void CheckRollListPanel::deleteShownRoll()
{
    CheckControls& c = m_form->controls();
    if (!MessageBox::question(
            u"您确定要删除这卷布["_s + c.TxtBox[CheckField::RollNumber]->text() + u"]？"_s, m_form))
        return;
    delCheck(static_cast<long long>(vb::Val(c.checkId->text())));
}

void CheckRollListPanel::deleteListedRoll()
{
    layOutTab();
    const int row = m_grid->row();
    const auto id = row > 0 ? static_cast<long long>(vb::Val(m_grid->textMatrix(row, 0))) : 0;
    if (id <= 0) {
        MessageBox::show(u"请选择一行，然后点删除"_s, MessageBox::NoIcon, MessageBox::Ok, QString(),
                         m_form);
        return;
    }
    QLineEdit* shown = m_form->controls().checkId;
    const QString before = shown->text();
    shown->setText(QString::number(id));
    // Left pointing at the listed roll after a cancel, a later save would overwrite that roll
    // with the one on screen.
    if (!delCheck(id) && shown->text() == QString::number(id))
        shown->setText(before);
    queryCheck();
}

bool CheckRollListPanel::delCheck(long long id)
{
    QString question;
    try {
        question = m_form->rules().deleteQuestion(Database::conn(), id); // a package names its pallet
    } catch (const DbError& e) {
        MessageBox::critical(e.message(), m_form); // a roll is deleted on the database only
        return false;
    }
    if (MessageBox::show(question, MessageBox::Question, MessageBox::OkCancel, QString(), m_form)
        != MessageBox::AnswerOk)
        return false;
    if (id < 1) {
        MessageBox::show(u"没有保存不要删除！"_s, MessageBox::NoIcon, MessageBox::Ok, QString(),
                         m_form);
        return false;
    }
    RollList list(Database::conn(), m_form->settings());
    list.setPhotos(m_form->defectCamera().store());
    const RollList::Removal removal = list.remove(id);
    if (!removal.error.isEmpty())
        MessageBox::critical(removal.error, m_form);
    if (!removal.gone)
        return false;
    if (m_form->rules().previousAfterDelete())
        m_form->runCommand(CheckCmd::PreviousRoll);
    else
        m_form->rollPanel().newRoll();
    // The form never keeps the id of a deleted roll: a later save would update nothing.
    if (static_cast<long long>(vb::Val(m_form->controls().checkId->text())) == id)
        m_form->rollPanel().newRoll();
    // Stepped to no roll (the line's first was deleted), the line's totals would still count it.
    m_form->cardPanel().showTotals(static_cast<long long>(vb::Val(m_form->controls().BillDetailId->text())));
    m_form->setStatus(u"删除成功"_s);
    return true;
}
