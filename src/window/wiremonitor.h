#pragma once

#include <QTimer>
#include <QWidget>

class QCheckBox;
class QPlainTextEdit;

namespace tql {

class Prompter;
class WireLog;

// The wire monitor: every line sent and every reply received, with the time of day and
// the direction, as text or in hex. A window of its own beside the main window, shown and
// hidden from the menu. It reads the log a few times a second while shown, so the poll
// pays only for appending to the log.
class WireMonitor final : public QWidget {
    Q_OBJECT

public:
    WireMonitor(WireLog& log, Prompter& prompter, QWidget* parent);

signals:
    void hidden();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void showNewEntries();
    void showAll();
    void save();

    WireLog& m_log;
    Prompter& m_prompter;
    QTimer m_refresh;
    QPlainTextEdit* m_view;
    QCheckBox* m_hex;
    quint64 m_shown = 0;  // entries of the log already on screen
};

}  // namespace tql
