#pragma once

#include "program/entrymemory.h"
#include "program/program.h"

#include "session/teachline.h"

#include <QString>

class QWidget;

namespace tql {

// All a row dialog may touch: the program, the entries' memory, the report of a stored row,
// messages, the teach exchanges on the line and the main window's enabling. The editor
// implements it; a dialog sees nothing else of the windows or the line.
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
    // A message titled "訊息".
    virtual void notice(const QString& text) = 0;
    // Holding, reading and moving the slide while teaching.
    virtual TeachLine& teach() = 0;
    // Only the speed dialog disables the main window, and gives it back however it closes.
    virtual void setMainWindowEnabled(bool enabled) = 0;
};

}  // namespace tql
