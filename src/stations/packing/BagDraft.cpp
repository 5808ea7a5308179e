// The box being packed, kept in the station's journal file at every roll added, so that a panel
// that loses its power or is killed mid-box starts again with the box's number, weight, remark
// and list instead of a pallet to scan again; the packer checks it and saves as usual.
#include "stations/packing/frmBag.h"

#include "db/DbError.h"
#include "shell/Database.h"
#include "shell/FormDraft.h"
#include "stations/packing/BagSql.h"
#include "text/Vb.h"
#include "widgets/EditGrid.h"

#include <QLabel>
#include <QLineEdit>

using namespace Qt::StringLiterals;

namespace {
const QString Kind = u"bag.unsavedBox"_s;
}

void frmBag::keepBoxDraft()
{
    FormDraft::Rows rows;
    bool unsaved = false;
    for (int r = 1; r < ximaGrid->rows() - 1; ++r) {
        QStringList columns;
        for (int c = 1; c <= kEarlierBoxColumn; ++c)
            columns << ximaGrid->textMatrix(r, c);
        // Rolls added since the box was listed, saved or begun are what a crash would lose.
        const bool added = m_addedRolls.contains(columns[0]);
        unsaved = unsaved || added;
        rows.append({added ? u"added"_s : u"listed"_s, columns.join(FormDraft::Separator)});
    }
    if (!unsaved) {
        m_addedRolls.clear();
        FormDraft::keep(Kind, {});
        return;
    }
    for (int i = 0; i < bagNumber.size(); ++i)
        rows.append({u"box%1"_s.arg(i), bagNumber[i]->text()});
    FormDraft::keep(Kind, rows);
}

void frmBag::forgetBoxDraft()
{
    m_addedRolls.clear();
    FormDraft::keep(Kind, {});
}

bool frmBag::restoreBoxDraft()
{
    const FormDraft::Rows kept = FormDraft::kept(Kind);
    QStringList fields(bagNumber.size());
    QList<QStringList> rows;
    QSet<QString> added;
    for (const auto& [name, value] : kept) {
        if (name.startsWith(u"box"_s)) {
            fields[qBound(0, name.mid(3).toInt(), int(fields.size()) - 1)] = value;
            continue;
        }
        const QStringList columns = value.split(FormDraft::Separator);
        if (columns.size() != kEarlierBoxColumn)
            continue;
        rows << columns;
        if (name == u"added" && !savedInto(columns[0], columns[3]))
            added.insert(columns[0]);
    }
    if (added.isEmpty()) {
        if (!kept.isEmpty())
            forgetBoxDraft();
        return false;
    }
    clearList();
    for (int i = 0; i < bagNumber.size(); ++i)
        bagNumber[i]->setText(fields[i]);
    for (const QStringList& columns : rows) {
        const int row = ximaGrid->rows() - 1;
        addXimaFields(columns.mid(0, 6) << QString());
        ximaGrid->setTextMatrix(row, kEarlierBoxColumn, columns.last());
    }
    m_addedRolls = added;
    sumPggCheck();
    LabMsg->setText(u"已恢复上次没有保存的箱 %1（%2 卷），请核对后保存"_s.arg(bagNumber[0]->text())
                        .arg(ximaGrid->rows() - 2));
    return true;
}

bool frmBag::savedInto(const QString& roll, const QString& box) const
{
    // The box was saved as the power went, before it could be forgotten here.
    try {
        Recordset rs = Database::conn().execute(BagSql::rollBox(vb::Val(roll)));
        return !rs.eof() && rs.text(0) == box;
    } catch (const DbError&) {
        return false; // offline: the packer sees it and saves it again
    }
}
