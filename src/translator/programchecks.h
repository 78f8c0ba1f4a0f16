#pragma once

#include "program/programtable.h"

#include <QString>

#include <vector>

// 檢查程式: what can be told of a program before the machine runs it. The checks live
// beside the translator because they use its rules (loop pairing, the controller's limits)
// and the Big5 text of the line.
namespace tql {

enum class Severity { Error, Warning };

// What a finding is about; its message says it in the operator's words.
enum class FindingKind {
    // The translation refuses the program itself (or, Big5, the upload does): the upload
    // need not ask about these, its refusal says them.
    LoopPairing,
    TooManyLoops,
    TooManyLines,
    ControlCharacter,
    NotBig5,
    // The rows.
    DuplicateLabel,
    BadValue,  // a value column outside this tool's safe limits, or not a number
    UnknownKeyword,
    NotTranslated,  // a kind no controller line comes from (LINE, ARC, ...)
    UnwiredOutput,
    ControlCharacterInNote,
    ZeroSpeed,
    MoveBeforeSpeed,
    ReturnWithoutCall,
    Unreachable,
    // What the controller refuses in the text the rows became (controller::FaultKind).
    StatementValue,
    NoSuchLabel,
    CallsTooDeep,
    MayRecurse,
    CallChainTooDeep,
    LineTooLong,
    UnknownStatement,
};

// The translation refuses it, or the upload's Big5 check: no question is asked about it.
bool refusedByTranslator(FindingKind kind);

struct Finding {
    int row = 0;  // the program row, 1..RowCounter
    Severity severity = Severity::Error;
    FindingKind kind = FindingKind::BadValue;
    QString message;
};

// Errors: loops that do not pair, more than 50 loops or 1001 lines, a jump or call to a
// label no row defines, a label defined twice, a loop count that is not a whole number of
// at least 1, a move, speed, delay or pulse time that is not a number, a text Big5 cannot
// hold. Warnings: a speed of 0, a move before any speed row, a RET no call can reach, rows
// after an unconditional jump that nothing jumps to. In row order, errors before warnings
// within a row.
std::vector<Finding> CheckProgram(const ProgramTable& table, int RowCounter);

// "第 N 列: 錯誤: …", as the findings panel and tq4c --check show it.
QString formatFinding(const Finding& finding);

}  // namespace tql
