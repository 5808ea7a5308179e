// Point picker: score buttons across the top, the counter under them.
#include "widgets/UserControl3.h"

#include "text/Vb.h"
#include "widgets/CounterBox.h"

#include <QGridLayout>
#include <QLabel>

using namespace Qt::StringLiterals;

UserControl3::UserControl3(QWidget* parent)
    : KeypadFrame(parent), m_grid(new QGridLayout(this)), m_counter(new CounterBox(this))
{
    setObjectName(u"UserControl3"_s);
    setAccessibleName(u"扣分选择"_s);
    m_grid->setContentsMargins(10, 8, 10, 8);
    m_grid->setSpacing(KeyGap);
    for (int i = 1; i <= ScoreButtons; ++i) {
        addScoreButton();
        setNumber(i, i);
    }
    auto* caption = new QLabel(u"数量"_s, this);
    caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont f = caption->font();
    f.setPixelSize(20);
    f.setBold(true);
    caption->setFont(f);
    m_grid->addWidget(caption, 1, 0);
    m_grid->addWidget(m_counter, 1, 1, 1, ScoreButtons - 1);
    // Equal columns, so every score key is as wide as the others and none is cut off.
    for (int c = 0; c < ScoreButtons; ++c)
        m_grid->setColumnStretch(c, 1);
    m_grid->setRowStretch(0, 3);
    m_grid->setRowStretch(1, 2);
    resizeTwips(WidthTwips, HeightTwips);
}

void UserControl3::addScoreButton()
{
    auto* b = new PadKey(QString(), this);
    b->setObjectName(u"Command1_%1"_s.arg(m_scores.size() + 1));
    connect(b, &QPushButton::clicked, this,
            [this, b] { emit Confirm(b->tag(), m_counter->text()); });
    m_grid->addWidget(b, 0, int(m_scores.size()));
    m_scores << b;
}

void UserControl3::setNumber(int index, int value)
{
    if (index < 1)
        return;
    while (m_scores.size() < index)
        addScoreButton();
    m_scores.at(index - 1)->setTag(vb::Str(value));
}

void UserControl3::setFenshu(int score) { m_counter->setText(vb::Str(score)); }

PadKey* UserControl3::scoreButton(int index) const { return m_scores.value(index - 1); }

void UserControl3::frameClicked() { emit Confirm(QString(), QString()); }
