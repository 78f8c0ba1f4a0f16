#pragma once

// The main window, FORM1: the one window that lives for the whole run.
//
// Who owns what
//   - FORM1 owns `shared` (SharedState): the program table, its counters and edit modes and
//     the texts the dialogs share. It is the only shared mutable state; the panels and
//     the file commands are handed it when they are made, and the row dialogs reach it
//     through RowDialogHost (dialogs/rowdialoghost.h), which FORM1 implements.
//   - FORM1 is a frame: it builds the menus and the status bar and places the panels.
//       window/programpanel.*  the list, the entry and edit buttons, show_it, the dialogs
//       window/consolepanel.*  the console, OUTPUT and INPUT, Timer1 and the line, and the
//                              upload (consoleupload.cpp); it stops Timer1 around every
//                              exchange and modal box
//       window/filecommands.*  建立新檔, 開啟舊檔, 另存新檔 and the unsaved-changes question
//       window/wiremonitor.*, dryrunwindow.*, trendchart.*  the wire monitor, 模擬執行 and
//                              趨勢, fed by the console and the shared program
//     Panels never include this header: what the frame must hear comes by signal.
//   - The serial line, the sleeper and the prompter are owned by main() (or a test) and
//     outlive the window.
//
// Where the logic lives (no widgets, tested without a window)
//   - program/: table, storing rule and edit modes, the nine direct entries, the row
//     building of every dialog.
//   - files/: program files, Big5 text, DATA.TXT, the trace file.
//   - link/: the line (Big5, CR, the blocking waits), the console's exchanges, every
//     command text and wait (link/commands.h).
//   - translator/: the program as controller text, the upload after translating, the
//     program checks and the dry run (on the controller model of controller/).
//
// Layers, lowest first: program, files, link, translator, dialogs, window, app. A file
// includes from its own layer or lower ones; the build checks it.

#include "dialogs/rowdialoghost.h"

#include <QDir>
#include <QMainWindow>

class QActionGroup;
class QLabel;

namespace tql {

class ConsolePanel;
class FileCommands;
class Prompter;
class ProgramPanel;
class SerialLine;
class Sleeper;

class FORM1 final : public QMainWindow, public RowDialogHost {
    Q_OBJECT

public:
    FORM1(Prompter& prompter, SerialLine& line, Sleeper& sleeper, QDir workingDir,
          QWidget* parent = nullptr);

    // The program being edited, shown by the editor, saved by the file commands and
    // uploaded by the console.
    Program& program() override { return m_program; }

    void ConnectController();
    void ShowDisconnected();
    // The port the console connects on.
    const QString& portNumber() const;

    // What a row dialog may touch (RowDialogHost).
    QWidget* hostWindow() override { return this; }
    EntryMemory& entryMemory() override;
    bool reportStore(StoreOutcome outcome) override;
    void show_it();
    QTimer& Timer1() override;
    Link& link() override;
    void RS232(const QString& text) override;
    void notice(const QString& text) override;
    bool checkNumberField(const QString& value, bool emptyAllowed) override;
    // The speed dialog disables the main window while it is up. Its controls and menu are
    // what is switched: disabling the window itself would disable its dialogs with it.
    void setMainWindowEnabled(bool enabled) override;

protected:
    // 結束 and the close box both end here: unsaved changes are offered for saving first,
    // and a connected controller is signed off with "EC 1".
    void closeEvent(QCloseEvent* event) override;

private:
    void placePanels();
    void buildMenu();
    void buildStatusBar();
    void Form_Load();
    void listSystemPorts();
    void choosePort(const QString& portNumber);
    void otherPort();
    void SETCOM();
    // "PALDOR - name.tq4", with " *" while there are unsaved changes; the armed mode in the
    // status bar.
    void showState(const QString& mode);

    Prompter& m_prompter;
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
    QActionGroup* m_portChoices = nullptr;
    QList<QAction*> m_systemPortActions;
    QWidget* m_monitor = nullptr;
};

}  // namespace tql
