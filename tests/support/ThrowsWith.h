// Checks that a call fails with an error whose message names the cause.
#pragma once

#include <QDebug>
#include <QString>

/// True when call throws an E whose message() contains fragment. Otherwise false, with the
/// message received (or that nothing was thrown) in the test log.
template <typename E, typename Call>
bool throwsWith(Call&& call, const QString& fragment, Qt::CaseSensitivity cs = Qt::CaseSensitive)
{
    try {
        call();
    } catch (const E& e) {
        if (e.message().contains(fragment, cs))
            return true;
        qWarning().noquote() << "error message without" << fragment << ":" << e.message();
        return false;
    }
    qWarning().noquote() << "no error thrown, expected one with" << fragment;
    return false;
}
