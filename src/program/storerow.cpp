#include "program/storerow.h"

#include <algorithm>

namespace tql {
namespace {

void shiftDown(ProgramTable& table, int from, int last) {
    for (int i = last + 1; i > from; --i) {
        table[i] = table[i - 1];
    }
}

// One entry stores one row: the first armed mode acts and is disarmed. Every check comes
// before the first write, so a refusal never leaves half a store behind.
StoreOutcome store(SharedState& state, const Row& row, bool spendsEntryArmed) {
    if (spendsEntryArmed && !state.EntryArmed) {
        return StoreOutcome::NothingArmed;
    }
    if (std::any_of(row.begin(), row.end(),
                    [](const QString& cell) { return holdsControlCharacter(cell); })) {
        return StoreOutcome::ControlCharacter;
    }
    ProgramTable& table = state.ProgramTable;
    if (state.AppendMode) {
        if (state.RowCounter >= kMaxProgramRows) {
            return StoreOutcome::TableFull;
        }
        state.RowCounter += 1;
        state.CurrentRow = state.RowCounter;
        table[state.CurrentRow] = row;
        state.AppendMode = false;
    } else if (state.InsertMode) {
        if (state.RowCounter >= kMaxProgramRows) {
            return StoreOutcome::TableFull;
        }
        if (state.CurrentRow < 1 || state.CurrentRow > state.RowCounter + 1) {
            state.InsertMode = false;
            return StoreOutcome::NoSuchRow;
        }
        shiftDown(table, state.CurrentRow, state.RowCounter);
        table[state.CurrentRow] = row;
        state.InsertMode = false;
        state.RowCounter += 1;
    } else if (state.ModifyMode) {
        if (!CurrentRowIsValid(state)) {
            state.ModifyMode = false;
            return StoreOutcome::NoSuchRow;
        }
        table[state.CurrentRow] = row;
        state.ModifyMode = false;
    } else {
        return StoreOutcome::NothingArmed;
    }
    if (spendsEntryArmed) {
        state.EntryArmed = false;
    }
    state.ProgramChanged = true;
    return StoreOutcome::Stored;
}

}  // namespace

void ArmAppend(SharedState& state) {
    if (!state.InsertMode && !state.ModifyMode) {
        state.AppendMode = true;
    }
}

void ArmInsert(SharedState& state) {
    ClearEditModes(state);
    state.InsertMode = true;
}

void ArmModify(SharedState& state) {
    ClearEditModes(state);
    state.ModifyMode = true;
}

void ClearEditModes(SharedState& state) {
    state.AppendMode = false;
    state.InsertMode = false;
    state.ModifyMode = false;
}

StoreOutcome StoreRow(SharedState& state, const Row& row) {
    return store(state, row, false);
}

StoreOutcome StoreArmedRow(SharedState& state, const Row& row) {
    return store(state, row, true);
}

bool CurrentRowIsValid(const SharedState& state) {
    return state.CurrentRow >= 1 && state.CurrentRow <= state.RowCounter;
}

bool DeleteCurrentRow(SharedState& state) {
    if (!CurrentRowIsValid(state)) {
        return false;
    }
    for (int i = state.CurrentRow; i < state.RowCounter; ++i) {
        state.ProgramTable[i] = state.ProgramTable[i + 1];
    }
    state.ProgramTable[state.RowCounter] = Row{};
    state.RowCounter -= 1;
    state.ProgramChanged = true;
    return true;
}

QString storeRefusalMessage(StoreOutcome outcome) {
    switch (outcome) {
        case StoreOutcome::TableFull:
            return QStringLiteral("程式已滿500列, 無法再加入!");
        case StoreOutcome::NoSuchRow:
            return QStringLiteral("選取的列已不存在, 請重新選取!");
        case StoreOutcome::ControlCharacter:
            return QStringLiteral("輸入的文字含有控制字元 (如 Tab 或換行), 未儲存!");
        case StoreOutcome::NothingArmed:
            return QStringLiteral("沒有等待輸入的列 (已輸入或已取消), 未儲存!");
        case StoreOutcome::Stored:
            break;
    }
    return {};
}

}  // namespace tql
