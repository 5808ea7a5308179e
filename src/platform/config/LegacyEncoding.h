// Conversion between UTF-8 text and the GB18030 encoding of files written by older Windows tools.
#pragma once

#include <QByteArray>
#include <QString>

namespace LegacyEncoding {

/// True when bytes are valid UTF-8 (an empty array is).
bool isValidUtf8(const QByteArray& bytes);

QString fromGb18030(const QByteArray& bytes);
QByteArray toGb18030(const QString& text);

} // namespace LegacyEncoding
