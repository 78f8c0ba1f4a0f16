#pragma once

// The main window, FORM1: the one window that lives for the whole run.
//
// Who owns what
//   - FORM1 owns `shared` (SharedState): the program table, its counters and edit modes and
//     the texts the dialogs share. The row dialogs read and write it directly; nothing else
//     holds program state.
//   - FORM1 owns the serial line, the sleeper and the prompter only by reference: main()
//     (or a test) creates them and keeps them alive for the window's lifetime.
//   - FORM1 owns Timer1, the 500 ms console timer, and stops it around every exchange and
//     modal box so that a tick never talks on the line in the middle of another exchange.
//
// Where the logic lives
//   - Storing rule, edit modes, delete: program/storerow.*; the nine direct entries:
//     program/directentries.*; icons: window/rowicons.*; settings file: files/settingsfile.*.
//   - Program files: files/programfile.*; 建立新檔, 開啟舊檔, 另存新檔 and 結束 live here
//     because they ask the operator, the format and the saving do not.
//   - The line: link/link.* (Big5 text, CR, the blocking waits); the console's exchanges:
//     link/console.*; every command text and wait: link/commands.h; the upload after
//     translating: translator/upload.*. The slots below only sequence them and show results.
//   - The row dialogs (dialogs/): opened by the six dialog buttons, parented to this window,
//     discarded when closed; their row building lives in dialogs/*rows.*.
//   - This class routes events to that code and shows the result; show_it() rebuilds the
//     list from the table after every change.

#include "link/link.h"
#include "program/sharedstate.h"
#include "program/storerow.h"

#include <QDir>
#include <QMainWindow>
#include <QTimer>

#include <array>
#include <map>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace tql {

class Prompter;
class SerialLine;
class Sleeper;
struct DirectEntry;

class FORM1 final : public QMainWindow {
    Q_OBJECT

public:
    FORM1(Prompter& prompter, SerialLine& line, Sleeper& sleeper, QDir workingDir,
          QWidget* parent = nullptr);

    // The state the dialogs, the translator and the file commands share (see the map above).
    SharedState shared;

    // The title of messages that carry no title of their own.
    static QString applicationTitle();

    void show_it();
    void ConnectController();
    void ShowConnected();
    void ShowDisconnected();
    void ReadInternalValues();

    // Sends one command line (text, then CR) when the port is open; says " 連線錯誤 !"
    // and sends nothing when it is closed.
    void RS232(const QString& text);

    // Shows a message titled "訊息", the title of the console's and the upload's messages
    // (the teach dialog's too).
    void notice(const QString& text);

    // A 定位, 加速度 or 速度 value must be a number before it goes out; says so when it is
    // not. true when it may be sent.
    bool checkNumberField(const QString& value, bool emptyAllowed);

    // Reports a refused store; true when the row was stored.
    bool reportStore(StoreOutcome outcome);
    // The speed dialog disables the main window while it is up. Its controls and menu are
    // what is switched: disabling the window itself would disable its dialogs with it.
    void setMainWindowEnabled(bool enabled);

    QTimer& Timer1() { return m_timer1; }
    // The line the dialogs talk on (the teach dialog's position reads and moves).
    Link& link() { return m_link; }

protected:
    // 結束 and the close box both end here: unsaved changes are offered for saving first,
    // and a connected controller is signed off with "EC 1".
    void closeEvent(QCloseEvent* event) override;

private:
    enum class SaveOutcome { Saved, NothingToWrite, NoName, Failed };

    // Stops Timer1 for a modal exchange while connected, and starts it again afterwards.
    class ConsolePause {
    public:
        explicit ConsolePause(FORM1& form);
        ~ConsolePause();
        ConsolePause(const ConsolePause&) = delete;
        ConsolePause& operator=(const ConsolePause&) = delete;

    private:
        FORM1& m_form;
    };

    enum class RowDialogKind { Speed, Input, Output, CustomStep, AbsoluteMove, RelativeMove };

    void buildWindow();
    void buildMenu();
    QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption,
                            const QRect& geometry);
    QLineEdit* makeField(QWidget* parent, const QString& name, const QRect& geometry);
    void Form_Load();

    void EnableEntryButtons();
    void DisableEntryButtons();
    void EnableEditButtons();
    void DisableEditButtons();

    void ListView1_ItemClick(QTreeWidgetItem* item);
    void Command12_Click();
    void directEntry(const DirectEntry& entry);
    void rowDialogButton(RowDialogKind dialog);
    void Command6_Click();
    void Command7_Click();
    void Command8_Click();
    void Timer1_Timer();
    void PollPositionAndInputs();
    void SyncOutputs();
    void inputIndicatorClicked();
    void Command3_Click();
    void sendFieldCommand(const QString& prefix, const QString& field, bool readBack);
    void Command17_Click();
    void Command21_Click();
    void homeClicked();
    // The port the system took away: the console disconnects and says why.
    void lostPort();
    // Refuses, with a message, a text Big5 cannot hold; true when it may be sent.
    bool checkSendable(const QString& text);
    void listSystemPorts();
    void saveAsCommand();
    void newProgramCommand();
    void openProgramCommand();
    SaveOutcome saveProgramAs();
    // Asks whether to save unsaved changes; false when the operator chose to stay.
    bool offerToSave();
    void clearProgram();
    void choosePort(const QString& portNumber);
    void SETCOM();

    QTimer m_timer1;
    Prompter& m_prompter;
    Link m_link;
    QDir m_workingDir;

    std::array<QIcon, 29> m_icons;
    QTreeWidget* m_list = nullptr;
    QLabel* m_panel1 = nullptr;
    QLabel* m_panel2 = nullptr;
    std::map<QString, QPushButton*> m_buttons;
    std::map<QString, QLineEdit*> m_fields;
    std::array<QCheckBox*, 4> m_outputs{};
    std::array<QCheckBox*, 8> m_inputs{};
    QMenu* m_portMenu = nullptr;
    QList<QAction*> m_systemPortActions;
};

}  // namespace tql
