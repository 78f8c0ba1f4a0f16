#include "editor/storerow.h"

#include <utility>

namespace tql {
namespace {

void shiftDown(ProgramTable& table, int from, int last) {
    for (int i = last + 1; i > from; --i) {
        table[i] = table[i - 1];
    }
}

// Applies the armed modes to a copy and commits only a complete store, so a refusal
// never leaves half a store behind (an append done but its insert refused).
StoreOutcome store(SharedState& state, const Row& row, bool firstModeOnly) {
    if (firstModeOnly && !state.EntryArmed) {
        return StoreOutcome::NothingArmed;
    }
    SharedState next = state;
    bool stored = false;
    const auto mayStore = [&] { return !(firstModeOnly && stored); };

    if (next.AppendMode) {
        if (next.RowCounter >= kMaxProgramRows) {
            return StoreOutcome::TableFull;
        }
        next.RowCounter += 1;
        next.CurrentRow = next.RowCounter;
        next.ProgramTable[next.CurrentRow] = row;
        next.AppendMode = false;
        stored = true;
    }
    if (next.InsertMode && mayStore()) {
        if (next.RowCounter >= kMaxProgramRows) {
            return StoreOutcome::TableFull;
        }
        if (next.CurrentRow < 1 || next.CurrentRow > next.RowCounter + 1) {
            state.InsertMode = false;
            return StoreOutcome::NoSuchRow;
        }
        shiftDown(next.ProgramTable, next.CurrentRow, next.RowCounter);
        next.ProgramTable[next.CurrentRow] = row;
        next.InsertMode = false;
        next.RowCounter += 1;
        stored = true;
    }
    if (next.ModifyMode && mayStore()) {
        if (!CurrentRowIsValid(next)) {
            state.ModifyMode = false;
            return StoreOutcome::NoSuchRow;
        }
        next.ProgramTable[next.CurrentRow] = row;
        next.ModifyMode = false;
        stored = true;
    }
    if (!stored) {
        return StoreOutcome::NothingArmed;
    }
    if (firstModeOnly) {
        next.EntryArmed = false;
    }
    next.ProgramChanged = true;
    state = std::move(next);
    return StoreOutcome::Stored;
}

}  // namespace

void ArmAppend(SharedState& state) {
    if (!state.InsertMode && !state.ModifyMode) {
        state.AppendMode = true;
    }
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
        case StoreOutcome::Stored:
        case StoreOutcome::NothingArmed:
            break;
    }
    return {};
}

}  // namespace tql
