// Production card lookup of the inspection station: the card's lines in the colour box, the
// chosen line's data, preset fields, process history and the running totals.
#include "stations/inspection/frmCheck.h"

#include "shell/Database.h"
#include "shell/Journal.h"
#include "shell/JournalLabel.h"
#include "shell/MessageBox.h"
#include "shell/Print.h"
#include "shell/SysUtil.h"
#include "shell/SysUtilDb.h"
#include "text/Vb.h"
#include "widgets/CaptionFrame.h"
#include "widgets/fProcessBar.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace {

// Scanners end the card number with CR/LF; the lookup uses the number without them.
QString cleanCard(const QString& text)
{
    QString t = text;
    while (t.endsWith(u'\r') || t.endsWith(u'\n'))
        t.chop(1);
    return t;
}

QString nonNullNumber(const DbValue& v) { return v.isNull() ? QStringLiteral("0") : v.toString(); }

} // namespace

void frmCheck::findCard()
{
    const QString card = cleanCard(c.TxtBox[CheckField::Card]->text());
    if (card != c.TxtBox[CheckField::Card]->text())
        c.TxtBox[CheckField::Card]->setText(card);
    newRoll();
    c.TxtBox[CheckField::Card]->setText(card); // the card looked up, not one kept from before a reopened roll
    loadCard(card, QString());
}

void frmCheck::onComboColorActivated(int index)
{
    m_selectedColor = c.ComboColor->itemText(index);
    if (c.ComboColor->count() == 0)
        return;
    const int i = index < 0 ? 0 : index;
    loadCard(c.TxtBox[CheckField::Card]->text(), c.ComboColor->itemData(i).toString());
}

void frmCheck::loadCard(const QString& cardText, const QString& lineId)
{
    const QString card = cleanCard(cardText);
    if (card.isEmpty())
        return;
    try {
        Connection& conn = Database::conn();
        if (vb::Val(lineId) > 0 && vb::Val(c.checkId->text()) == 0) {
            c.BillDetailId->setText(lineId);
            assignRollNumber();
        }
        // Cards seen in the last days are kept, so that a scan still fills the form offline.
        const QString stored =
            Journal::cachedText(QStringLiteral("listSQL"), QStringLiteral("LoadCheckSQL"), [&] {
                return SysUtil::getListSql(conn, QStringLiteral("listSQL"),
                                           QStringLiteral("LoadCheckSQL"));
            });
        const QString sql = stored.isEmpty() ? CheckSql::cardLookup(m_cfg.billTypes, card)
                                             : CheckSql::storedCardLookup(stored, card);
        bool online = false;
        Recordset rs = Journal::cachedQuery(QStringLiteral("card"), card, sql, &online);
        if (online) // what its labels read besides the roll, for labels printed offline
            JournalLabelRows::keepCard(conn, card, rs);
        if (!SysUtil::recordsetHasRows(rs)) {
            MessageBox::critical(QStringLiteral("没有找到这个卡号!"), this);
            c.machineCount->setText(QStringLiteral("0"));
            c.TxtBox[CheckField::Card]->setFocus();
            c.TxtBox[CheckField::Card]->selectAll();
            return;
        }
        m_cardRs = rs;
        c.ComboColor->clear();
        for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
            c.ComboColor->addItem(rs.text(QStringLiteral("品种")) + u'-' + rs.text(QStringLiteral("颜色"))
                                      + u'-' + rs.text(QStringLiteral("productionSN")),
                                  rs.text(QStringLiteral("BillDetailId")));
            setTag(c.TxtBox[CheckField::Card], rs.text(QStringLiteral("ID")));
        }
        if (lineId.isEmpty() && c.ComboColor->count() > 0) {
            c.ComboColor->setCurrentIndex(0);
            onComboColorActivated(0);
        }
        rs.moveFirst();
        while (!rs.eof() && (lineId.isEmpty() || rs.text(QStringLiteral("BillDetailId")) != lineId))
            rs.moveNext();
        if (!rs.eof() && !lineId.isEmpty()) {
            for (int i = 0; i < c.ComboColor->count(); ++i)
                if (c.ComboColor->itemData(i).toString() == lineId)
                    c.ComboColor->setCurrentIndex(i);
            showCardLine(rs);
        }
        showTotals(qint64(vb::Val(c.BillDetailId->text())));
    } catch (const DbError& e) {
        MessageBox::critical(e.message(), this);
    }
}

