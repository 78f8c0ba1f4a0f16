#include "window/form1.h"

#include "files/settingsfile.h"
#include "link/portname.h"
#include "link/qtserialline.h"
#include "session/usersettings.h"
#include "window/consolepanel.h"
#include "window/filecommands.h"
#include "window/programpanel.h"
#include "window/prompter.h"
#include "window/sessionclient.h"
#include "window/trendchart.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QSerialPortInfo>
#include <QShortcut>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>

namespace tql {
namespace {

constexpr QSize kClientSize{646, 540};
constexpr int kNoteTime = 8000;  // ms a passing word stays in the status bar

}  // namespace

FORM1::FORM1(Prompter& prompter, SerialLine& line, Sleeper& sleeper, QDir workingDir,
             QThread* sessionThread, ControllerMeansMaker cellMeans, QWidget* parent)
    : QMainWindow(parent),
      m_client(new SessionClient(std::make_unique<ControllerSession>(prompter, line, sleeper),
                                 sessionThread, this)),
      m_session(m_client->session()),
      m_prompter(m_session.prompter()),
      m_boxes(prompter),
      m_workingDir(std::move(workingDir)),
      m_settingsDir(settingsFolder(m_workingDir)),
      m_cellMeans(cellMeans ? std::move(cellMeans) : ControllerMeansMaker(unthreadedMeans)) {
    setObjectName(QStringLiteral("FORM1"));
    setWindowTitle(applicationTitle());
    // The client area scrolls on a screen too small for it (150 % on a laptop): the panels
    // keep their places, and the window still fits the screen.
    auto* scroller = new QScrollArea(this);
    scroller->setObjectName(QStringLiteral("ClientArea"));
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setWidgetResizable(true);
    auto* client = new QWidget;
    m_clientArea = client;
    m_editor = new ProgramPanel(m_program, *m_client, client);
    m_console = new ConsolePanel(*m_client, m_program, client);
    m_files = new FileCommands(m_program, m_prompter, this);
    stretchToTexts();
    client->setMinimumSize(m_stretch(kClientSize));
    client->installEventFilter(this);  // its resizes place the panels
    scroller->setWidget(client);
    setCentralWidget(scroller);
    placePanels();
    // 趨勢 beside 座標點: the position as the polls read it.
    m_trend = new TrendChart;
    m_editor->listTab()->addTab(m_trend, tr("趨勢"));
    connect(&m_session, &ControllerSession::positionRead, m_trend,
            qOverload<double>(&TrendChart::addPosition));
    connect(&m_session, &ControllerSession::disconnected, m_trend, [this] { m_trend->clear(); });
    buildMenu();
    buildStatusBar();
    connect(&m_session, &ControllerSession::connectionShown, m_panel1, &QLabel::setText);
    connect(m_editor, &ProgramPanel::mainWindowEnabled, this, &FORM1::setMainWindowEnabled);
    connect(m_editor, &ProgramPanel::stateShown, this, &FORM1::showState);
    connect(m_editor, &ProgramPanel::noteShown, this,
            [this](const QString& note) { statusBar()->showMessage(note, kNoteTime); });
    // Esc drops an armed insert or modify.
    auto* disarm = new QShortcut(Qt::Key_Escape, this);
    connect(disarm, &QShortcut::activated, m_editor, &ProgramPanel::disarm);
    // At its default size every control stands where it always has; the window may grow,
    // and it is never smaller unless the screen is.
    resize(naturalSize());
    setMinimumSize(size());
    Form_Load();
    buildCell();
    m_client->post([](ControllerSession& session) { session.startPoll(); });
}

// The controls at fixed places in the frames, stretched where their texts need more room
// than the places give (a larger font, another language's longer words).
void FORM1::stretchToTexts() {
    std::vector<QWidget*> controls = m_console->placedControls();
    for (QWidget* frame :
         std::initializer_list<QWidget*>{m_editor->editFrame(), m_editor->entryTab()->widget(0)}) {
        const QList<QWidget*> placed = frame->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        controls.insert(controls.end(), placed.begin(), placed.end());
    }
    m_stretch = stretchFor(controls);
    stretchPlaced(controls, m_stretch);
}

// The places the operator has always found them, in the client area at its default
// size. A larger window gives the program list (and its findings) the extra room; OUTPUT
// and INPUT stay under it, everything else keeps its place.
void FORM1::placePanels() {
    const QSize base = m_stretch(kClientSize);
    const QSize extra = m_clientArea->size().expandedTo(base) - base;
    const int dw = extra.width();
    const int dh = extra.height();
    const auto place = [this](QWidget* frame, const QRect& design, int lower = 0) {
        frame->setGeometry(m_stretch(design).translated(0, lower));
    };
    place(m_console->uploadFrame(), {26, 4, 115, 47});
    place(m_console->consoleFrame(), {148, 4, 466, 131});
    place(m_editor->editFrame(), {24, 56, 117, 81});
    place(m_editor->entryTab(), {24, 144, 171, 325});
    const QRect list = m_stretch(QRect(200, 143, 416, 322));
    m_editor->listTab()->setGeometry(list.adjusted(0, 0, dw, dh));
    place(m_console->outputFrame(), {30, 472, 209, 57}, dh);
    place(m_console->inputFrame(), {248, 474, 362, 54}, dh);
}

// The window's natural size: its client area whole, and what stands beside it (a cell's
// consoles), within the screen.
QSize FORM1::naturalSize(int besides) {
    centralWidget()->setMinimumSize(m_clientArea->minimumSize());
    const QSize natural = sizeHint() + QSize(besides, 0);
    centralWidget()->setMinimumSize(0, 0);
    return natural.boundedTo(screenRoom());
}

QSize FORM1::screenRoom() const {
    return screen()->availableGeometry().size() -
           QSize(0, style()->pixelMetric(QStyle::PM_TitleBarHeight));
}

bool FORM1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_clientArea && event->type() == QEvent::Resize) {
        placePanels();
    }
    return QMainWindow::eventFilter(watched, event);
}

