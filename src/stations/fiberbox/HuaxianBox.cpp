#include "stations/fiberbox/HuaxianBox.h"

#include "db/Recordset.h"
#include "text/Vb.h"
#include "time/Clock.h"

#include <algorithm>

using namespace Qt::StringLiterals;

bool HuaxianBox::quantityValid(const QString& text) const
{
    // "12,5" or "12.5kg" is a typing slip, not a net weight of 12.
    return vb::IsNumeric(text) && vb::Val(text) > 0;
}

QString HuaxianBox::palletSummary(int boxes, double netWeight) const
{
    return u"净重:"_s + vb::CStr(netWeight) + u"  箱数:"_s + QString::number(boxes);
}

QString HuaxianBox::composeBatch(const QString& pattern, const RollForm& roll, const QString& base)
{
    QList<std::pair<QString, CheckField::Index>> tokens = formulaFields();
    tokens.prepend({u"[缸号]"_s, CheckField::DyeLot});
    // One pass: a field text that looks like a token stays as typed.
    QString out;
    for (qsizetype i = 0; i < pattern.size();) {
        const auto hit = std::find_if(tokens.cbegin(), tokens.cend(), [&](const auto& t) {
            return QStringView(pattern).mid(i).startsWith(t.first);
        });
        if (hit == tokens.cend()) {
            out += pattern[i++];
            continue;
        }
        out += hit->second == CheckField::DyeLot ? base : roll[hit->second];
        i += hit->first.size();
    }
    return out;
}

QString HuaxianBox::withGradeLetter(QString batch, int gradeIndex)
{
    if (batch.endsWith(u'B') || batch.endsWith(u'C'))
        batch.chop(1);
    if (gradeIndex == 1)
        batch += u'B';
    else if (gradeIndex == 2)
        batch += u'C';
    return batch;
}

QString HuaxianBox::updateDateSet() const { return u"  checkDate = '"_s + Clock::nowText() + u"'"_s; }

QList<std::pair<CheckField::Index, QString>> HuaxianBox::fromArticle(const Recordset& item) const
{
    QList<std::pair<CheckField::Index, QString>> tare;
    const std::pair<CheckField::Index, QString> columns[] = {{CheckField::Spare4, m_cfg.tareBoxField},
                                                             {CheckField::Spare6, m_cfg.tareConeField}};
    for (const auto& [field, column] : columns)
        if (!column.isEmpty() && item.hasField(column) && !item.text(column).trimmed().isEmpty())
            tare.append({field, item.text(column).trimmed()});
    return tare;
}

void HuaxianBatch::reopening(bool patterned)
{
    m_composed.clear();
    m_base.reset();
    m_reopening = patterned;
}

void HuaxianBatch::reopened(const QString& batch)
{
    m_reopening = false;
    m_composed = batch;
}

QString HuaxianBatch::base(const QString& shown) const
{
    return m_base && shown == m_composed ? *m_base : shown;
}

std::optional<QString> HuaxianBatch::atSave(const QString& pattern, const RollForm& roll)
{
    // The pattern is read at every save: the office may change it while the station runs.
    if (pattern.isEmpty())
        return std::nullopt;
    const QString shown = roll[CheckField::DyeLot];
    if (!m_base && !m_composed.isEmpty() && shown == m_composed)
        return std::nullopt; // a reopened box whose batch nobody touched
    const QString given = base(shown);
    m_composed = HuaxianBox::composeBatch(pattern, roll, given);
    m_base = given;
    return m_composed;
}

std::optional<QString> HuaxianBatch::afterGrade(const QString& shown, int index) const
{
    if (m_reopening)
        return std::nullopt;
    return HuaxianBox::withGradeLetter(base(shown), index);
}
