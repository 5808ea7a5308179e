// The inspection window: construction, load and unload, event wiring, the command dispatch and
// the screen mode.
#include "stations/inspection/frmCheck.h"

#include "config/MirelIni.h"
#include "devices/InspectionDevices.h"
#include "screen/Twips.h"
#include "shell/Database.h"
#include "shell/Journal.h"
#include "shell/MessageBox.h"
#include "shell/SysUtil.h"
#include "shell/SysUtilDb.h"
#include "stations/inspection/CheckCardPanel.h"
#include "stations/inspection/CheckDefectGrid.h"
#include "stations/inspection/CheckDevicePanel.h"
#include "stations/inspection/CheckLayoutPanel.h"
#include "stations/inspection/CheckRollPanel.h"
#include "stations/inspection/CheckSavePanel.h"
#include "stations/inspection/CheckSettingsPanel.h"
#include "stations/inspection/DefectCamera.h"
#include "text/Vb.h"
#include "time/Clock.h"
#include "widgets/CaptionFrame.h"
#include "widgets/EditGrid.h"
#include "widgets/FitText.h"
#include "widgets/fProcessBar.h"
#include "widgets/ScanField.h"
#include "widgets/ScreenMode.h"
#include "widgets/UserControl1.h"

#include <QApplication>
#include <QDebug>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableWidget>
#include <QRadioButton>
#include <QScopeGuard>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>

#include <algorithm>

using namespace Qt::StringLiterals;

frmCheck::frmCheck(QWidget* parent) : QWidget(parent)
{
    setObjectName(u"frmCheck"_s);
    setWindowTitle(u"检验"_s);
    resize(1024, 768);
    // The type the controls are born with, so that few need a font of their own later.
    QFont base = font();
    base.setPointSizeF(Twips::of(this).font(12));
    setFont(base);
    c = buildCheckControls(this);
    m_defects = new CheckDefectGrid(this);
    m_camera = new DefectCamera(this);
    connect(this, &frmCheck::settingsSaved, this, &frmCheck::setUpCamera);
    for (const RequiredField& f : CheckSettingsPanel::requiredFields()) {
        while (m_requiredCaptions.size() <= f.box)
            m_requiredCaptions << QString();
        m_requiredCaptions[f.box] = f.caption;
    }
    c.LabBox[CheckLabel::Status]->setStyleSheet(
        u"color:#0033aa;background:#eef3ff;padding-left:6px"_s);
    c.frameMishu->setStyleSheet(u"QGroupBox{color:#ff8000;}"_s); // 33023 = &H80FF
    m_layout = new CheckLayoutPanel(this);
    m_devicePanel = new CheckDevicePanel(this);
    m_card = new CheckCardPanel(this);
    m_roll = new CheckRollPanel(this);
    m_save = new CheckSavePanel(this);
    m_layout->applyFonts();
    wireEvents();
}

frmCheck::~frmCheck()
{
    // The parts watch the form's controls and read its members: they go before the members do,
    // not with the window's children after them.
    delete m_save;
    delete m_roll;
    delete m_card;
    delete m_devicePanel;
    delete m_layout;
    delete m_defects;
}

void frmCheck::wireEvents()
{
    for (int i = 0; i < c.checkCommand.size(); ++i)
        if (QPushButton* b = c.checkCommand[i])
            connect(b, &QPushButton::clicked, this, [this, i] {
                // One touch beside 保存 must not drop a roll inspected and not yet saved.
                if (i == CheckCmd::NewRoll && !m_roll->mayDropRoll()) {
                    m_layout->hideKeypad(); // as after every command
                    return;
                }
                runCommand(i);
            });
    ScanField::install(c.TxtBox[CheckField::Card]);
    connect(c.TxtBox[CheckField::Card], &QLineEdit::returnPressed, this, [this] { runCommand(CheckCmd::FindCard); });
    connect(c.TxtBox[CheckField::Quantity], &QLineEdit::returnPressed, this, [this] { runCommand(CheckCmd::Save); });
    connect(c.reviewCheckCode, &QCheckBox::toggled, this,
            [this](bool on) { c.LabBox[CheckLabel::Card]->setText(on ? u"卷号"_s : u"卡号"_s); });
    connect(c.isMashu, &QCheckBox::toggled, this,
            [this](bool on) { c.LabUnit->setText(on ? u"码"_s : u"米"_s); });
    // "更多设置" asks for the access code (the panel is built then); unticked, it closes.
    connect(c.Check1, &QCheckBox::toggled, this, [this](bool on) {
        if (on) {
            settingsPanel()->askAccessCode();
            m_layout->showKeypad(m_settingsPanel->passwordBox());
        } else if (m_settingsPanel) {
            m_settingsPanel->closePanel();
        }
    });
}

