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
#include "stations/inspection/CheckListSql.h"
#include "stations/inspection/CheckSettingsPanel.h"
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

frmCheck::frmCheck(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmCheck"));
    setWindowTitle(QStringLiteral("检验"));
    resize(1024, 768);
    // The type the controls are born with, so that few need a font of their own later.
    QFont base = font();
    base.setPointSizeF(Twips::of(this).font(12));
    setFont(base);
    c = buildCheckControls(this);
    m_pggCheck = new EditGrid(c.Frame5);
    m_pggCheck->setObjectName(QStringLiteral("pggCheck"));
    m_pggCheck->setAccessibleName(QStringLiteral("疵点列表"));
    m_pggCheck->setFormatString(QStringLiteral("^序|^疵点|^位置|^数量|^扣分|^工号|^备注"));
    m_pggCheck->setRows(2);
    const int widths[] = {400, 1100, 800, 700, 700, 800, 1000};
    for (int i = 0; i < 7; ++i)
        m_pggCheck->setColWidth(i, widths[i]);
    m_pggCheck->setColFitsText(2, true); // a long defect's "20-23.5" is read whole
    // The remark takes what the other columns leave, so the list never scrolls sideways on the
    // frame's panel (the scroll bar of a long list would push the remark out of sight).
    m_pggCheck->table()->horizontalHeader()->setStretchLastSection(true);
    // Scrolled to the newest defect, the list starts at a whole row: a row cut at the top reads
    // as another defect's.
    m_pggCheck->setWholeRows(true);
    placeTwips(m_pggCheck, QRect(50, 3000, 6000, 2250));
    for (const RequiredField& f : CheckSettingsPanel::requiredFields()) {
        while (m_requiredCaptions.size() <= f.box)
            m_requiredCaptions << QString();
        m_requiredCaptions[f.box] = f.caption;
    }
    c.LabBox[CheckLabel::Status]->setStyleSheet(QStringLiteral("color:#0033aa;background:#eef3ff;padding-left:6px"));
    c.frameMishu->setStyleSheet(QStringLiteral("QGroupBox{color:#ff8000;}")); // 33023 = &H80FF
    applyFonts();
    wireEvents();
    wireKeypad();
    connect(Journal::status(), &Journal::Status::replayed, this, &frmCheck::journalReplayed);
}

frmCheck::~frmCheck() = default;

QString frmCheck::rollListBase() const { return CheckListSql::builtInBase(); }

QString frmCheck::deleteQuestion(long long id) const
{
    return QStringLiteral("是否要删除卷ID[") + QString::number(id) + QStringLiteral("]的标签");
}

void frmCheck::wireEvents()
{
    for (int i = 0; i < c.checkCommand.size(); ++i)
        if (QPushButton* b = c.checkCommand[i])
            connect(b, &QPushButton::clicked, this, [this, i] {
                // One touch beside 保存 must not drop a roll inspected and not yet saved.
                if (i == CheckCmd::NewRoll && !mayDropRoll()) {
                    if (m_keypad) // as after every command
                        m_keypad->hide();
                    return;
                }
                runCommand(i);
            });
    ScanField::install(c.TxtBox[CheckField::Card]);
    connect(c.TxtBox[CheckField::Card], &QLineEdit::returnPressed, this, [this] { runCommand(CheckCmd::FindCard); });
    connect(c.TxtBox[CheckField::Quantity], &QLineEdit::returnPressed, this, [this] { runCommand(CheckCmd::Save); });
    connect(c.TxtBox[CheckField::Worker], &QLineEdit::textChanged, this, [this] { onWorkerChanged(); });
    connect(c.TxtBox[CheckField::Weight], &QLineEdit::textChanged, this, [this] { onWeightChanged(); });
    connect(c.TxtBox[CheckField::Quantity], &QLineEdit::textChanged, this, [this] { onQuantityChanged(); });
    for (const auto& [name, field] : InspectionRoll::formulaFields())
        if (field != CheckField::Weight && c.TxtBox[field])
            connect(c.TxtBox[field], &QLineEdit::textChanged, this, [this] { onFormulaInputChanged(); });
    connect(c.TxtBox[CheckField::DyeLot], &QLineEdit::textEdited, this, [this] { dyeLotChanged(); });
    connect(c.ComboColor, &QComboBox::activated, this, [this](int i) { onComboColorActivated(i); });
    connect(c.cmdHuangang, &QPushButton::clicked, this, [this] { cmdHuangang_Click(); });
    connect(c.cmdCanliang, &QPushButton::clicked, this, [this] { cmdCanliang_Click(); });
    connect(c.reviewCheckCode, &QCheckBox::toggled, this, [this](bool on) {
        c.LabBox[CheckLabel::Card]->setText(on ? QStringLiteral("卷号") : QStringLiteral("卡号"));
    });
    connect(c.isMashu, &QCheckBox::toggled, this, [this](bool on) {
        c.LabUnit->setText(on ? QStringLiteral("码") : QStringLiteral("米"));
    });
    connect(c.Check2, &QCheckBox::clicked, this, [this] { setupDevices(); });
    connect(c.isChen, &QCheckBox::clicked, this, [this] { setupDevices(); });
    connect(c.Command1, &QPushButton::clicked, this, [this] { zeroMeter(); });
    c.LabUnit->installEventFilter(this);
    c.Frame5->installEventFilter(this);
}

