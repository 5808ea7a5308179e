// The unsaved roll as name/value rows of the journal file's kept lookups: one durable write per
// defect, a few milliseconds on the panel's disk.
#include "stations/inspection/CheckDraftPart.h"

#include "db/DbError.h"
#include "db/Recordset.h"
#include "journal/JournalStore.h"
#include "shell/Journal.h"
#include "stations/inspection/CheckControls.h"
#include "stations/inspection/frmCheck.h"

#include <QLineEdit>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

const QString Kind = u"check.unsavedRoll"_s;
const QString Key = u"frame"_s;
const QChar Separator = QChar(0x1f); // between the columns of a defect row

} // namespace

CheckDraftPart::CheckDraftPart(frmCheck* form) : QObject(form), m_form(form)
{
    connect(form, &frmCheck::commandRequested, this, [this](int index) {
        if (index == 15)
            keep();
    });
    connect(form, &frmCheck::rollSaved, this, &CheckDraftPart::forget);
    connect(form, &frmCheck::rollCleared, this, &CheckDraftPart::forget);
}

void CheckDraftPart::keep()
{
    if (m_restoring)
        return;
    const QList<QStringList> defects = m_form->defectRows();
    if (defects.isEmpty()) {
        forget();
        return;
    }
    CheckControls& c = m_form->controls();
    Recordset rows(QStringList{u"name"_s, u"value"_s});
    const auto add = [&rows](const QString& name, const QString& value) {
        rows.addRow({DbValue(name), DbValue(value)});
    };
    add(u"card"_s, c.TxtBox[6]->text());
    add(u"line"_s, c.BillDetailId->text());
    add(u"roll"_s, c.checkId->text());
    for (int i = 0; i < c.TxtBox.size(); ++i)
        if (c.TxtBox[i])
            add(u"field%1"_s.arg(i), c.TxtBox[i]->text());
    add(u"remark"_s, c.Text1->text());
    add(u"grade"_s, m_form->currentGrade());
    for (const QStringList& d : defects)
        add(u"defect"_s, d.join(Separator));
    try {
        Journal::store().putLookup(Kind, Key, rows);
    } catch (const DbError&) {
        // The roll itself is on the screen; only a crash would lose it, as without this keeping.
    }
}

void CheckDraftPart::forget()
{
    if (m_restoring)
        return;
    try {
        Journal::store().putLookup(Kind, Key, Recordset(QStringList{u"name"_s, u"value"_s}));
    } catch (const DbError&) {
    }
}

bool CheckDraftPart::restore()
{
    std::optional<Recordset> kept;
    try {
        kept = Journal::store().lookup(Kind, Key);
    } catch (const DbError&) {
    }
    if (!kept || kept->recordCount() == 0)
        return false;
    QHash<QString, QString> value;
    QList<QStringList> defects;
    for (const QList<DbValue>& row : kept->rows()) {
        const QString name = row.value(0).toString(), text = row.value(1).toString();
        if (name == u"defect")
            defects << text.split(Separator);
        else
            value.insert(name, text);
    }
    CheckControls& c = m_form->controls();
    m_restoring = true;
    // The card (or the saved roll being changed) as the database or the kept lookups give it,
    // then what the inspector had on the form over it.
    if (const qint64 id = value.value(u"roll"_s).toLongLong(); id > 0)
        m_form->loadRoll(id);
    else
        m_form->loadCard(value.value(u"card"_s), value.value(u"line"_s));
    for (int i = 0; i < c.TxtBox.size(); ++i)
        if (c.TxtBox[i] && value.contains(u"field%1"_s.arg(i)))
            c.TxtBox[i]->setText(value.value(u"field%1"_s.arg(i)));
    c.Text1->setText(value.value(u"remark"_s));
    m_form->setDefectRows(defects);
    m_form->runCommand(15);
    m_form->selectGrade(value.value(u"grade"_s));
    m_restoring = false;
    keep();
    m_form->setStatus(u"已恢复上次没有保存的卷 %1（%2 个疵点），请核对后保存"_s
                          .arg(c.TxtBox[18]->text())
                          .arg(defects.size()));
    return true;
}
