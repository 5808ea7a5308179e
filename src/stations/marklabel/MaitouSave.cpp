// The mark-label window's package save: the article check before the required fields, the
// quantity check after them, the two numbering scopes, the pallet number in the statements and
// the article made for a package whose article is not in the master yet.
#include "stations/marklabel/frmMaitou.h"

#include "config/MirelIni.h"
#include "shell/Database.h"
#include "shell/SqlText.h"
#include "shell/SysUtil.h"
#include "shell/SysUtilDb.h"
#include "stations/marklabel/MaitouSql.h"
#include "text/Vb.h"

#include <QLineEdit>

using namespace Qt::StringLiterals;

bool frmMaitou::validateCardOrLine()
{
    if (!autoItems() && tagOf(c.TxtBox[22]).isEmpty()) {
        setStatus(u"请选择商品"_s);
        c.TxtBox[22]->setFocus();
        return false;
    }
    return true;
}

bool frmMaitou::quantityValid(const QString& text) const { return vb::Val(text) > 0; }

bool frmMaitou::validateExtra()
{
    if (!quantityValid(c.TxtBox[7]->text())) {
        setStatus(u"请输入有效的数量"_s);
        c.TxtBox[7]->setFocus();
        return false;
    }
    return true;
}

QString frmMaitou::rollNumberCondition() const
{
    // Packages are numbered per article or per card line; a dye lot has no numbers of its own.
    if (readMirel(u"codetype"_s, defaultCodetype()) == u"面料编码")
        return u"   itemid  ="_s + sqlNum(double(articleId()));
    return u"   billdetailid  ="_s + sqlNum(vb::Val(c.BillDetailId->text()));
}

long long frmMaitou::articleId() const
{
    // The automatic article is the one whose name, spare B and colour are on the form: found or
    // made by the last save, and again by the next one.
    if (autoItems() && m_autoItemId > 0)
        return m_autoItemId;
    return qint64(vb::Val(tagOf(c.BillDetailId)));
}

CheckSql::Roll frmMaitou::rollValues() const
{
    CheckSql::Roll r = frmCheck::rollValues();
    r.itemId = double(articleId());
    return r;
}

QString frmMaitou::insertStatement(const CheckSql::Roll& r) const
{
    return CheckSql::insertRoll(r, u"bagnumber,"_s, u'\'' + sqlText(c.TxtBox[28]->text()) + u'\'');
}

QString frmMaitou::updateStatement(const CheckSql::Roll& r, long long id) const
{
    return CheckSql::updateRoll(r, id, u"  bagnumber='"_s + sqlText(c.TxtBox[28]->text()) + u"',"_s,
                                updateDateSet());
}

QString frmMaitou::item5For(const QString& checkCode) const
{
    Recordset rs = SysUtil::openRecordset(
        Database::conn(), MaitouSql::item5Lookup(sqlNum(vb::Val(c.BillDetailId->text()))));
    // A line without a stock-number offset gives the package none.
    if (!SysUtil::recordsetHasRows(rs) || rs.field(0).isNull())
        return QString();
    return vb::CStr(vb::Val(checkCode) + rs.field(0).toDouble());
}

void frmMaitou::fillFromRoll(const Recordset& rs)
{
    frmCheck::fillFromRoll(rs);
    m_autoItemId = 0;
    const QString itemId = rs.text(u"itemid"_s);
    setTag(c.BillDetailId, itemId);
    setTag(c.TxtBox[22], vb::Val(itemId) > 0 ? itemId : QString());
    c.TxtBox[28]->setText(rs.text(u"bagnumber"_s));
}

void frmMaitou::loadRollCard(const QString& card, const QString& lineId)
{
    // A package of a chosen article has no card to look up; its article comes back with the row.
    if (card == u"简单检验"_s) {
        c.TxtBox[6]->setText(card);
        return;
    }
    frmCheck::loadRollCard(card, lineId);
}

void frmMaitou::beforeSave()
{
    m_autoItemId = 0;
    if (!autoItems())
        return;
    Connection& conn = Database::conn();
    const QString name = c.TxtBox[22]->text(), spareB = c.TxtBox[25]->text(),
                  colour = c.TxtBox[23]->text();
    Recordset type = SysUtil::openRecordset(conn, MaitouSql::maxItemType());
    const QString t = sqlNum(SysUtil::recordsetHasRows(type) ? type.field(0).toDouble() : 0);
    Recordset found = SysUtil::openRecordset(conn, MaitouSql::findAutoItem(name, spareB, colour));
    if (SysUtil::recordsetHasRows(found)) {
        m_autoItemId = found.field(0).toLongLong();
        return;
    }
    // Inside the package's transaction: a failed save leaves no article behind either.
    Recordset made = conn.execute(MaitouSql::insertAutoItem(name, t, spareB, colour)
                                  + u";"_s + CheckSql::lastIdentity());
    m_autoItemId = made.isOpen() && !made.eof() ? made.field(0).toLongLong() : 0;
}
