#include "program/program.h"

#include <algorithm>

namespace tql {

Program::Program(QObject* parent) : QObject(parent) {
    m_table[0] = headerRow();
}

bool Program::CurrentRowIsValid() const {
    return m_currentRow >= 1 && m_currentRow <= m_rowCounter;
}

std::optional<Row> Program::rowBeingModified() const {
    if (!m_modifyMode || !CurrentRowIsValid()) {
        return std::nullopt;
    }
    return m_table[m_currentRow];
}

void Program::setCurrentRow(int row) {
    m_currentRow = row;
    emit stateChanged();
}

void Program::ArmAppend() {
    if (!m_insertMode && !m_modifyMode) {
        m_appendMode = true;
    }
    emit stateChanged();
}

void Program::ArmInsert() {
    m_appendMode = m_modifyMode = false;
    m_insertMode = true;
    emit stateChanged();
}

void Program::ArmModify() {
    m_appendMode = m_insertMode = false;
    m_modifyMode = true;
    emit stateChanged();
}

void Program::ClearEditModes() {
    m_appendMode = m_insertMode = m_modifyMode = false;
    emit stateChanged();
}

void Program::ArmEntry() {
    m_entryArmed = true;
}

void Program::markChanged() {
    m_changed = true;
    emit stateChanged();
}

// One entry stores one row: the first armed mode acts and is disarmed. Every check comes
// before the first write, so a refusal never leaves half a store behind.
StoreOutcome Program::store(const Row& row, bool spendsEntryArmed) {
    if (spendsEntryArmed && !m_entryArmed) {
        return StoreOutcome::NothingArmed;
    }
    if (holdsControlCharacter(row)) {
        return StoreOutcome::ControlCharacter;
    }
    const bool grows = m_appendMode || m_insertMode;
    if (grows && m_rowCounter >= kMaxProgramRows) {
        return StoreOutcome::TableFull;
    }
    Change change;
    change.after = {row};
    if (m_appendMode) {
        m_appendMode = false;
        change.at = m_rowCounter + 1;
        m_currentRow = change.at;
    } else if (m_insertMode) {
        m_insertMode = false;
        if (m_currentRow < 1 || m_currentRow > m_rowCounter + 1) {
            emit stateChanged();
            return StoreOutcome::NoSuchRow;
        }
        change.at = m_currentRow;
    } else if (m_modifyMode) {
        m_modifyMode = false;
        if (!CurrentRowIsValid()) {
            emit stateChanged();
            return StoreOutcome::NoSuchRow;
        }
        change.at = m_currentRow;
        change.before = {m_table[m_currentRow]};
        // A modified row keeps its breakpoint.
        if (m_breakpoints.contains(m_currentRow)) {
            change.marksAfter = {0};
        }
    } else {
        return StoreOutcome::NothingArmed;
    }
    if (spendsEntryArmed) {
        m_entryArmed = false;
    }
    commit(std::move(change), tr("輸入一列"));
    return StoreOutcome::Stored;
}

StoreOutcome Program::StoreRow(const Row& row) {
    return store(row, false);
}

StoreOutcome Program::StoreArmedRow(const Row& row) {
    return store(row, true);
}

bool Program::DeleteCurrentRow() {
    if (!CurrentRowIsValid()) {
        return false;
    }
    Change change;
    change.at = m_currentRow;
    change.before = {m_table[m_currentRow]};
    commit(std::move(change), tr("刪除一列"));
    return true;
}

void Program::load(const tql::ProgramTable& table, int rowCounter) {
    m_table = table;
    m_rowCounter = rowCounter;
    startHistory();
}

// The counters go; the rows beyond them are never read again.
void Program::clear() {
    m_rowCounter = 0;
    startHistory();
}

void Program::markSaved() {
    m_savedIndex = m_index;
    m_changed = false;
    emit stateChanged();
}

void Program::toggleBreakpoint(int row) {
    if (row < 1 || row > m_rowCounter) {
        return;
    }
    if (!m_breakpoints.erase(row)) {
        m_breakpoints.insert(row);
    }
    emit breakpointsChanged();
}

void Program::exchange(int at, int outgoing, const std::vector<Row>& incoming,
                       std::set<int>& outMarks, const std::set<int>& inMarks) {
    const int delta = int(incoming.size()) - outgoing;
    const auto rows = m_table.begin();
    if (delta > 0) {
        std::move_backward(rows + at + outgoing, rows + m_rowCounter + 1,
                           rows + m_rowCounter + 1 + delta);
    } else if (delta < 0) {
        std::move(rows + at + outgoing, rows + m_rowCounter + 1, rows + at + outgoing + delta);
        std::fill(rows + m_rowCounter + 1 + delta, rows + m_rowCounter + 1, Row{});
    }
    std::copy(incoming.begin(), incoming.end(), rows + at);
    m_rowCounter += delta;

    std::set<int> marks;
    outMarks.clear();
    for (const int row : m_breakpoints) {
        if (row < at) {
            marks.insert(row);
        } else if (row < at + outgoing) {
            outMarks.insert(row - at);
        } else {
            marks.insert(row + delta);
        }
    }
    for (const int offset : inMarks) {
        marks.insert(at + offset);
    }
    if (marks != m_breakpoints) {
        m_breakpoints = std::move(marks);
        emit breakpointsChanged();
    }
}

void Program::startHistory() {
    m_currentRow = 0;
    m_appendMode = m_insertMode = m_modifyMode = false;
    if (!m_breakpoints.empty()) {
        m_breakpoints.clear();
        emit breakpointsChanged();
    }
    m_history.clear();
    m_index = m_savedIndex = 0;
    m_changed = false;
    emit tableChanged();
    emit stateChanged();
    emit historyChanged();
}

// A change after an undo drops what redo could have brought back, and with it, perhaps,
// the state last saved. Beyond kUndoSteps the oldest step is forgotten.
void Program::commit(Change change, const QString& what) {
    m_history.resize(std::size_t(m_index));
    if (m_savedIndex > m_index) {
        m_savedIndex = -1;
    }
    change.what = what;
    exchange(change.at, int(change.before.size()), change.after, change.marksBefore,
             change.marksAfter);
    m_history.push_back(std::move(change));
    m_index += 1;
    if (int(m_history.size()) > kUndoSteps) {
        m_history.pop_front();
        m_index -= 1;
        m_savedIndex = m_savedIndex > 0 ? m_savedIndex - 1 : -1;
    }
    m_changed = true;
    emit tableChanged();
    emit stateChanged();
    emit historyChanged();
}

QString Program::undoText() const {
    return canUndo() ? m_history[std::size_t(m_index - 1)].what : QString();
}

QString Program::redoText() const {
    return canRedo() ? m_history[std::size_t(m_index)].what : QString();
}

void Program::undo() {
    if (canUndo()) {
        m_index -= 1;
        step(m_history[std::size_t(m_index)], false);
    }
}

void Program::redo() {
    if (canRedo()) {
        m_index += 1;
        step(m_history[std::size_t(m_index - 1)], true);
    }
}

// The marks of the rows that go are kept in the step, so they come back with them.
void Program::step(Change& change, bool forward) {
    const int outgoing = int((forward ? change.before : change.after).size());
    const int incoming = int((forward ? change.after : change.before).size());
    if (forward) {
        exchange(change.at, outgoing, change.after, change.marksBefore, change.marksAfter);
    } else {
        exchange(change.at, outgoing, change.before, change.marksAfter, change.marksBefore);
    }
    // The armed row stands as it was when the step touched nothing at or before it, or only
    // replaced rows before it one for one.
    const bool armedRowKept =
        m_currentRow < change.at || (outgoing == incoming && m_currentRow >= change.at + outgoing);
    const bool dropped = (m_insertMode || m_modifyMode) && !armedRowKept;
    if (dropped) {
        m_insertMode = m_modifyMode = false;
    }
    m_changed = m_index != m_savedIndex;
    emit tableChanged();
    emit stateChanged();
    emit historyChanged();
    if (dropped) {
        emit armedModeDropped();
    }
}

QString storeRefusalMessage(StoreOutcome outcome) {
    switch (outcome) {
        case StoreOutcome::TableFull:
            return Program::tr("程式已滿500列, 無法再加入!");
        case StoreOutcome::NoSuchRow:
            return Program::tr("選取的列已不存在, 請重新選取!");
        case StoreOutcome::ControlCharacter:
            return Program::tr("輸入的文字含有控制字元 (如 Tab 或換行), 未儲存!");
        case StoreOutcome::NothingArmed:
            return Program::tr("沒有等待輸入的列 (已輸入或已取消), 未儲存!");
        case StoreOutcome::Stored:
            break;
    }
    return {};
}

}  // namespace tql
