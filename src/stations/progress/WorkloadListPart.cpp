// The progress station's record list: query by period, machine, card and worker; column widths
// kept per user; deletion after the supervisor's access code.
#include "stations/progress/WorkloadListPart.h"

#include "db/DbError.h"
#include "shell/Database.h"
#include "shell/MessageBox.h"
#include "shell/SysUtil.h"
#include "shell/SysUtilDb.h"
#include "stations/progress/WorkloadRecords.h"
#include "stations/progress/frmWorkload.h"
#include "text/Vb.h"
#include "widgets/EditGrid.h"
#include "widgets/TwipLayout.h"
#include "widgets/UserControl1.h"

#include <QDateEdit>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

using namespace Qt::StringLiterals;

namespace {

const QString WidthKey = u"frmWorkload"_s;

QString widthsSetting() { return SysUtil::getSetting(u"mirel"_s, u"mirel"_s, WidthKey); }

// Design widths of the built-in list's columns (Id, 卡号, 颜色, 状态, 日期, 数量, 匹数, 工号, 备注).
constexpr int DesignWidths[] = {800, 1800, 1200, 1400, 2700, 1300, 1000, 1200, 3300};

} // namespace

WorkloadListPart::WorkloadListPart(frmWorkload* form) : QObject(form), m_form(form)
{
    setObjectName(u"WorkloadListPart"_s);
    auto* page = new QWidget;
    page->setObjectName(u"Frame4"_s);
    form->SSTab1->addTab(page, u"进度列表"_s);
    constexpr int Top = 160, H = 620;
    auto* period = new QLabel(u"时间区间"_s, page);
    period->setObjectName(u"LabBox_9"_s);
    period->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    placeTwips(period, QRect(60, Top, 1300, H));
    form->LabBox[WorkloadLabel::Period] = period;
    for (int i = 0; i < 2; ++i) {
        auto* d = new QDateEdit(page);
        d->setObjectName(u"DTdate_"_s + QString::number(i));
        d->setCalendarPopup(true);
        d->setAccessibleName(i == 0 ? u"时间区间"_s : u"时间区间 至"_s);
        placeTwips(d, QRect(1420 + i * 2300, Top, 2200, H));
        DTdate.append(d);
    }
    period->setBuddy(DTdate[WorkloadList::From]);
    const struct {
        int lab, txt, x;
        const char16_t* caption;
    } filters[] = {{WorkloadLabel::ListCard, WorkloadField::ListCard, 6640, u"卡号"},
                   {WorkloadLabel::ListWorker, WorkloadField::ListWorker, 9700, u"工号"}};
    for (const auto& fl : filters) {
        auto* lab = new QLabel(QString::fromUtf16(fl.caption), page);
        lab->setObjectName(u"LabBox_"_s + QString::number(fl.lab));
        lab->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        placeTwips(lab, QRect(fl.x - 640, Top, 600, H));
        auto* box = new QLineEdit(page);
        box->setObjectName(u"TxtBox_"_s + QString::number(fl.txt));
        box->setAccessibleName(lab->text());
        lab->setBuddy(box);
        placeTwips(box, QRect(fl.x, Top, 2100, H));
        form->LabBox[fl.lab] = lab;
        form->TxtBox[fl.txt] = box;
    }
    const QString captions[] = {u"查询"_s, u"删除"_s};
    for (int i = 0; i < 2; ++i) {
        auto* b = new QPushButton(captions[i], page);
        b->setObjectName(u"SearchWLBtn_"_s + QString::number(i));
        b->setAccessibleName(captions[i]);
        b->setFocusPolicy(Qt::NoFocus);
        b->setProperty("designPt", 14.0);
        placeTwips(b, QRect(12160 + i * 1540, Top - 60, 1440, H + 120));
        connect(b, &QPushButton::clicked, this, [this, i] { SearchWLBtn_Click(i); });
        SearchWLBtn.append(b);
    }
    pggBase = new EditGrid(page);
    pggBase->setObjectName(u"pggBase"_s);
    pggBase->setAccessibleName(u"进度列表"_s);
    placeTwips(pggBase, QRect(60, Top + H + 240, 15120, 9600));
    // The columns of the built-in list before the first query.
    pggBase->bindRecordset(Recordset({u"Id"_s, u"卡号"_s, u"颜色"_s, u"状态"_s, u"日期"_s, u"数量"_s,
                                      u"匹数"_s, u"工号"_s, u"备注"_s}));
    applyDesignWidths();
    buildCodeFrame(page);
}

void WorkloadListPart::buildCodeFrame(QWidget* page)
{
    // The supervisor's code, typed on the pad beside it: the panel has no keyboard.
    codeFrame = new QFrame(page);
    codeFrame->setObjectName(u"codeFrame"_s);
    codeFrame->setFrameStyle(QFrame::Box);
    codeFrame->setAutoFillBackground(true);
    auto* grid = new QGridLayout(codeFrame);
    auto* prompt = new QLabel(u"请输入密码才能删除？"_s, codeFrame);
    prompt->setObjectName(u"codePrompt"_s);
    codeBox = new QLineEdit(codeFrame);
    codeBox->setObjectName(u"codeBox"_s);
    codeBox->setAccessibleName(u"输入密码"_s);
    codeBox->setEchoMode(QLineEdit::Password);
    prompt->setBuddy(codeBox);
    grid->addWidget(prompt, 0, 0, 1, 2);
    grid->addWidget(codeBox, 1, 0, 1, 2);
    const QString captions[] = {u"确定"_s, u"取消"_s};
    for (int i = 0; i < 2; ++i) {
        auto* b = new QPushButton(captions[i], codeFrame);
        b->setObjectName(i == 0 ? u"codeOk"_s : u"codeCancel"_s);
        b->setAccessibleName(captions[i]);
        b->setFocusPolicy(Qt::NoFocus);
        grid->addWidget(b, 2, i);
        if (i == 0)
            connect(b, &QPushButton::clicked, this, &WorkloadListPart::codeEntered);
        else
            connect(b, &QPushButton::clicked, this, &WorkloadListPart::closeCodeFrame);
    }
    placeTwips(codeFrame, QRect(3000, 1200, 5400, 2400));
    codeFrame->hide();
    connect(codeBox, &QLineEdit::returnPressed, this, &WorkloadListPart::codeEntered);
}

