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
constexpr RowKind fromFilesOnly(const char16_t* keyword, const char* mark, RowFamily family) {
    return {keyword, mark, family, {}, {}, {}};
}

// " 0,0" with its leading blank is what the coordinate-reset row has always held.
constexpr std::array<RowKind, kRowKinds> kKinds = {{
    {u"POINT",
     "MA",
     RowFamily::Move,
     {u"絕對移動", nullptr, u"-", u"-"},
     {kPosition},
     {u"MA {2};", u"DN;"}},
    fromFilesOnly(u"LINE", "LN", RowFamily::Move),
    fromFilesOnly(u"ARC", "AR", RowFamily::Move),
    fromFilesOnly(u"CIR", "CI", RowFamily::Move),
    {u"VM",
     "VM",
     RowFamily::Timing,
     {nullptr, u"速度", u"-", u"-"},
     {{{1, Speed, QT_TRANSLATE_NOOP("RowKinds", "速度")}}},
     {u"VM={1};"}},
    {u"WT",
     "WT",
     RowFamily::Timing,
     {nullptr, u"延遲", u"-", u"-"},
     {{{1, Delay, QT_TRANSLATE_NOOP("RowKinds", "延遲")}}},
     {u"WT {1};", u"DN;"}},
    {u"LOOP",
     "LP",
     RowFamily::Flow,
     {nullptr, u"迴圈", u"-", u"-"},
     {{{1, LoopCount, QT_TRANSLATE_NOOP("RowKinds", "迴圈次數")}}},
     {u"{C}={1};", u"{L}:;"}},
    {u"LOOPEND",
     "LE",
     RowFamily::Flow,
     {u"迴圈結束", u"-", u"-", u"-"},
     {},
     {u"{C}={C}-1;", u"JNZ {C},{L};"}},
    {u"LABLE", "$:", RowFamily::Flow, {nullptr, u"標籤", u"-", u"-"}, {kLabelName}, {u"${1}:;"}},
    {u"GLABLE",
     "JP",
     RowFamily::Flow,
     {nullptr, u"跳至標籤", u"-", u"-"},
     {kLabelName},
     {u"JP ${1};"}},
    {u"HOME", "H", RowFamily::Home, {u"回原點", u"-", u"-", u"-"}, {}, {u"H;", u"DN;"}},
    {u"RET", "RT", RowFamily::Flow, {u"RETURN", u"返回", u"-", u"-"}, {}, {u"RET;"}},
    fromFilesOnly(u"IN", "IN", RowFamily::Input),
    {u"OUTP",
     "OP",
     RowFamily::Output,
     {nullptr, u"ALL-P", u"-", u"-"},
     {{{1, OutputPattern, QT_TRANSLATE_NOOP("RowKinds", "輸出位元值")}}},
     {u"OUTP {1};"}},
    {u"MR",
     "MR",
     RowFamily::Move,
     {u"相對移動", nullptr, u"-", u"-"},
     {kPosition},
     {u"MR {2};", u"DN;"}},
    {u"CS", "0", RowFamily::Home, {u" 0,0", u"座標歸零", u"-", u"-"}, {}, {u"CS 0 0;"}},
    {u"CALL",
     "CL",
     RowFamily::Flow,
     {nullptr, u"呼叫標籤", u"-", u"-"},
     {kLabelName},
     {u"CALL ${1};"}},
    {u"SETP",
     "S+",
     RowFamily::Output,
     {nullptr, u"ON", u"-", u"-"},
     {kOutputNumber},
     {u"SET P{1};"}},
    {u"CLRP",
     "S-",
     RowFamily::Output,
     {nullptr, u"OFF", u"-", u"-"},
     {kOutputNumber},
     {u"CLR P{1};"}},
    {u"PULSE",
     "P+",
     RowFamily::Output,
     {nullptr, nullptr, u"ON-P", u"-"},
     {kOutputNumber, kPulseTime},
     {u"SET P{1};", u"WT {2};", u"DN;", u"CLR P{1};"}},
    {u"PULSE-",
     "P-",
     RowFamily::Output,
     {nullptr, nullptr, u"OFF-P", u"-"},
     {kOutputNumber, kPulseTime},
     {u"CLR P{1};", u"WT {2};", u"DN;", u"SET P{1};"}},
    {u"IN+", "I+", RowFamily::Input, {nullptr, u"IN+", u"-", u"-"}, {kInputNumber}, {u"WI {1};"}},
    {u"IN-", "I-", RowFamily::Input, {nullptr, u"IN-", u"-", u"-"}, {kInputNumber}, {u"WNI {1};"}},
    {u"IN+J",
     "J+",
     RowFamily::Input,
     {nullptr, nullptr, u"IN+JP", u"-"},
     {kInputNumber, kLabelAfterInput},
     {u"JI {1},${2};"}},
    {u"IN-J",
     "J-",
     RowFamily::Input,
     {nullptr, nullptr, u"IN-JP", u"-"},
     {kInputNumber, kLabelAfterInput},
     {u"JNI {1},${2};"}},
    {u"IN+C",
     "C+",
     RowFamily::Input,
     {nullptr, nullptr, u"IN+CALL", u"-"},
     {kInputNumber, kLabelAfterInput},
     {u"CI {1},${2};"}},
    {u"IN-C",
     "C-",
     RowFamily::Input,
     {nullptr, nullptr, u"IN-CALL", u"-"},
     {kInputNumber, kLabelAfterInput},
     {u"CNI {1},${2};"}},
    {u"STEP",
     "ST",
     RowFamily::Text,
     {nullptr, nullptr, u"自設", u"-"},
     {{{1, Statement, QT_TRANSLATE_NOOP("RowKinds", "自設步驟")},
       {2, Comment, QT_TRANSLATE_NOOP("RowKinds", "註解")}}},
     {u"{1};"}},
}};

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

int iconOf(const RowKind& kind) {
    return int(&kind - kKinds.data()) + 1;
}

Row makeRow(QStringView keyword, std::initializer_list<QString> values) {
    const RowKind* kind = rowKind(keyword);
    Row row{keyword.toString()};
    auto value = values.begin();
    for (size_t c = 0; c < kind->cells.size(); ++c) {
        if (kind->cells[c] != nullptr) {
            row[c + 1] = QString::fromUtf16(kind->cells[c]);
        } else if (value != values.end()) {
            row[c + 1] = *value++;
        }
    }
    return row;
}

}  // namespace tql
