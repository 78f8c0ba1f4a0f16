#pragma once

#include "program/programtable.h"
#include "program/switches.h"

#include <QString>

#include <array>

// Rows of the output dialog XOUT: all four outputs from a bit pattern, or one output on,
// off, or pulsed on or off for a time in milliseconds.
namespace tql {

struct OutputChoice {
    bool allOutputs = false;  // "全部位元"; otherwise a single output
    bool on = true;           // sense "+"
    QString output;           // as typed or chosen, unchanged
    bool pulse = false;
    QString pulseTime = QStringLiteral(" 100");  // the start text keeps its leading blank
    OutputStates bits{};                         // outputs 1..4, weights 1, 2, 4, 8
};

Row outputRow(const OutputChoice& choice);

// The four boxes after READOUT(value): value < 1 changes nothing; otherwise from the top
// bit down, a value above 15 checking all four.
OutputStates READOUT(int value, OutputStates boxes);

// What the dialog shows when it modifies this row. An "OUTP" row opens with READOUT of its
// field 1 (above 15 checks all four boxes); a field 1 that is not a whole number checks
// none. Any other row opens as a single output with its field 1 as the output number.
OutputChoice outputChoiceOf(const Row& row);

}  // namespace tql
