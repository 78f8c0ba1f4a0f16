#pragma once

#include "session/cell.h"
#include "window/controls.h"

#include <QDockWidget>

#include <functional>
#include <memory>

class QThread;

namespace tql {

class ConsolePanel;
class Program;
class Prompter;
class SerialLine;
class SessionClient;
class Sleeper;
class WireMonitor;

// What a controller runs on: its own line and sleeper, and the thread its session runs on
// (none: the window's own thread, as in the tests). The thread ends before the line goes.
class ControllerMeans {
public:
    virtual ~ControllerMeans() = default;
    virtual SerialLine& line() = 0;
    virtual Sleeper& sleeper() = 0;
    virtual QThread* thread() = 0;
};
using ControllerMeansMaker = std::function<std::unique_ptr<ControllerMeans>()>;
// A serial line of its own, on the window's thread.
std::unique_ptr<ControllerMeans> unthreadedMeans();
// A serial line of its own on a session thread of its own, as the tool runs every
// controller's session: the window never waits for any line.
std::unique_ptr<ControllerMeans> threadedMeans();

// One more controller of the cell, in a dock of the main window: its console (上傳 and 檢查,
// the console frame, OUTPUT and INPUT, placed as the first controller's are), its own
// session with its poll, outputs, 立即指令 history and trace file, and its wire monitor.
// The session goes, on its own thread, before its line and thread do.
class CellConsole final : public QDockWidget {
    Q_OBJECT

public:
    CellConsole(const CellController& controller, std::unique_ptr<ControllerMeans> means,
                Prompter& prompter, const Program& program, const Stretch& stretch,
                QWidget* parent);
    ~CellConsole() override;

    const CellController& controller() const { return m_controller; }
    SessionClient& client() { return *m_client; }
    ConsolePanel& console() { return *m_console; }
    // 檢視's entry that shows this controller's wire monitor.
    QAction* monitorAction() const { return m_monitorAction; }

private:
    CellController m_controller;
    std::unique_ptr<ControllerMeans> m_means;
    std::unique_ptr<SessionClient> m_client;
    QWidget* m_panel = nullptr;  // the console's frames; goes before the session
    ConsolePanel* m_console = nullptr;
    WireMonitor* m_monitor = nullptr;
    QAction* m_monitorAction = nullptr;
};

}  // namespace tql
