#pragma once

#include "dialogs/rowdialoghost.h"
#include "program/entrymemory.h"
#include "program/program.h"
#include "window/rowmarks.h"

#include <QIcon>
#include <QObject>
#include <QPointer>

#include <array>
#include <set>
#include <vector>

class QDialog;
class QGroupBox;
class QListWidget;
class QPushButton;
class QTabWidget;
class QMimeData;
class QTreeWidget;
class QTreeWidgetItem;

namespace tql {

class ControllerSession;
class SessionClient;
class Prompter;
struct DirectEntry;

// The program editor: the list `ListView1`, the sixteen entry buttons of the tab "功能鍵"
// and the insert/delete/modify frame. It shows the Program and forwards the operator's
// actions to it; the list is rebuilt (show_it) whenever the program's rows change. The six
// dialog buttons open their row dialogs, which reach the program, the entries' memory and
// the session's teach exchanges through it (RowDialogHost).
class ProgramPanel final : public QObject, public RowDialogHost {
    Q_OBJECT

public:
    ProgramPanel(Program& program, SessionClient& session, QWidget* client);

    // The frames the main window places.
    QGroupBox* editFrame() const { return m_editFrame; }
    QTabWidget* entryTab() const { return m_entryTab; }
    QTabWidget* listTab() const { return m_listTab; }
    // What a row dialog may touch (RowDialogHost).
    QWidget* hostWindow() override;
    Program& program() override { return m_program; }
    EntryMemory& entryMemory() override { return m_memory; }
    bool reportStore(StoreOutcome outcome) override;
    void notice(const QString& text) override;
    TeachLine& teach() override;
    void setMainWindowEnabled(bool enabled) override { emit mainWindowEnabled(enabled); }

    // The editor's part of start-up: both button groups off, the list set up and empty.
    void Form_Load();
    void show_it();

    // 復原 and 重做 keep the operator's choice of row where it still stands.
    void undo();
    void redo();
    // Esc: the armed insert or modify (or a leftover append) is dropped, unless a row dialog
    // that will store with it is open.
    void disarm();
    // 檢查程式: the findings in a panel under the list; a double-click selects the row.
    void checkProgram();
    // Highlights row (1..RowCounter) in the list and makes it the current row, as a click.
    void selectRow(int row);
    // The row the dry run executes, shown and scrolled to; 0 when none.
    void showExecuting(int row);
    // The row the machine runs as the shadow run tells it, or where it parted; 0: none.
    void showMachineRow(int row, MachineMark mark);
    // F9: sets or clears the breakpoint of the highlighted row.
    void toggleBreakpoint();
    // The row the list highlights, 0 when none: what 執行到此列 runs to.
    int highlightedRow() const;
    // 剪下, 複製, 貼上 (before the highlighted row, at the end when none), 上移 and 下移 of the
    // rows highlighted (Shift/Ctrl+click, Shift+arrows); each one undo step. The clipboard
    // carries the rows as the tool's own and as lines of the program file.
    void cutRows();
    void copyRows();
    void pasteRows();
    void moveRows(int by);
    // The highlighted rows dragged within the list, dropped before row `before`.
    void moveRowsTo(int before);

signals:
    // The program or the armed mode may have changed: the title and the status bar follow.
    // mode is the status-bar text of an armed insert or modify, empty when none.
    void stateShown(const QString& mode);
    // A passing word for the status bar.
    void noteShown(const QString& note);
    // The speed dialog disables the main window while it is up, and gives it back.
    void mainWindowEnabled(bool enabled);

private:
    enum class RowDialogKind { Speed, Input, Output, CustomStep, AbsoluteMove, RelativeMove };

    void buildEditFrame(QWidget* client);
    void buildEntryTab(QWidget* client);
    void buildListTab(QWidget* client);
    void setEntryButtonsEnabled(bool enabled);
    void setEditButtonsEnabled(bool enabled);
    void ListView1_ItemClick(QTreeWidgetItem* item);
    void Command12_Click();
    void storeDirectEntry(const DirectEntry& entry);
    void rowDialogButton(RowDialogKind dialog);
    void Command6_Click();
    void Command7_Click();
    void Command8_Click();
    // After the rows changed under the list (undo, redo): the row highlighted before stays
    // chosen when it still exists; otherwise no row is.
    void keepChoice(int highlighted);
    void moveInHistory(bool forward);
    void refreshFindings();
    // The item the list highlights, nullptr when none.
    QTreeWidgetItem* highlightedItem() const;
    int rowOf(QTreeWidgetItem* item) const;
    // Marks the row an armed insert or modify will act on, and says so.
    void announce();
    // "插入於第 N 列之前", "修改第 N 列"; empty when neither is armed on a row.
    QString armedModeText() const;
    int armedRow() const;
    void paintRows();
    void paintRow(int row);
    QMimeData* rowsData(const std::vector<int>& rows) const;
    void putRows(int before, const QMimeData* data, const QString& refusal);
    void sayUnpairedRows();
    // A mark moved from one row to another.
    void moveMark(int from, int to);
    std::set<int> highlightedRows() const;
    // These rows highlighted, the first of them chosen and shown.
    void highlightRows(const std::set<int>& rows);

    Program& m_program;
    SessionClient& m_session;
    Prompter& m_prompter;
    EntryMemory m_memory;
    std::array<QIcon, 29> m_icons;
    QGroupBox* m_editFrame = nullptr;
    QTabWidget* m_entryTab = nullptr;
    QTabWidget* m_listTab = nullptr;
    QTreeWidget* m_list = nullptr;
    int m_executingRow = 0;
    int m_machineRow = 0;
    MachineMark m_machineMark = MachineMark::None;
    QListWidget* m_findings = nullptr;
    QPushButton* m_insert = nullptr;     // Command6
    QPushButton* m_delete = nullptr;     // Command7
    QPushButton* m_modify = nullptr;     // Command8
    QPushButton* m_editStart = nullptr;  // Command12
    // The fifteen entry buttons switched as one group; 編輯開始 is always the opposite.
    std::array<QPushButton*, 15> m_entryButtons{};
    QPointer<QDialog> m_openRowDialog;  // none when no row dialog is open
};

}  // namespace tql
