#include "program/directentries.h"

#include "program/storerow.h"

namespace tql {

Row DirectEntry::rowWith(const QString& text) const {
    Row result = row;
    if (asksText()) {
        result[1] = text;
    }
    return result;
}

QString DirectEntry::defaultText(const SharedState& state) const {
    if (state.ModifyMode && CurrentRowIsValid(state) &&
        state.ProgramTable[state.CurrentRow][0] == row[0]) {
        return state.ProgramTable[state.CurrentRow][1];
    }
    return remembersText ? state.LastDelay : QString();
}

const std::vector<DirectEntry>& directEntries() {
    // " 0,0" with its leading blank is what the coordinate-reset row has always held.
    static const std::vector<DirectEntry> entries = {
        {"Command2",
         "延遲",
         "請輸入延遲時間{1000為1秒}",
         "延遲時間",
         true,
         {"WT", "", "延遲", "-", "-"}},
        {"Command13", "座標歸零", "", "", false, {"CS", " 0,0", "座標歸零", "-", "-"}},
        {"Command14",
         "呼叫標籤",
         "請輸入呼叫標籤名稱:",
         "標籤",
         false,
         {"CALL", "", "呼叫標籤", "-", "-"}},
        {"Command4", "回原點", "", "", false, {"HOME", "回原點", "-", "-", "-"}},
        {"Command9", "返回", "", "", false, {"RET", "RETURN", "返回", "-", "-"}},
        {"LOP", "迴圈", "請輸入迴圈次數:", "迴圈", false, {"LOOP", "", "迴圈", "-", "-"}},
        {"LOOPEND", "迴圈結束", "", "", false, {"LOOPEND", "迴圈結束", "-", "-", "-"}},
        {"跳至標籤",
         "跳至標籤",
         "請輸入跳至標籤名稱:",
         "跳至標籤",
         false,
         {"GLABLE", "", "跳至標籤", "-", "-"}},
        {"標籤", "標籤", "請輸入標籤名稱:", "標籤", false, {"LABLE", "", "標籤", "-", "-"}},
    };
    return entries;
}

}  // namespace tql
