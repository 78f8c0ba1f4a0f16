#pragma once

#include "program/entrymemory.h"
#include "program/program.h"
#include "program/programtable.h"

#include <QString>

namespace tql {

// The nine entries that store a row at once, asking at most one text.
enum class DirectEntryKind {
    Delay,
    ZeroPosition,
    Call,
    Home,
    Return,
    Loop,
    LoopEnd,
    JumpToLabel,
    Label
};
inline constexpr int kDirectEntries = 9;

struct DirectEntry {
    // The box's text and title as source texts of the catalogues; an empty prompt: the
    // button asks nothing.
    const char* prompt = "";
    const char* title = "";
    bool remembersText = false;  // the delay box offers the last accepted delay
    Row row;                     // the row stored; an asked text goes into column 1

    bool asksText() const { return *prompt != '\0'; }
    QString promptText() const;
    QString titleText() const;
    Row rowWith(const QString& text) const;
    // What the box offers: modifying a row of this kind, the row's own value, so changing a
    // loop count is one keystroke; otherwise the last accepted delay, or nothing.
    QString defaultText(const Program& program, const EntryMemory& memory) const;
};

const DirectEntry& directEntry(DirectEntryKind kind);

}  // namespace tql
