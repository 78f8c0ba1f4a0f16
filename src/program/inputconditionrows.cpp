#include "program/inputconditionrows.h"

#include "program/rowkinds.h"

#include <array>

namespace tql {
namespace {

struct ConditionKind {
    InputConditionKind kind;
    bool on;
    RowKindId row;
};

constexpr std::array<ConditionKind, 6> kKinds = {{
    {InputConditionKind::Wait, true, RowKindId::WaitInputOn},
    {InputConditionKind::Wait, false, RowKindId::WaitInputOff},
    {InputConditionKind::Jump, true, RowKindId::JumpIfInputOn},
    {InputConditionKind::Jump, false, RowKindId::JumpIfInputOff},
    {InputConditionKind::Call, true, RowKindId::CallIfInputOn},
    {InputConditionKind::Call, false, RowKindId::CallIfInputOff},
}};

}  // namespace

Row inputConditionRow(const InputCondition& condition) {
    for (const ConditionKind& k : kKinds) {
        if (k.kind == condition.kind && k.on == condition.on) {
            return makeRow(k.row, {condition.input, condition.label});
        }
    }
    return {};
}

std::optional<InputCondition> inputConditionOf(const Row& row) {
    for (const ConditionKind& k : kKinds) {
        if (isKind(row, k.row)) {
            InputCondition condition{k.kind, k.on, row[1], {}};
            if (k.kind != InputConditionKind::Wait) {
                condition.label = row[2];
            }
            return condition;
        }
    }
    return std::nullopt;
}

}  // namespace tql
