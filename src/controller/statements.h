#pragma once

// The controller's statements: how its lines are parsed and what each statement's operands
// must be. The run (programrun.cpp) and the static faults (staticfaults.cpp) share them, so
// what the model refuses while running is what it reports before.

#include "controller/limits.h"

#include <string>
#include <vector>

namespace controller {

// What a statement does. Labels are statements too (the jumps' targets); any other text is
// Unknown and passed over.
enum class Op {
    Label,           // $NAME:
    Assign,          // #L1=5
    Speed,           // VM=
    Acceleration,    // VA=
    SetOutput,       // SET P
    ClearOutput,     // CLR P
    MoveTo,          // MA
    MoveBy,          // MR
    Wait,            // WT, milliseconds
    Done,            // DN: until the move and the wait are over
    Home,            // H
    ZeroPosition,    // CS
    ClearVariables,  // CLR VAR
    Init,            // SI: a variable set to 0
    JumpNotZero,     // JNZ counter,label
    Jump,            // JP
    Call,            // CALL
    Return,          // RET
    WaitInput,       // WI
    WaitNotInput,    // WNI
    JumpInput,       // JI input,label
    JumpNotInput,    // JNI
    CallInput,       // CI
    CallNotInput,    // CNI
    Outputs,         // OUTP: all four outputs as one pattern
    Unknown,
};

// One statement of a stored program, as the controller parses its lines.
struct Statement {
    Op op = Op::Unknown;
    std::string word;      // as written: "MA", "VM=", "SET P"; "LABEL" and "ASSIGN"
    std::string a;         // first operand
    std::string b;         // second operand
    std::size_t line = 0;  // 1-based line of the stored program it came from
};

std::vector<Statement> parse(const std::vector<std::string>& lines);

struct OperandRules {
    const Limit* a = nullptr;  // the first operand is a value within this limit
    const Limit* b = nullptr;  // the second operand is a value within this limit
    bool aLabel = false;       // the first operand names a label (JP, CALL)
    bool bLabel = false;       // the second operand names a label (JNZ, JI, CI, ...)
};
OperandRules rulesOf(Op op);

bool isCall(Op op);  // CALL, CI, CNI

// "OUTP 1e99", "ASSIGN #L1,5": the statement as a fault names it.
std::string describe(const Statement& s);

}  // namespace controller
