// The progress window: load, the entry reset, step buttons, card lookup, step choice and the
// checks before a report is written.
#include "stations/progress/frmWorkload.h"

#include "db/DbError.h"
#include "devices/BarcodeScanner.h"
#include "readers/RfidReaderLibrary.h"
#include "screen/Twips.h"
#include "shell/Database.h"
#include "shell/Journal.h"
#include "shell/MessageBox.h"
#include "shell/SysUtil.h"
#include "shell/SysUtilDb.h"
#include "stations/progress/WorkloadListPart.h"
#include "stations/progress/WorkloadSql.h"
#include "text/Vb.h"
#include "widgets/TwipLayout.h"
#include "widgets/UserControl1.h"
#include "widgets/UserControl4.h"
#include "widgets/VbColor.h"

#include <QCloseEvent>
#include <QDateTimeEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

double round2(double x) { return std::round(x * 100) / 100; }

const QString SavedOffline = u"离线保存，数据库连上后上传"_s;
const QString Unchecked = u"离线：不能核对这个卡号已输入的工艺"_s;

} // namespace

frmWorkload::frmWorkload(QWidget* parent)
    : QWidget(parent), m_reader(std::make_unique<RfidReaderLibrary>())
{
    setObjectName(u"frmWorkload"_s);
    setWindowTitle(u"工艺进度"_s);
    resize(1024, 768);
    buildControls();
    MSCommBarcode = new devices::BarcodeScanner(this);
    Timer1 = new QTimer(this);
    Timer1->setInterval(1000);
    wireEvents();
    // The report kept offline is sent by the journal's retry: the line stops promising it then.
    connect(Journal::status(), &Journal::Status::replayed, this,
            [this](const JournalReplayResult& pass) {
                Label1->setText(Journal::statusAfterReplay(Label1->text(), SavedOffline, pass));
                // With the database back the step's reports can be checked again.
                if (Journal::status()->pending() == 0 && LabBox[1]->text() == Unchecked)
                    setMessage(QString());
            });
    applyFonts();
}

frmWorkload::~frmWorkload() = default;

QString frmWorkload::readMirel(const QString& key, const QString& def) const
{
    return SysUtil::readIni(u"MIREL"_s, key, def, u"/mirel.ini"_s);
}

void frmWorkload::Form_Load()
{
    init(u"All"_s);
    try {
        Database::conn().close();
        // Started while the database is away the station saves into the journal: its dates,
        // scanner and reader are made ready all the same.
        Database::openConnection();
        // Kept for the shift of a worker who comes in while the database is away.
        try {
            Journal::cachedRead(u"workloadWorkers"_s, u"active"_s, WorkloadSql::activeWorkers());
        } catch (const DbError&) {
        }
        m_list->initDates();
        NumberKeybord1->hide();
        openScannerPort();
        rfidBtn->hide();
        if (SysUtil::readIni(u"MES"_s, u"RFID"_s, u"1"_s, u"/mirel.ini"_s) == u"0")
            rfidBtn->show();
        Timer1->start();
    } catch (const std::exception& e) {
        MessageBox::show(u"检验机智能终端出错，查看网络是否连接上"_s + QString::fromUtf8(e.what()),
                         MessageBox::Critical, MessageBox::Ok, QString(), this);
    }
}

void frmWorkload::init(const QString&)
{
    for (int i : {0, 2, 4, 5, 6})
        TxtBox[i]->clear();
    for (QLabel* l : labInfo)
        l->clear();
    m_dateTouched = false;
    followClock();
    buildStepButtons();
    TxtBox[0]->setFocus();
}

