#pragma once

// The controller's statements: how its lines are parsed and what each statement's operands
// must be. The run (programrun.cpp) and the static faults (staticfaults.cpp) share them, so
// what the model refuses while running is what it reports before.

#include "controller/controller.h"

#include <string>
#include <vector>

namespace sim::detail {

std::vector<Statement> parse(const std::vector<std::string>& lines);

struct OperandRules {
    const Limit* a = nullptr;  // the first operand is a value within this limit
    const Limit* b = nullptr;  // the second operand is a value within this limit
    bool aLabel = false;       // the first operand names a label (JP, CALL)
    bool bLabel = false;       // the second operand names a label (JNZ, JI, CI, ...)
};
OperandRules rulesOf(const Statement& s);

// Statements the model executes; any other is passed over.
bool isKnown(const Statement& s);
bool isCall(const Statement& s);  // CALL, CI, CNI

// "OUTP 1e99", "ASSIGN #L1,5": the statement as a fault names it.
std::string describe(const Statement& s);

}  // namespace sim::detail
