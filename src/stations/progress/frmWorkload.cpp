// The progress window: load, the entry reset, step buttons, the card lookup, the step choice, the
// worker's name and shift, and the checks before a report is written (the rules' answers shown).
#include "stations/progress/frmWorkload.h"

#include "db/DbError.h"
#include "devices/BarcodeScanner.h"
#include "screen/Twips.h"
#include "shell/Database.h"
#include "shell/Journal.h"
#include "shell/MessageBox.h"
#include "stations/progress/WorkloadDevicePanel.h"
#include "stations/progress/WorkloadListPart.h"
#include "stations/progress/WorkloadSavePanel.h"
#include "stations/progress/WorkloadSql.h"
#include "time/Clock.h"
#include "widgets/DesignType.h"
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

using namespace Qt::StringLiterals;
namespace F = WorkloadField;
namespace L = WorkloadLabel;

frmWorkload::frmWorkload(QWidget* parent) : StationForm(parent), m_cfg(ProgressSettings::read())
{
    setObjectName(u"frmWorkload"_s);
    setWindowTitle(u"工艺进度"_s);
    resize(1024, 768);
    buildControls();
    MSCommBarcode = new devices::BarcodeScanner(this);
    Timer1 = new QTimer(this);
    Timer1->setInterval(1000);
    m_devices = new WorkloadDevicePanel(this);
    m_save = new WorkloadSavePanel(this);
    wireEvents();
    fitToScale(Twips::of(this));
}

frmWorkload::~frmWorkload() = default;

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
        m_devices->openScannerPort();
        rfidBtn->hide();
        if (m_cfg.rfidReader)
            rfidBtn->show();
        Timer1->start();
    } catch (const std::exception& e) {
        MessageBox::show(u"检验机智能终端出错，查看网络是否连接上"_s + QString::fromUtf8(e.what()),
                         MessageBox::Critical, MessageBox::Ok, QString(), this);
    }
}

void frmWorkload::init(const QString&)
{
    m_cfg = ProgressSettings::read();
    for (int i : {F::Card, F::Metres, F::ListCard, F::ListWorker, F::Pieces})
        TxtBox[i]->clear();
    for (QLabel* l : labInfo)
        l->clear();
    m_dateTouched = false;
    followClock();
    buildStepButtons();
    TxtBox[F::Card]->setFocus();
}

void frmWorkload::buildStepButtons()
{
    constexpr int Width = 1570, Height = 615, Left = 120, Top = 420;
    const QList<WorkloadSql::Step> steps = m_cfg.steps();
    const auto makeButton = [this](int i) {
        auto* b = new QPushButton(Frame3);
        b->setObjectName(u"ProcessBtn_"_s + QString::number(i));
        b->setFocusPolicy(Qt::NoFocus);
        b->setProperty("designPt", 18.0);
        connect(b, &QPushButton::clicked, this, [this, i] { ProcessBtn_Click(i); });
        return b;
    };
    // The first button stays, hidden while the steps are rebuilt (and when there is none).
    while (ProcessBtn.size() > 1)
        delete ProcessBtn.takeLast();
    if (ProcessBtn.isEmpty())
        ProcessBtn.append(makeButton(0));
    ProcessBtn.first()->hide();
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
    fitToScale(Twips::of(this));
}

void frmWorkload::setMessage(const QString& text) { LabBox[L::Message]->setText(text); }

void frmWorkload::clearStepChoice()
{
    for (QPushButton* b : ProcessBtn)
        setBackColor(b, ButtonFace);
    Frame3->setTitle(u"工艺(点击放大)"_s);
}

void frmWorkload::showPrecessInfo(const QString& card)
{
    m_lookedUpCard = card;
    const auto notFound = [this](const QString& message) {
        // Until the card is found the form shows no other card's figures: they would be
        // reported for this one.
        for (int i : {F::Metres, F::Pieces})
            TxtBox[i]->clear();
        for (QLabel* l : labInfo)
            l->clear();
        setForeColor(LabBox[L::Message], 0x0000FF);
        setMessage(message);
        TxtBox[F::Card]->selectAll();
    };
    try {
        // Cards seen in the last days are kept, so that a scan still shows the card offline.
        m_cardRs = Journal::cachedRead(u"workloadCard"_s, card, WorkloadSql::cardQuery(card));
        const CardView v = WorkloadReport::cardView(m_cardRs);
        if (v.found) {
            labInfo[WorkloadInfo::Customer]->setText(v.customer);
            labInfo[WorkloadInfo::Work]->setText(v.work);
            setMessage(v.status);
            TxtBox[F::Metres]->setText(v.metres);
            TxtBox[F::Pieces]->setText(v.pieces);
        } else {
            notFound(u"无此卡号！"_s);
        }
    } catch (const DbError& e) {
        if (Journal::isOffline(e))
            notFound(e.message()); // a card never looked up here cannot be shown offline
        else
            MessageBox::show(e.message() + u" showPrecessInfo "_s, MessageBox::Critical,
                             MessageBox::Ok, QString(), this);
    } catch (const std::exception& e) {
        MessageBox::show(QString::fromUtf8(e.what()) + u" showPrecessInfo "_s, MessageBox::Critical,
                         MessageBox::Ok, QString(), this);
    }
    m_cardRs.close();
}

