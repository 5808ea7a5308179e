// Key rules of the number pads, written once so that every pad types the same way.
#include "widgets/PadText.h"

#include "text/Vb.h"

#include <QLineEdit>

using namespace Qt::StringLiterals;

namespace pad {

QString captionOf(const QString& tag)
{
    if (tag == BackspaceTag)
        return u"退格"_s;
    if (tag == ClearTag)
        return u"清除"_s;
    if (tag == EnterTag)
        return u"确定"_s;
    return tag;
}

void typeKey(QLineEdit* box, const QString& tag)
{
    if (!box || tag == EnterTag)
        return;
    if (tag == BackspaceTag) {
        box->setText(box->text().chopped(box->text().isEmpty() ? 0 : 1));
    } else if (tag == ClearTag) {
        box->clear();
    } else if (box->hasSelectedText()) {
        // Any selection stands for "type over this value": the whole text goes.
        box->setText(tag);
    } else {
        box->setText(box->text() + tag);
        box->setCursorPosition(int(box->text().size()));
    }
}

QString entryKey(const QString& entry, bool selected, const QString& tag)
{
    if (tag == BackspaceTag)
        return entry.chopped(entry.isEmpty() ? 0 : 1);
    if (tag == ClearTag)
        return QString();
    if (tag == EnterTag)
        return entry;
    if (selected)
        return tag;
    if (tag == u".")
        return entry + tag;
    return vb::Str(vb::Val(QString(entry + tag)));
}

QString counterStep(const QString& counter, int delta)
{
    return vb::Str(vb::Val(counter) + delta);
}

} // namespace pad
