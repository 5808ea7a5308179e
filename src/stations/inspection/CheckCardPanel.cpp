// Production card lookup of the inspection station: the card's lines in the colour box, the
// chosen line's data, preset fields, process history and the running totals.
#include "stations/inspection/CheckCardPanel.h"

#include "shell/Database.h"
#include "shell/Journal.h"
#include "shell/JournalLabel.h"
#include "shell/MessageBox.h"
#include "shell/Print.h"
#include "shell/SysUtil.h"
#include "shell/SysUtilDb.h"
#include "stations/inspection/CheckLayoutPanel.h"
#include "stations/inspection/CheckRollPanel.h"
#include "stations/inspection/InspectionCard.h"
#include "stations/inspection/frmCheck.h"
#include "text/Vb.h"
#include "widgets/CaptionFrame.h"
#include "widgets/fProcessBar.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

using namespace Qt::StringLiterals;

CheckCardPanel::CheckCardPanel(frmCheck* form) : QObject(form), m_form(form), c(form->controls())
{
    connect(c.ComboColor, &QComboBox::activated, this, [this](int i) { onComboColorActivated(i); });
}

void CheckCardPanel::findCard()
{
    const QString card = InspectionCard::cleanNumber(c.TxtBox[CheckField::Card]->text());
    if (card != c.TxtBox[CheckField::Card]->text())
        c.TxtBox[CheckField::Card]->setText(card);
    m_form->rollPanel().newRoll();
    c.TxtBox[CheckField::Card]->setText(
        card); // the card looked up, not one kept from before a reopened roll
    loadCard(card, QString());
}

void CheckCardPanel::onComboColorActivated(int index)
{
    if (c.ComboColor->count() == 0)
        return;
    const int i = index < 0 ? 0 : index;
    loadCard(c.TxtBox[CheckField::Card]->text(), c.ComboColor->itemData(i).toString());
}

void CheckCardPanel::loadCard(const QString& cardText, const QString& lineId)
{
    const QString card = InspectionCard::cleanNumber(cardText);
    if (card.isEmpty())
        return;
    try {
        Connection& conn = Database::conn();
        if (vb::Val(lineId) > 0 && vb::Val(c.checkId->text()) == 0) {
            c.BillDetailId->setText(lineId);
            m_form->rollPanel().assignRollNumber();
        }
        // Cards seen in the last days are kept, so that a scan still fills the form offline.
        const QString stored = Journal::cachedText(u"listSQL"_s, u"LoadCheckSQL"_s, [&] {
            return SysUtil::getListSql(conn, u"listSQL"_s, u"LoadCheckSQL"_s);
        });
        const QString sql = InspectionCard::lookupSql(stored, m_form->settings().billTypes, card);
        bool online = false;
        Recordset rs = Journal::cachedQuery(u"card"_s, card, sql, &online);
        if (online) // what its labels read besides the roll, for labels printed offline
            JournalLabelRows::keepCard(conn, card, rs);
        if (!SysUtil::recordsetHasRows(rs)) {
            MessageBox::critical(u"没有找到这个卡号!"_s, m_form);
            c.machineCount->setText(u"0"_s);
            c.TxtBox[CheckField::Card]->setFocus();
            c.TxtBox[CheckField::Card]->selectAll();
            return;
        }
        m_cardRs = rs;
        c.ComboColor->clear();
        for (const auto& [caption, id] : InspectionCard::lines(rs))
            c.ComboColor->addItem(caption, id);
        rs.moveLast();
        setTag(c.TxtBox[CheckField::Card], rs.text(u"ID"_s));
        if (lineId.isEmpty() && c.ComboColor->count() > 0) {
            c.ComboColor->setCurrentIndex(0);
            onComboColorActivated(0);
        }
        rs.moveFirst();
        while (!rs.eof() && (lineId.isEmpty() || rs.text(u"BillDetailId"_s) != lineId))
            rs.moveNext();
        if (!rs.eof() && !lineId.isEmpty()) {
            for (int i = 0; i < c.ComboColor->count(); ++i)
                if (c.ComboColor->itemData(i).toString() == lineId)
                    c.ComboColor->setCurrentIndex(i);
            showCardLine(rs);
        }
        showTotals(qint64(vb::Val(c.BillDetailId->text())));
    } catch (const DbError& e) {
        MessageBox::critical(e.message(), m_form);
    }
}