void frmWorkload::SearchBtn_Click()
{
    showPrecessInfo(TxtBox[F::Card]->text());
    NumberKeybord1->hide();
}

void frmWorkload::ProcessBtn_Click(int index)
{
    selectStep(index, m_cfg.allowRepeat);
}

void frmWorkload::selectStep(int index, bool allowRepeat)
{
    if (index < 0 || index >= stepCount())
        return;
    setMessage(QString());
    clearStepChoice();
    QPushButton* chosen = ProcessBtn[index];
    setBackColor(chosen, Selected);
    QStringList captions;
    for (int i = 0; i < stepCount(); ++i)
        captions << ProcessBtn[i]->text();
    const QString card = TxtBox[F::Card]->text();
    try {
        const StepChoice c = m_rules.chooseStep(captions, index, card, allowRepeat,
                                                [&](const QString& step) { return getInputWorkLoads(card, step); });
        if (c.outcome == StepChoice::EmptyCard) {
            // The pressed step stays yellow.
            MessageBox::show(u"生产号不能为空!"_s, MessageBox::Critical, MessageBox::Ok, QString(), this);
            return;
        }
        if (c.outcome == StepChoice::Refused)
            setBackColor(chosen, ButtonFace);
        setMessage(c.message);
        if (!c.frameTitle.isEmpty())
            Frame3->setTitle(c.frameTitle);
    } catch (const std::exception& e) {
        // Without the totals the rules cannot be checked: no step is chosen.
        setBackColor(chosen, ButtonFace);
        MessageBox::show(QString::fromUtf8(e.what()), MessageBox::Critical, MessageBox::Ok, QString(), this);
    }
}

int frmWorkload::stepCount() const
{
    // Button 0 stays loaded, hidden, when the settings name no step.
    return ProcessBtn.size() == 1 && ProcessBtn.first()->isHidden() ? 0 : int(ProcessBtn.size());
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
    return Journal::cachedText(u"workloadTotal"_s, card + u'\x1f' + step,
                               [&] { return WorkloadReport::reportedTotal(Database::conn(), card, step); });
}

ReportForm frmWorkload::readForm() const
{
    ReportForm r;
    r.card = TxtBox[F::Card]->text();
    r.lookedUp = m_lookedUpCard;
    r.step = selectedStep();
    r.worker = TxtBox[F::Worker]->text();
    r.metres = TxtBox[F::Metres]->text();
    r.pieces = TxtBox[F::Pieces]->text();
    r.remark = TxtBox[F::Remark]->text();
    r.date = DTPicker1->date();
    r.time = DTPicker1->time();
    return r;
}

bool frmWorkload::validateEntry()
{
    const std::optional<ReportProblem> problem = m_rules.validate(readForm());
    if (!problem)
        return true;
    setMessage(problem->message);
    if (problem->field >= 0)
        TxtBox[problem->field]->setFocus();
    return false;
}

void frmWorkload::Command1_Click()
{
    NumberKeybord1->hide();
    if (validateEntry() && m_save->saveReport()) {
        Label1->setText(m_save->savedOffline() ? WorkloadSavePanel::savedOfflineMessage() : u"提交成功！"_s);
        setMessage(QString()); // what it said was about the step just reported
        init(u"only"_s);
        TxtBox[F::Card]->setFocus();
    }
}

void frmWorkload::Command2_Click()
{
    Label1->clear();
    setMessage(QString());
    TxtBox[F::Worker]->clear();
    TxtBox[F::Pieces]->clear();
    LabBox[L::WorkerName]->clear();
    NumberKeybord1->hide();
    TxtBox[F::Card]->setFocus();
    init(u"All"_s);
}

void frmWorkload::onWorkerChanged()
{
    // A team is a list of codes: every worker's name shows, the first one's shift is taken.
    QStringList names;
    for (const QString& code : TxtBox[F::Worker]->text().split(u',', Qt::SkipEmptyParts)) {
        const std::optional<QString> name = workerName(code);
        if (!name) {
            LabBox[L::WorkerName]->clear();
            // The last worker's shift is not this one's.
            if (!m_shiftGiven.isEmpty() && TxtBox[F::Remark]->text() == m_shiftGiven)
                TxtBox[F::Remark]->clear();
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
    LabBox[L::WorkerName]->setText(names.join(u','));
    if (!names.isEmpty()) {
        m_shiftGiven = ProgressSettings::shiftOf(names.first());
        TxtBox[F::Remark]->setText(m_shiftGiven);
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
        return WorkloadReport::nameAmong(rs, code);
    } catch (const DbError&) {
        return std::nullopt;
    }
}

void frmWorkload::followClock()
{
    if (m_dateTouched)
        return;
    m_clockSet = true;
    DTPicker1->setDateTime(Clock::now());
    m_clockSet = false;
}

void frmWorkload::closeEvent(QCloseEvent* event)
{
    Timer1->stop();
    MSCommBarcode->close();
    m_list->saveColumnWidths();
    QWidget::closeEvent(event);
}

void frmWorkload::fitToScale(const Twips& tw)
{
    relayoutTwips(this);
    DesignType::apply(this, 12, {NumberKeybord1, UserControl41});
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
