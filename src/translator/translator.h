#pragma once

#include "program/programtable.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace tql {

inline constexpr int kMaxControllerLines = 1001;
inline constexpr int kMaxLoops = 50;

// Why rows give no controller program.
enum class Refusal {
    None,
    LoopPairing,
    TooManyLoops,
    TooManyLines,
    ControlCharacter,  // a row would put CR, ESC or another control byte on the line
};

// A loop of the translation: its LOOP row and the controller variable that counts its
// rounds down.
struct TranslatedLoop {
    int row = 0;
    QString counter;  // "#L1"
};

// The controller program made from rows 1..RowCounter, or why there is none.
struct Translation {
    QStringList ControllerText;         // "{" .. "}", one statement a line, no line ends
    std::vector<int> LineRows;          // the program row each line came from; 0 for fixed lines
    std::vector<TranslatedLoop> loops;  // in the order of their rows
    Refusal refusal = Refusal::None;
    int errorRow = 0;  // the program row the refusal arises at, when there is one

    bool ok() const { return refusal == Refusal::None; }
    // The operator's message; empty on success.
    QString error() const;
    // The refusal as tq4c prints it: "第 N 列: …" where it arises at a row.
    QString namedError() const;
};

// A pure function of the table: the same rows always give the same text.
Translation TranslateProgram(const ProgramTable& table, int RowCounter);

// The text the rows make whatever the refusals above: a loop end with no loop open and a
// row holding a control character are passed over or kept, the limits are not applied.
// What the checks look through for everything else a program holds.
Translation translateLeniently(const ProgramTable& table, int RowCounter);

// The text with every space removed, the rest in order.
QString S(const QString& text);

// A refusal as the operator reads it; empty for None.
QString refusalText(Refusal refusal);

}  // namespace tql
