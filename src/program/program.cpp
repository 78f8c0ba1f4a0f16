#include "program/program.h"

#include <algorithm>

namespace tql {

Program::Program(QObject* parent) : QObject(parent) {
    m_table[0] = headerRow();
    startHistory();
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
    if (std::any_of(row.begin(), row.end(),
                    [](const QString& cell) { return holdsControlCharacter(cell); })) {
        return StoreOutcome::ControlCharacter;
    }
    const bool grows = m_appendMode || m_insertMode;
    if (grows && m_rowCounter >= kMaxProgramRows) {
        return StoreOutcome::TableFull;
    }
    if (m_appendMode) {
        m_rowCounter += 1;
        m_currentRow = m_rowCounter;
        m_table[m_currentRow] = row;
        m_appendMode = false;
    } else if (m_insertMode) {
        m_insertMode = false;
        if (m_currentRow < 1 || m_currentRow > m_rowCounter + 1) {
            emit stateChanged();
            return StoreOutcome::NoSuchRow;
        }
        std::move_backward(m_table.begin() + m_currentRow, m_table.begin() + m_rowCounter + 1,
                           m_table.begin() + m_rowCounter + 2);
        m_table[m_currentRow] = row;
        m_rowCounter += 1;
        shiftBreakpoints(m_currentRow, 1);
    } else if (m_modifyMode) {
        m_modifyMode = false;
        if (!CurrentRowIsValid()) {
            emit stateChanged();
            return StoreOutcome::NoSuchRow;
        }
        m_table[m_currentRow] = row;
    } else {
        return StoreOutcome::NothingArmed;
    }
    if (spendsEntryArmed) {
        m_entryArmed = false;
    }
    record(tr("輸入一列"));
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
    std::move(m_table.begin() + m_currentRow + 1, m_table.begin() + m_rowCounter + 1,
              m_table.begin() + m_currentRow);
    m_table[m_rowCounter] = Row{};
    m_rowCounter -= 1;
    m_breakpoints.erase(m_currentRow);
    shiftBreakpoints(m_currentRow + 1, -1);
    record(tr("刪除一列"));
    return true;
}

void Program::load(const tql::ProgramTable& table, int rowCounter) {
    m_table = table;
    m_rowCounter = rowCounter;
    m_currentRow = 1;
    startHistory();
}

// The counters go; the rows beyond them are never read again.
void Program::clear() {
    m_rowCounter = 0;
    m_currentRow = 0;
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

void Program::shiftBreakpoints(int from, int by) {
    std::set<int> shifted;
    for (const int row : m_breakpoints) {
        shifted.insert(row >= from ? row + by : row);
    }
    if (shifted != m_breakpoints) {
        m_breakpoints = std::move(shifted);
        emit breakpointsChanged();
    }
}

void Program::dropBreakpointsBeyondTheRows() {
    if (!m_breakpoints.empty() && *m_breakpoints.rbegin() > m_rowCounter) {
        m_breakpoints.erase(m_breakpoints.upper_bound(m_rowCounter), m_breakpoints.end());
        emit breakpointsChanged();
    }
}

void Program::startHistory() {
    if (!m_breakpoints.empty()) {
        m_breakpoints.clear();
        emit breakpointsChanged();
    }
    m_history = {Rows{m_table, m_rowCounter, QString()}};
    m_index = m_savedIndex = 0;
    m_changed = false;
    emit tableChanged();
    emit stateChanged();
    emit historyChanged();
}

// A change after an undo drops what redo could have brought back, and with it, perhaps,
// the state last saved.
void Program::record(const QString& what) {
    m_history.resize(std::size_t(m_index + 1));
    if (m_savedIndex > m_index) {
        m_savedIndex = -1;
    }
    m_history.push_back(Rows{m_table, m_rowCounter, what});
    m_index += 1;
    m_changed = true;
    emit tableChanged();
    emit stateChanged();
    emit historyChanged();
}

QString Program::undoText() const {
    return canUndo() ? m_history[std::size_t(m_index)].what : QString();
}

QString Program::redoText() const {
    return canRedo() ? m_history[std::size_t(m_index + 1)].what : QString();
}

void Program::undo() {
    if (canUndo()) {
        moveInHistory(m_index - 1);
    }
}

void Program::redo() {
    if (canRedo()) {
        moveInHistory(m_index + 1);
    }
}

void Program::moveInHistory(int index) {
    m_index = index;
    m_table = m_history[std::size_t(index)].table;
    m_rowCounter = m_history[std::size_t(index)].rowCounter;
    m_changed = m_index != m_savedIndex;
    dropBreakpointsBeyondTheRows();
    emit tableChanged();
    emit stateChanged();
    emit historyChanged();
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