void frmCheck::showCardLine(const Recordset& rs)
{
    c.machineCount->setText(nonNullNumber(rs.field(QStringLiteral("送检数量"))));
    c.machineCount->setToolTip(rs.text(QStringLiteral("数量")));
    setTag(c.machineCount, nonNullNumber(rs.field(QStringLiteral("生产单号"))));
    c.BillDetailId->setText(rs.text(QStringLiteral("BillDetailId")));
    setTag(c.BillDetailId, rs.text(QStringLiteral("itemid")));
    c.BillDetailId->setToolTip(rs.text(QStringLiteral("itemid")));
    loadProgressHistory(c.BillDetailId->text());

    const QString remark = rs.text(QStringLiteral("单据备注"));
    c.frameMishu->setCaption(remark.left(30));
    c.checkSpec->setText(remark);
    c.checkSpec->setCursorPosition(0); // a long remark is read from its start

    const QString fill = Journal::cachedText(QStringLiteral("CheckFill"), QStringLiteral("99"), [] {
        return SysUtil::getDictionaryValue(Database::conn(), QStringLiteral("CheckFill"),
                                           QStringLiteral("99"));
    });
    applyPresets(fill, rs, true);
    c.labInfo[3]->setText(QStringLiteral("客户：") + rs.text(QStringLiteral("客户"))
                          + QStringLiteral("  订单号：") + rs.text(QStringLiteral("生产单号"))
                          + QStringLiteral("  交期：") + rs.text(QStringLiteral("交货日期")));
    c.labInfo[2]->setText(QStringLiteral("品种：") + rs.text(QStringLiteral("品种"))
                          + QStringLiteral("  规格：") + rs.text(QStringLiteral("规格"))
                          + QStringLiteral("  颜色：") + rs.text(QStringLiteral("颜色"))
                          + QStringLiteral(" 数量:") + rs.text(QStringLiteral("数量"))
                          + QStringLiteral("  备注：") + rs.text(QStringLiteral("备注")));
    // The order's own label templates, stored with the bill, replace the folder's copies.
    fetchBillTemplates(qint64(vb::Val(rs.text(QStringLiteral("billid")))));
    fitDataLabels();
    emit cardLineShown(rs.text(QStringLiteral("billid")));
}

void frmCheck::loadProgressHistory(const QString& lineId)
{
    if (c.fProcessBar1->isHidden()) {
        progressSetMax(0);
        return;
    }
    progressSetMax(vb::Val(c.machineCount->text()));
    const QString line = vb::sqlNumber(vb::Val(lineId));
    Recordset rs =
        Journal::cachedRead(QStringLiteral("progress"), line, CheckSql::progressHistory(line));
    QString workers;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
        const QString status = rs.text(QStringLiteral("billstatus")).trimmed();
        if (status == u"22" || status == u"33") {
            workers += rs.text(QStringLiteral("usercode")) + u',';
            progressAddMen(rs.text(QStringLiteral("usercode")), std::abs(rs.number(QStringLiteral("viewcount"))));
        } else {
            progressAddBug(rs.number(QStringLiteral("viewcount")));
        }
    }
    if (!workers.isEmpty())
        SysUtil::writeIni(QStringLiteral("MIREL"), QStringLiteral("工号"), workers, QStringLiteral("/mirel.ini"));
}

namespace {

// A sum of metres or kilograms as the inspector reads it: the embedded database adds in binary
// floating point (120.3 + 29.56 comes back as 149.85999999999999). No rolls yet: 0 of them.
QString amountText(const DbValue& v)
{
    return vb::CStr(v.isNull() ? 0.0 : v.toDouble());
}

} // namespace

void frmCheck::showTotals(long long lineId)
{
    try {
        if (lineId > 0) {
            const QString first = c.gradeBtn.isEmpty() ? QString() : c.gradeBtn.first()->text();
            Recordset rs = SysUtil::openRecordset(Database::conn(), CheckSql::lineTotals(first, lineId));
            if (!SysUtil::recordsetHasRows(rs))
                return;
            const double s = rs.field(0).toDouble();
            const QString after = c.isChen->isChecked()
                                      ? amountText(rs.field(QStringLiteral("重量")))
                                      : vb::CStr(vb::Val(c.machineCount->toolTip()) - s);
            c.labInfo[0]->setText(QStringLiteral(" 送检数量：") + c.machineCount->text() +
                                  QStringLiteral(" 已检A品数量：") + amountText(rs.field(0)) +
                                  u'/' + after + QStringLiteral(" 匹数：") + rs.text(1));
        } else if (!c.TxtBox[CheckField::Card]->text().isEmpty()) {
            Recordset rs = SysUtil::openRecordset(Database::conn(), CheckSql::cardTotals(c.TxtBox[CheckField::Card]->text()));
            if (!SysUtil::recordsetHasRows(rs))
                return;
            c.labInfo[0]->setText(QStringLiteral(" 已检数量：") + amountText(rs.field(0)) + u'/' +
                                  amountText(rs.field(QStringLiteral("重量"))) +
                                  QStringLiteral(" 匹数：") + rs.text(1));
        }
        fitDataLabels();
    } catch (const DbError& e) {
        if (!Journal::isOffline(e)) // offline the totals simply stay as they were
            MessageBox::critical(e.message(), this);
    }
}

void frmCheck::applyPresets(const QString& fill, const Recordset& rs, bool cardList)
{
    for (const QString& item : fill.split(u',', Qt::SkipEmptyParts)) {
        const QStringList parts = item.split(u'|');
        const int index = int(vb::Val(parts[0]));
        // A preset naming no field or no column is a configuration slip: it is skipped.
        if (parts.size() < 2 || index < 0 || index >= c.TxtBox.size() || !c.TxtBox[index]
            || !rs.hasField(parts[1].trimmed()) || (cardList && keptFromCardPresets(index)))
            continue;
        c.TxtBox[index]->setText(rs.text(parts[1].trimmed()));
    }
}
