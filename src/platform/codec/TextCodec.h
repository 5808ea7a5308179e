// Stored settings that should not be readable at a glance (the connection string in config.ini):
// encoded and decoded with a key word.
#pragma once

#include <QString>

namespace TextCodec {

/// The plain text of an encoded setting (a text "ENC:" followed by the encoded bytes). Any other
/// text (a plain connection string, "缺省") is returned unchanged. An encoded text that does not
/// decode with this key is returned unchanged too, so that the error shows at use.
QString decodeText(const QString& text, const QString& key);

/// The encoded form of plain: decodeText(encodeText(p, k), k) == p.
QString encodeText(const QString& plain, const QString& key);

} // namespace TextCodec
