#include "program/directentries.h"

#include "program/rowkinds.h"

namespace tql {

Row DirectEntry::rowWith(const QString& text) const {
    Row result = row;
    if (asksText()) {
        result[1] = text;
    }
    return result;
}

QString DirectEntry::defaultText(const Program& program, const EntryMemory& memory) const {
    if (const std::optional<Row> modified = program.rowBeingModified();
        modified && (*modified)[0] == row[0]) {
        return (*modified)[1];
    }
    return remembersText ? memory.LastDelay : QString();
}

const std::vector<DirectEntry>& directEntries() {
    static const std::vector<DirectEntry> entries = {
        {"Command2", "延遲", "請輸入延遲時間{1000為1秒}", "延遲時間", true, makeRow(u"WT", {})},
        {"Command13", "座標歸零", "", "", false, makeRow(u"CS", {})},
        {"Command14", "呼叫標籤", "請輸入呼叫標籤名稱:", "標籤", false, makeRow(u"CALL", {})},
        {"Command4", "回原點", "", "", false, makeRow(u"HOME", {})},
        {"Command9", "返回", "", "", false, makeRow(u"RET", {})},
        {"LOP", "迴圈", "請輸入迴圈次數:", "迴圈", false, makeRow(u"LOOP", {})},
        {"LOOPEND", "迴圈結束", "", "", false, makeRow(u"LOOPEND", {})},
        {"跳至標籤", "跳至標籤", "請輸入跳至標籤名稱:", "跳至標籤", false, makeRow(u"GLABLE", {})},
        {"標籤", "標籤", "請輸入標籤名稱:", "標籤", false, makeRow(u"LABLE", {})},
    };
    return entries;
}

}  // namespace tql
