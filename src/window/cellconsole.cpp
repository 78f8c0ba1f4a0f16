#include "window/cellconsole.h"

#include "link/qtserialline.h"
#include "session/controllersession.h"
#include "window/consolepanel.h"
#include "window/sessionclient.h"
#include "window/wiremonitor.h"

#include <QAction>
#include <QGroupBox>
#include <QScrollArea>
#include <QThread>

namespace tql {
namespace {

constexpr QSize kPanelSize{604, 204};

// A scroll area that asks for the whole of the console's frames and takes less when the
// screen has no more room.
class PanelArea final : public QScrollArea {
public:
    QSize sizeHint() const override {
        const QMargins frame = contentsMargins();
        return widget()->minimumSize().grownBy(frame);
    }
};

class UnthreadedMeans final : public ControllerMeans {
public:
    SerialLine& line() override { return m_line; }
    Sleeper& sleeper() override { return m_sleeper; }
    QThread* thread() override { return nullptr; }

private:
    QtSerialLine m_line;
    ThreadSleeper m_sleeper;
};

class ThreadedMeans final : public ControllerMeans {
public:
    ThreadedMeans() {
        m_thread.setObjectName(QStringLiteral("session"));
        m_thread.start();
        m_line.moveToThread(&m_thread);
    }
    ~ThreadedMeans() override {
        m_thread.quit();
        m_thread.wait();
    }
    ThreadedMeans(const ThreadedMeans&) = delete;
    ThreadedMeans& operator=(const ThreadedMeans&) = delete;
    SerialLine& line() override { return m_line; }
    Sleeper& sleeper() override { return m_sleeper; }
    QThread* thread() override { return &m_thread; }

private:
    QtSerialLine m_line;
    ThreadSleeper m_sleeper;
    QThread m_thread;
};

}  // namespace

std::unique_ptr<ControllerMeans> unthreadedMeans() {
    return std::make_unique<UnthreadedMeans>();
}

std::unique_ptr<ControllerMeans> threadedMeans() {
    return std::make_unique<ThreadedMeans>();
}

CellConsole::CellConsole(const CellController& controller, std::unique_ptr<ControllerMeans> means,
                         Prompter& prompter, const Program& program, const Stretch& stretch,
                         QWidget* parent)
    : QDockWidget(controller.name, parent),
      m_controller(controller),
      m_means(std::move(means)),
      m_client(std::make_unique<SessionClient>(
          std::make_unique<ControllerSession>(prompter, m_means->line(), m_means->sleeper(),
                                              controller.name),
          m_means->thread(), nullptr)) {
    setObjectName(QStringLiteral("Console(%1)").arg(controller.name));
    setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable |
                QDockWidget::DockWidgetClosable);
    ControllerSession& session = m_client->session();
    session.setPortNumber(controller.port);

    m_panel = new QWidget;
    m_console = new ConsolePanel(*m_client, program, m_panel);
    stretchPlaced(m_console->placedControls(), stretch);
    // As the first controller's console stands, without the editor between its frames.
    m_console->uploadFrame()->setGeometry(stretch(QRect(8, 4, 115, 47)));
    m_console->consoleFrame()->setGeometry(stretch(QRect(130, 4, 466, 131)));
    m_console->outputFrame()->setGeometry(stretch(QRect(8, 142, 209, 57)));
    m_console->inputFrame()->setGeometry(stretch(QRect(226, 144, 362, 54)));
    m_panel->setMinimumSize(stretch(kPanelSize));
    // On a screen too narrow for both, the dock scrolls as the first's client area does.
    auto* area = new PanelArea;
    area->setObjectName(QStringLiteral("CellArea"));
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    area->setWidget(m_panel);
    setWidget(area);
    m_console->Form_Load();

    m_monitor = new WireMonitor(session.wireLog(), session.prompter(), parentWidget());
    m_monitor->setWindowTitle(tr("通訊監視 - %1").arg(controller.name));
    m_monitorAction = new QAction(tr("通訊監視 - %1").arg(controller.name), this);
    m_monitorAction->setCheckable(true);
    connect(m_monitorAction, &QAction::toggled, m_monitor, &QWidget::setVisible);
    connect(m_monitor, &WireMonitor::hidden, m_monitorAction,
            [this] { m_monitorAction->setChecked(false); });
    m_client->post([](ControllerSession& s) { s.startPoll(); });
}

// The console's frames and the wire monitor watch the session: they go first, then the
// session on its thread, then the thread and the line.
CellConsole::~CellConsole() {
    delete m_monitor;
    delete m_panel;
    m_client.reset();
    m_means.reset();
}

}  // namespace tql
