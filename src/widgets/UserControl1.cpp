// The general keypad: calculator layout (7 8 9 on top) with the tall confirm key where the
// thumb rests.
#include "widgets/UserControl1.h"

#include "widgets/PadText.h"

#include <QGridLayout>
#include <QLineEdit>

using namespace Qt::StringLiterals;

UserControl1::UserControl1(QWidget* parent) : KeypadFrame(parent)
{
    setObjectName(u"NumberKeybord"_s);
    setAccessibleName(u"数字键盘"_s);
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(10, 10, 10, 10);
    grid->setSpacing(KeyGap);
    struct Place {
        const char16_t* tag;
        int row, col, rowSpan, colSpan;
    };
    const Place places[] = {
        {u"7", 0, 0, 1, 1}, {u"8", 0, 1, 1, 1}, {u"9", 0, 2, 1, 1}, {pad::BackspaceTag, 0, 3, 1, 1},
        {u"4", 1, 0, 1, 1}, {u"5", 1, 1, 1, 1}, {u"6", 1, 2, 1, 1}, {pad::ClearTag, 1, 3, 1, 1},
        {u"1", 2, 0, 1, 1}, {u"2", 2, 1, 1, 1}, {u"3", 2, 2, 1, 1}, {pad::EnterTag, 2, 3, 2, 1},
        {u"0", 3, 0, 1, 2}, {u".", 3, 2, 1, 1},
    };
    for (const Place& p : places) {
        auto* key = new PadKey(QString::fromUtf16(p.tag), this);
        key->setObjectName(u"Label2_%1"_s.arg(m_keys.size()));
        grid->addWidget(key, p.row, p.col, p.rowSpan, p.colSpan);
        connect(key, &QPushButton::clicked, this, [this, key] { keyReleased(key->tag()); });
        m_keys << key;
    }
    resizeTwips(WidthTwips, HeightTwips);
}

void UserControl1::setTextBox(QLineEdit* box)
{
    m_target = box;
    resizeTwips(WidthTwips, HeightTwips);
    show();
    raise();
}

void UserControl1::keyReleased(const QString& tag)
{
    if (tag == pad::EnterTag) {
        collapse();
        if (m_target)
            m_target->deselect();
        emit Confirm(m_target);
        return;
    }
    pad::typeKey(m_target, tag);
}

void UserControl1::collapse()
{
    hide();
}

void UserControl1::frameClicked()
{
    collapse();
    emit closed();
}
