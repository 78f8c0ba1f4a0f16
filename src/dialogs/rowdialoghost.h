#pragma once

#include "program/entrymemory.h"
#include "program/program.h"

#include <QString>
#include <QTimer>

class QWidget;

namespace tql {

class Link;

// All a row dialog may touch of the main window: the program, the entries' memory, the
// report of a stored row, the console timer, the line and the main window's enabling. The
// main window implements it; a dialog sees nothing else of it.
class RowDialogHost {
public:
    virtual ~RowDialogHost() = default;

    // The window the dialog stands in front of.
    virtual QWidget* hostWindow() = 0;
    // The program: its rows, edit modes and storing rule.
    virtual Program& program() = 0;
    // The texts the entries offer from one opening to the next.
    virtual EntryMemory& entryMemory() = 0;
    // Reports a refused store to the operator; true when the row was stored.
    virtual bool reportStore(StoreOutcome outcome) = 0;
    virtual QTimer& Timer1() = 0;
    virtual Link& link() = 0;
    // One command line when the port is open; " 連線錯誤 !" when it is closed.
    virtual void RS232(const QString& text) = 0;
    // A message titled "訊息".
    virtual void notice(const QString& text) = 0;
    // A move target must be a number (an empty one allowed); says so when it is not.
    virtual bool checkNumberField(const QString& value, bool emptyAllowed) = 0;
    // Only the speed dialog disables the main window, and gives it back however it closes.
    virtual void setMainWindowEnabled(bool enabled) = 0;
};

}  // namespace tql
