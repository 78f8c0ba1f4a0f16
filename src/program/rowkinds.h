#pragma once

#include "program/programtable.h"

#include <QString>
#include <QStringView>

#include <array>
#include <initializer_list>

// Every row kind once: its keyword, its icon, the cells an entry stores, which columns hold
// the operator's values and what they are, and the controller lines the row becomes. The
// translator, the checks, the entries' row building and the list's icons all read it.
namespace tql {

// What a value column holds. Which of its values the controller takes is the controller's
// to say (the checks ask the controller model's limits).
enum class Quantity {
    Position,       // a target or a distance on the axis
    Speed,          // "VM"
    Delay,          // milliseconds
    LoopCount,      // how often the loop's body runs
    Input,          // an input number
    Output,         // a single output's number
    OutputPattern,  // the four outputs as a bit pattern
    Label,          // a label's name
    Statement,      // free controller text
    Comment,        // the operator's note; never sent
};

// The families the list's icons are coloured by.
enum class RowFamily { Move, Timing, Flow, Home, Output, Input, Text };

// Every row kind by name, in the order of the table and its icons. Code asks for a kind by
// its id; only the table knows the keyword a file stores for it.
enum class RowKindId {
    AbsoluteMove,  // POINT
    Line,
    Arc,
    Circle,
    Speed,  // VM
    Delay,  // WT
    Loop,
    LoopEnd,
    Label,        // LABLE, as the files spell it
    JumpToLabel,  // GLABLE
    Home,
    Return,         // RET
    Input,          // IN, from old files only
    OutputPattern,  // OUTP
    RelativeMove,   // MR
    ZeroPosition,   // CS
    Call,
    OutputOn,   // SETP
    OutputOff,  // CLRP
    PulseOn,    // PULSE
    PulseOff,   // PULSE-
    WaitInputOn,
    WaitInputOff,
    JumpIfInputOn,
    JumpIfInputOff,
    CallIfInputOn,
    CallIfInputOff,
    CustomStep,  // STEP
};

// What a row of a kind does to the program's flow and the slide, as the translator, the
// checks and the dry run ask it.
enum RowTrait : unsigned {
    OpensLoop = 1u << 0,
    ClosesLoop = 1u << 1,
    JumpsAlways = 1u << 2,  // no row after it runs unless something jumps there
    Calls = 1u << 3,        // a call, on an input or not: a RET may come back to it
    Returns = 1u << 4,
    DefinesLabel = 1u << 5,
    MovesAtSpeed = 1u << 6,  // a move at the "VM" speed (homing has its own)
    SetsSpeed = 1u << 7,
};

struct ValueColumn {
    int column = 0;  // 1 or 2; 0 where the kind has no further value
    Quantity quantity = Quantity::Comment;
    // The operator's word for it, as a finding names it; a source text of the catalogues.
    const char* name = "";
};

struct RowKind {
    RowKindId id;
    const char16_t* keyword;
    const char* mark;  // the letters of its icon: the mnemonic the row becomes, shortened
    RowFamily family;
    // Columns 1..4 as an entry stores them; nullptr where the entry supplies a value, in the
    // order of values. A kind no entry creates has none.
    std::array<const char16_t*, 4> cells;
    std::array<ValueColumn, 2> values;
    // The controller lines of one row: "{1}" and "{2}" stand for columns 1 and 2 exactly as
    // stored, "{C}" and "{L}" for the counter and the label of the row's loop.
    std::array<const char16_t*, 4> lines;
    unsigned traits = 0;  // RowTrait

    bool is(RowTrait trait) const { return (traits & trait) != 0; }
};

inline constexpr int kRowKinds = 28;

// The row kinds in the order of their icons: the icon of a kind is its place here, 1..28.
const std::array<RowKind, kRowKinds>& rowKinds();

// The kind of a keyword (compared exactly, case included); nullptr for an unknown keyword.
const RowKind* rowKind(QStringView keyword);
const RowKind& rowKind(RowKindId id);
// Whether the row is of this kind, or of a kind with this trait; an unknown keyword is of
// no kind and has none.
bool isKind(const Row& row, RowKindId id);
bool hasTrait(const Row& row, RowTrait trait);

int iconOf(const RowKind& kind);

// A row of this kind: its fixed cells, and the values in the cells an entry supplies (an
// empty text for a value not given).
Row makeRow(RowKindId id, std::initializer_list<QString> values = {});

}  // namespace tql
