// The roll's defects: recording, deleting, ending, scoring and the section alert.
#include "stations/inspection/RollDefects.h"

#include "text/Vb.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QString FourPointMode = u"美标4分制"_s;
const QString NationalTen = u"国标10分制"_s;
const QString JapaneseTen = u"日标10分制"_s;

} // namespace

DefectRow DefectRow::fromColumns(const QStringList& cols)
{
    return {cols.value(1), cols.value(2), cols.value(3),
            cols.value(4), cols.value(5), cols.value(6)};
}

QStringList DefectRow::columns() const
{
    return {QString(), name, position, count, points, worker, remark};
}

QList<DefectRow> DefectRow::fromGrid(const QList<QStringList>& rows)
{
    QList<DefectRow> out;
    for (const QStringList& cols : rows)
        out.append(fromColumns(cols));
    return out;
}

QList<QStringList> DefectRow::toGrid(const QList<DefectRow>& rows)
{
    QList<QStringList> out;
    for (const DefectRow& row : rows)
        out.append(row.columns());
    return out;
}

FourPoint::Defect DefectRow::span() const
{
    return CheckGrading::defectOf(columns());
}

QString DefectForm::lengthKey() const
{
    return quantity + u'|' + plusMinus + u'|' + width + u'|' + (yards ? u'Y' : u'M');
}

RollDefects::RollDefects(const InspectionSettings& settings) : m_cfg(settings)
{
    readButtons();
}

QList<RollDefects::Button> RollDefects::buttonsOf(const QString& bugs)
{
    QStringList items = vb::listItems(bugs);
    if (items.isEmpty())
        items << QString();
    QList<Button> buttons;
    for (const QString& item : items) {
        const QStringList parts = item.split(u'_');
        const bool detailed = parts.size() > 1;
        buttons.append(
            {parts[0], detailed ? parts[1] : u"0"_s, detailed ? parts.value(2) : u"0"_s});
    }
    return buttons;
}

RollDefects::Press RollDefects::press(int index)
{
    Press p;
    if (index < 0 || index >= m_buttons.size() || m_buttons[index].caption.isEmpty())
        return p;
    p.pressed = true;
    m_pressed = m_buttons[index];
    const QString& mode = m_cfg.scoring;
    if (mode == FourPointMode || mode == JapaneseTen) {
        p.picker = Picker::Points;
        p.points = mode == JapaneseTen ? std::array{1, 3, 5, 10} : std::array{1, 2, 3, 4};
    } else if (mode == NationalTen) {
        p.picker = Picker::TenPoint;
    } else if (const QString& hint = m_pressed.hint; hint.contains(u'^')) {
        const QStringList parts = hint.split(u'^');
        p.score = parts[1];
        p.count = parts[0];
    } else {
        p.score = u"-1"_s;
        p.count = hint;
    }
    return p;
}

RollDefects::Record RollDefects::record(const QString& score, const QString& count,
                                        const DefectForm& form)
{
    if (score.isEmpty()) // the picker was closed without a score
        return {};
    const DefectRow row{m_pressed.caption,
                        form.quantity,
                        vb::sqlNumber(vb::Val(count)),
                        vb::sqlNumber(vb::Val(score)),
                        form.worker,
                        form.remark};
    // A comma in the position, worker or remark would shift the columns when the row is read
    // back as one line, so such a row is not taken.
    if (row.columns().mid(1).join(u',').split(u',').size() != 6)
        return {true, std::nullopt};
    m_rows.append(row);
    return {true, row};
}

bool RollDefects::remove(int index)
{
    if (index < 0 || index >= m_rows.size())
        return false;
    m_rows.removeAt(index);
    return true;
}

RollDefects::End RollDefects::endLongDefect(const DefectForm& form)
{
    // The defect last recorded (a section alert's row is no defect).
    qsizetype i = m_rows.size() - 1;
    while (i >= 0 && (m_rows[i].name.isEmpty() || m_rows[i].isAlert()))
        --i;
    if (i < 0)
        return {};
    const double start = m_rows[i].span().start;
    const double end = vb::Val(form.quantity);
    if (end <= start)
        return {-1, u"结束位置要大于疵点的起始位置"_s};
    m_rows[i].position = CheckGrading::spanText(start, end);
    return {int(i), QString()};
}

