// Conversion between UTF-8 text and the GB18030 encoding of files written by older Windows tools.
#pragma once

#include <QByteArray>
#include <QString>

namespace LegacyEncoding {

/// True when bytes are valid UTF-8 (an empty array is).
bool isValidUtf8(const QByteArray& bytes);

QString fromGb18030(const QByteArray& bytes);
/// The text of bytes that are GB18030 throughout; false (text untouched) at the first byte
/// sequence that GB18030 has no character for.
bool strictGb18030(const QByteArray& bytes, QString* text);
QByteArray toGb18030(const QString& text);

} // namespace LegacyEncoding
