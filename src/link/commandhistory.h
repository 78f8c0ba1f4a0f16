#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The commands the operator sent with 立即指令, for Up and Down in its field: newest last,
// at most 100, a repeat of the last one kept once.
namespace tql {

class CommandHistory {
public:
    static constexpr qsizetype kMaxCommands = 100;

    explicit CommandHistory(QStringList commands = {});

    void add(const QString& command);
    // Up: the command before the one shown; editing is the field's text when browsing starts.
    std::optional<QString> older(const QString& editing);
    // Down: the command after the one shown; past the newest, the text being edited again.
    std::optional<QString> newer();

    const QStringList& commands() const { return m_commands; }

private:
    QStringList m_commands;
    qsizetype m_at = 0;  // the command shown; m_commands.size() is the field being edited
    QString m_editing;
};

}  // namespace tql
