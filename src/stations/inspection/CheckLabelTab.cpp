// The label tab of the inspection window: label rows generated from the roll on screen, saved
// (and printed) one roll per row, the roll list exported and a worksheet imported.
#include "stations/inspection/CheckLabelPanel.h"

#include "config/ProgramFolder.h"
#include "shell/Database.h"
#include "shell/MessageBox.h"
#include "shell/SysUtil.h"
#include "shell/SysUtilExport.h"
#include "stations/inspection/CheckLabelImport.h"
#include "stations/inspection/CheckLabelRows.h"
#include "stations/inspection/frmCheck.h"
#include "text/Vb.h"
#include "time/Clock.h"
#include "widgets/EditGrid.h"
#include "stations/inspection/CheckRollPanel.h"
#include "stations/inspection/CheckSavePanel.h"

#include <QDate>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

using namespace Qt::StringLiterals;

namespace {

const QString LabelGridKey = u"frmPggTag"_s;

} // namespace

void CheckLabelPanel::buildTab()
{
    CheckControls& c = m_form->controls();
    QWidget* tab = c.SSTab1->widget(0);
    auto* options = new QGridLayout;
    const QString texts[2] = {u"定长标签,每支长度为"_s, u"不定长标签，产生多少个标签"_s};
    const CheckField::Index fields[2] = {CheckField::PieceLength, CheckField::LabelCount};
    for (int i = 0; i < 2; ++i) {
        auto* r = new QRadioButton(texts[i], tab);
        r->setObjectName(u"tagType_"_s + QString::number(i));
        r->setAccessibleName(texts[i]);
        m_tagType << r;
        options->addWidget(r, i, 0, 1, 2);
        options->addWidget(c.TxtBox[fields[i]], i, 2);
    }
    m_tagType[0]->setChecked(true);
    c.TxtBox[CheckField::PieceLength]->setText(u"250"_s);
    c.TxtBox[CheckField::PieceLength]->setAccessibleName(u"每支长度"_s);
    c.TxtBox[CheckField::LabelCount]->setAccessibleName(u"标签数量"_s);
    const QString captions[6] = {u"生成标签"_s, u"保存标签"_s, u"保存/打印"_s,
                                 u"清除标签"_s, u"导出标签"_s, u"导入标签"_s};
    for (int i = 0; i < 6; ++i) {
        auto* b = new QPushButton(captions[i], tab);
        b->setObjectName(u"cmdTag_"_s + QString::number(i));
        b->setAccessibleName(captions[i]);
        b->setFocusPolicy(Qt::NoFocus); // the keypad stays on the field being typed
        options->addWidget(b, 2 + i / 3, i % 3);
        m_cmdTag << b;
    }
    connect(m_cmdTag[0], &QPushButton::clicked, this, &CheckLabelPanel::generateLabels);
    connect(m_cmdTag[1], &QPushButton::clicked, this, [this] { saveLabels(false); });
    connect(m_cmdTag[2], &QPushButton::clicked, this, [this] { saveLabels(true); });
    connect(m_cmdTag[3], &QPushButton::clicked, this, &CheckLabelPanel::clearLabels);
    connect(m_cmdTag[4], &QPushButton::clicked, this, &CheckLabelPanel::exportLabels);
    connect(m_cmdTag[5], &QPushButton::clicked, this, &CheckLabelPanel::importLabels);

    m_grid = new EditGrid(tab);
    m_grid->setObjectName(u"pggTag"_s);
    m_grid->setAccessibleName(u"标签列表"_s);
    m_grid->setFormatString(u"^序|^卷号|^数量"_s);
    m_grid->setColWidth(0, 600);
    m_grid->setColWidth(1, 1500);
    m_grid->setColWidth(2, 1500);
    m_grid->applyColWidthList(SysUtil::getSetting(u"mirel"_s, u"mirel"_s, LabelGridKey));
    // Variable labels get their own quantity typed in before they are saved.
    m_grid->setColEditable(1, true);
    m_grid->setColEditable(2, true);
    clearLabels();

    auto* layout = new QHBoxLayout(tab);
    layout->setContentsMargins(6, 4, 6, 4);
    layout->addLayout(options, 0);
    layout->addWidget(m_grid, 1);
}

bool CheckLabelPanel::eventFilter(QObject* watched, QEvent* event)
{
    // The widths the inspector gave the label grid's columns are kept for the next start.
    if (watched == m_form && m_grid && event->type() == QEvent::Close)
        SysUtil::saveSetting(u"mirel"_s, u"mirel"_s, LabelGridKey, m_grid->colWidthList());
    return QObject::eventFilter(watched, event);
}

void CheckLabelPanel::setGridRows(const QList<QPair<QString, QString>>& rows)
{
    m_grid->setRows(int(rows.size()) + 2); // header, the rows, one empty row to type into
    for (int r = 1; r < m_grid->rows(); ++r)
        for (int col = 0; col < 3; ++col)
            m_grid->setTextMatrix(r, col, QString());
    for (int i = 0; i < rows.size(); ++i) {
        m_grid->setTextMatrix(i + 1, 0, QString::number(i + 1));
        m_grid->setTextMatrix(i + 1, 1, rows[i].first);
        m_grid->setTextMatrix(i + 1, 2, rows[i].second);
    }
}

