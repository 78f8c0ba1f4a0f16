#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <optional>

// Program files, the trace and settings files and the serial line carry Big5 (code page
// 950): the controller and the program files already in use speak it.
namespace tql {

// The Big5 bytes of text, or nothing when a character has no Big5 form (never written as
// "?", never dropped).
std::optional<QByteArray> encodeBig5(const QString& text);

// Every received byte shows: a byte that is not Big5, or a lead byte whose second byte has
// not arrived, becomes a replacement character instead of vanishing.
QString decodeBig5(QByteArrayView bytes);

// Whether the bytes are Big5 as the tool writes it: ASCII, the single bytes 0x80 and 0xFF,
// or pairs of a lead 0x81..0xFE and a trail 0x40..0x7E or 0xA1..0xFE that the table maps.
bool isBig5Text(QByteArrayView bytes);

enum class TextEncoding { Big5, Utf8 };

// The encoding of a file the tool reads: a UTF-8 byte-order mark means UTF-8; otherwise
// Big5 when every byte is Big5 (the tool's own files reload unchanged even where their
// bytes happen to be valid UTF-8 too); otherwise UTF-8 when the bytes are valid UTF-8 (a
// file edited in a UTF-8 editor); otherwise nothing: not a text file of the tool.
std::optional<TextEncoding> detectEncoding(QByteArrayView bytes);

// The text of bytes in that encoding, a UTF-8 byte-order mark left out. Nothing when the
// bytes are not valid in it.
std::optional<QString> decodeAs(TextEncoding encoding, QByteArrayView bytes);

// detectEncoding, then decodeAs.
std::optional<QString> decodeFileText(QByteArrayView bytes);

// Splits file bytes into lines. With any LF in the file, lines end at LF and carriage
// returns around it belong to the line end, so CR LF, LF, CR CR LF and LF CR all read
// alike; without LF, lines end at CR. A blank line stays an empty line; a final line end
// adds none; a last line without a line end keeps every byte. Big5 and UTF-8 never use CR
// or LF inside a character, so splitting the raw bytes is safe.
QList<QByteArray> splitLines(const QByteArray& bytes);

}  // namespace tql