void frmCheck::reloadSettings()
{
    const Variant v = variant();
    m_cfg = InspectionSettings::read(v.numberScopes.first(), v.layoutKey);
}

void frmCheck::Form_Load()
{
    Database::openConnection();
    reloadSettings();
    m_devicePanel->setupDevices();
    const double pages = m_cfg.pages;
    if (pages >= 1)
        c.UpDown1->setValue(int(pages));
    c.SSTab1->setCurrentIndex(0);
    buildGradeButtons();
    c.autoHuanJuan->setChecked(
        SysUtil::getSetting(u"mirel"_s, u"mirel"_s, u"autoHuanJuan"_s, u"1"_s) == u"1");
    c.isMashu->setChecked(SysUtil::getSetting(u"mirel"_s, u"mirel"_s, u"isMashu"_s, u"0"_s) ==
                          u"1");
    m_defects->applyWidths(SysUtil::getSetting(u"mirel"_s, u"mirel"_s, u"frmCheck"_s));
    setUpCamera();
    enableCommands();
    m_roll->clearForm();
    applyStoredCaptions();
    const QString& layout = m_cfg.layout;
    if (!layout.isEmpty() && SysUtil::applyLayout(this, layout))
        rememberGeometry(this);
    m_loaded = true;
    m_devicePanel->setPolling(true);
    emit formLoaded();
}

void frmCheck::setUpCamera()
{
    if (const QString problem = m_camera->configure(m_cfg); !problem.isEmpty()) {
        qWarning().noquote() << problem;
        setStatus(problem);
    }
    m_camera->prepare(Database::conn());
    m_defects->showPhotoColumn(m_camera->hasCamera());
}

void frmCheck::applyStoredCaptions()
{
    for (QWidget* w : findChildren<QWidget*>()) {
        const QString tag = tagOf(w);
        if (!tag.startsWith(u"Label"))
            continue;
        if (auto* box = qobject_cast<QAbstractButton*>(w)) {
            box->setText(Database::getDbInfo(tag, box->text()));
            box->setAccessibleName(box->text());
        } else if (auto* label = qobject_cast<QLabel*>(w)) {
            label->setText(Database::getDbInfo(tag, label->text()));
        }
    }
    for (const RequiredField& f : CheckSettingsPanel::requiredFields())
        m_requiredCaptions[f.box] = Database::getDbInfo(f.tag, m_requiredCaptions[f.box]);
    if (m_settingsPanel)
        for (QCheckBox* box : m_settingsPanel->requiredBoxes())
            if (box)
                box->setText(
                    m_requiredCaptions.value(int(m_settingsPanel->requiredBoxes().indexOf(box))));
    CheckSettingsPanel::applyCaptionsToFields(c, m_requiredCaptions);
}

CheckSettingsPanel* frmCheck::settingsPanel()
{
    if (m_settingsPanel)
        return m_settingsPanel;
    m_settingsPanel = new CheckSettingsPanel(this, c, m_requiredCaptions);
    m_settingsPanel->setNumberScopes(variant().numberScopes);
    m_settingsPanel->load();
    connect(m_settingsPanel, &CheckSettingsPanel::savePosition, m_layout, &CheckLayoutPanel::btnSavePosi_Click);
    connect(m_settingsPanel, &CheckSettingsPanel::captionEdited, this,
            [this] { m_requiredCaptions = m_settingsPanel->requiredCaptions(); });
    // A saved ratio scales the next reading already; the defect and grade lists follow.
    connect(m_settingsPanel, &CheckSettingsPanel::saved, this, [this] {
        reloadSettings();
        if (m_devicePanel->devices())
            m_devicePanel->applyLengthRatio();
        emit settingsSaved();
    });
    connect(m_settingsPanel->meterCorrectionBox(), &QCheckBox::clicked, this,
            [this] { m_devicePanel->correctMeter(); });
    if (QLineEdit* b = m_settingsPanel->textBoxes().value(4); b && !m_devicePanel->rawReading().isNull())
        b->setToolTip(m_devicePanel->rawReading());
    // The panel's type follows the window's scale as every control built with the window.
    m_layout->adoptControls(m_settingsPanel);
    m_layout->adoptControls(m_settingsPanel->passwordBox()->parentWidget());
    return m_settingsPanel;
}