void frmWorkload::buildStepButtons()
{
    constexpr int Width = 1570, Height = 615, Left = 120, Top = 420;
    const QList<WorkloadSql::Step> steps =
        WorkloadSql::parseProjects(readMirel(u"Projects"_s, QString()));
    const auto makeButton = [this](int i) {
        auto* b = new QPushButton(Frame3);
        b->setObjectName(u"ProcessBtn_"_s + QString::number(i));
        b->setFocusPolicy(Qt::NoFocus);
        b->setProperty("designPt", 18.0);
        connect(b, &QPushButton::clicked, this, [this, i] { ProcessBtn_Click(i); });
        return b;
    };
    while (ProcessBtn.size() > 1)
        delete ProcessBtn.takeLast();
    if (ProcessBtn.isEmpty())
        ProcessBtn.append(makeButton(0));
    ProcessBtn[0]->hide();
    for (int i = 0; i < steps.size(); ++i) {
        if (i == ProcessBtn.size())
            ProcessBtn.append(makeButton(i));
        QPushButton* b = ProcessBtn[i];
        const WorkloadSql::Offset at = WorkloadSql::stepOffset(i, Width, Height);
        placeTwips(b, QRect(Left + at.left, Top + at.top, Width, Height));
        b->setText(steps[i].caption);
        b->setAccessibleName(steps[i].caption);
        b->setProperty("Tag", steps[i].tag);
        setBackColor(b, ButtonFace);
        b->show();
    }
    applyFonts();
}

void frmWorkload::setMessage(const QString& text) { LabBox[1]->setText(text); }

void frmWorkload::clearStepChoice()
{
    for (QPushButton* b : ProcessBtn)
        setBackColor(b, ButtonFace);
    Frame3->setTitle(u"工艺(点击放大)"_s);
}

void frmWorkload::showPrecessInfo(const QString& card)
{
    m_lookedUpCard = card;
    // Until the card is found the form shows no other card's figures: they would be reported
    // for this one.
    const auto clearFigures = [this] {
        for (int i : {2, 6})
            TxtBox[i]->clear();
        for (QLabel* l : labInfo)
            l->clear();
    };
    try {
        // Cards seen in the last days are kept, so that a scan still shows the card offline.
        m_cardRs = Journal::cachedRead(u"workloadCard"_s, card, WorkloadSql::cardQuery(card));
        if (SysUtil::recordsetHasRows(m_cardRs)) {
            for (; !m_cardRs.eof(); m_cardRs.moveNext()) {
                labInfo[0]->setText(u"客户："_s + m_cardRs.text(u"客户"_s) + u"  订单号："_s
                                    + m_cardRs.text(u"单号"_s) + u"  交期："_s
                                    + m_cardRs.text(u"交货日期"_s));
                labInfo[1]->setText(u"加工方式："_s + m_cardRs.text(u"加工方式"_s) + u"  备注："_s
                                    + m_cardRs.text(u"备注"_s));
                // A card without a status yet shows the bare caption.
                setMessage(u"状态："_s + m_cardRs.text(u"状态"_s));
                TxtBox[2]->setText(m_cardRs.text(u"数量"_s));
                TxtBox[6]->setText(m_cardRs.text(u"匹数"_s));
            }
        } else {
            clearFigures();
            setForeColor(LabBox[1], 0x0000FF);
            setMessage(u"无此卡号！"_s);
            TxtBox[0]->selectAll();
        }
    } catch (const DbError& e) {
        if (Journal::isOffline(e)) {
            clearFigures();
            setForeColor(LabBox[1], 0x0000FF);
            setMessage(e.message()); // a card never looked up here cannot be shown offline
            TxtBox[0]->selectAll();
        } else {
            MessageBox::show(e.message() + u" showPrecessInfo "_s, MessageBox::Critical,
                             MessageBox::Ok, QString(), this);
        }
    } catch (const std::exception& e) {
        MessageBox::show(QString::fromUtf8(e.what()) + u" showPrecessInfo "_s, MessageBox::Critical,
                         MessageBox::Ok, QString(), this);
    }
    m_cardRs.close();
}

void frmWorkload::SearchBtn_Click()
{
    showPrecessInfo(TxtBox[0]->text());
    NumberKeybord1->hide();
}

void frmWorkload::ProcessBtn_Click(int index)
{
    selectStep(index, vb::Val(readMirel(u"keyPolicy"_s, u"0"_s)) != 0);
}

