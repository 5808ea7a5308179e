#include "stations/packing/PackingBox.h"

#include "db/Connection.h"
#include "db/DbError.h"
#include "db/Recordset.h"
#include "db/Transaction.h"
#include "stations/packing/BagSql.h"
#include "text/Vb.h"

#include <QMap>

using namespace Qt::StringLiterals;

namespace {
// Between the columns of a roll kept as one value: the unit separator the journal's drafts use.
const QChar Separator{0x1f};
} // namespace

int PackingBox::indexOf(const QString& id) const
{
    for (int i = 0; i < size(); ++i)
        if (m_rolls[i].id == id)
            return i;
    return -1;
}

PackingBox::Added PackingBox::add(const QStringList& fields, const QString& earlierBox)
{
    if (fields.size() != 7)
        return Added::NotSevenFields;
    if (indexOf(fields[0]) >= 0)
        return Added::AlreadyListed;
    m_rolls.append({fields[0], fields[1], fields[2], fields[3], vb::CStr(vb::Val(fields[4])),
                    fields[5], earlierBox});
    return Added::Yes;
}

void PackingBox::remove(int index)
{
    if (index >= 0 && index < size())
        m_rolls.removeAt(index);
}

void PackingBox::setRemark(int index, const QString& remark)
{
    if (index >= 0 && index < size())
        m_rolls[index].remark = remark;
}

QString PackingBox::totals() const
{
    double total = 0;
    for (const BoxRoll& r : m_rolls)
        total += vb::Val(r.quantity);
    return QString::number(size()) + u'/' + vb::CStr(total);
}

QString PackingBox::movedNote() const
{
    QMap<QString, QStringList> byBox;
    for (const BoxRoll& r : m_rolls)
        if (!r.earlierBox.isEmpty() && !r.box.isEmpty())
            byBox[r.earlierBox] << r.id;
    QString note;
    for (auto it = byBox.cbegin(); it != byBox.cend(); ++it)
        note += u"；卷 %1 已从箱 %2 移到本箱"_s.arg(it.value().join(u'、'), it.key());
    return note;
}

QList<qint64> PackingBox::rollIds() const
{
    QList<qint64> ids;
    for (const BoxRoll& r : m_rolls)
        if (const qint64 id = qint64(vb::Val(r.id)); id > 0)
            ids.append(id);
    return ids;
}

QString PackingBox::earlierBox(Connection& conn, double roll, const QString& box)
{
    Recordset rs = conn.execute(BagSql::rollBox(roll));
    const QString earlier = rs.eof() ? QString() : rs.text(0);
    return earlier == box ? QString() : earlier;
}

QString PackingBox::moveQuestion(const QString& earlierBox)
{
    return u"该卷已在箱 %1 中，移到本箱？"_s.arg(earlierBox);
}

bool PackingBox::savedInto(Connection& conn, const QString& roll, const QString& box)
{
    try {
        Recordset rs = conn.execute(BagSql::rollBox(vb::Val(roll)));
        return !rs.eof() && rs.text(0) == box;
    } catch (const DbError&) {
        return false; // offline: the packer sees the box again and saves it again
    }
}

JournalStep PackingBox::removeStep(double roll, const QString& box)
{
    return {BagSql::removeRoll(roll, box)};
}

void PackingBox::removeFromBox(Connection& conn, double roll, const QString& box)
{
    conn.executeOnRow(removeStep(roll, box).sql);
}

QList<PackingBox::SaveStep> PackingBox::saveSteps(const QString& weight, const QString& boxRemark,
                                                  const QDateTime& when,
                                                  const QString& machine) const
{
    QList<SaveStep> steps;
    for (int i = 0; i < size(); ++i) {
        const BoxRoll& r = m_rolls[i];
        // The box remark typed above the list goes onto the rolls without a remark of their own.
        const BagSql::BagRow row{vb::Val(r.id), r.box, r.remark.isEmpty() ? boxRemark : r.remark};
        if (row.id > 0 && !row.bagNumber.isEmpty())
            steps.append({i, {BagSql::saveBag(row, vb::Val(weight), when, machine), false, true}});
    }
    return steps;
}

void PackingBox::save(Connection& conn, const QList<SaveStep>& steps, int* failed)
{
    Transaction trans(conn);
    for (const SaveStep& s : steps) {
        if (failed)
            *failed = s.index;
        conn.executeOnRow(s.step.sql);
    }
    trans.commit();
}

PackingBox::Listed PackingBox::load(Connection& conn, const QString& box)
{
    Listed listed;
    Recordset rs = conn.execute(BagSql::loadBox(box));
    // The box comes back with its remarks and weight, so that saving it again after a roll was
    // taken out or added keeps them.
    for (rs.moveFirst(); !rs.eof(); rs.moveNext())
        listed.rows.append({rs.text(u"id"_s), rs.text(u"itemname"_s), rs.text(u"itemspec"_s),
                            rs.text(u"bagnumber"_s), rs.text(u"oncount"_s), rs.text(u"bagremark"_s),
                            rs.text(u"bagweight"_s)});
    if (rs.recordCount() > 0) {
        rs.moveFirst();
        listed.weight = rs.text(u"bagweight"_s);
    }
    return listed;
}

PackingBox::DraftRows PackingBox::draft(const QStringList& boxFields,
                                        const QSet<QString>& added) const
{
    DraftRows rows;
    bool unsaved = false;
    for (const BoxRoll& r : m_rolls) {
        // Rolls added since the box was listed, saved or begun are what a crash would lose.
        const bool isAdded = added.contains(r.id);
        unsaved = unsaved || isAdded;
        const QStringList columns{r.id,       r.itemName, r.spec,      r.box,
                                  r.quantity, r.remark,   r.earlierBox};
        rows.append({isAdded ? u"added"_s : u"listed"_s, columns.join(Separator)});
    }
    if (!unsaved)
        return {};
    for (int i = 0; i < boxFields.size(); ++i)
        rows.append({u"box%1"_s.arg(i), boxFields[i]});
    return rows;
}

std::optional<RestoredBox>
PackingBox::restore(const DraftRows& kept, int boxFields,
                    const std::function<bool(const QString&, const QString&)>& savedInto)
{
    RestoredBox r;
    r.boxFields = QStringList(boxFields);
    for (const auto& [name, value] : kept) {
        if (name.startsWith(u"box"_s)) {
            r.boxFields[qBound(0, name.mid(3).toInt(), boxFields - 1)] = value;
            continue;
        }
        const QStringList columns = value.split(Separator);
        if (columns.size() != 7)
            continue;
        r.box.add(columns.mid(0, 6) << QString(), columns.last());
        // A box saved as the power went, before it could be forgotten, is not unsaved.
        if (name == u"added" && !savedInto(columns[0], columns[3]))
            r.added.insert(columns[0]);
    }
    if (r.added.isEmpty())
        return std::nullopt;
    return r;
}
