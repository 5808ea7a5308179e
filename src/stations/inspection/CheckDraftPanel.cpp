// The unsaved roll as name/value rows in the journal file: one durable write per defect.
#include "stations/inspection/CheckDraftPanel.h"

#include "stations/inspection/CheckControls.h"
#include "stations/inspection/frmCheck.h"
#include "stations/inspection/CheckRollPanel.h"
#include "stations/inspection/CheckCardPanel.h"
#include "stations/inspection/CheckDefectGrid.h"
#include "stations/inspection/DefectCamera.h"

#include <QLineEdit>

using namespace Qt::StringLiterals;

CheckDraftPanel::CheckDraftPanel(frmCheck* form) : QObject(form), m_form(form)
{
    connect(form, &frmCheck::commandRequested, this, [this](int index) {
        if (index == CheckCmd::Recompute)
            keep();
    });
    // A defect's picture comes after its row: kept once the row names it.
    connect(&form->defectCamera(), &DefectCamera::taken, this, [this] { keep(); }, Qt::QueuedConnection);
    connect(form, &frmCheck::rollSaved, this, &CheckDraftPanel::forget);
    connect(form, &frmCheck::rollCleared, this, &CheckDraftPanel::forget);
}

QString CheckDraftPanel::kind() const { return u"check.unsavedRoll"_s; }

bool CheckDraftPanel::unsaved() const { return !m_form->defectGrid().rows().isEmpty(); }

void CheckDraftPanel::keep()
{
    if (m_restoring)
        return;
    if (!unsaved()) {
        forget();
        return;
    }
    CheckControls& c = m_form->controls();
    FormDraft::Rows rows;
    const auto add = [&rows](const QString& name, const QString& value) {
        rows.append({name, value});
    };
    add(u"card"_s, c.TxtBox[CheckField::Card]->text());
    add(u"line"_s, c.BillDetailId->text());
    add(u"roll"_s, c.checkId->text());
    for (int i = 0; i < c.TxtBox.size(); ++i)
        if (c.TxtBox[i])
            add(u"field%1"_s.arg(i), c.TxtBox[i]->text());
    add(u"remark"_s, c.Text1->text());
    add(u"grade"_s, m_form->currentGrade());
    for (const QStringList& d : m_form->defectGrid().rows())
        add(u"defect"_s, d.join(FormDraft::Separator));
    addRows(rows);
    FormDraft::keep(kind(), rows);
    m_kept = true;
}

void CheckDraftPanel::forget()
{
    if (m_restoring)
        return;
    began();
    if (m_kept) // one durable write when there is something to forget, not at every field
        FormDraft::keep(kind(), {});
    m_kept = false;
}

void CheckDraftPanel::loadKept(const Values& value)
{
    if (const qint64 id = value.value(u"roll"_s).toLongLong(); id > 0)
        m_form->rollPanel().loadRoll(id);
    else
        m_form->cardPanel().loadCard(value.value(u"card"_s), value.value(u"line"_s));
}

QString CheckDraftPanel::restoredStatus(int defects) const
{
    return u"已恢复上次没有保存的卷 %1（%2 个疵点），请核对后保存"_s
        .arg(m_form->controls().TxtBox[CheckField::RollNumber]->text())
        .arg(defects);
}

bool CheckDraftPanel::restore()
{
    const FormDraft::Rows kept = FormDraft::kept(kind());
    if (kept.isEmpty()) {
        m_kept = false;
        return false;
    }
    Values value;
    QList<QStringList> defects;
    for (const auto& [name, text] : kept) {
        if (name == u"defect")
            defects << text.split(FormDraft::Separator);
        else
            value.insert(name, text);
    }
    if (savedMeanwhile(value)) {
        forget();
        return false;
    }
    CheckControls& c = m_form->controls();
    m_restoring = true;
    // The card (or the saved roll being changed) as the database or the kept lookups give it,
    // then what the inspector had on the form over it.
    loadKept(value);
    for (int i = 0; i < c.TxtBox.size(); ++i)
        if (c.TxtBox[i] && value.contains(u"field%1"_s.arg(i)))
            c.TxtBox[i]->setText(value.value(u"field%1"_s.arg(i)));
    c.Text1->setText(value.value(u"remark"_s));
    m_form->defectGrid().setRows(defects);
    m_form->runCommand(CheckCmd::Recompute);
    // A grade other than the automatic one was chosen by hand, and stays so for the roll.
    if (const QString grade = value.value(u"grade"_s); grade != m_form->currentGrade()) {
        m_form->selectGrade(grade);
        emit m_form->gradeTouched();
    }
    m_restoring = false;
    keep();
    m_form->setStatus(restoredStatus(int(defects.size())));
    return true;
}
