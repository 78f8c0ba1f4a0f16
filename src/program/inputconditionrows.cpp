#include "program/inputconditionrows.h"

#include <array>

namespace tql {
namespace {

struct KindText {
    InputConditionKind kind;
    bool on;
    const char* keyword;
    const char* note;  // field 3 of the jump and call kinds
};

constexpr std::array<KindText, 6> kKinds = {{
    {InputConditionKind::Wait, true, "IN+", ""},
    {InputConditionKind::Wait, false, "IN-", ""},
    {InputConditionKind::Jump, true, "IN+J", "IN+JP"},
    {InputConditionKind::Jump, false, "IN-J", "IN-JP"},
    {InputConditionKind::Call, true, "IN+C", "IN+CALL"},
    {InputConditionKind::Call, false, "IN-C", "IN-CALL"},
}};

}  // namespace

Row inputConditionRow(const InputCondition& condition) {
    for (const KindText& k : kKinds) {
        if (k.kind == condition.kind && k.on == condition.on) {
            const QString keyword = QString::fromLatin1(k.keyword);
            if (condition.kind == InputConditionKind::Wait) {
                return {keyword, condition.input, keyword, "-", "-"};
            }
            return {keyword, condition.input, condition.label, QString::fromLatin1(k.note), "-"};
        }
    }
    return {};
}

std::optional<InputCondition> inputConditionOf(const Row& row) {
    for (const KindText& k : kKinds) {
        if (row[0] == QLatin1String(k.keyword)) {
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
