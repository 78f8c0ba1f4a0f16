#pragma once

#include "program/programtable.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <optional>
#include <vector>

// Program files (*.tq4): line i holds row i for i = 0..RowCounter, Big5, CR LF. Columns
// 0..3 are padded with spaces to 12 characters, column 4 follows unpadded. A row whose
// texts would not survive that (empty, holding a space or a quote, or longer than 11
// characters) is written with those columns in double quotes, so every row loads back
// exactly as it was saved.
namespace tql {

inline constexpr int kColumnWidth = 12;
// No line of a program file is longer: a longer one is not a program row.
inline constexpr qsizetype kMaxFileLineBytes = 65536;

struct LoadedProgram {
    ProgramTable table{};
    int RowCounter = 0;
};

struct LoadResult {
    std::optional<LoadedProgram> program;
    QString error;   // the operator's message when program is empty
    QString notice;  // what the operator must know of a program that was read: the lines
                     // left unread after a short line, a header row replaced
};

// One line of the file, without its line end.
QString formatRow(const Row& row);

// The fields of one line: by its 12-character columns where the line has that shape,
// else split at spaces (a field opening with a double quote runs to its closing quote).
QStringList parseLine(const QString& line);

// Rows as the clipboard carries them between tools and text editors: lines of a program
// file without its header row, UTF-8 text (no Big5 needed), one line each.
QString rowsText(const std::vector<Row>& rows);
// Text back into rows: every line that is not blank a row of a known kind, of five fields
// at most (a header row, pasted with a whole file, is passed over). Nothing when any line
// is no row, or there are none or more than a program holds.
std::optional<std::vector<Row>> rowsFromText(const QString& text);

// The whole file for rows 0..RowCounter; a text Big5 cannot hold, a line break or a line
// longer than kMaxFileLineBytes is refused, naming the row.
struct Encoded {
    QByteArray bytes;
    QString error;
};
Encoded encodeProgram(const ProgramTable& table, int RowCounter);

// Reads file bytes into a fresh table. Reading stops at the first line shorter than 13
// characters; non-blank lines after it are named in the notice. A line of more than five
// fields, more than 501 lines, no line at all, or bytes that are neither Big5 nor UTF-8
// (a binary file) are refused with a message naming the line. A header row Big5 cannot
// hold is read as the standard header row, with a notice. cut says the file goes on past
// these bytes: the count of unread lines is then a least count.
LoadResult decodeProgram(const QByteArray& bytes, bool cut = false);

// The bytes of a program file as far as a program can reach: up to the line end after
// line 502 (one past the longest program, to tell it is longer). A line longer than
// kMaxFileLineBytes is refused, naming it, before more is read.
struct FileBytes {
    QByteArray bytes;
    bool cut = false;  // the device holds more after bytes
    QString error;
};
FileBytes readProgramBytes(QIODevice& device);

// Reads a file from disk: decodeProgram, or why the file cannot be read; a refusal names
// the file. Only regular files are read: a FIFO or a device would hang or never end.
LoadResult loadProgramFile(const QString& path);

// A file name as the system holds it, bytes that need not be valid in its encoding (a name
// in Big5, copied from an old PC, on a UTF-8 system).
struct NativeName {
    QByteArray bytes;
    // The name as Qt's text can name the file, when it can; empty when it cannot.
    QString path() const;
    // The name as the operator reads it: as the system decodes it, or as Big5 when that is
    // what its bytes are; a byte neither can read shows as a replacement character.
    QString shown() const;
};

// loadProgramFile, the file opened by the bytes of its name as given.
LoadResult loadProgramFile(const NativeName& name);

enum class SaveStatus { Written, NothingToWrite, Failed };
struct SaveResult {
    SaveStatus status;
    QString error;
};

// Writes rows 0..RowCounter atomically: a failed save leaves any old file as it was. An
// empty program (RowCounter 0) writes nothing.
SaveResult saveProgramFile(const QString& path, const ProgramTable& table, int RowCounter);

}  // namespace tql
