#pragma once

#include "program/programtable.h"

#include <QObject>
#include <QString>

#include <deque>
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

    // The operations on the rows chosen (program rows, 1..RowCounter), each one undo step;
    // breakpoints go with their rows. 刪除 of the selection; false when it names no row.
    bool deleteRows(const std::set<int>& rows);
    // 貼上: the rows inserted before row `before` (RowCounter + 1: at the end). Refused,
    // nothing changed, when the program would pass 500 rows or a row holds a control
    // character.
    StoreOutcome insertRows(int before, const std::vector<Row>& rows);
    // 上移 (by -1) and 下移 (+1): the rows chosen one place on, the row they pass going round
    // them; false, nothing changed, when one of them stands at the edge.
    bool moveRows(const std::set<int>& rows, int by);
    // A drag and drop: the rows chosen, in their order, put before row `before` (numbered
    // as before the move; RowCounter + 1: at the end), the others closing up. The row the
    // first of them now is; nothing, nothing changed, when they would stay where they are.
    std::optional<int> moveRowsTo(const std::set<int>& rows, int before);
    // 開啟舊檔: the file's table and count, unchanged, a fresh history. No row is chosen and
    // nothing is armed: a mode armed on the old program's rows must not land on the new.
    void load(const tql::ProgramTable& table, int rowCounter);
    // 建立新檔: no rows, no row chosen, nothing armed, unchanged, a fresh history.
    void clear();
    // The program was written to its file: undo may return to this state unchanged.
    void markSaved();

    // The rows the dry run pauses before (F9): they stay with their rows as rows are
    // inserted or deleted, come back with the rows undo and redo bring back, belong to no
    // program file, and a new or opened program has none.
    const std::set<int>& breakpoints() const { return m_breakpoints; }
    // Sets or clears the breakpoint of a program row; other rows are not taken.
    void toggleBreakpoint(int row);

    bool canUndo() const { return m_index > 0; }
    bool canRedo() const { return m_index < int(m_history.size()); }
    // What undo and redo would take back or do again ("輸入一列", "刪除一列").
    QString undoText() const;
    QString redoText() const;
    // Puts back the rows before the last change (or after the one undone), with their
    // breakpoints. CurrentRow stays: the editor decides which row stays chosen. An armed
    // insert or modify whose row the step moved or replaced is disarmed (armedModeDropped),
    // so it never lands on other content.
    void undo();
    void redo();

    // The steps undo can take back; older ones are forgotten, so a long session stays small.
    static constexpr int kUndoSteps = 1000;

signals:
    // The rows changed: the list is rebuilt from them.
    void tableChanged();
    // CurrentRow, an edit mode or the changed flag changed.
    void stateChanged();
    // Undo or redo became possible or impossible, or their texts changed.
    void historyChanged();
    void breakpointsChanged();
    // Undo or redo changed the row an armed insert or modify named, and disarmed it.
    void armedModeDropped();

private:
    // One step of the history: the rows from `at` on that gave way to others. Only what
    // changed is kept, and the breakpoints of both sides, as offsets from `at`.
    struct Change {
        int at = 1;
        std::vector<Row> before;
        std::vector<Row> after;
        std::set<int> marksBefore;
        std::set<int> marksAfter;
        QString what;  // "輸入一列", "刪除一列"
    };

    StoreOutcome store(const Row& row, bool spendsEntryArmed);
    // The rows from `first` on in this order (each the row that comes there), one step of
    // the history; false when it is the order they stand in.
    bool reorder(int first, const std::vector<int>& order, size_t moving);
    // Makes the change, one step of the history.
    void commit(Change change, const QString& what);
    // Rows at.. of `outgoing` count give way to `incoming`; the breakpoints of the rows that
    // go are kept in outMarks, those in inMarks come with the rows that come.
    void exchange(int at, int outgoing, const std::vector<Row>& incoming, std::set<int>& outMarks,
                  const std::set<int>& inMarks);
    void startHistory();
    // The step undone (forward false) or done again, and the armed mode it may have moved.
    void step(Change& change, bool forward);

    tql::ProgramTable m_table{};
    int m_rowCounter = 0;
    int m_currentRow = 0;
    bool m_appendMode = false;
    bool m_insertMode = false;
    bool m_modifyMode = false;
    bool m_entryArmed = false;
    bool m_changed = false;
    std::deque<Change> m_history;  // the steps, the oldest first
    int m_index = 0;               // the steps done; those beyond it are for redo
    int m_savedIndex = 0;          // the steps done when saved; -1 once out of reach
    std::set<int> m_breakpoints;
};

}  // namespace tql
