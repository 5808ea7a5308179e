// The unsaved package as name/value rows in the journal file: one durable write per change the
// packer makes, none for what the devices write.
#include "stations/marklabel/MaitouDraftPanel.h"

#include "config/MirelIni.h"
#include "db/DbError.h"
#include "shell/Database.h"
#include "stations/marklabel/MaitouSql.h"
#include "stations/marklabel/frmMaitou.h"
#include "text/Vb.h"
#include "stations/inspection/CheckCardPanel.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QTimer>

using namespace Qt::StringLiterals;

MaitouDraftPanel::MaitouDraftPanel(frmMaitou* form) : CheckDraftPanel(form), m_maitou(form)
{
    const CheckControls& c = form->controls();
    for (QLineEdit* box : c.TxtBox)
        if (box)
            connect(box, &QLineEdit::textChanged, this, &MaitouDraftPanel::changed);
    connect(c.Text1, &QLineEdit::textChanged, this, &MaitouDraftPanel::changed);
    began();
}

QString MaitouDraftPanel::kind() const { return m_maitou->objectName() + u".unsavedPackage"_s; }

QStringList MaitouDraftPanel::work() const
{
    const CheckControls& c = m_maitou->controls();
    QStringList work{tagOf(c.TxtBox[CheckField::ItemName]), c.Text1->text()};
    for (int i = 0; i < c.TxtBox.size(); ++i) {
        const bool device = (i == 7 && c.Check2->isChecked()) || (i == 14 && c.isChen->isChecked());
        work << (c.TxtBox[i] && i != 18 && !device ? c.TxtBox[i]->text() : QString());
    }
    return work;
}

bool MaitouDraftPanel::unsaved() const { return CheckDraftPanel::unsaved() || work() != m_begun; }

void MaitouDraftPanel::changed()
{
    if (restoring() || m_queued)
        return;
    m_queued = true;
    QTimer::singleShot(0, this, [this] {
        m_queued = false;
        // A connected counter writes its length several times a second: that alone is no
        // change of the packer's, and kept with the next one.
        const QStringList now = work();
        if (now == m_written)
            return;
        m_written = now;
        keep();
    });
}

void MaitouDraftPanel::addRows(FormDraft::Rows& rows) const
{
    rows.append({u"article"_s, tagOf(m_maitou->controls().TxtBox[CheckField::ItemName])});
}

void MaitouDraftPanel::loadKept(const Values& value)
{
    if (value.value(u"roll"_s).toLongLong() > 0) {
        CheckDraftPanel::loadKept(value);
        return;
    }
    // A package of a card line, of a chosen article, or of both.
    const QString card = value.value(u"card"_s);
    if (!card.isEmpty() && card != u"简单检验")
        m_maitou->cardPanel().loadCard(card, value.value(u"line"_s));
    if (const QString article = value.value(u"article"_s); vb::Val(article) > 0)
        m_maitou->loadItem(article);
}

bool MaitouDraftPanel::savedMeanwhile(const Values& value) const
{
    // The save was committed as the panel went, before the package could be forgotten here. A
    // number another station saved meanwhile is not this one: its station number differs.
    if (value.value(u"roll"_s).toLongLong() > 0)
        return false; // a change of a saved package: put back, saving it again changes nothing
    try {
        const QString line = value.value(u"line"_s);
        return Database::conn()
                   .execute(MaitouSql::packageSaved(value.value(u"field18"_s), value.value(u"field28"_s),
                                                    m_maitou->settings().machineId,
                                                    vb::Val(line)))
                   .field(0)
                   .toLongLong()
               > 0;
    } catch (const DbError&) {
        return false; // offline: the packer sees the package and checks it
    }
}

QString MaitouDraftPanel::restoredStatus(int defects) const
{
    Q_UNUSED(defects);
    const CheckControls& c = m_maitou->controls();
    const QString name = c.TxtBox[CheckField::ItemName]->text();
    return u"已恢复上次没有保存的%1 %2%3，请核对后保存"_s.arg(
        c.TxtBox[CheckField::RollNumber]->accessibleName().remove(u'号'), c.TxtBox[CheckField::RollNumber]->text(),
        name.isEmpty() ? QString() : u"（%1）"_s.arg(name));
}