void frmCheck::reloadSettings() { m_cfg = InspectionSettings::read(numberScopes().first(), layoutKey()); }

void frmCheck::Form_Load()
{
    Database::openConnection();
    reloadSettings();
    setupDevices();
    const double pages = m_cfg.pages;
    if (pages >= 1)
        c.UpDown1->setValue(int(pages));
    c.SSTab1->setCurrentIndex(0);
    buildGradeButtons();
    c.autoHuanJuan->setChecked(SysUtil::getSetting(QStringLiteral("mirel"), QStringLiteral("mirel"),
                                                   QStringLiteral("autoHuanJuan"), QStringLiteral("1"))
                               == u"1");
    c.isMashu->setChecked(SysUtil::getSetting(QStringLiteral("mirel"), QStringLiteral("mirel"),
                                              QStringLiteral("isMashu"), QStringLiteral("0"))
                          == u"1");
    m_pggCheck->applyColWidthList(SysUtil::getSetting(QStringLiteral("mirel"), QStringLiteral("mirel"),
                                                      QStringLiteral("frmCheck")));
    enableCommands();
    clearForm();
    applyStoredCaptions();
    const QString& layout = m_cfg.layout;
    if (!layout.isEmpty() && SysUtil::applyLayout(this, layout))
        rememberGeometry(this);
    m_loaded = true;
    setPolling(true);
    afterLoad();
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
    m_settingsPanel->setNumberScopes(numberScopes());
    m_settingsPanel->load();
    connect(m_settingsPanel, &CheckSettingsPanel::savePosition, this, &frmCheck::btnSavePosi_Click);
    connect(m_settingsPanel, &CheckSettingsPanel::captionEdited, this,
            [this] { m_requiredCaptions = m_settingsPanel->requiredCaptions(); });
    // A saved ratio scales the next reading already; the defect and grade lists follow.
    connect(m_settingsPanel, &CheckSettingsPanel::saved, this, [this] {
        reloadSettings();
        if (m_devices)
            applyLengthRatio();
        emit settingsSaved();
    });
    connect(m_settingsPanel->meterCorrectionBox(), &QCheckBox::clicked, this,
            [this] { correctMeter(); });
    if (QLineEdit* b = m_settingsPanel->textBoxes().value(4); b && !m_rawReading.isNull())
        b->setToolTip(m_rawReading);
    // The panel's type follows the window's scale as every control built with the window.
    adoptControls(m_settingsPanel);
    adoptControls(m_settingsPanel->passwordBox()->parentWidget());
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
        items << QStringLiteral("A品");
    const QRect lab = designRect(c.LabBox[CheckLabel::Grade]);
    int x = lab.right() + 40;
    QStringList group;
    for (int i = 0; i < items.size(); ++i) {
        const QStringList parts = items[i].split(u'^');
        auto* b = new QRadioButton(parts[0], c.Frame6);
        b->setObjectName(QStringLiteral("gradeBtn_") + QString::number(i));
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
                gradeChanged(i);
        });
        connect(b, &QRadioButton::clicked, this, [this, i] {
            gradeChanged(i);
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
    fitDataLabels();
}

QString frmCheck::status() const { return c.LabBox[CheckLabel::Status]->text(); }

void frmCheck::setPolling(bool on)
{
    if (m_devices)
        m_devices->setPolling(on);
}

bool frmCheck::polling() const { return m_devices && m_devices->isPolling(); }

void frmCheck::runCommand(int index)
{
    // Every command ends with the number keypad closed: after a save or a new roll it would
    // otherwise cover half the form (the new roll's focus on the quantity opens it again).
    const auto closeKeypad = qScopeGuard([this] {
        if (m_keypad)
            m_keypad->hide();
    });
    // While a save waits for the weight to settle the form is that roll's: nothing else runs.
    if (m_weighing) {
        setStatus(QStringLiteral("称重中…"));
        return;
    }
    if (!commandAllowed(index))
        return;
    switch (index) {
    case CheckCmd::FindCard:
        if (c.reviewCheckCode->isChecked())
            reviewRoll();
        else
            findCard();
        break;
    case CheckCmd::NewRoll: newRoll(); break;
    case CheckCmd::Save: {
        if (!validateRoll())
            break;
        const bool update = vb::Val(c.checkId->text()) > 0;
        const long long id = saveRoll(true);
        if (id == SavedOffline) {
            rollSavedOffline();
            break;
        }
        if (!c.reviewCheckCode->isChecked() && id >= 1) {
            setStatus(savedStatus(update));
            if (c.autoHuanJuan->isChecked())
                newRoll();
            else
                keepSavedRoll(id);
            sayRenumbered(update);
        }
        break;
    }
    default:
        // Defects, labels, the roll list, card navigation and the MES import are wired by
        // their own parts of the station.
        emit commandRequested(index);
        break;
    }
    afterCommand(index);
}

QString frmCheck::savedStatus(bool update)
{
    return update ? QStringLiteral(" 修改成功！") : QStringLiteral(" 新增成功！");
}

void frmCheck::sayRenumbered(bool update)
{
    // Said over the new roll's "新": the number now on the form is the next one.
    if (!m_renumbered.isEmpty())
        setStatus(savedStatus(update) + m_renumbered);
}

void frmCheck::closeEvent(QCloseEvent* event)
{
    const QString app = QStringLiteral("mirel");
    SysUtil::saveSetting(app, app, QStringLiteral("frmCheck"), m_pggCheck->colWidthList());
    SysUtil::saveSetting(app, app, QStringLiteral("autoHuanJuan"),
                         c.autoHuanJuan->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    SysUtil::saveSetting(app, app, QStringLiteral("isMashu"),
                         c.isMashu->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    setPolling(false);
    releaseDevices();
    event->accept();
}

void frmCheck::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    relayoutTwips(this);
    applyFonts();
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
    Frame5_Click();
    Frame5_Click();
}

void frmCheck::cmdHuangang_Click()
{
    try {
        c.TxtBox[CheckField::DyeLot]->setText(SysUtil::nextDailyNumber(Database::conn(), QStringLiteral("缸号"),
                                                      Clock::today())
                             + u'G');
    } catch (const DbError& e) {
        MessageBox::critical(e.message(), this);
        return;
    }
    dyeLotChanged();
}

void frmCheck::dyeLotChanged()
{
    // Numbered per dye lot, a new lot starts its own numbering.
    if (m_cfg.codeType == u"缸号"
        && rules().databaseNumbers() && m_loaded)
        assignRollNumber();
}

void frmCheck::cmdCanliang_Click()
{
    double x = vb::Val(c.TxtBox[CheckField::Quantity]->text());
    if (m_cfg.capacityLessDefects)
        for (const QStringList& row : defectRows())
            if (row.value(1) == u"产量")
                x -= vb::Val(row.value(2));
    appendDefectRow({QString(), QStringLiteral("产量"),
                     vb::Format(x, m_cfg.dispFormat),
                     QStringLiteral("0"), QStringLiteral("0"), c.TxtBox[CheckField::Worker]->text(), c.Text1->text()});
}

QList<QStringList> frmCheck::defectRows() const
{
    QList<QStringList> rows;
    for (int r = 1; r < m_pggCheck->rows(); ++r) {
        QStringList cols;
        for (int col = 0; col < 7; ++col)
            cols << m_pggCheck->textMatrix(r, col);
        if (!cols[1].isEmpty())
            rows << cols;
    }
    return rows;
}

void frmCheck::setDefectRows(const QList<QStringList>& rows)
{
    m_pggCheck->setRows(1);
    for (const QStringList& r : rows)
        appendDefectRow(r);
    if (rows.isEmpty())
        m_pggCheck->setRows(2); // the grid always ends with one empty row
    emit defectsReplaced();
}

void frmCheck::appendDefectRow(const QStringList& cols)
{
    int row = m_pggCheck->rows() - 1;
    if (row < 1 || !m_pggCheck->textMatrix(row, 1).isEmpty()) {
        m_pggCheck->setRows(m_pggCheck->rows() + 1);
        row = m_pggCheck->rows() - 1;
    }
    m_pggCheck->setTextMatrix(row, 0, QString::number(row));
    for (int col = 1; col < 7; ++col)
        m_pggCheck->setTextMatrix(row, col, cols.value(col));
    m_pggCheck->setRows(m_pggCheck->rows() + 1);
    m_pggCheck->setTopRow(m_pggCheck->rows() - 1);
}
