#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// Program files, the trace and settings files and the serial line carry Big5 (code page
// 950): the controller and the program files already in use speak it.
namespace tql {

// The Big5 bytes of text, or nothing when a character has no Big5 form (never written as "?").
std::optional<QByteArray> encodeBig5(const QString& text);

QString decodeBig5(const QByteArray& bytes);

// A file edited in a UTF-8 editor is read as UTF-8: bytes that are valid UTF-8 and hold
// non-ASCII characters. Anything else is Big5.
QString decodeFileText(const QByteArray& bytes);

// Splits file bytes into lines at CR LF, lone LF or lone CR; a Big5 second byte is never
// CR or LF, so splitting the raw bytes is safe. A final line ending adds no empty line.
QList<QByteArray> splitLines(const QByteArray& bytes);

}  // namespace tql
