#pragma once

#include "program/sharedstate.h"
#include "program/storerow.h"
#include "window/controls.h"

#include <QIcon>
#include <QObject>
#include <QUndoStack>

#include <array>

class QGroupBox;
class QListWidget;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace tql {

class Prompter;
class RowDialogHost;
struct DirectEntry;

// The program editor: the list `ListView1`, the sixteen entry buttons of the tab "功能鍵"
// and the insert/delete/modify frame. Every change goes to the shared table first, through
// the storing rule of program/storerow.*; show_it() then rebuilds the list from the table.
// The six dialog buttons open their row dialogs on the RowDialogHost it is given.
class ProgramPanel final : public QObject {
    Q_OBJECT

public:
    ProgramPanel(SharedState& shared, Prompter& prompter, RowDialogHost& host, QWidget* client);
    // The history says nothing more while the window goes: nobody is left to hear it.
    ~ProgramPanel() override { m_history.disconnect(); }

    // The frames the main window places.
    QGroupBox* editFrame() const { return m_editFrame; }
    QTabWidget* entryTab() const { return m_entryTab; }
    QTabWidget* listTab() const { return m_listTab; }

    // The editor's part of start-up: both button groups off, the list set up and empty.
    void Form_Load();
    void show_it();
    // Reports a refused store; true when the row was stored (and recorded for undo).
    bool reportStore(StoreOutcome outcome);

    // Undo and redo of every change to the table. A new or opened program starts a fresh
    // history; a save marks the state that undo may return to unchanged.
    QUndoStack& history() { return m_history; }
    void startHistory();
    void markSaved() { m_history.setClean(); }
    // Esc: the armed insert or modify (or a leftover append) is dropped, unless a row dialog
    // that will store with it is open.
    void disarm();
    // 檢查程式: the findings in a panel under the list; a double-click selects the row.
    void checkProgram();
    // Highlights row (1..RowCounter) in the list and makes it the current row, as a click.
    void selectRow(int row);

    struct Snapshot {
        ProgramTable table;
        int RowCounter = 0;
    };
    void restore(const Snapshot& snapshot);

signals:
    // The program or the armed mode may have changed: the title and the status bar follow.
    // mode is the status-bar text of an armed insert or modify, empty when none.
    void stateShown(const QString& mode);

private:
    enum class RowDialogKind { Speed, Input, Output, CustomStep, AbsoluteMove, RelativeMove };

    void buildFrames(QWidget* client);
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
    // Pushes the change since the last recorded state onto the history.
    void recordEdit(const QString& what);
    Snapshot snapshot() const;
    void refreshFindings();
    // The item the list highlights, nullptr when none.
    QTreeWidgetItem* highlightedItem() const;
    // Marks the row an armed insert or modify will act on, and says so.
    void announce();

    SharedState& m_shared;
    Prompter& m_prompter;
    RowDialogHost& m_host;
    Controls m_controls;
    std::array<QIcon, 29> m_icons;
    QGroupBox* m_editFrame = nullptr;
    QTabWidget* m_entryTab = nullptr;
    QTabWidget* m_listTab = nullptr;
    QTreeWidget* m_list = nullptr;
    QListWidget* m_findings = nullptr;
    QUndoStack m_history;
    Snapshot m_recorded;  // the program as the history last saw it
    int m_openRowDialogs = 0;
};

}  // namespace tql
