#pragma once

#include "program/programtable.h"

#include <QObject>
#include <QString>

#include <optional>
#include <set>
#include <vector>

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

// The operator's message for a refused store; empty for Stored. A dialog whose 確認 finds
// nothing armed (its row already stored, or the entry cancelled elsewhere) says so too.
QString storeRefusalMessage(StoreOutcome outcome);

// The motion program being edited, and the one owner of its state: the table (row 0 the
// header, rows 1..RowCounter the program), CurrentRow, the edit modes and EntryArmed, the
// storing rule, the undo history and whether the program changed since it was saved. Every
// change goes through it; the windows only show it and forward the operator's actions.
class Program final : public QObject {
    Q_OBJECT

public:
    explicit Program(QObject* parent = nullptr);

    const tql::ProgramTable& table() const { return m_table; }
    const Row& row(int index) const { return m_table[index]; }
    int RowCounter() const { return m_rowCounter; }
    // The row the next insert, modify or delete acts on.
    int CurrentRow() const { return m_currentRow; }
    bool AppendMode() const { return m_appendMode; }
    bool InsertMode() const { return m_insertMode; }
    bool ModifyMode() const { return m_modifyMode; }
    // Lets the move and custom-step dialogs store one row per opening from the editor.
    bool EntryArmed() const { return m_entryArmed; }
    // Unsaved changes: set by the edits and the commands that start one, cleared by a save,
    // New and Open, and by undo or redo back to the state last saved.
    bool ProgramChanged() const { return m_changed; }

    // Whether CurrentRow names a program row (the target insert, modify and delete need).
    bool CurrentRowIsValid() const;
    // The row an armed modify replaces, whose values the entry offers; none otherwise.
    std::optional<Row> rowBeingModified() const;

    // The operator chose a row (0: none).
    void setCurrentRow(int row);
    // If neither insert nor modify is armed, the next stored row is appended.
    void ArmAppend();
    // 插入 and 修改: the operator's latest choice wins, so arming one disarms the other two
    // modes (a leftover append from a cancelled entry included). One entry stores one row.
    void ArmInsert();
    void ArmModify();
    // Disarms append, insert and modify (the cancel of the input, output and absolute-move
    // dialogs, and Esc).
    void ClearEditModes();
    // The move and custom-step dialogs may store one row from this opening.
    void ArmEntry();
    // 編輯開始, 插入, 修改 and the buttons that open an entry dialog count as a change.
    void markChanged();

    // Stores one row by the first armed mode, in the order append, insert, modify, and
    // disarms that mode; a stored row is recorded for undo. A refused store changes nothing
    // but the mode that named a vanished row.
    StoreOutcome StoreRow(const Row& row);
    // The store of the move and custom-step dialogs: StoreRow, but only while EntryArmed is
    // set; the store spends EntryArmed.
    StoreOutcome StoreArmedRow(const Row& row);
    // Removes row CurrentRow, moving the rows below it up, and records it for undo. A
    // CurrentRow outside 1..RowCounter removes nothing; returns whether a row was removed.
    bool DeleteCurrentRow();

    // 開啟舊檔: the file's table and count, CurrentRow 1, unchanged, a fresh history. The
    // edit modes stay as they are.
    void load(const tql::ProgramTable& table, int rowCounter);
    // 建立新檔: no rows, CurrentRow 0, unchanged, a fresh history.
    void clear();
    // The program was written to its file: undo may return to this state unchanged.
    void markSaved();

    // The rows the dry run pauses before (F9): they stay with their rows as rows are
    // inserted or deleted, belong to no program file, and a new or opened program has none.
    const std::set<int>& breakpoints() const { return m_breakpoints; }
    // Sets or clears the breakpoint of a program row; other rows are not taken.
    void toggleBreakpoint(int row);

    bool canUndo() const { return m_index > 0; }
    bool canRedo() const { return m_index + 1 < int(m_history.size()); }
    // What undo and redo would take back or do again ("輸入一列", "刪除一列").
    QString undoText() const;
    QString redoText() const;
    // Puts back the rows before the last change (or after the one undone). CurrentRow and
    // the edit modes stay: the editor decides which row stays chosen.
    void undo();
    void redo();

signals:
    // The rows changed: the list is rebuilt from them.
    void tableChanged();
    // CurrentRow, an edit mode or the changed flag changed.
    void stateChanged();
    // Undo or redo became possible or impossible, or their texts changed.
    void historyChanged();
    void breakpointsChanged();

private:
    struct Rows {
        tql::ProgramTable table;
        int rowCounter = 0;
        QString what;  // the change that led here
    };

    StoreOutcome store(const Row& row, bool spendsEntryArmed);
    void record(const QString& what);
    void startHistory();
    void moveInHistory(int index);
    // Rows from `from` on moved by `by` (a row inserted: +1; removed at from - 1: -1).
    void shiftBreakpoints(int from, int by);
    void dropBreakpointsBeyondTheRows();

    tql::ProgramTable m_table{};
    int m_rowCounter = 0;
    int m_currentRow = 0;
    bool m_appendMode = false;
    bool m_insertMode = false;
    bool m_modifyMode = false;
    bool m_entryArmed = false;
    bool m_changed = false;
    std::vector<Rows> m_history;  // every recorded state, the oldest first
    int m_index = 0;              // the state shown
    int m_savedIndex = 0;         // the state last saved; -1 once undone edits replaced it
    std::set<int> m_breakpoints;
};

}  // namespace tql
