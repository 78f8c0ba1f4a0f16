#pragma once

// The main window, FORM1: the one window that lives for the whole run.
//
// Who owns what
//   - FORM1 owns the Program (program/program.*): the rows, CurrentRow, the edit modes, the
//     storing rule, undo and "changed since saved". Every change goes through it.
//   - FORM1 owns the ControllerSession (session/controllersession.*), the one owner of the
//     line: Link and wire log, Timer1 and the poll, the output memory, 立即指令's history,
//     the connection state, every exchange and the upload. Every box of every window is
//     asked through the session's prompter, so a box holds the line while it is up.
//   - In a cell, each further controller is a CellConsole (window/cellconsole.*), a dock
//     that owns that controller's session, line and thread; FORM1 keeps the Cell (the
//     names and ports) and adds and removes them (window/form1cell.cpp).
//   - FORM1 is a frame: it builds the menus and the status bar and places the panels.
//       window/programpanel.*  the list, the entry and edit buttons, show_it, the row
//                              dialogs (it is their RowDialogHost, with the entries' memory
//                              and the session's teach exchanges)
//       window/consolepanel.*  the console, OUTPUT and INPUT, and the upload's progress: a
//                              view of the session
//       window/filecommands.*  建立新檔, 開啟舊檔, 另存新檔 and the unsaved-changes question
//       window/wiremonitor.*, dryrunwindow.*, trendchart.*  the wire monitor, 模擬執行 and
//                              趨勢, fed by the session and the program
//     Panels never include this header: what the frame must hear comes by signal. Each
//     panel holds its controls as typed members, named once from one table.
//   - The first controller's serial line, sleeper and thread, and the prompter, are owned
//     by main() (or a test) and outlive the window.
//
// Where the logic lives (no widgets, tested without a window)
//   - program/: the program, its storing rule and history, the nine direct entries, the
//     row building of every dialog.
//   - files/: program files, Big5 text, DATA.TXT, the trace file.
//   - link/: the line (Big5, CR, the blocking waits), the console's exchanges, every
//     command text and wait (link/commands.h).
//   - translator/: the program as controller text, the download, the program checks and
//     the dry run (on the controller model of controller/).
//   - session/: the controller session and the seams it asks through (Prompter, TeachLine).
//
// Layers, lowest first: program and controller, files, link, translator, session, dialogs,
// window, app. A file includes from its own layer or lower ones; the build checks it.

#include "files/programfile.h"
#include "program/program.h"
#include "session/cell.h"
#include "session/controllersession.h"
#include "window/cellconsole.h"
#include "window/controls.h"

#include <QDir>
#include <QMainWindow>

class QActionGroup;
class QLabel;

class QThread;

namespace tql {

class CellDialog;
class ConsolePanel;
class FileCommands;
class ProgramPanel;
class SessionClient;
class TrendChart;
class WireMonitor;

class FORM1 final : public QMainWindow {
    Q_OBJECT

public:
    // With a session thread the controller session runs there and the window never waits
    // for the line; without one it runs on the window's thread. cellMeans makes what each
    // further controller of a cell runs on (none given: a serial line of its own on the
    // window's thread).
    FORM1(Prompter& prompter, SerialLine& line, Sleeper& sleeper, QDir workingDir,
          QThread* sessionThread = nullptr, ControllerMeansMaker cellMeans = {},
          QWidget* parent = nullptr);

    // The program being edited, shown by the editor, saved by the file commands and
    // uploaded by the console.
    Program& program() { return m_program; }
    // The controller on the line: connection, poll, exchanges, upload.
    ControllerSession& session() { return m_session; }
    SessionClient& sessionClient() { return *m_client; }
    // A program file named on the command line, opened as 開啟舊檔 opens it, by the bytes of
    // its name.
    // tql400 --simulator: the simulator's port for this run, DATA.TXT left as it is.
    void usePortForThisRun(const QString& port);
    // tql400 --port NAME=PORT ...: the cell of this run, the first in DATA.TXT's place; the
    // settings' cell left as it is.
    void useCellForThisRun(const Cell& cell);
    // The controllers beyond the first, in the order they joined.
    const std::vector<CellConsole*>& cellConsoles() const { return m_cellConsoles; }
    void openFile(const NativeName& name);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // 結束 and the close box both end here: unsaved changes are offered for saving first,
    // and a connected controller is signed off with "EC 1".
    void closeEvent(QCloseEvent* event) override;

private:
    void stretchToTexts();
    void placePanels();
    QSize naturalSize(int besides = 0);
    QSize screenRoom() const;
    void buildMenu();
    void buildFileMenu();
    void listRecentFiles(QMenu* recent);
    void buildEditMenu();
    void buildSettingsMenu();
    void buildLanguageMenu(QMenu* settings);
    void buildStatusBar();
    void Form_Load();
    void listSystemPorts();
    void choosePort(const QString& portNumber);
    void otherPort();
    void SETCOM();
    // "PALDOR - name.tq4", with " *" while there are unsaved changes; the armed mode in the
    // status bar.
    void showState(const QString& mode);
    // 說明 > 關於: the version and the licence.
    void about();
    // 說明: the walkthrough, and the keys.
    void walkthrough();
    void keys();
    // How to try the tool on the simulator.
    void withoutAMachine();
    // The speed dialog disables the main window while it is up. Its controls and menu are
    // what is switched: disabling the window itself would disable its dialogs with it.
    void setMainWindowEnabled(bool enabled);

    // The cell (window/form1cell.cpp): the stored controllers at start, one more added or
    // removed (signed off first), 設定 > 控制器, 上傳 to several, F12 for every one.
    void buildCell();
    std::optional<QString> addCellController(const CellController& controller);
    // The console of a controller that has joined the cell.
    void openCellConsole(const CellController& controller);
    void closeCellConsole(CellConsole* console);
    void removeCellController(const QString& name);
    void showCellDialog();
    void storeCell();
    void uploadToSeveral();
    void stopEveryController();
    // The first's and every other session's client, the first first.
    std::vector<SessionClient*> everyClient();

    SessionClient* m_client;       // the session's verbs go through it
    ControllerSession& m_session;  // its signals and what it lets the window read
    Prompter& m_prompter;          // the session's: every box holds the line
    Prompter& m_boxes;             // the boxes themselves, for the cell's other sessions
    Program m_program;
    QDir m_workingDir;
    QDir m_settingsDir;  // where DATA.TXT is written (see settingsFolder)
    ProgramPanel* m_editor = nullptr;
    ConsolePanel* m_console = nullptr;
    FileCommands* m_files = nullptr;
    QLabel* m_panel1 = nullptr;
    QLabel* m_panel2 = nullptr;
    QLabel* m_settingsNote = nullptr;
    QMenu* m_portMenu = nullptr;
    Stretch m_stretch;                // of the fixed places, for the texts shown
    QWidget* m_clientArea = nullptr;  // the panels' frame, in a scroll area
    QActionGroup* m_portChoices = nullptr;
    QList<QAction*> m_systemPortActions;
    WireMonitor* m_monitor = nullptr;
    TrendChart* m_trend = nullptr;
    QMenu* m_viewMenu = nullptr;
    QAction* m_uploadToSeveral = nullptr;
    Cell m_cell{{}};
    ControllerMeansMaker m_cellMeans;
    bool m_cellForThisRun = false;  // named on the command line: not stored
    std::vector<CellConsole*> m_cellConsoles;
    std::vector<QLabel*> m_cellConnections;  // each one's connection in the status bar
    CellDialog* m_cellDialog = nullptr;
};

}  // namespace tql