void frmCheck::setFieldCaption(int txt, const QString& caption, const QString& tip)
{
    QLineEdit* box = c.TxtBox.value(txt);
    const auto label = std::find_if(c.LabBox.cbegin(), c.LabBox.cend(),
                                    [box](const QLabel* l) { return l && box && l->buddy() == box; });
    if (label == c.LabBox.cend())
        return;
    const QString pair = QString::number(c.LabBox.indexOf(*label)) + u',' + QString::number(txt);
    for (const RequiredField& f : CheckSettingsPanel::requiredFields())
        if (f.tip == pair) {
            m_requiredCaptions[f.box] = caption;
            if (m_settingsPanel && m_settingsPanel->requiredBoxes().value(f.box))
                m_settingsPanel->requiredBoxes()[f.box]->setText(caption);
        }
    (*label)->setText(caption);
    if (!tip.isEmpty())
        (*label)->setToolTip(tip);
    box->setAccessibleName(caption);
}

void frmCheck::enableCommands()
{
    c.checkCommand[CheckCmd::DeleteRoll]->setEnabled(m_cfg.mayChangeSaved);
    c.checkCommand[CheckCmd::Save]->setEnabled(m_cfg.saveButton);
    c.checkCommand[CheckCmd::PrintLabel]->setEnabled(m_cfg.printButton);
    c.checkCommand[CheckCmd::ChooseTemplate]->setEnabled(m_cfg.templateButton);
    c.checkCommand[CheckCmd::PrintMark]->setEnabled(m_cfg.markButton);
    c.checkCommand[CheckCmd::NewRoll]->setEnabled(m_cfg.newRollButton);
    c.checkCommand[CheckCmd::PreviousRoll]->setEnabled(m_cfg.stepButtons);
    c.checkCommand[CheckCmd::NextRoll]->setEnabled(m_cfg.stepButtons);
}

void frmCheck::buildGradeButtons()
{
    qDeleteAll(c.gradeBtn);
    c.gradeBtn.clear();
    QStringList items = vb::listItems(m_cfg.grades);
    items.removeAll(QString());
    if (items.isEmpty())
        items << u"A品"_s;
    const QRect lab = designRect(c.LabBox[CheckLabel::Grade]);
    int x = lab.right() + 40;
    QStringList group;
    for (int i = 0; i < items.size(); ++i) {
        const QStringList parts = items[i].split(u'^');
        auto* b = new QRadioButton(parts[0], c.Frame6);
        b->setObjectName(u"gradeBtn_"_s + QString::number(i));
        b->setAccessibleName(parts[0]);
        b->setToolTip(parts.value(1));
        placeTwips(b, QRect(x, lab.y(), 1100, lab.height()));
        b->show();
        x += 1140;
        // Every change of the grade reaches the station: a touch, a new or reopened roll, the
        // automatic grade. A touch on the grade already chosen changes nothing but still asks
        // (the station's rule must be idempotent: a touch on a new grade arrives twice).
        connect(b, &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                emit gradeChosen(i);
        });
        connect(b, &QRadioButton::clicked, this, [this, i] {
            emit gradeChosen(i);
            emit gradeTouched();
        });
        c.gradeBtn << b;
        group << b->objectName();
    }
    setTag(c.LabBox[CheckLabel::Grade], group.join(u'|'));
    c.gradeBtn.first()->setChecked(true);
}

QString frmCheck::currentGrade() const
{
    for (QRadioButton* b : c.gradeBtn)
        if (b->isChecked())
            return b->text();
    return QString();
}

void frmCheck::selectGrade(const QString& caption)
{
    for (QRadioButton* b : c.gradeBtn)
        if (b->text() == caption)
            b->setChecked(true);
}

