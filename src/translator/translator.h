#pragma once

#include "program/programtable.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace tql {

inline constexpr int kMaxControllerLines = 1001;
inline constexpr int kMaxLoops = 50;

// The controller program made from rows 1..RowCounter, or why there is none.
struct Translation {
    QStringList ControllerText;  // "{" .. "}", one statement a line, no line ends
    std::vector<int> LineRows;   // the program row each line came from; 0 for fixed lines
    QString error;               // the operator's message; empty on success
    int errorRow = 0;            // the program row the refusal arises at, when there is one

    bool ok() const { return error.isEmpty(); }
};

// A pure function of the table: the same rows always give the same text.
Translation TranslateProgram(const ProgramTable& table, int RowCounter);

// The refusals, as the operator reads them.
QString loopPairingError();
QString tooManyLoopsError();
QString tooManyLinesError();

}  // namespace tql