QList<QPair<QString, QString>> CheckLabelPanel::labelRows() const
{
    QList<QPair<QString, QString>> rows;
    for (int r = 1; r < m_grid->rows(); ++r) {
        const QString number = m_grid->textMatrix(r, 1).trimmed();
        if (!number.isEmpty())
            rows << qMakePair(number, m_grid->textMatrix(r, 2).trimmed());
    }
    return rows;
}

void CheckLabelPanel::clearLabels() { setGridRows({}); }

void CheckLabelPanel::generateLabels()
{
    CheckControls& c = m_form->controls();
    clearLabels();
    const QString codeLen =
        m_form->settings().codeLen;
    const double first = vb::Val(c.TxtBox[CheckField::RollNumber]->text());
    const CheckLabels::LabelRows out =
        m_tagType[0]->isChecked()
            ? CheckLabels::fixedLength(vb::Val(c.machineCount->text()), vb::Val(c.TxtBox[CheckField::PieceLength]->text()), first, codeLen)
            : CheckLabels::variableCount(vb::Val(c.TxtBox[CheckField::Quantity]->text()), int(vb::Val(c.TxtBox[CheckField::LabelCount]->text())), first, codeLen);
    if (!out.error.isEmpty()) {
        m_form->setStatus(out.error);
        return;
    }
    QList<QPair<QString, QString>> rows;
    for (const CheckLabels::LabelRow& r : out.rows)
        rows << qMakePair(r.number, vb::CStr(r.quantity));
    setGridRows(rows);
}

void CheckLabelPanel::saveLabels(bool withPrint)
{
    CheckControls& c = m_form->controls();
    QList<QPair<QString, QString>> rows = labelRows();
    if (rows.isEmpty()) {
        m_form->setStatus(u"请点击生成标签按钮"_s);
        return;
    }
    // The form is checked once with the first label's values: a missing card or worker stops
    // the batch before any roll is written.
    c.TxtBox[CheckField::RollNumber]->setText(rows.first().first);
    c.TxtBox[CheckField::Quantity]->setText(rows.first().second);
    if (!m_form->savePanel().validateRoll())
        return;
    const QString name =
        SysUtil::getSetting(ProgramFolder::executableName(), u"PrintTemplate"_s,
                            m_form->rules().templateSetting(), m_form->rules().defaultTemplate());
    while (!rows.isEmpty()) {
        c.checkId->setText(u"0"_s); // every label is a roll of its own
        c.TxtBox[CheckField::RollNumber]->setText(rows.first().first);
        c.TxtBox[CheckField::Quantity]->setText(rows.first().second);
        const long long id = m_form->savePanel().saveRoll(false);
        if (id <= 0) {
            // The rows not yet saved stay on the grid, so a second try adds no roll twice.
            setGridRows(rows);
            return;
        }
        if (withPrint)
            print(name, id, false, 1);
        rows.removeFirst();
    }
    clearLabels();
    m_form->rollPanel().newRoll();
    m_form->setStatus(u"批量保存成功！"_s);
}

void CheckLabelPanel::exportLabels()
{
    const std::optional<Recordset> list = rollList(m_form);
    if (!list || !list->isOpen()) {
        MessageBox::information(u"请先查找卡号！"_s, m_form);
        return;
    }
    const QString path = SysUtil::exportRecordset(*list, m_form);
    if (!path.isEmpty())
        m_form->setStatus(u"已导出："_s + path);
}

void CheckLabelPanel::importLabels()
{
    const QString file = MessageBox::openFileName(
        u"选择要导入的文件 "_s, u"数据文件 (*.xls *.xlsx *.xlt)"_s, QString(), m_form);
    if (file.isEmpty()) {
        MessageBox::information(u"请选择文件！"_s, m_form);
        return;
    }
    batchUpdatePrice(file);
}

bool CheckLabelPanel::batchUpdatePrice(const QString& fileName)
{
    CheckControls& c = m_form->controls();
    CheckLabels::ImportContext ctx;
    ctx.billCode = c.TxtBox[CheckField::Card]->text();
    ctx.billDetailId = vb::Val(c.BillDetailId->text());
    ctx.itemId = vb::Val(tagOf(c.BillDetailId));
    ctx.weight = vb::Val(c.TxtBox[CheckField::Weight]->text());
    ctx.patchCount = vb::Val(c.TxtBox[CheckField::PlusMinus]->text());
    ctx.machineId = m_form->settings().machineId;
    ctx.userCode = c.TxtBox[CheckField::Worker]->text();
    ctx.taskno = c.TxtBox[CheckField::DyeLot]->text();
    ctx.remark = c.Text1->text();
    const int itemFields[4] = {CheckField::GramWeight, CheckField::Style, CheckField::Spare3, CheckField::Spare4};
    for (int i = 0; i < 4; ++i)
        ctx.items[i] = c.TxtBox[itemFields[i]] ? c.TxtBox[itemFields[i]]->text() : QString();
    ctx.today = Clock::todayText();

    const CheckLabels::ImportResult done =
        CheckLabels::importSheet(Database::conn(), fileName, ctx);
    if (done.critical)
        MessageBox::critical(done.message, m_form);
    else
        MessageBox::information(done.message, m_form);
    return done.written;
}