void FORM1::buildStatusBar() {
    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    statusBar()->setSizeGripEnabled(false);
    m_panel1 = new QLabel;
    m_panel1->setObjectName(QStringLiteral("StatusBar1(1)"));
    m_panel1->setMinimumWidth(120);
    m_panel2 = new QLabel;
    m_panel2->setObjectName(QStringLiteral("StatusBar1(2)"));
    m_panel2->setMinimumWidth(120);
    // The panels stand on the right; the left holds the armed mode ("修改第 3 列").
    m_settingsNote = new QLabel;
    m_settingsNote->setObjectName(QStringLiteral("SettingsNote"));
    statusBar()->addPermanentWidget(m_settingsNote);
    statusBar()->addPermanentWidget(m_panel1);
    statusBar()->addPermanentWidget(m_panel2);
}

// Start-up in the order the system has always followed: the editor, the settings file, then
// the console and the status bar. The program starts empty with its header row.
void FORM1::Form_Load() {
    m_editor->Form_Load();
    // A DATA.TXT in a working directory the tool cannot write is still read.
    const bool ownFile = QFile::exists(settingsFilePath(m_settingsDir));
    const PortSetting setting = readPortNumber(ownFile ? m_settingsDir : m_workingDir);
    m_session.setPortNumber(setting.portNumber);
    // What the start could not read is said once, where the settings are named.
    QStringList notes;
    if (m_settingsDir != m_workingDir) {
        notes << tr("設定存於 %1").arg(QDir::toNativeSeparators(m_settingsDir.path()));
    }
    if (!setting.refusal.isEmpty()) {
        notes << setting.refusal;
    }
    if (const std::optional<QString> refusal = userSettingsRefusal()) {
        notes << *refusal;
    }
    m_settingsNote->setText(notes.join(QStringLiteral("; ")));
    m_console->Form_Load();
    m_panel1->setText(tr("未連線"));
    m_panel2->setText(portDisplayName(m_session.portNumber()));
}

void FORM1::showState(const QString& mode) {
    const QString name = m_files->fileName();
    setWindowTitle(
        applicationTitle() +
        (name.isEmpty() ? QString() : QStringLiteral(" - ") + QFileInfo(name).fileName()) +
        (m_program.ProgramChanged() ? QStringLiteral(" *") : QString()));
    if (mode.isEmpty()) {
        statusBar()->clearMessage();
    } else {
        statusBar()->showMessage(mode);
    }
}

void FORM1::openFile(const NativeName& name) {
    m_files->openProgram(name);
}

void FORM1::setMainWindowEnabled(bool enabled) {
    centralWidget()->setEnabled(enabled);
    menuBar()->setEnabled(enabled);
}

