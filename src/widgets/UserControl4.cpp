// Preset-value picker: buttons placed by hand on a twip grid, the frame sized to the rows in use.
#include "widgets/UserControl4.h"

#include <QLineEdit>
#include <algorithm>

using namespace Qt::StringLiterals;

UserControl4::UserControl4(QWidget* parent) : KeypadFrame(parent)
{
    setObjectName(u"UserControl4"_s);
    setAccessibleName(u"快捷选择"_s);
    relayout();
}

void UserControl4::setTextBox(QLineEdit* box)
{
    m_target = box;
    relayout();
    show();
    raise();
}

void UserControl4::setNumber(const QString& caption, const QString& tag)
{
    auto* b = new PadKey(tag.isEmpty() ? caption : tag, this);
    b->setTag(b->tag(), caption);
    b->setObjectName(u"Command1_%1"_s.arg(m_buttons.size()));
    connect(b, &QPushButton::clicked, this, [this, b] { picked(b->tag()); });
    m_buttons << b;
    b->show();
    relayout();
}

void UserControl4::clearBtn()
{
    qDeleteAll(m_buttons);
    m_buttons.clear();
    relayout();
}

int UserControl4::rowCount() const
{
    return std::max(1, int((m_buttons.size() + Columns - 1) / Columns));
}

void UserControl4::relayout()
{
    const Twips t = twips();
    for (int i = 0; i < m_buttons.size(); ++i) {
        const int left = MarginTwips + (i % Columns) * (ButtonWidthTwips + GapTwips);
        const int top = MarginTwips + (i / Columns) * (ButtonHeightTwips + GapTwips);
        m_buttons.at(i)->setGeometry(t.rect(left, top, ButtonWidthTwips, ButtonHeightTwips));
    }
    // Only the rows in use: an empty row at the bottom would look like missing values.
    resizeTwips(2 * MarginTwips - GapTwips + Columns * (ButtonWidthTwips + GapTwips),
                2 * MarginTwips - GapTwips + rowCount() * (ButtonHeightTwips + GapTwips));
}

void UserControl4::picked(const QString& tag)
{
    if (m_target)
        m_target->setText(tag);
    emit Confirm(tag);
}

void UserControl4::frameClicked() { emit Confirm(QString()); }
