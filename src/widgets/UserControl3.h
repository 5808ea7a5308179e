// The point picker of the 4-point and Japanese scorings: one big button per point value and a
// counter for how many such defects were seen.
#pragma once

#include "widgets/KeypadFrame.h"

#include <QList>

class CounterBox;
class QGridLayout;

class UserControl3 : public KeypadFrame {
    Q_OBJECT

public:
    static constexpr int WidthTwips = 5055;
    static constexpr int HeightTwips = 2400;
    /// Score buttons 1 to ScoreButtons exist from the start, captioned 1, 2, 3, 4.
    static constexpr int ScoreButtons = 4;

    explicit UserControl3(QWidget* parent = nullptr);

    /// Sets caption and tag of score button index (from 1) to Str(value).
    void setNumber(int index, int value);
    /// Sets the counter box to Str(score).
    void setFenshu(int score);

    /// Score button index (from 1), nullptr when there is none.
    PadKey* scoreButton(int index) const;
    CounterBox* counter() const { return m_counter; }

signals:
    /// A score button's tag and the counter; "" and "" when the frame was tapped to cancel.
    void Confirm(const QString& score, const QString& counter);

protected:
    void frameClicked() override;

private:
    void addScoreButton();

    QGridLayout* m_grid;
    CounterBox* m_counter;
    QList<PadKey*> m_scores; // index 0 is button 1
};
