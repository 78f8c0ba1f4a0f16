// The main window's cell: the controllers beyond the first, each in a dock with its own
// console and session; 設定 > 控制器 adds and removes them, 上傳到多台控制器 sends the editor's
// program to several at once, and F12 stops every one.
#include "link/portname.h"
#include "session/usersettings.h"
#include "window/celldialog.h"
#include "window/consolepanel.h"
#include "window/form1.h"
#include "window/programpanel.h"
#include "window/sessionclient.h"
#include "window/trendchart.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QStatusBar>
#include <QStyle>
#include <QVBoxLayout>

namespace tql {

// The stored controllers join after the first's port is read; one the settings hold but
// the cell refuses (DATA.TXT now names its port) is said where the settings are.
void FORM1::buildCell() {
    m_cell = Cell(m_session.portNumber());
    m_trend->addLine({}, m_cell.controllers().front().name);
    QStringList refused;
    for (const CellController& controller : storedCellControllers(userSettings())) {
        if (const std::optional<QString> refusal = addCellController(controller)) {
            refused << *refusal;
        }
    }
    if (!refused.isEmpty()) {
        const QString before = m_settingsNote->text();
        m_settingsNote->setText((before.isEmpty() ? QString() : before + QStringLiteral("; ")) +
                                refused.join(QStringLiteral("; ")));
    }
    // A stop at hand wherever the operator works, for every controller at once.
    auto* stopKey = new QShortcut(Qt::Key_F12, this, nullptr, nullptr, Qt::ApplicationShortcut);
    connect(stopKey, &QShortcut::activated, this, &FORM1::stopEveryController);
}

std::optional<QString> FORM1::addCellController(const CellController& controller) {
    if (std::optional<QString> refusal = m_cell.add(controller)) {
        return refusal;
    }
    openCellConsole(m_cell.controllers().back());
    return std::nullopt;
}

void FORM1::openCellConsole(const CellController& joined) {
    auto* console = new CellConsole(joined, m_cellMeans(), m_boxes, m_program, m_stretch, this);
    SessionClient& client = console->client();
    ControllerSession& session = client.session();
    connect(console->console().checkButton(), &QPushButton::clicked, m_editor,
            &ProgramPanel::checkProgram);
    m_trend->addLine(joined.name, joined.name);
    connect(&session, &ControllerSession::positionRead, m_trend,
            [this, name = joined.name](double position) { m_trend->addPosition(name, position); });
    connect(&session, &ControllerSession::disconnected, m_trend,
            [this, name = joined.name] { m_trend->clear(name); });

    auto* connection = new QLabel(tr("%1: 未連線").arg(joined.name));
    connection->setObjectName(QStringLiteral("Connection(%1)").arg(joined.name));
    connection->setToolTip(portDisplayName(joined.port));
    statusBar()->addPermanentWidget(connection);
    connect(&session, &ControllerSession::connectionShown, connection,
            [connection, name = joined.name](const QString& state) {
                connection->setText(tr("%1: %2").arg(name, state));
            });
    m_viewMenu->addAction(console->monitorAction());
    m_viewMenu->addAction(console->toggleViewAction());

    // The others stand together beside the first, one tab each; the window widens for
    // them once, as far as the screen lets it.
    if (m_cellConsoles.empty()) {
        addDockWidget(Qt::RightDockWidgetArea, console);
        const int panel = console->widget()->sizeHint().width();
        const int beside =
            panel + style()->pixelMetric(QStyle::PM_DockWidgetSeparatorExtent, nullptr, this);
        resize(naturalSize(beside).expandedTo(size()));
        resizeDocks({console}, {panel}, Qt::Horizontal);
    } else {
        tabifyDockWidget(m_cellConsoles.back(), console);
    }
    m_cellConsoles.push_back(console);
    m_cellConnections.push_back(connection);
    m_uploadToSeveral->setEnabled(true);
}

// Signed off first, as 結束 signs off: a controller left in its console mode would not
// take its keypad. A controller in the midst of an exchange stays until it is done.
void FORM1::removeCellController(const QString& name) {
    const auto found = std::find_if(m_cellConsoles.begin(), m_cellConsoles.end(),
                                    [&](CellConsole* c) { return c->controller().name == name; });
    if (found == m_cellConsoles.end()) {
        return;
    }
    QPointer<CellConsole> console = *found;
    console->client().perform(
        [](ControllerSession& session) { return session.signOff(); },
        [this, console, name](Exchange signedOff) {
            if (console == nullptr || std::find(m_cellConsoles.begin(), m_cellConsoles.end(),
                                                console.data()) == m_cellConsoles.end()) {
                return;  // removed already: 移除 was pressed twice
            }
            if (signedOff == Exchange::LineHeld) {
                m_boxes.message(m_cellDialog, tr("控制器「%1」正在通訊, 完成後再移除.").arg(name),
                                applicationTitle(), Prompter::Buttons::Ok, Prompter::Icon::Warning);
                return;
            }
            closeCellConsole(console);
            m_cell.remove(name);
            storeCell();
            if (m_cellDialog) {
                m_cellDialog->showCell(m_cell);
            }
        });
}

// Its dock, status, chart line and wire monitor go; the session after them, on its thread.
void FORM1::closeCellConsole(CellConsole* console) {
    const auto at = std::find(m_cellConsoles.begin(), m_cellConsoles.end(), console);
    const auto index = at - m_cellConsoles.begin();
    delete m_cellConnections[size_t(index)];
    m_cellConnections.erase(m_cellConnections.begin() + index);
    m_cellConsoles.erase(at);
    m_trend->removeLine(console->controller().name);
    removeDockWidget(console);
    console->hide();
    console->deleteLater();  // never within its own client's answer
    m_uploadToSeveral->setEnabled(!m_cellConsoles.empty());
}

void FORM1::storeCell() {
    if (!m_cellForThisRun) {
        QSettings settings = userSettings();
        storeCellControllers(settings, m_cell);
    }
}

void FORM1::showCellDialog() {
    if (!m_cellDialog) {
        m_cellDialog = new CellDialog(this);
        if (m_cellForThisRun) {
            m_cellDialog->showForThisRun();
        }
        connect(m_cellDialog, &CellDialog::addWanted, this,
                [this](const CellController& controller) {
                    const std::optional<QString> refusal = addCellController(controller);
                    if (!refusal) {
                        storeCell();
                    }
                    m_cellDialog->showCell(m_cell, refusal.value_or(QString()));
                });
        connect(m_cellDialog, &CellDialog::removeWanted, this, &FORM1::removeCellController);
    }
    m_cellDialog->showCell(m_cell);
    m_cellDialog->show();
    m_cellDialog->raise();
}

void FORM1::useCellForThisRun(const Cell& cell) {
    while (!m_cellConsoles.empty()) {
        closeCellConsole(m_cellConsoles.back());
    }
    m_cellForThisRun = true;
    m_cell = cell;
    usePortForThisRun(cell.controllers().front().port);
    m_trend->addLine({}, cell.controllers().front().name);
    for (auto c = cell.controllers().begin() + 1; c != cell.controllers().end(); ++c) {
        openCellConsole(*c);
    }
}

std::vector<SessionClient*> FORM1::everyClient() {
    std::vector<SessionClient*> clients{m_client};
    for (CellConsole* console : m_cellConsoles) {
        clients.push_back(&console->client());
    }
    return clients;
}

void FORM1::stopEveryController() {
    std::vector<QPushButton*> stops{m_console->stopButton()};
    for (CellConsole* console : m_cellConsoles) {
        stops.push_back(console->console().stopButton());
    }
    for (QPushButton* stop : stops) {
        if (stop->isEnabled()) {
            stop->click();
        }
    }
}

// The connected controllers are offered ticked; each then uploads as its own 上傳 does,
// with its own progress and questions, and one that fails leaves the others going.
void FORM1::uploadToSeveral() {
    auto* choice = new QDialog(this);
    choice->setObjectName(QStringLiteral("UploadChoice"));
    choice->setWindowTitle(tr("上傳到多台控制器"));
    choice->setAttribute(Qt::WA_DeleteOnClose);
    auto* list = new QListWidget;
    list->setObjectName(QStringLiteral("UploadTargets"));
    std::vector<ConsolePanel*> consoles{m_console};
    for (CellConsole* console : m_cellConsoles) {
        consoles.push_back(&console->console());
    }
    const std::vector<SessionClient*> clients = everyClient();
    for (size_t k = 0; k < consoles.size(); ++k) {
        auto* item = new QListWidgetItem(m_cell.controllers()[k].name, list);
        item->setCheckState(clients[k]->isConnected() ? Qt::Checked : Qt::Unchecked);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("上傳"));
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("取消"));
    auto* layout = new QVBoxLayout(choice);
    layout->addWidget(new QLabel(tr("將編輯中的程式上傳到:")));
    layout->addWidget(list);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, choice, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, choice, &QDialog::reject);
    // The uploads start once the dialog is done with: an upload on the window's thread
    // runs the events, and the dialog (or a console removed meanwhile) may go before the
    // next one starts.
    connect(choice, &QDialog::accepted, this, [this, list, consoles] {
        std::vector<QPointer<ConsolePanel>> chosen;
        for (size_t k = 0; k < consoles.size(); ++k) {
            if (list->item(int(k))->checkState() == Qt::Checked) {
                chosen.emplace_back(consoles[k]);
            }
        }
        QMetaObject::invokeMethod(
            this,
            [chosen] {
                for (const QPointer<ConsolePanel>& console : chosen) {
                    if (console) {
                        console->upload();
                    }
                }
            },
            Qt::QueuedConnection);
    });
    choice->open();
}

}  // namespace tql