void WorkloadListPart::padConfirmed(QLineEdit* box)
{
    if (box == codeBox && !codeFrame->isHidden())
        codeEntered();
}

void WorkloadListPart::closeCodeFrame()
{
    codeFrame->hide();
    if (m_form->NumberKeybord1->GetTextBox() == codeBox)
        m_form->NumberKeybord1->hide();
}

void WorkloadListPart::applyDesignWidths()
{
    // The built-in list's columns have their widths; a stored query's other columns keep theirs.
    const int n = pggBase->cols() == int(std::size(DesignWidths)) ? pggBase->cols() : 1;
    for (int i = 0; i < n; ++i)
        pggBase->setColWidth(i, DesignWidths[i]);
}

void WorkloadListPart::applyTwips(const Twips& tw)
{
    pggBase->setTwips(tw);
    pggBase->setFontSize(11);
}

void WorkloadListPart::initDates()
{
    for (QDateEdit* d : DTdate) {
        d->setDisplayFormat(u"yyyy-MM-dd"_s);
        d->setDate(QDate::currentDate());
    }
    m_form->TxtBox[WorkloadField::ListCard]->clear();
    m_form->TxtBox[WorkloadField::ListWorker]->clear();
}

void WorkloadListPart::loadRecordList()
{
    try {
        WorkloadSql::ListFilter f;
        f.from = DTdate[WorkloadList::From]->date();
        f.to = DTdate[WorkloadList::To]->date();
        f.machine = m_form->settings().machineId;
        f.card = m_form->TxtBox[WorkloadField::ListCard]->text();
        f.worker = m_form->TxtBox[WorkloadField::ListWorker]->text();
        m_rs = WorkloadRecords::load(Database::conn(), f);
        pggBase->bindRecordset(m_rs);
        if (m_rs.columns() != m_columns) {
            // New columns (the first query, or a changed stored query) start at the design widths.
            m_columns = m_rs.columns();
            applyDesignWidths();
        }
    } catch (const std::exception& e) {
        // The list keeps what it showed.
        MessageBox::show(QString::fromUtf8(e.what()), MessageBox::Critical, MessageBox::Ok, QString(), m_form);
    }
}

void WorkloadListPart::restoreColumnWidths()
{
    // Column 0, the record id, keeps its design width.
    const QList<int> widths = WorkloadRecords::storedWidths(widthsSetting(), pggBase->cols());
    for (int i = 0; i < widths.size(); ++i)
        pggBase->setColWidth(i + 1, widths[i]);
}

void WorkloadListPart::saveColumnWidths()
{
    SysUtil::saveSetting(u"mirel"_s, u"mirel"_s, WidthKey, pggBase->colWidthList());
}

void WorkloadListPart::deleteRecord()
{
    const long long id = static_cast<long long>(vb::Val(pggBase->textMatrix(pggBase->row(), 0)));
    if (pggBase->row() <= 0 || id <= 0) {
        MessageBox::show(u"请选择列表的一行..."_s, MessageBox::Question, MessageBox::Ok, QString(), m_form);
        return;
    }
    m_asked = id;
    codeBox->clear();
    codeFrame->show();
    codeFrame->raise();
    codeBox->setFocus();
    UserControl1* pad = m_form->NumberKeybord1;
    connect(pad, &UserControl1::Confirm, this, &WorkloadListPart::padConfirmed,
            Qt::UniqueConnection);
    pad->setTextBox(codeBox);
    pad->placeBeside(codeFrame);
    pad->show();
    pad->raise();
}

void WorkloadListPart::codeEntered()
{
    const QString code = codeBox->text();
    codeBox->clear();
    closeCodeFrame();
    if (code != Database::getDbInfo(u"checkpassword"_s, u"5862"_s)) {
        MessageBox::show(u"密码错误！"_s, MessageBox::Question, MessageBox::Ok, QString(), m_form);
        return;
    }
    removeRecord(m_asked);
}

void WorkloadListPart::removeRecord(long long id)
{
    QString error;
    bool gone = false;
    try {
        WorkloadRecords::remove(Database::conn(), id);
    } catch (const DbError& e) {
        error = e.message();
        gone = e.isRowMissing();
    } catch (const std::exception& e) {
        error = QString::fromUtf8(e.what());
    }
    // Told once the transaction has ended.
    if (!error.isEmpty()) {
        MessageBox::show(error, MessageBox::Critical, MessageBox::Ok, QString(), m_form);
        // Deleted at another station meanwhile: the list shows what is there now.
        if (gone)
            loadRecordList();
        return;
    }
    MessageBox::show(u"删除成功"_s, MessageBox::Information, MessageBox::Ok, QString(), m_form);
    loadRecordList();
}

void WorkloadListPart::SearchWLBtn_Click(int index)
{
    m_form->NumberKeybord1->hide();
    codeFrame->hide();
    if (index == WorkloadList::Query) {
        loadRecordList();
        restoreColumnWidths();
    } else {
        deleteRecord();
    }
}