void CheckCardPanel::showCardLine(const Recordset& rs)
{
    const InspectionCard::Line line = InspectionCard::line(rs);
    c.machineCount->setText(line.inspect);
    c.machineCount->setToolTip(line.quantity);
    setTag(c.machineCount, line.order);
    c.BillDetailId->setText(line.id);
    setTag(c.BillDetailId, line.itemId);
    c.BillDetailId->setToolTip(line.itemId);
    loadProgressHistory(line.id);

    c.frameMishu->setCaption(line.remark.left(30));
    c.checkSpec->setText(line.remark);
    c.checkSpec->setCursorPosition(0); // a long remark is read from its start

    const QString fill = Journal::cachedText(u"CheckFill"_s, u"99"_s, [] {
        return SysUtil::getDictionaryValue(Database::conn(), u"CheckFill"_s, u"99"_s);
    });
    applyPresets(fill, rs, true);
    c.labInfo[CheckInfo::Customer]->setText(line.customer);
    c.labInfo[CheckInfo::Article]->setText(line.article);
    // The order's own label templates, stored with the bill, replace the folder's copies.
    fetchBillTemplates(qint64(vb::Val(line.billId)));
    m_form->layoutPanel().fitDataLabels();
    emit m_form->cardLineShown(line.billId);
}

void CheckCardPanel::loadProgressHistory(const QString& lineId)
{
    fProcessBar* bar = c.fProcessBar1;
    if (bar->isHidden()) {
        bar->setMax(0);
        return;
    }
    bar->setMax(vb::Val(c.machineCount->text()));
    const QString id = vb::sqlNumber(vb::Val(lineId));
    Recordset rs = Journal::cachedRead(u"progress"_s, id, CheckSql::progressHistory(id));
    const InspectionCard::History history = InspectionCard::history(rs);
    for (const auto& [worker, quantity] : history.workers)
        bar->addMen(worker, quantity);
    for (double mark : history.marks)
        bar->addBug(int(vb::CInt(mark)));
    if (!history.workerCodes.isEmpty())
        SysUtil::writeIni(u"MIREL"_s, u"工号"_s, history.workerCodes, u"/mirel.ini"_s);
}

void CheckCardPanel::showTotals(long long lineId)
{
    try {
        if (lineId > 0) {
            const QString first = c.gradeBtn.isEmpty() ? QString() : c.gradeBtn.first()->text();
            Recordset rs = Database::conn().execute(CheckSql::lineTotals(first, lineId));
            if (!SysUtil::recordsetHasRows(rs))
                return;
            c.labInfo[CheckInfo::Totals]->setText(InspectionCard::lineTotals(
                rs, c.machineCount->text(), c.machineCount->toolTip(), c.isChen->isChecked()));
        } else if (!c.TxtBox[CheckField::Card]->text().isEmpty()) {
            Recordset rs =
                Database::conn().execute(CheckSql::cardTotals(c.TxtBox[CheckField::Card]->text()));
            if (!SysUtil::recordsetHasRows(rs))
                return;
            c.labInfo[CheckInfo::Totals]->setText(InspectionCard::cardTotals(rs));
        }
        m_form->layoutPanel().fitDataLabels();
    } catch (const DbError& e) {
        if (!Journal::isOffline(e)) // offline the totals simply stay as they were
            MessageBox::critical(e.message(), m_form);
    }
}

void CheckCardPanel::applyPresets(const QString& fill, const Recordset& rs, bool cardList)
{
    const auto kept = [this, cardList](int index) {
        return !c.TxtBox[index] ||
               (cardList && m_form->rules().keptFromCardPresets(CheckField::Index(index)));
    };
    for (const auto& [index, text] : InspectionCard::presets(fill, rs, int(c.TxtBox.size()), kept))
        c.TxtBox[index]->setText(text);
}
