#include "program/rowkinds.h"

#include <QtGlobal>

#include <algorithm>

namespace tql {
namespace {

using enum Quantity;

constexpr ValueColumn kPosition{2, Position, QT_TRANSLATE_NOOP("RowKinds", "移動")};
constexpr ValueColumn kInputNumber{1, Input, QT_TRANSLATE_NOOP("RowKinds", "輸入")};
constexpr ValueColumn kOutputNumber{1, Output, QT_TRANSLATE_NOOP("RowKinds", "輸出")};
constexpr ValueColumn kLabelAfterInput{2, Label, QT_TRANSLATE_NOOP("RowKinds", "標籤")};
constexpr ValueColumn kLabelName{1, Label, QT_TRANSLATE_NOOP("RowKinds", "標籤")};
constexpr ValueColumn kPulseTime{2, Delay, QT_TRANSLATE_NOOP("RowKinds", "脈波時間")};

// Kinds that no entry creates and that give no controller line: they can only come from a
// program file.
constexpr RowKind fromFilesOnly(RowKindId id, const char16_t* keyword, const char* mark,
                                RowFamily family) {
    return {id, keyword, mark, family, {}, {}, {}};
}

// " 0,0" with its leading blank is what the coordinate-reset row has always held.
constexpr std::array<RowKind, kRowKinds> kKinds = {{
    {RowKindId::AbsoluteMove,
     u"POINT",
     "MA",
     RowFamily::Move,
     {u"絕對移動", nullptr, u"-", u"-"},
     {kPosition},
     {u"MA {2};", u"DN;"},
     MovesAtSpeed},
    fromFilesOnly(RowKindId::Line, u"LINE", "LN", RowFamily::Move),
    fromFilesOnly(RowKindId::Arc, u"ARC", "AR", RowFamily::Move),
    fromFilesOnly(RowKindId::Circle, u"CIR", "CI", RowFamily::Move),
    {RowKindId::Speed,
     u"VM",
     "VM",
     RowFamily::Timing,
     {nullptr, u"速度", u"-", u"-"},
     {{{1, Speed, QT_TRANSLATE_NOOP("RowKinds", "速度")}}},
     {u"VM={1};"},
     SetsSpeed},
    {RowKindId::Delay,
     u"WT",
     "WT",
     RowFamily::Timing,
     {nullptr, u"延遲", u"-", u"-"},
     {{{1, Delay, QT_TRANSLATE_NOOP("RowKinds", "延遲")}}},
     {u"WT {1};", u"DN;"}},
    {RowKindId::Loop,
     u"LOOP",
     "LP",
     RowFamily::Flow,
     {nullptr, u"迴圈", u"-", u"-"},
     {{{1, LoopCount, QT_TRANSLATE_NOOP("RowKinds", "迴圈次數")}}},
     {u"{C}={1};", u"{L}:;"},
     OpensLoop},
    {RowKindId::LoopEnd,
     u"LOOPEND",
     "LE",
     RowFamily::Flow,
     {u"迴圈結束", u"-", u"-", u"-"},
     {},
     {u"{C}={C}-1;", u"JNZ {C},{L};"},
     ClosesLoop},
    {RowKindId::Label,
     u"LABLE",
     "$:",
     RowFamily::Flow,
     {nullptr, u"標籤", u"-", u"-"},
     {kLabelName},
     {u"${1}:;"},
     DefinesLabel},
    {RowKindId::JumpToLabel,
     u"GLABLE",
     "JP",
     RowFamily::Flow,
     {nullptr, u"跳至標籤", u"-", u"-"},
     {kLabelName},
     {u"JP ${1};"},
     JumpsAlways},
    {RowKindId::Home,
     u"HOME",
     "H",
     RowFamily::Home,
     {u"回原點", u"-", u"-", u"-"},
     {},
     {u"H;", u"DN;"}},
    {RowKindId::Return,
     u"RET",
     "RT",
     RowFamily::Flow,
     {u"RETURN", u"返回", u"-", u"-"},
     {},
     {u"RET;"},
     Returns},
    fromFilesOnly(RowKindId::Input, u"IN", "IN", RowFamily::Input),
    {RowKindId::OutputPattern,
     u"OUTP",
     "OP",
     RowFamily::Output,
     {nullptr, u"ALL-P", u"-", u"-"},
     {{{1, OutputPattern, QT_TRANSLATE_NOOP("RowKinds", "輸出位元值")}}},
     {u"OUTP {1};"}},
    {RowKindId::RelativeMove,
     u"MR",
     "MR",
     RowFamily::Move,
     {u"相對移動", nullptr, u"-", u"-"},
     {kPosition},
     {u"MR {2};", u"DN;"},
     MovesAtSpeed},
    {RowKindId::ZeroPosition,
     u"CS",
     "0",
     RowFamily::Home,
     {u" 0,0", u"座標歸零", u"-", u"-"},
     {},
     {u"CS 0 0;"}},
    {RowKindId::Call,
     u"CALL",
     "CL",
     RowFamily::Flow,
     {nullptr, u"呼叫標籤", u"-", u"-"},
     {kLabelName},
     {u"CALL ${1};"},
     Calls},
    {RowKindId::OutputOn,
     u"SETP",
     "S+",
     RowFamily::Output,
     {nullptr, u"ON", u"-", u"-"},
     {kOutputNumber},
     {u"SET P{1};"}},
    {RowKindId::OutputOff,
     u"CLRP",
     "S-",
     RowFamily::Output,
     {nullptr, u"OFF", u"-", u"-"},
     {kOutputNumber},
     {u"CLR P{1};"}},
    {RowKindId::PulseOn,
     u"PULSE",
     "P+",
     RowFamily::Output,
     {nullptr, nullptr, u"ON-P", u"-"},
     {kOutputNumber, kPulseTime},
     {u"SET P{1};", u"WT {2};", u"DN;", u"CLR P{1};"}},
    {RowKindId::PulseOff,
     u"PULSE-",
     "P-",
     RowFamily::Output,
     {nullptr, nullptr, u"OFF-P", u"-"},
     {kOutputNumber, kPulseTime},
     {u"CLR P{1};", u"WT {2};", u"DN;", u"SET P{1};"}},
    {RowKindId::WaitInputOn,
     u"IN+",
     "I+",
     RowFamily::Input,
     {nullptr, u"IN+", u"-", u"-"},
     {kInputNumber},
     {u"WI {1};"}},
    {RowKindId::WaitInputOff,
     u"IN-",
     "I-",
     RowFamily::Input,
     {nullptr, u"IN-", u"-", u"-"},
     {kInputNumber},
     {u"WNI {1};"}},
    {RowKindId::JumpIfInputOn,
     u"IN+J",
     "J+",
     RowFamily::Input,
     {nullptr, nullptr, u"IN+JP", u"-"},
     {kInputNumber, kLabelAfterInput},
     {u"JI {1},${2};"}},
    {RowKindId::JumpIfInputOff,
     u"IN-J",
     "J-",
     RowFamily::Input,
     {nullptr, nullptr, u"IN-JP", u"-"},
     {kInputNumber, kLabelAfterInput},
     {u"JNI {1},${2};"}},
    {RowKindId::CallIfInputOn,
     u"IN+C",
     "C+",
     RowFamily::Input,
     {nullptr, nullptr, u"IN+CALL", u"-"},
     {kInputNumber, kLabelAfterInput},
     {u"CI {1},${2};"},
     Calls},
    {RowKindId::CallIfInputOff,
     u"IN-C",
     "C-",
     RowFamily::Input,
     {nullptr, nullptr, u"IN-CALL", u"-"},
     {kInputNumber, kLabelAfterInput},
     {u"CNI {1},${2};"},
     Calls},
    {RowKindId::CustomStep,
     u"STEP",
     "ST",
     RowFamily::Text,
     {nullptr, nullptr, u"自設", u"-"},
     {{{1, Statement, QT_TRANSLATE_NOOP("RowKinds", "自設步驟")},
       {2, Comment, QT_TRANSLATE_NOOP("RowKinds", "註解")}}},
     {u"{1};"}},
}};

constexpr bool inIdOrder() {
    for (size_t i = 0; i < kKinds.size(); ++i) {
        if (size_t(kKinds[i].id) != i) {
            return false;
        }
    }
    return true;
}
static_assert(inIdOrder(), "a kind's id is its place in the table");

}  // namespace

const std::array<RowKind, kRowKinds>& rowKinds() {
    return kKinds;
}

const RowKind* rowKind(QStringView keyword) {
    const auto found = std::find_if(kKinds.begin(), kKinds.end(), [&](const RowKind& kind) {
        return keyword == QStringView(kind.keyword);
    });
    return found == kKinds.end() ? nullptr : &*found;
}

const RowKind& rowKind(RowKindId id) {
    return kKinds[size_t(id)];
}

bool isKind(const Row& row, RowKindId id) {
    return row[0] == QStringView(rowKind(id).keyword);
}

bool hasTrait(const Row& row, RowTrait trait) {
    const RowKind* kind = rowKind(row[0]);
    return kind != nullptr && kind->is(trait);
}

int iconOf(const RowKind& kind) {
    return int(&kind - kKinds.data()) + 1;
}

Row makeRow(RowKindId id, std::initializer_list<QString> values) {
    const RowKind& kind = rowKind(id);
    Row row{QString::fromUtf16(kind.keyword)};
    auto value = values.begin();
    for (size_t c = 0; c < kind.cells.size(); ++c) {
        if (kind.cells[c] != nullptr) {
            row[c + 1] = QString::fromUtf16(kind.cells[c]);
        } else if (value != values.end()) {
            row[c + 1] = *value++;
        }
    }
    return row;
}

}  // namespace tql
