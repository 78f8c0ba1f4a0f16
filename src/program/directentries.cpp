#include "program/directentries.h"

#include "program/rowkinds.h"

#include <QCoreApplication>

#include <array>

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

const DirectEntry& directEntry(DirectEntryKind kind) {
    // In the order of DirectEntryKind.
    static const std::array<DirectEntry, kDirectEntries> entries = {{
        {QT_TRANSLATE_NOOP("DirectEntries", "請輸入延遲時間{1000為1秒}"),
         QT_TRANSLATE_NOOP("DirectEntries", "延遲時間"), true, makeRow(RowKindId::Delay)},
        {"", "", false, makeRow(RowKindId::ZeroPosition)},
        {QT_TRANSLATE_NOOP("DirectEntries", "請輸入呼叫標籤名稱:"),
         QT_TRANSLATE_NOOP("DirectEntries", "標籤"), false, makeRow(RowKindId::Call)},
        {"", "", false, makeRow(RowKindId::Home)},
        {"", "", false, makeRow(RowKindId::Return)},
        {QT_TRANSLATE_NOOP("DirectEntries", "請輸入迴圈次數:"),
         QT_TRANSLATE_NOOP("DirectEntries", "迴圈"), false, makeRow(RowKindId::Loop)},
        {"", "", false, makeRow(RowKindId::LoopEnd)},
        {QT_TRANSLATE_NOOP("DirectEntries", "請輸入跳至標籤名稱:"),
         QT_TRANSLATE_NOOP("DirectEntries", "跳至標籤"), false, makeRow(RowKindId::JumpToLabel)},
        {QT_TRANSLATE_NOOP("DirectEntries", "請輸入標籤名稱:"),
         QT_TRANSLATE_NOOP("DirectEntries", "標籤"), false, makeRow(RowKindId::Label)},
    }};
    return entries[size_t(kind)];
}

}  // namespace tql