// Never while another exchange is on the line: its sign-off would land inside it. The
// window waits for the sign-offs with its events running, so a box a session asks for
// meanwhile is still answered. In a cell every controller is signed off, each on its own
// thread at once.
void FORM1::closeEvent(QCloseEvent* event) {
    const std::vector<SessionClient*> clients = everyClient();
    const auto held = [&] {
        return std::any_of(clients.begin(), clients.end(),
                           [](const SessionClient* c) { return c->lineHeld(); });
    };
    if (held()) {
        statusBar()->showMessage(lineHeldMessage(), kNoteTime);
        event->ignore();
        return;
    }
    if (!m_files->offerToSave()) {
        event->ignore();
        return;
    }
    size_t waitingFor = clients.size();
    bool signedOff = true;
    QEventLoop waiting;
    for (SessionClient* client : clients) {
        client->perform([](ControllerSession& session) { return session.signOff(); },
                        [&](Exchange done) {
                            signedOff = signedOff && done != Exchange::LineHeld;
                            if (--waitingFor == 0) {
                                waiting.quit();
                            }
                        });
    }
    if (waitingFor > 0) {
        waiting.exec();
    }
    if (!signedOff) {
        statusBar()->showMessage(lineHeldMessage(), kNoteTime);
        event->ignore();
        return;
    }
    event->accept();
}

// Afresh each time the menu opens: the ports the system reports now, each port once (the
// system's /dev/ttyS0 is COM1 above), the one in use ticked however it was named.
void FORM1::listSystemPorts() {
    qDeleteAll(m_systemPortActions);
    m_systemPortActions.clear();
    const QList<QAction*> numbered = m_portChoices->actions();  // COM1..COM4
    for (const QSerialPortInfo& port : QSerialPortInfo::availablePorts()) {
        const QString name = systemPortName(port);
        if (std::any_of(numbered.begin(), numbered.end(), [&](const QAction* action) {
                return samePort(action->data().toString(), name);
            })) {
            continue;
        }
        if (m_systemPortActions.isEmpty()) {
            m_systemPortActions << m_portMenu->addSeparator();
        }
        const QString description = port.description();
        QAction* action = m_portMenu->addAction(
            description.isEmpty() ? name : QStringLiteral("%1  %2").arg(name, description));
        action->setData(name);
        action->setCheckable(true);
        m_portChoices->addAction(action);
        connect(action, &QAction::triggered, this, [this, name] { choosePort(name); });
        m_systemPortActions << action;
    }
    for (QAction* action : m_portChoices->actions()) {
        action->setChecked(samePort(action->data().toString(), m_session.portNumber()));
    }
}

// The box offers the port in use as it would be opened ("/dev/ttyS1", "COM2"), never the
// bare number of the setting, which typed back would name no port.
void FORM1::otherPort() {
    const QString name =
        m_prompter.inputBox(this, tr("請輸入連接埠名稱或裝置路徑:"), QStringLiteral("COM_PORT"),
                            portDeviceName(m_session.portNumber()));
    if (!name.isEmpty()) {
        choosePort(name);
    }
}

// A simulator's port a kept controller of the cell names (a pseudo-terminal of an earlier
// run) is refused as 設定 > COM_PORT refuses it.
void FORM1::usePortForThisRun(const QString& port) {
    if (const std::optional<QString> refusal = m_cell.setFirstPort(port)) {
        m_prompter.message(this, *refusal, applicationTitle(), Prompter::Buttons::Ok,
                           Prompter::Icon::Warning);
        return;
    }
    m_session.setPortNumber(port);
    m_panel2->setText(portDisplayName(port));
    m_panel2->setToolTip(tr("模擬器的連接埠, 只用於這次執行 (DATA.TXT 不變)"));
}

// A port another controller of the cell uses is refused: two sessions on one port would
// read each other's replies.
void FORM1::choosePort(const QString& portNumber) {
    if (const std::optional<QString> refusal = m_cell.setFirstPort(portNumber)) {
        m_prompter.message(this, *refusal, applicationTitle(), Prompter::Buttons::Ok,
                           Prompter::Icon::Warning);
        return;
    }
    m_session.setPortNumber(portNumber);
    SETCOM();
}

void FORM1::SETCOM() {
    m_panel2->setText(portDisplayName(m_session.portNumber()));
    m_panel2->setToolTip({});
    if (const auto failure = writePortNumber(m_settingsDir, m_session.portNumber())) {
        m_prompter.message(this, *failure, applicationTitle(), Prompter::Buttons::Ok,
                           Prompter::Icon::Warning);
    }
}

}  // namespace tql
