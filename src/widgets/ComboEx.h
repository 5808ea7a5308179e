// The stations' pick lists (users, item types, warehouses): entries with a value and a text,
// filled from a recordset, reporting the selected entry.
#pragma once

#include <QComboBox>

class Recordset;

class ComboEx : public QComboBox {
    Q_OBJECT

public:
    explicit ComboEx(QWidget* parent = nullptr);

    /// Replaces the entries by the records: the value is field valueField; the text is field
    /// textField, or with textField -1 the fields after the value joined by a blank
    /// ("userid, usercode, username" shows "001 张三" and reports the userid). The recordset's
    /// position is not touched; a closed recordset leaves the list empty. Nothing is selected
    /// afterwards.
    void bindRecordset(const Recordset& rs, int valueField = 0, int textField = -1);

    void addEntry(const QString& value, const QString& text);
    void clearEntries();

    /// Value and text of the selected entry; "" when nothing is selected.
    QString selectedValue() const;
    QString selectedText() const;
    /// Selects the first entry with this value; false (selection unchanged) when there is none.
    bool selectValue(const QString& value);

signals:
    /// The operator (or selectValue) chose an entry.
    void selectionChanged(const QString& value, const QString& text);
};
