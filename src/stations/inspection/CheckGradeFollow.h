// Who sets the grade and the length allowance of the roll on screen. The points and the
// automatic grade follow the defects and the length as the counter runs, so that the grade on
// screen is the one 保存 stores. A grade the inspector touches stays for that roll. A reopened
// roll keeps its stored grade and allowance until its defects or length change. The allowance
// is a sum over the defects: it is written when they change, never over a 加减 typed after the
// last defect. No widgets: the defect part feeds it the roll as text.
#pragma once

#include <QString>

#include <optional>

class CheckGradeFollow {
public:
    /// What a recompute may write into the form.
    struct Writes {
        bool grade = false;
        bool allowance = false;
    };

    /// A roll comes on screen: a new one, or a saved one reopened. defects and length stand for
    /// what the grading reads (the defect rows; quantity, 加减, width and unit); allowance is the
    /// 加减 the automatic grading gives these defects.
    void start(bool reopened, const QString& defects, const QString& length, double allowance);
    /// The inspector chose a grade by hand: the automatic grade no longer replaces it.
    void touchGrade() { m_manual = true; }
    bool manual() const { return m_manual; }
    /// A recompute with the roll's defects and length as they stand now.
    Writes observe(const QString& defects, const QString& length);
    /// The length as it stands after the recompute wrote its allowance.
    void settle(const QString& length) { m_length = length; }
    /// The status line's note when the automatic allowance next replaces current in the field;
    /// empty when the field held the automatic allowance, or the same value.
    QString allowanceNote(double current, double next);

private:
    bool m_manual = false;
    bool m_asStored = false;
    QString m_defects;
    QString m_length;
    std::optional<double> m_automatic;
};
