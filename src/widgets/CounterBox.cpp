// Count box with arrows: each arrow adds or takes one, written back blank-led like the old
// up-down control did.
#include "widgets/CounterBox.h"

#include "widgets/KeypadFrame.h"
#include "widgets/PadText.h"

#include <QHBoxLayout>
#include <QLineEdit>

using namespace Qt::StringLiterals;

CounterBox::CounterBox(QWidget* parent)
    : QWidget(parent), m_box(new PadBox(this)), m_up(new PadKey(u"+1"_s, this)),
      m_down(new PadKey(u"-1"_s, this))
{
    m_box->setObjectName(u"Text1"_s);
    m_box->setAccessibleName(u"数量"_s);
    m_box->setAlignment(Qt::AlignCenter);
    m_box->setText(u" 0"_s);
    m_up->setTag(m_up->tag(), u"▲"_s);
    m_up->setAccessibleName(u"数量加一"_s);
    m_up->setObjectName(u"UpDown1_up"_s);
    m_down->setTag(m_down->tag(), u"▼"_s);
    m_down->setAccessibleName(u"数量减一"_s);
    m_down->setObjectName(u"UpDown1_down"_s);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(3);
    row->addWidget(m_down, 1);
    row->addWidget(m_box, 2);
    row->addWidget(m_up, 1);
    connect(m_up, &QPushButton::clicked, this,
            [this] { m_box->setText(pad::counterStep(m_box->text(), 1)); });
    connect(m_down, &QPushButton::clicked, this,
            [this] { m_box->setText(pad::counterStep(m_box->text(), -1)); });
}

QString CounterBox::text() const { return m_box->text(); }
void CounterBox::setText(const QString& text) { m_box->setText(text); }
