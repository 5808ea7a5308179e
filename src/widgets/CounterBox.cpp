// Count box with arrows: each arrow adds or takes one, written back blank-led like the old
// up-down control did.
#include "widgets/CounterBox.h"

#include "widgets/KeypadFrame.h"
#include "widgets/PadText.h"

#include <QHBoxLayout>
#include <QLineEdit>

CounterBox::CounterBox(QWidget* parent)
    : QWidget(parent), m_box(new PadBox(this)), m_up(new PadKey(QStringLiteral("+1"), this)),
      m_down(new PadKey(QStringLiteral("-1"), this))
{
    m_box->setObjectName(QStringLiteral("Text1"));
    m_box->setAccessibleName(QStringLiteral("数量"));
    m_box->setAlignment(Qt::AlignCenter);
    m_box->setText(QStringLiteral(" 0"));
    m_up->setTag(m_up->tag(), QStringLiteral("▲"));
    m_up->setAccessibleName(QStringLiteral("数量加一"));
    m_up->setObjectName(QStringLiteral("UpDown1_up"));
    m_down->setTag(m_down->tag(), QStringLiteral("▼"));
    m_down->setAccessibleName(QStringLiteral("数量减一"));
    m_down->setObjectName(QStringLiteral("UpDown1_down"));
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
