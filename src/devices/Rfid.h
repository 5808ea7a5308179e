// The card read shared by the stations with an RFID reader: key text, block read, card text.
#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

class RfidReaderLibrary;

namespace devices {

/// The sector key every card of the mill is written with.
QString sectorKeyText();

/// Value of one hexadecimal character: "0"-"9" 0-9, "a"-"z" and "A"-"Z" 10 and up (so "G" is
/// 16); anything else, or a text that is not one character, 0.
int hexDigitValue(const QString& ch);

/// Byte values of a text of one- or two-digit hexadecimal values separated by single blanks.
QByteArray hexTextToBytes(const QString& text);

/// The first count bytes as upper-case hexadecimal pairs without separators.
QString bytesToHexText(const QByteArray& bytes, int count);

/// Decoder of the card contents: takes the raw card text and the key word, returns the text the
/// card stands for (the text codec of the database layer).
using CardTextDecoder = std::function<QString(const QString& text, const QString& word)>;

/// The first count bytes, one character each (byte values 0-255, zero bytes included), passed with
/// the word "orvex" to decode; without a decoder to TextCodec::decodeText, which gives plain card
/// texts back unchanged.
QString bytesToCardText(const QByteArray& bytes, int count, const CardTextDecoder& decode = {});

/// Reads block 10 of the card on the reader (device address 0, mode 0, one block, the sector key).
/// True with the 16 bytes of the block in block when the library reports success.
bool readCardBlock(RfidReaderLibrary& reader, QByteArray* block);

/// The progress station's worker card: the block read as above, turned into the worker text by
/// bytesToCardText. False (text untouched) when no card was read.
bool readWorkerCard(RfidReaderLibrary& reader, QString* text, const CardTextDecoder& decode = {});

} // namespace devices
