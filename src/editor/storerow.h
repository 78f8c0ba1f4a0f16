#pragma once

#include "editor/sharedstate.h"

namespace tql {

enum class StoreOutcome {
    Stored,
    NothingArmed,  // no edit mode set (or, for the one-row dialogs, EntryArmed already spent)
    TableFull,     // the row would need a table row beyond 500
    NoSuchRow,     // the armed insert or modify names a row that no longer exists
};

// If neither insert nor modify is armed, the next stored row is appended.
void ArmAppend(SharedState& state);

// Disarms append, insert and modify (the cancel of the input, output and absolute-move
// dialogs).
void ClearEditModes(SharedState& state);

// Stores one row by the edit modes, in the order append, insert, modify: every set mode
// applies and is cleared. Checked as a whole first, so a refused store changes nothing
// but the mode that named a vanished row.
StoreOutcome StoreRow(SharedState& state, const Row& row);

// The store of the move and custom-step dialogs: only the first set mode acts, and only
// while EntryArmed is set; that store spends EntryArmed. Other set modes stay set.
StoreOutcome StoreArmedRow(SharedState& state, const Row& row);

// Removes row CurrentRow, moving the rows below it up. A CurrentRow outside
// 1..RowCounter removes nothing; returns whether a row was removed.
bool DeleteCurrentRow(SharedState& state);

// Whether CurrentRow names a program row (the target insert, modify and delete need).
bool CurrentRowIsValid(const SharedState& state);

// The operator's message for a refused store; empty for Stored and NothingArmed.
QString storeRefusalMessage(StoreOutcome outcome);

}  // namespace tql
