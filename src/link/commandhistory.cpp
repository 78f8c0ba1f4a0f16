#include "link/commandhistory.h"

namespace tql {

CommandHistory::CommandHistory(QStringList commands) : m_commands(std::move(commands)) {
    if (m_commands.size() > kMaxCommands) {
        m_commands = m_commands.mid(m_commands.size() - kMaxCommands);
    }
    m_at = m_commands.size();
}

void CommandHistory::add(const QString& command) {
    if (!command.isEmpty() && (m_commands.isEmpty() || m_commands.last() != command)) {
        m_commands.append(command);
        if (m_commands.size() > kMaxCommands) {
            m_commands.removeFirst();
        }
    }
    m_at = m_commands.size();
    m_editing.clear();
}

std::optional<QString> CommandHistory::older(const QString& editing) {
    if (m_at == 0) {
        return std::nullopt;
    }
    if (m_at == m_commands.size()) {
        m_editing = editing;
    }
    return m_commands[--m_at];
}

std::optional<QString> CommandHistory::newer() {
    if (m_at >= m_commands.size()) {
        return std::nullopt;
    }
    ++m_at;
    return m_at == m_commands.size() ? m_editing : m_commands[m_at];
}

}  // namespace tql
