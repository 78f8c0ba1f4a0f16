#pragma once

#include <QString>

#include <array>
#include <vector>

// The program as the operator builds it: row 0 is a fixed header, rows 1..RowCounter
// are the program in execution order, every cell is text.
namespace tql {

inline constexpr int kColumns = 5;
inline constexpr int kTableRows = 501;
inline constexpr int kMaxProgramRows = kTableRows - 1;

using Row = std::array<QString, kColumns>;
using ProgramTable = std::array<Row, kTableRows>;

// Whether the text holds a control character (below U+0020, or U+007F): on the line a CR
// ends a statement and an ESC stops the controller, so no row may carry one there.
bool holdsControlCharacter(QStringView text);
// Whether any cell of the row does.
bool holdsControlCharacter(const Row& row);

// Row 0 as every program file carries it; "FUNCTINO" is the file format's own spelling.
Row headerRow();

// Icon number 1..28 of a keyword (exact match, case included), or 0 for an unknown keyword.
int iconForKeyword(const QString& keyword);

// Icons of rows 1..rowCounter as the list shows them: an unknown keyword takes the icon of
// the row above it, and the first row gets none (0) when its keyword is unknown.
std::vector<int> listIcons(const ProgramTable& table, int rowCounter);

}  // namespace tql
