#include "program/directentries.h"

#include "program/rowkinds.h"

#include <QCoreApplication>

namespace tql {

Row DirectEntry::rowWith(const QString& text) const {
    Row result = row;
    if (asksText()) {
        result[1] = text;
    }
    return result;
}

QString DirectEntry::promptText() const {
    return QCoreApplication::translate("DirectEntries", prompt);
}

QString DirectEntry::titleText() const {
    return QCoreApplication::translate("DirectEntries", title);
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
        {"Command2", QT_TRANSLATE_NOOP("DirectEntries", "請輸入延遲時間{1000為1秒}"),
         QT_TRANSLATE_NOOP("DirectEntries", "延遲時間"), true, makeRow(u"WT", {})},
        {"Command13", "", "", false, makeRow(u"CS", {})},
        {"Command14", QT_TRANSLATE_NOOP("DirectEntries", "請輸入呼叫標籤名稱:"),
         QT_TRANSLATE_NOOP("DirectEntries", "標籤"), false, makeRow(u"CALL", {})},
        {"Command4", "", "", false, makeRow(u"HOME", {})},
        {"Command9", "", "", false, makeRow(u"RET", {})},
        {"LOP", QT_TRANSLATE_NOOP("DirectEntries", "請輸入迴圈次數:"),
         QT_TRANSLATE_NOOP("DirectEntries", "迴圈"), false, makeRow(u"LOOP", {})},
        {"LOOPEND", "", "", false, makeRow(u"LOOPEND", {})},
        {"跳至標籤", QT_TRANSLATE_NOOP("DirectEntries", "請輸入跳至標籤名稱:"),
         QT_TRANSLATE_NOOP("DirectEntries", "跳至標籤"), false, makeRow(u"GLABLE", {})},
        {"標籤", QT_TRANSLATE_NOOP("DirectEntries", "請輸入標籤名稱:"),
         QT_TRANSLATE_NOOP("DirectEntries", "標籤"), false, makeRow(u"LABLE", {})},
    };
    return entries;
}

}  // namespace tql
