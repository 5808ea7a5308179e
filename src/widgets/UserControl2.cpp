// Number entry with counter: two rows of keys under the entry and counter boxes, all inside the
// small design size the defect frame has room for.
#include "widgets/UserControl2.h"

#include "text/Vb.h"
#include "widgets/CounterBox.h"
#include "widgets/PadText.h"

#include <QGridLayout>
#include <QLineEdit>

using namespace Qt::StringLiterals;

UserControl2::UserControl2(QWidget* parent)
    : KeypadFrame(parent), m_entry(new PadBox(this)), m_counter(new CounterBox(this))
{
    setObjectName(u"UserControl2"_s);
    setAccessibleName(u"扣分键盘"_s);
    m_entry->setObjectName(u"Text2"_s);
    m_entry->setAccessibleName(u"扣分"_s);
    m_entry->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(8, 6, 8, 6);
    grid->setSpacing(3);
    grid->addWidget(m_entry, 0, 0, 1, 4);
    grid->addWidget(m_counter, 0, 4, 1, 3);
    const char16_t* tags[] = {u"1", u"2", u"3", u"4", u"5",      u".",          pad::BackspaceTag,
                              u"6", u"7", u"8", u"9", u"0", pad::ClearTag, pad::EnterTag};
    for (const char16_t* tag : tags) {
        auto* key = new PadKey(QString::fromUtf16(tag), this);
        const int i = int(m_keys.size());
        key->setObjectName(u"Numberbtn_%1"_s.arg(i));
        grid->addWidget(key, 1 + i / 7, i % 7);
        connect(key, &QPushButton::clicked, this, [this, key] { keyPressed(key->tag()); });
        m_keys << key;
    }
    for (int r = 0; r < 3; ++r)
        grid->setRowStretch(r, 1);
    for (int c = 0; c < 7; ++c) { // equal keys, whatever their captions
        grid->setColumnStretch(c, 1);
        grid->setColumnMinimumWidth(c, 10);
    }
    resizeTwips(WidthTwips, HeightTwips);
}

void UserControl2::setTextBox(double value)
{
    m_entry->setText(vb::Str(value));
    resizeTwips(WidthTwips, HeightTwips);
    show();
    raise();
}

void UserControl2::keyPressed(const QString& tag)
{
    if (tag == pad::EnterTag) {
        emit Confirm(m_entry->text(), m_counter->text());
        return;
    }
    m_entry->setText(pad::entryKey(m_entry->text(), m_entry->hasSelectedText(), tag));
}

void UserControl2::frameClicked() { emit Confirm(QString(), QString()); }
