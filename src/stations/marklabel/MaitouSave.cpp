// The mark-label window's package save: the article check before the required fields, the
// quantity check after them, the two numbering scopes, the pallet number in the statements and
// the article made for a package whose article is not in the master yet.
#include "stations/marklabel/frmMaitou.h"

#include "config/MirelIni.h"
#include "shell/Database.h"
#include "shell/Journal.h"
#include "shell/JournalLabel.h"
#include "shell/SqlText.h"
#include "shell/SysUtil.h"
#include "shell/SysUtilDb.h"
#include "stations/marklabel/MaitouPackage.h"
#include "stations/marklabel/MaitouSql.h"
#include "text/Vb.h"
#include "time/Clock.h"

#include <QDateTime>
#include <QLineEdit>

using namespace Qt::StringLiterals;

std::unique_ptr<InspectionRoll> frmMaitou::makeRules() const
{
    return std::make_unique<MaitouPackage>(m_cfg);
}

const MaitouPackage& frmMaitou::package() const { return static_cast<const MaitouPackage&>(rules()); }

void frmMaitou::completeRoll(RollForm& roll) const { roll.itemId = QString::number(articleId()); }

long long frmMaitou::articleId() const
{
    // The automatic article is the one whose name, spare B and colour are on the form: found or
    // made by the last save, and again by the next one.
    if (package().autoItems() && m_autoItemId > 0)
        return m_autoItemId;
    return qint64(vb::Val(tagOf(c.BillDetailId)));
}

QString frmMaitou::item5For(const QString& checkCode) const
{
    // Kept for the offline journal as the card itself: a package saved offline gets its stock
    // number from the line's offset seen last.
    const QString line = sqlNum(vb::Val(c.BillDetailId->text()));
    Recordset rs = Journal::cachedRead(u"maitouItem5"_s, line, MaitouSql::item5Lookup(line));
    // A line without a stock-number offset gives the package none.
    if (!SysUtil::recordsetHasRows(rs) || rs.field(0).isNull())
        return QString();
    return vb::CStr(vb::Val(checkCode) + rs.field(0).toDouble());
}

void frmMaitou::fillFromRoll(const Recordset& rs)
{
    frmCheck::fillFromRoll(rs); // with the package's article and pallet
    m_autoItemId = 0;
}

void frmMaitou::loadRollCard(const QString& card, const QString& lineId)
{
    // A package of a chosen article has no card to look up; its article comes back with the row.
    if (card == u"简单检验"_s) {
        c.TxtBox[CheckField::Card]->setText(card);
        return;
    }
    frmCheck::loadRollCard(card, lineId);
}

namespace {

QString autoItemKey(const QString& name, const QString& spareB, const QString& colour)
{
    return name + u'\x1f' + spareB + u'\x1f' + colour;
}

void keepAutoItem(const QString& key, long long id)
{
    if (id <= 0)
        return;
    Recordset one({u"itemid"_s});
    one.addRow({DbValue(id)});
    try {
        Journal::store().putLookup(u"autoItem"_s, key, one);
    } catch (const DbError&) {
        // Only the offline saves of this article need it; online ones find it again.
    }
}

} // namespace

void frmMaitou::keepPallet() const
{
    // The pallet a new package goes on is the one a restart goes on with, also when the database
    // is away then and the packages since are still in the journal.
    const QString pallet = c.TxtBox[CheckField::Pallet]->text();
    if (pallet.isEmpty() || vb::Val(c.checkId->text()) > 0)
        return;
    Recordset kept({u"bagnumber"_s, u"item2"_s});
    kept.addRow({DbValue(pallet), DbValue(c.TxtBox[CheckField::Style]->text())});
    try {
        Journal::store().putLookup(keptPalletKind(), m_cfg.machineId, kept);
    } catch (const DbError&) {
        // Only a restart while the database is away would miss it: the operator types the pallet.
    }
}

long long frmMaitou::keptAutoItem(const QString& key) const
{
    // An article is made on the database with an id only the database gives; a package of an
    // article this station never found or made cannot be written offline without inventing one,
    // so the save stops and the form keeps the package until the database is back.
    std::optional<Recordset> kept;
    try {
        kept = Journal::store().lookup(u"autoItem"_s, key);
    } catch (const DbError&) {
    }
    if (kept && SysUtil::recordsetHasRows(*kept))
        return kept->field(0).toLongLong();
    throw DbError(u"数据库离线：商品「%1」还没有建立，离线时不能新建商品。这一箱没有保存，"
                  "数据库连上后请再按保存。"_s.arg(c.TxtBox[CheckField::ItemName]->text()));
}

void frmMaitou::beforeSave()
{
    keepPallet();
    m_autoItemId = 0;
    if (!package().autoItems())
        return;
    const QString name = c.TxtBox[CheckField::ItemName]->text(), spareB = c.TxtBox[CheckField::SpareB]->text(),
                  colour = c.TxtBox[CheckField::Color]->text();
    const QString key = autoItemKey(name, spareB, colour);
    if (savingOffline()) {
        m_autoItemId = keptAutoItem(key);
        return;
    }
    Connection& conn = Database::conn();
    Recordset type = SysUtil::openRecordset(conn, MaitouSql::maxItemType());
    const QString t = sqlNum(SysUtil::recordsetHasRows(type) ? type.field(0).toDouble() : 0);
    Recordset found = SysUtil::openRecordset(conn, MaitouSql::findAutoItem(name, spareB, colour));
    if (SysUtil::recordsetHasRows(found)) {
        m_autoItemId = found.field(0).toLongLong();
        keepAutoItem(key, m_autoItemId);
        return;
    }
    // Inside the package's transaction: a failed save leaves no article behind either. It is
    // kept for offline saves once the package is committed (rememberAutoItem).
    Recordset made = conn.execute(MaitouSql::insertAutoItem(name, t, spareB, colour)
                                  + u";"_s + CheckSql::lastIdentity());
    m_autoItemId = made.isOpen() && !made.eof() ? made.field(0).toLongLong() : 0;
}

void frmMaitou::rememberAutoItem()
{
    if (!package().autoItems() || m_autoItemId <= 0)
        return;
    keepAutoItem(autoItemKey(c.TxtBox[CheckField::ItemName]->text(), c.TxtBox[CheckField::SpareB]->text(), c.TxtBox[CheckField::Color]->text()),
                 m_autoItemId);
    // Its labels printed offline show the article as online ones do.
    if (JournalLabelRows::articleKept(m_autoItemId))
        return;
    try {
        JournalLabelRows::keepArticle(
            Database::conn().execute(MaitouSql::loadItem(QString::number(m_autoItemId))));
    } catch (const DbError&) {
        // The package is saved; only a label printed offline would miss the article's fields.
    }
}
