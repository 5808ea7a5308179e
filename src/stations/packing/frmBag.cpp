// The packing window: load and unload, the commands and function keys, the keypads under the
// fields, and the fonts as the panel's size changes.
#include "stations/packing/frmBag.h"

#include "config/MirelIni.h"
#include "devices/PackingScale.h"
#include "screen/Twips.h"
#include "shell/Database.h"
#include "shell/Journal.h"
#include "shell/SysUtil.h"
#include "shell/SysUtilDb.h"
#include "stations/packing/BagBoxPanel.h"
#include "stations/packing/BagLabelPanel.h"
#include "stations/packing/BagMarkPanel.h"
#include "stations/packing/BagPrintPool.h"
#include "stations/packing/BagScalePanel.h"
#include "text/Vb.h"
#include "widgets/DesignType.h"
#include "widgets/EditGrid.h"
#include "widgets/KeypadFrame.h"
#include "widgets/ScanField.h"
#include "widgets/UserControl1.h"
#include "widgets/UserControl4.h"
#include "widgets/StatusLine.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>

using namespace Qt::StringLiterals;

frmBag::frmBag(QWidget* parent) : StationForm(parent)
{
    setObjectName(u"frmBag"_s);
    setWindowTitle(u"打包"_s);
    resize(1024, 768);
    m_scale = new devices::PackingScale(this);
    m_mark = std::make_unique<BagMarkPanel>(this);
    m_box = std::make_unique<BagBoxPanel>(this);
    m_label = std::make_unique<BagLabelPanel>(this);
    m_scalePanel = std::make_unique<BagScalePanel>(this);
    m_pool = new BagPrintPool(
        [this](const QString& kind, const QString& pid) { m_label->printPoolJob(kind, pid); },
        this);
    buildControls();
    connect(m_scale, &devices::PackingScale::status, LabMsg3, &QLabel::setText);
    connect(m_pool, &BagPrintPool::claimFailed, LabMsg, &QLabel::setText);
    // "离线保存：箱 B1，数据库连上后上传" stops promising once the journal has sent it.
    connect(Journal::status(), &Journal::Status::replayed, this,
            [this](const JournalReplayResult& pass) {
                LabMsg->setText(Journal::statusAfterReplay(LabMsg->text(), u"离线保存："_s, pass));
            });
    wireKeys();
    fitToScale(Twips::of(this));
}

frmBag::~frmBag() = default;

void frmBag::wireKeys()
{
    for (int i = 0; i < butFlow.size(); ++i)
        connect(butFlow[i], &QPushButton::clicked, this, [this, i] { runCommand(i); });
    connect(Command1, &QPushButton::clicked, this, &frmBag::lookupMark);
    for (QLineEdit* scanned : {barcode, txtBillCode})
        ScanField::install(scanned);
    connect(barcode, &QLineEdit::returnPressed, this, &frmBag::lookupMark);
    connect(txtBillCode, &QLineEdit::returnPressed, this, [this] {
        if (!txtBillCode->text().isEmpty())
            m_mark->loadPackingList(txtBillCode->text());
    });
    for (int index : markFieldIndexes())
        connect(txtUser[index], &QLineEdit::returnPressed, butFlow[BagCmd::SaveMark],
                &QPushButton::click);
    // The function keys press the buttons, so a disabled button stays disabled from the keyboard.
    const struct {
        Qt::Key key;
        BagCmd::Index button;
    } keys[] = {{Qt::Key_F3, BagCmd::SaveMark}, {Qt::Key_F4, BagCmd::PrintMark},
                {Qt::Key_F5, BagCmd::NewBox},   {Qt::Key_F6, BagCmd::ListBox},
                {Qt::Key_F7, BagCmd::AddRoll},  {Qt::Key_F8, BagCmd::SaveBox},
                {Qt::Key_F9, BagCmd::PrintBox}};
    for (const auto& k : keys) {
        auto* shortcut = new QShortcut(QKeySequence(k.key), this);
        connect(shortcut, &QShortcut::activated, butFlow[k.button], &QPushButton::click);
    }
    auto* f2 = new QShortcut(QKeySequence(Qt::Key_F2), this);
    connect(f2, &QShortcut::activated, this, [this] {
        barcode->setFocus();
        barcode->selectAll();
    });
    connect(isChen, &QCheckBox::toggled, this, [this](bool on) {
        m_scale->setEnabled(on);
        if (!on)
            LabMsg3->setText(u"台称暂停中"_s);
    });
    connect(PDAautoPrint, &QCheckBox::toggled, m_pool, &BagPrintPool::setEnabled);
    for (int index : {BagField::Quantity, BagField::Machine, BagField::Inspector})
        txtUser[index]->installEventFilter(this);
    // The box remark is written, not counted: the panel's own keyboard, and no number pad over
    // the box weight and the print key.
    for (int box : {BagBoxField::Number, BagBoxField::Weight})
        bagNumber[box]->installEventFilter(this);
    // A weight or remark typed after the last roll goes with the kept box as well.
    for (int box : {BagBoxField::Weight, BagBoxField::Remark})
        connect(bagNumber[box], &QLineEdit::editingFinished, m_box.get(),
                &BagBoxPanel::keepIfUnsaved);
    barcode->installEventFilter(this);
}

