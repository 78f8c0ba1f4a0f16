#include "program/programtable.h"

#include <algorithm>
#include <iterator>

namespace tql {
namespace {

// Numbered 1..28 in this order; a row's icon is its keyword's position here.
constexpr std::array<const char*, 28> kKeywords = {
    "POINT",  "LINE", "ARC", "CIR",  "VM",   "WT",   "LOOP", "LOOPEND", "LABLE", "GLABLE",
    "HOME",   "RET",  "IN",  "OUTP", "MR",   "CS",   "CALL", "SETP",    "CLRP",  "PULSE",
    "PULSE-", "IN+",  "IN-", "IN+J", "IN-J", "IN+C", "IN-C", "STEP"};

}  // namespace

Row headerRow() {
    return {"FUNCTINO", "DATA", "XPOINT", "PS", "PS"};
}

int iconForKeyword(const QString& keyword) {
    const auto found = std::find_if(kKeywords.begin(), kKeywords.end(),
                                    [&](const char* k) { return keyword == QLatin1String(k); });
    return found == kKeywords.end() ? 0 : int(std::distance(kKeywords.begin(), found)) + 1;
}

std::vector<int> listIcons(const ProgramTable& table, int rowCounter) {
    std::vector<int> icons;
    int previous = 0;
    for (int i = 1; i <= std::min(rowCounter, kMaxProgramRows); ++i) {
        const int icon = iconForKeyword(table[i][0]);
        previous = icon != 0 ? icon : previous;
        icons.push_back(previous);
    }
    return icons;
}

}  // namespace tql
