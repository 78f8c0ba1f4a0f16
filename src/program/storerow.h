#pragma once

#include "program/sharedstate.h"

namespace tql {

enum class StoreOutcome {
    Stored,
    NothingArmed,  // no edit mode set (or, for the one-row dialogs, EntryArmed already spent)
    TableFull,     // the row would need a table row beyond 500
    NoSuchRow,     // the armed insert or modify names a row that no longer exists
    // A text holds a control character (pasted Tab, line break, ESC): nothing is stored and
    // every mode stays armed, so the operator can mend the text and store again.
    ControlCharacter,
};

// If neither insert nor modify is armed, the next stored row is appended.
void ArmAppend(SharedState& state);

// 插入 and 修改: the operator's latest choice wins, so arming one disarms the other two
// modes (a leftover append from a cancelled entry included). One entry stores one row.
void ArmInsert(SharedState& state);
void ArmModify(SharedState& state);

// Disarms append, insert and modify (the cancel of the input, output and absolute-move
// dialogs).
void ClearEditModes(SharedState& state);

// Stores one row by the first armed mode, in the order append, insert, modify, and
// disarms that mode. A refused store changes nothing but the mode that named a vanished
// row.
StoreOutcome StoreRow(SharedState& state, const Row& row);

// The store of the move and custom-step dialogs: StoreRow, but only while EntryArmed is
// set; the store spends EntryArmed.
StoreOutcome StoreArmedRow(SharedState& state, const Row& row);

// Removes row CurrentRow, moving the rows below it up. A CurrentRow outside
// 1..RowCounter removes nothing; returns whether a row was removed.
bool DeleteCurrentRow(SharedState& state);

// Whether CurrentRow names a program row (the target insert, modify and delete need).
bool CurrentRowIsValid(const SharedState& state);

// The operator's message for a refused store; empty for Stored. A dialog whose 確認 finds
// nothing armed (its row already stored, or the entry cancelled elsewhere) says so too.
QString storeRefusalMessage(StoreOutcome outcome);

}  // namespace tql