void frmBag::runCommand(int command)
{
    // A command is the packer's next step: the pad of the field he typed into last would stay
    // over the box list (a field the command focuses brings its own pad back).
    NumberKeybord1->hide();
    UserControl41->hide();
    switch (command) {
    case BagCmd::NewBox: m_box->newBox(); break;
    case BagCmd::SaveMark:
        // A roll weighed into its quantity is saved with the weight the scale settled on.
        m_scalePanel->saveWhenSettled(txtUser[BagField::Quantity], false, [this] {
            const bool saved = m_mark->saveMark();
            if (saved && autoClear->isChecked())
                m_mark->clearMark();
            return saved;
        });
        break;
    case BagCmd::PrintMark: m_label->printMark(); break;
    case BagCmd::MarkTemplates: m_label->getPrintTemplate(u"唛头"_s); break;
    case BagCmd::AddRoll: m_box->addRollToBox(); break;
    case BagCmd::SaveBox:
        m_scalePanel->saveWhenSettled(bagNumber[BagBoxField::Weight], true,
                                      [this] { return m_box->finishBoxSave(); });
        break;
    case BagCmd::BoxTemplates: m_label->getPrintTemplate(u"箱唛"_s); break;
    case BagCmd::PrintBox: m_label->printBox(); break;
    case BagCmd::RemoveRoll: m_box->removeRollFromBox(); break;
    case BagCmd::ListBox:
        if (!bagNumber[BagBoxField::Number]->text().isEmpty())
            m_box->loadBox(bagNumber[BagBoxField::Number]->text());
        break;
    default: break;
    }
}

void frmBag::lookupMark()
{
    m_mark->lookupMark();
}

double frmBag::shownRoll() const
{
    return m_mark->shownRoll();
}

bool frmBag::restoreBoxDraft()
{
    return m_box->restoreBoxDraft();
}

bool frmBag::keepOffline(const QString& summary, const QList<JournalStep>& steps)
{
    JournalRecord record = JournalRecord::create(SysUtil::stationKey(), summary);
    record.steps = steps;
    return Journal::keep(record, this);
}

void frmBag::Form_Load()
{
    Database::openConnection();
    ximaGrid->applyColWidthList(SysUtil::getSetting(u"mirel"_s, u"mirel"_s, u"frmBagXimaGrid"_s));
    m_scale->openScalePort();
    m_settings = PackingSettings::read();
    applyOptions();
    // The scale is read whatever the box says; the ticks do their work only while it is ticked.
    m_scale->setEnabled(isChen->isChecked());
    if (!isChen->isChecked())
        LabMsg3->setText(u"台称暂停中"_s);
    m_pool->setEnabled(PDAautoPrint->isChecked());
}

void frmBag::applyOptions()
{
    const PackingSettings& s = m_settings;
    butFlow[BagCmd::SaveMark]->setEnabled(s.saveCheck);
    butFlow[BagCmd::PrintMark]->setEnabled(s.markPrint);
    ximadan->setVisible(s.boxArea());
    static_cast<QBoxLayout*>(layout())->setStretchFactor(Frame4, ximadan->isVisible() ? 0 : 1);
    const std::pair<QCheckBox*, bool> boxes[] = {
        {isChen, s.isChen},       {autoAdd, s.autoAdd},     {MaitouAutoPrint, s.maitouAutoPrint},
        {PDAautoPrint, s.pdaAutoPrint}, {autoClear, s.autoClear}, {autoSave, s.autoSave},
        {isPrintreview, s.isPrintreview}, {billCodeValid, s.billCodeValid}};
    for (const auto& [box, ticked] : boxes)
        box->setChecked(ticked);
}

void frmBag::fitToScale(const Twips& tw)
{
    DesignType::apply(this);
    ximaGrid->setTwips(tw);
    // Worked with gloves: every button and check box a finger high, as at the other stations.
    const int finger = tw.y(720);
    const QString indicator = u"QCheckBox::indicator{width:%1px;height:%1px}"_s.arg(tw.y(420));
    for (QAbstractButton* b : findChildren<QAbstractButton*>()) {
        if (qobject_cast<KeypadFrame*>(b->parentWidget()))
            continue;
        b->setMinimumHeight(finger);
        if (qobject_cast<QCheckBox*>(b))
            b->setStyleSheet(indicator);
    }
}

void frmBag::closeEvent(QCloseEvent* event)
{
    SysUtil::saveSetting(u"mirel"_s, u"mirel"_s, u"frmBagXimaGrid"_s, ximaGrid->colWidthList());
    m_pool->setEnabled(false);
    m_scale->setEnabled(false);
    m_scale->close();
    QWidget::closeEvent(event);
}

bool frmBag::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == barcode && event->type() == QEvent::FocusIn) {
        // A touch into the field takes the last code whole, so that the digits typed next (or
        // the next scan) replace it instead of running on from it into another roll's id. After
        // the touch has placed its caret.
        QTimer::singleShot(0, barcode, [this] { barcode->selectAll(); });
        return QWidget::eventFilter(watched, event);
    }
    if (event->type() == QEvent::FocusIn)
        showKeypadFor(qobject_cast<QLineEdit*>(watched));
    return QWidget::eventFilter(watched, event);
}

void frmBag::showKeypadFor(QLineEdit* box)
{
    if (!box)
        return;
    const QString tag = box->property("Tag").toString();
    if (!tag.isEmpty()) {
        // Worker codes and machine numbers the mill keeps as preset lists, comma-terminated.
        const QString list = readMirel(tag, QString());
        if (list.isEmpty())
            return;
        UserControl41->clearBtn();
        for (const QString& v : vb::listItems(list))
            UserControl41->setNumber(v);
        UserControl41->setTextBox(box);
        UserControl41->placeBelow(box);
        UserControl41->show();
        UserControl41->raise();
        return;
    }
    NumberKeybord1->setTextBox(box);
    if (box == txtUser[BagField::Quantity])
        box->selectAll();
    NumberKeybord1->placeBeside(box);
    NumberKeybord1->show();
    NumberKeybord1->raise();
}