void frmWorkload::selectStep(int index, bool allowRepeat)
{
    if (index < 0 || index >= stepCount())
        return;
    setMessage(QString());
    clearStepChoice();
    QPushButton* chosen = ProcessBtn[index];
    setBackColor(chosen, Selected);
    const QString card = TxtBox[0]->text();
    if (card.isEmpty() && stepCount() >= 2) {
        MessageBox::show(u"生产号不能为空!"_s, MessageBox::Critical, MessageBox::Ok, QString(), this);
        return;
    }
    try {
        // Offline, totals never kept here are unknown (""): the rules cannot be checked and the
        // step is taken as pressed; the replay writes the report as the operator gave it.
        if (readMirel(u"OrderInGroup"_s, u"false"_s) == u"true" && index > 0) {
            const QString before = ProcessBtn[index - 1]->text();
            const QString done = getInputWorkLoads(card, before);
            if (!done.isEmpty() && round2(vb::Val(done)) == 0) {
                setBackColor(chosen, ButtonFace);
                setMessage(u"前面工艺["_s + before + u"]还没有输入"_s);
                return;
            }
        }
        const QString reported = getInputWorkLoads(card, chosen->text());
        const double total = round2(vb::Val(reported));
        if (reported.isEmpty()) {
            setMessage(Unchecked);
        } else if (!allowRepeat && total > 0) {
            setBackColor(chosen, ButtonFace);
            setMessage(u"这个工艺已经输入过"_s);
            Frame3->setTitle(chosen->text() + u"工艺 已经输入 "_s + vb::CStr(total));
        }
    } catch (const std::exception& e) {
        // Without the totals the rules cannot be checked: no step is chosen.
        setBackColor(chosen, ButtonFace);
        MessageBox::show(QString::fromUtf8(e.what()), MessageBox::Critical, MessageBox::Ok, QString(), this);
    }
}

int frmWorkload::stepCount() const
{
    // Button 0 stays loaded, hidden, when the settings name no step.
    return ProcessBtn.size() == 1 && ProcessBtn[0]->isHidden() ? 0 : int(ProcessBtn.size());
}

QString frmWorkload::selectedStep() const
{
    for (QPushButton* b : ProcessBtn)
        if (!b->isHidden() && backColor(b) == Selected)
            return b->text();
    return QString();
}

QString frmWorkload::getInputWorkLoads(const QString& card, const QString& step)
{
    return Journal::cachedText(u"workloadTotal"_s, card + u'\x1f' + step, [&] {
        Recordset rs =
            SysUtil::openRecordset(Database::conn(), WorkloadSql::reportedTotalQuery(card, step));
        return SysUtil::recordsetHasRows(rs) ? vb::CStr(rs.field(0).toDouble()) : u"0"_s;
    });
}

bool frmWorkload::validateEntry()
{
    if (TxtBox[0]->text().isEmpty()) {
        setMessage(u"请扫描\\输入卡号"_s);
        TxtBox[0]->setFocus();
        return false;
    }
    if (TxtBox[0]->text() != m_lookedUpCard) {
        // Scanned or typed over without a lookup: the figures are another card's.
        setMessage(cardChangedMessage());
        TxtBox[0]->setFocus();
        return false;
    }
    if (selectedStep().isEmpty()) {
        setMessage(u"请点选其中一个工艺..."_s);
        return false;
    }
    if (TxtBox[1]->text().isEmpty()) {
        setMessage(u"请扫描\\输入工号或班组号"_s);
        TxtBox[1]->setFocus();
        return false;
    }
    return true;
}

void frmWorkload::Command1_Click()
{
    NumberKeybord1->hide();
    if (validateEntry() && saveReport()) {
        Label1->setText(m_savedOffline ? SavedOffline : u"提交成功！"_s);
        setMessage(QString()); // what it said was about the step just reported
        init(u"only"_s);
        TxtBox[0]->setFocus();
    }
}

void frmWorkload::Command2_Click()
{
    Label1->clear();
    setMessage(QString());
    TxtBox[1]->clear();
    TxtBox[6]->clear();
    LabBox[14]->clear();
    NumberKeybord1->hide();
    TxtBox[0]->setFocus();
    init(u"All"_s);
}