void frmCheck::setStatus(const QString& text)
{
    c.LabBox[CheckLabel::Status]->setText(text);
    m_layout->fitDataLabels();
}

QString frmCheck::status() const { return c.LabBox[CheckLabel::Status]->text(); }

void frmCheck::runCommand(int index)
{
    // Every command ends with the number keypad closed: after a save or a new roll it would
    // otherwise cover half the form (the new roll's focus on the quantity opens it again).
    const auto closeKeypad = qScopeGuard([this] { m_layout->hideKeypad(); });
    // While a save waits for the weight to settle the form is that roll's: nothing else runs.
    if (m_devicePanel->weighing()) {
        setStatus(u"称重中…"_s);
        return;
    }
    if (!commandAllowed(index))
        return;
    switch (index) {
    case CheckCmd::FindCard:
        if (c.reviewCheckCode->isChecked())
            m_roll->reviewRoll();
        else
            m_card->findCard();
        break;
    case CheckCmd::NewRoll: m_roll->newRoll(); break;
    case CheckCmd::Save: m_save->saveCommand(); break;
    default:
        // Defects, labels, the roll list, card navigation and the MES import are wired by
        // their own parts of the station.
        emit commandRequested(index);
        break;
    }
    emit commandDone(index);
}

void frmCheck::closeEvent(QCloseEvent* event)
{
    const QString app = u"mirel"_s;
    SysUtil::saveSetting(app, app, u"frmCheck"_s, m_defects->grid()->colWidthList());
    SysUtil::saveSetting(app, app, u"autoHuanJuan"_s,
                         c.autoHuanJuan->isChecked() ? u"1"_s : u"0"_s);
    SysUtil::saveSetting(app, app, u"isMashu"_s, c.isMashu->isChecked() ? u"1"_s : u"0"_s);
    m_devicePanel->setPolling(false);
    m_devicePanel->releaseDevices();
    event->accept();
}

void frmCheck::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    relayoutTwips(this);
    if (m_layout)
        m_layout->applyFonts();
}

void frmCheck::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The background toggles between the full-screen panel mode and a normal window.
    ScreenMode::toggle(this);
    event->accept();
}

void frmCheck::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F5) {
        runCommand(CheckCmd::PrintLabel);
        return;
    }
    if (event->key() == Qt::Key_F10) {
        // Setup aid: each label shows the controls that move with it.
        c.Frame6->raise();
        for (QLabel* l : c.LabBox)
            if (l && l->parentWidget() == c.Frame6)
                l->setToolTip(tagOf(l));
        return;
    }
    QWidget::keyPressEvent(event);
}

void frmCheck::enterMesMode()
{
    c.checkCommand[CheckCmd::Mes]->show();
    c.fProcessBar1->show();
    m_layout->Frame5_Click();
    m_layout->Frame5_Click();
}


const InspectionRoll& frmCheck::rules() const
{
    if (!m_rules)
        m_rules = makeRules();
    return *m_rules;
}

std::unique_ptr<InspectionRoll> frmCheck::makeRules() const
{
    return std::make_unique<InspectionRoll>(m_cfg);
}

RollForm frmCheck::readRoll() const
{
    RollForm roll;
    for (int i = 0; i < CheckField::Count && i < c.TxtBox.size(); ++i)
        if (const QLineEdit* box = c.TxtBox[i]) {
            roll.fields[size_t(i)] = box->text();
            roll.present.set(size_t(i));
        }
    roll.remark = c.Text1->text();
    roll.grade = currentGrade();
    roll.lineId = c.BillDetailId->text();
    roll.itemId = tagOf(c.BillDetailId);
    roll.chosenItem = tagOf(c.TxtBox[CheckField::ItemName]);
    roll.id = c.checkId->text().toLongLong();
    roll.yards = c.isMashu->isChecked();
    completeRoll(roll);
    return roll;
}

void frmCheck::fillFromRoll(const Recordset& rs)
{
    RollForm roll = readRoll();
    rules().fill(roll, rs);
    m_roll->showRoll(roll);
}

void frmCheck::loadRollCard(const QString& card, const QString& lineId) { m_card->loadCard(card, lineId); }
