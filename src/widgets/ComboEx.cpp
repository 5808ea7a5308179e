// Pick list on QComboBox: the value rides along as item data, and the drop-down rows are tall
// enough for a fingertip.
#include "widgets/ComboEx.h"

#include "db/Recordset.h"

#include <QAbstractItemView>
#include <QStringList>

using namespace Qt::StringLiterals;

ComboEx::ComboEx(QWidget* parent) : QComboBox(parent)
{
    setStyleSheet(u"QComboBox QAbstractItemView::item { min-height: 40px; }"_s);
    setMinimumHeight(36);
    connect(this, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (i >= 0)
            emit selectionChanged(selectedValue(), selectedText());
    });
}

void ComboEx::bindRecordset(const Recordset& rs, int valueField, int textField)
{
    const QSignalBlocker quiet(this);
    clear();
    if (!rs.isOpen() || valueField < 0 || valueField >= rs.fieldCount())
        return;
    for (const QList<DbValue>& record : rs.rows()) {
        QString text;
        if (textField >= 0) {
            text = record.value(textField).toString();
        } else {
            QStringList parts;
            for (int f = valueField + 1; f < record.size(); ++f)
                parts << record.at(f).toString();
            text = parts.isEmpty() ? record.at(valueField).toString() : parts.join(u' ');
        }
        addItem(text, record.at(valueField).toString());
    }
    setCurrentIndex(-1);
}

void ComboEx::addEntry(const QString& value, const QString& text) { addItem(text, value); }

void ComboEx::clearEntries()
{
    const QSignalBlocker quiet(this);
    clear();
}

QString ComboEx::selectedValue() const
{
    return currentIndex() < 0 ? QString() : currentData().toString();
}

QString ComboEx::selectedText() const { return currentIndex() < 0 ? QString() : currentText(); }

bool ComboEx::selectValue(const QString& value)
{
    const int i = findData(value);
    if (i < 0)
        return false;
    setCurrentIndex(i);
    return true;
}
