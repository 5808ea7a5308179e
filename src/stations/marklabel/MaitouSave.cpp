// The mark-label window's side of a package's save: its rules (MaitouPackage), its article and
// the card of a reopened package, and the automatic article kept once a package is saved.
#include "stations/marklabel/frmMaitou.h"

#include "shell/Database.h"
#include "shell/Journal.h"
#include "shell/JournalLabel.h"
#include "stations/marklabel/MaitouPackage.h"
#include "stations/marklabel/MaitouSql.h"
#include "text/Vb.h"
#include "stations/inspection/CheckSavePanel.h"

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

void frmMaitou::beforeSave()
{
    // The article is found or made again by the save (the rules' prepare).
    m_autoItemId = 0;
}

void frmMaitou::rememberAutoItem()
{
    if (!package().autoItems())
        return;
    m_autoItemId = qint64(vb::Val(savePanel().lastSavedRoll().itemId));
    if (m_autoItemId <= 0)
        return;
    try {
        MaitouPackage::keepAutoItem(Journal::store(), savePanel().lastSavedRoll(), m_autoItemId);
    } catch (const DbError&) {
        // The journal cannot be opened: only offline saves of this article would need it.
    }
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