void frmWorkload::onWorkerChanged()
{
    // A team is a list of codes: every worker's name shows, the first one's shift is taken.
    QStringList names;
    for (const QString& code : TxtBox[1]->text().split(u',', Qt::SkipEmptyParts)) {
        const std::optional<QString> name = workerName(code);
        if (!name) {
            LabBox[14]->clear();
            // The last worker's shift is not this one's.
            if (!m_shiftGiven.isEmpty() && TxtBox[3]->text() == m_shiftGiven)
                TxtBox[3]->clear();
            // A worker who came in while the database was away gets his name, and his shift
            // in the remark, as soon as it answers, not only after he types his code again.
            if (!m_nameWaits) {
                m_nameWaits = true;
                Journal::whenDatabaseBack(this, [this] {
                    m_nameWaits = false;
                    onWorkerChanged();
                });
            }
            return;
        }
        if (!name->isEmpty())
            names << *name;
    }
    LabBox[14]->setText(names.join(u','));
    if (!names.isEmpty()) {
        m_shiftGiven = SysUtil::readIni(u"MIREL"_s, names.first(), QString(), u"/班别.ini"_s);
        TxtBox[3]->setText(m_shiftGiven);
    }
}

std::optional<QString> frmWorkload::workerName(const QString& code) const
{
    try {
        return Database::getUserName(code);
    } catch (const DbError& e) {
        if (!Journal::isOffline(e))
            return std::nullopt;
    }
    // The shift file is on this panel; the names are the ones kept at load.
    try {
        Recordset rs =
            Journal::cachedRead(u"workloadWorkers"_s, u"active"_s, WorkloadSql::activeWorkers());
        for (rs.moveFirst(); !rs.eof(); rs.moveNext())
            if (rs.text(0).trimmed().compare(code.trimmed(), Qt::CaseInsensitive) == 0)
                return rs.text(1);
        return QString();
    } catch (const DbError&) {
        return std::nullopt;
    }
}

void frmWorkload::followClock()
{
    if (m_dateTouched)
        return;
    m_clockSet = true;
    DTPicker1->setDateTime(QDateTime::currentDateTime());
    m_clockSet = false;
}

void frmWorkload::closeEvent(QCloseEvent* event)
{
    Timer1->stop();
    MSCommBarcode->close();
    m_list->saveColumnWidths();
    QWidget::closeEvent(event);
}

void frmWorkload::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    relayoutTwips(this);
    applyFonts();
}

void frmWorkload::applyFonts()
{
    const Twips tw = Twips::of(this);
    QFont own = font();
    own.setPointSizeF(tw.font(12));
    setFont(own);
    for (QWidget* w : findChildren<QWidget*>()) {
        const QVariant design = w->property("designPt");
        if (!design.isValid() || NumberKeybord1->isAncestorOf(w) || UserControl41->isAncestorOf(w))
            continue;
        QFont f = w->font();
        f.setPointSizeF(tw.font(design.toDouble()));
        w->setFont(f);
    }
    m_list->applyTwips(tw);
}

quint32 frmWorkload::backColor(const QWidget* w)
{
    const QVariant v = w->property("BackColor");
    return v.isValid() ? v.toUInt() : ButtonFace;
}

quint32 frmWorkload::foreColor(const QWidget* w)
{
    const QVariant v = w->property("ForeColor");
    return v.isValid() ? v.toUInt() : DeviceIdle;
}

void frmWorkload::setBackColor(QWidget* w, quint32 color)
{
    w->setProperty("BackColor", color);
    QPalette p = w->palette();
    p.setColor(QPalette::Button, color & 0x80000000u ? palette().color(QPalette::Button) : vbColor(color));
    w->setPalette(p);
}

void frmWorkload::setForeColor(QWidget* w, quint32 color)
{
    w->setProperty("ForeColor", color);
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText,
               color & 0x80000000u ? palette().color(QPalette::WindowText) : vbColor(color));
    w->setPalette(p);
}
