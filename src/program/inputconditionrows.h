#pragma once

#include "program/programtable.h"

#include <QString>

#include <optional>

// Rows of the input-condition dialog XIN: wait for an input, or jump to / call a label when
// the input is on ("+") or off ("-").
namespace tql {

enum class InputConditionKind { Wait = 0, Jump = 1, Call = 2 };

struct InputCondition {
    InputConditionKind kind = InputConditionKind::Wait;
    bool on = true;  // sense "+"
    QString input;   // as typed or chosen, unchanged
    QString label;   // ignored for a wait
};

Row inputConditionRow(const InputCondition& condition);

// What the dialog shows when it modifies this row; nothing for a row of another kind.
std::optional<InputCondition> inputConditionOf(const Row& row);

}  // namespace tql
