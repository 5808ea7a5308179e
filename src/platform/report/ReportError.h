// The error a report operation throws: a missing or malformed template, a printer that cannot be
// reached, or the problems met while filling a label; the calling routine shows its message.
#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

class ReportError : public std::exception {
public:
    explicit ReportError(QString message)
        : m_message(std::move(message)), m_utf8(m_message.toUtf8())
    {
    }

    /// The text shown to the operator (Chinese, one problem per line).
    const QString& message() const noexcept { return m_message; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};
