#include "program/inputconditionrows.h"

#include "program/rowkinds.h"

#include <array>

namespace tql {
namespace {

struct KindKeyword {
    InputConditionKind kind;
    bool on;
    const char16_t* keyword;
};

constexpr std::array<KindKeyword, 6> kKinds = {{
    {InputConditionKind::Wait, true, u"IN+"},
    {InputConditionKind::Wait, false, u"IN-"},
    {InputConditionKind::Jump, true, u"IN+J"},
    {InputConditionKind::Jump, false, u"IN-J"},
    {InputConditionKind::Call, true, u"IN+C"},
    {InputConditionKind::Call, false, u"IN-C"},
}};

}  // namespace

Row inputConditionRow(const InputCondition& condition) {
    for (const KindKeyword& k : kKinds) {
        if (k.kind == condition.kind && k.on == condition.on) {
            return makeRow(k.keyword, {condition.input, condition.label});
        }
    }
    return {};
}

std::optional<InputCondition> inputConditionOf(const Row& row) {
    for (const KindKeyword& k : kKinds) {
        if (row[0] == QStringView(k.keyword)) {
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
