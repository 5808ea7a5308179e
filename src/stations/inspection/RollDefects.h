// The defects of the roll being inspected, as the rules see them: the defect buttons of the
// "bugs" setting, the rows of the defect list, a defect recorded for a pressed button in the
// station's scoring mode, a row deleted, a long defect ended at the counter, the points, the grade
// and 加减 that follow from them, and the section alert. No widget: the defect panel reads the form
// into a DefectForm and the grid into DefectRows, asks, and shows the answer.
#pragma once

#include "stations/inspection/CheckGradeFollow.h"
#include "stations/inspection/CheckGrading.h"
#include "stations/inspection/InspectionSettings.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

using namespace Qt::StringLiterals;

/// One row of the defect list.
struct DefectRow {
    QString name;     ///< the defect button's caption, or 区段报警 / 产量
    QString position; ///< where on the roll: "12.5", or 起-止 "20-33" for a long defect
    QString count;
    QString points; ///< "-1" when the station does not score
    QString worker;
    QString remark;

    /// A row of the grid: column 0 its number (not kept), then the members in order.
    static DefectRow fromColumns(const QStringList& cols);
    /// The grid's columns, the number left empty (the grid numbers its rows).
    QStringList columns() const;
    static QList<DefectRow> fromGrid(const QList<QStringList>& rows);
    static QList<QStringList> toGrid(const QList<DefectRow>& rows);

    /// Start, end and points, as the 4-point caps see them.
    FourPoint::Defect span() const;
    /// The row that keeps a section alert with the roll.
    bool isAlert() const { return name == QStringView(CheckGrading::AlertRowName); }
    bool operator==(const DefectRow&) const = default;
};

/// What the form holds that the defects read.
struct DefectForm {
    QString quantity{};  ///< 数量: the counter's position, where a new defect lies
    QString plusMinus{}; ///< 加减, taken off the length the area counts
    QString width{};     ///< the fabric width in cm; not a number: the area is 100 m²
    QString worker{};
    QString remark{};
    bool yards = false;

    /// Stands for the length as the grading reads it: quantity, 加减, width and unit.
    QString lengthKey() const;
};

class RollDefects {
public:
    /// A defect button of the "bugs" setting ("名称_加减_提示" items).
    struct Button {
        QString caption;
        QString allowance = u"0"_s; ///< 加减 per defect (the button's Tag)
        QString hint = u"0"_s;      ///< "count^points" or a count, scoring off
    };
    enum class Picker { None, Points, TenPoint };
    /// What a press on a defect button asks for.
    struct Press {
        bool pressed = false;         ///< there is a button with a caption
        Picker picker = Picker::None; ///< None: record at once with score and count
        std::array<int, 4> points{};  ///< the Points picker's four buttons
        QString score;
        QString count;
    };
    /// What recording a score did: unscored (the picker closed without one) records nothing and
    /// asks for nothing more; a row that would split its columns is refused.
    struct Record {
        bool scored = false;
        std::optional<DefectRow> row;
    };
    /// "结束": the row whose end moved (-1 none), or why it may not.
    struct End {
        int index = -1;
        QString problem;
    };
    /// What a recompute writes into the form: 加减 (when the defects changed) and the status
    /// line's note, and whether the grade follows the points (gradeOf the score after the write).
    struct Recompute {
        CheckGrading::Score score{};
        std::optional<QString> plusMinus{};
        QString note{};
        bool grade = false;
    };
    /// A section alert raised: its row (appended to the rows), the counter's position and the
    /// window it looked back over, and the stretch's points.
    struct SectionAlert {
        DefectRow row;
        double at = 0;
        double window = 0;
        double points = 0;
    };

    /// Takes the buttons from settings.defects (read again by readButtons()).
    explicit RollDefects(const InspectionSettings& settings);
    RollDefects(const RollDefects&) = delete;
    RollDefects& operator=(const RollDefects&) = delete;

    /// The buttons of a "bugs" list; an empty list gives one button without a caption.
    static QList<Button> buttonsOf(const QString& bugs);
    void readButtons() { m_buttons = buttonsOf(m_cfg.defects); }
    const QList<Button>& buttons() const { return m_buttons; }

    const QList<DefectRow>& rows() const { return m_rows; }
    void setRows(const QList<DefectRow>& rows) { m_rows = rows; }

    /// A press on button index: remembered for record(); in the scoring modes with a picker it
    /// asks for one, else it brings the score and count of the button's hint.
    Press press(int index);
    /// Appends a row for the last pressed button at the form's position.
    Record record(const QString& score, const QString& count, const DefectForm& form);
    /// Deletes row index (from 0); false when there is no such row.
    bool remove(int index);
    /// The last defect (not an alert) ends at the counter; pressed again, its end moves on.
    End endLongDefect(const DefectForm& form);

    /// The points of the rows, per 100 m² (or 100 square yards), and the allowance.
    CheckGrading::Score score(const DefectForm& form) const;
    /// A new or reopened roll is on screen with these rows; returns its score.
    CheckGrading::Score start(bool reopened, const DefectForm& form);
    /// The inspector chose a grade: it stays for the roll. Returns the status line's text.
    QString touchGrade();
    /// The points and what follows of them, for a station with or without grades. Then settle()
    /// with the form as it stands after the writes (加减 is an input of the quantity formula).
    Recompute recompute(const DefectForm& form, bool hasGrades);
    void settle(const DefectForm& form) { m_follow.settle(form.lengthKey()); }
    /// The grade of score among the grades' thresholds: the last for a rejected roll.
    static int gradeOf(const CheckGrading::Score& score, const QList<double>& thresholds);

    /// The section alert due at the counter: the points of the last AlertWindow metres (yards)
    /// pass AlertPoints and no alert row lies in that stretch yet. Its row is appended.
    std::optional<SectionAlert> sectionAlert(const DefectForm& form);
    /// The stretches the alert rows of rows stand for.
    static QList<QPair<double, double>> alertStretches(const QList<DefectRow>& rows, double window);

private:
    /// The 4-point rules for this form (width and length unset).
    CheckGrading::Rules rules(const DefectForm& form) const;
    QList<CheckGrading::DefectButton> gradingButtons() const;
    QString defectsKey() const;

    const InspectionSettings& m_cfg;
    QList<Button> m_buttons;
    QList<DefectRow> m_rows;
    Button m_pressed;
    CheckGradeFollow m_follow;
};
