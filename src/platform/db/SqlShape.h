// A batch's shape: its T-SQL text with the literals that can be bound taken out. The stations
// write every card number, roll id and weight into the text; the embedded database translates and
// prepares "… where BillCode='SC0050000'" once for all cards and binds the card number.
#pragma once

#include "db/DbValue.h"

#include <QList>
#include <QString>
#include <functional>

class SqlShape {
public:
    /// Takes the literals out of a batch. What stays in the text, because the translation or the
    /// result depends on it: TOP n, type lengths, convert styles, LIKE patterns, date texts, the
    /// select lists (their texts name the columns), ORDER BY and GROUP BY, numbers that touch a
    /// name. A batch with markers, variables, procedure calls or statements other than SELECT,
    /// INSERT, UPDATE and DELETE is not shaped.
    static SqlShape of(const QString& batch);

    /// True when literals were taken out; key() is then the text with placeholders.
    bool isShaped() const { return !m_values.isEmpty(); }
    /// The text with placeholders (the batch itself when it is not shaped).
    const QString& key() const { return m_key; }
    /// The literals taken out, in the order of the text.
    const QList<DbValue>& values() const { return m_values; }

    /// A translated statement of key() with "?1", "?2"… for the placeholders it holds, and for
    /// each marker the index of its value. False when a rewrite has changed a placeholder.
    bool toMarkers(const QString& translated, QString& sql, QList<int>& valueIndex) const;
    /// A translated statement of key() with the batch's own literals put back, as the translation
    /// of the batch itself would have them.
    QString withLiterals(const QString& translated) const;
    /// The batch with other values in place of its literals (as many as values()).
    QString textWith(const QList<DbValue>& values) const;

private:
    using Visit = std::function<void(qsizetype from, qsizetype to, int value)>;
    static bool placeholders(const QString& translated, const Visit& visit);

    QString m_batch;
    QString m_key;
    QList<DbValue> m_values;
    QList<std::pair<qsizetype, qsizetype>> m_literals; // [from, to) of each value in m_batch
};