QList<CheckGrading::DefectButton> RollDefects::gradingButtons() const
{
    QList<CheckGrading::DefectButton> buttons;
    for (const Button& b : m_buttons)
        buttons.append({b.caption, vb::Val(b.allowance)});
    return buttons;
}

CheckGrading::Rules RollDefects::rules(const DefectForm& form) const
{
    CheckGrading::Rules rules;
    rules.capPerUnit = m_cfg.scoring == FourPointMode && m_cfg.capPerUnit;
    rules.yards = form.yards;
    rules.rejectMetres = m_cfg.longDefectReject;
    return rules;
}

CheckGrading::Score RollDefects::score(const DefectForm& form) const
{
    double area = 0;
    CheckGrading::Rules rules = this->rules(form);
    if (vb::IsNumeric(form.width)) {
        double width = vb::Val(form.width); // fabric width in cm
        if (width == 0)
            width = 100;
        const double length = vb::Val(form.quantity) - vb::Val(form.plusMinus);
        area = width * length / 100;
        rules.widthCm = width;
        rules.length = length;
    }
    return CheckGrading::gradeScore(DefectRow::toGrid(m_rows), area, gradingButtons(),
                                    m_cfg.autoGrade, rules);
}

QString RollDefects::defectsKey() const
{
    QStringList rows;
    for (const DefectRow& row : m_rows)
        rows << QStringList{row.name, row.position, row.count, row.points}.join(u'\x1f');
    return rows.join(u'\n');
}

CheckGrading::Score RollDefects::start(bool reopened, const DefectForm& form)
{
    const CheckGrading::Score s = score(form);
    m_follow.start(reopened, defectsKey(), form.lengthKey(), vb::Val(s.allowance));
    return s;
}

QString RollDefects::touchGrade()
{
    m_follow.touchGrade();
    return m_cfg.autoGrade ? u"手动等级"_s : QString();
}

RollDefects::Recompute RollDefects::recompute(const DefectForm& form, bool hasGrades)
{
    const CheckGradeFollow::Writes writes = m_follow.observe(defectsKey(), form.lengthKey());
    Recompute out;
    out.score = score(form);
    if (vb::Val(out.score.points) <= -1 || !hasGrades)
        return out;
    if (writes.allowance) {
        const double next = vb::Val(out.score.allowance);
        out.note = m_follow.allowanceNote(vb::Val(form.plusMinus), next);
        out.plusMinus = vb::sqlNumber(next);
    }
    out.grade = writes.grade;
    return out;
}

int RollDefects::gradeOf(const CheckGrading::Score& score, const QList<double>& thresholds)
{
    return score.rejected ? int(thresholds.size()) - 1
                          : CheckGrading::gradeFor(vb::Val(score.points), thresholds);
}

std::optional<RollDefects::SectionAlert> RollDefects::sectionAlert(const DefectForm& form)
{
    const double window = m_cfg.alertWindow;
    const double at = vb::Val(form.quantity);
    const double cap = rules(form).capPerUnit ? FourPoint::Cap : 0;
    double points = 0;
    if (!CheckGrading::sectionAlertDue(DefectRow::toGrid(m_rows), at, window, m_cfg.alertPoints,
                                       cap, &points))
        return std::nullopt;
    const QString unit = form.yards ? u"码"_s : u"米"_s;
    // Kept with the roll: a row of no points at the counter's position.
    const DefectRow row{
        QString::fromUtf16(CheckGrading::AlertRowName),
        form.quantity,
        u"0"_s,
        u"0"_s,
        form.worker,
        u"最近%1%2扣分%3"_s.arg(vb::sqlNumber(window), unit, vb::sqlNumber(points))};
    m_rows.append(row);
    return SectionAlert{row, at, window, points};
}

QList<QPair<double, double>> RollDefects::alertStretches(const QList<DefectRow>& rows,
                                                         double window)
{
    QList<QPair<double, double>> stretches;
    for (const DefectRow& row : rows)
        if (row.isAlert()) {
            const double at = vb::Val(row.position);
            stretches.append({std::max(0.0, at - window), at});
        }
    return stretches;
}
