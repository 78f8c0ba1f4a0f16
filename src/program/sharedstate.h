#pragma once

#include "program/programtable.h"

#include <QString>

#include <array>

namespace tql {

// Everything the main window shares with its dialogs, the translator and the file commands.
// The main window owns the one instance for the whole run; the dialogs read and write it
// directly. Member names are the ones the maintainers of this system know.
struct SharedState {
    SharedState() { ProgramTable[0] = headerRow(); }

    // The program (row 0 header, rows 1..RowCounter the program).
    tql::ProgramTable ProgramTable{};
    int RowCounter = 0;
    int CurrentRow = 0;  // row that the next insert, modify or delete acts on

    // Edit modes for the next stored row.
    bool AppendMode = false;
    bool InsertMode = false;
    bool ModifyMode = false;

    bool ProgramChanged = false;  // unsaved changes
    // Lets the move and custom-step dialogs store one row per opening from the editor.
    bool EntryArmed = false;

    QString LastDelay;  // default of the delay box; empty until a delay is accepted

    QString PortNumber = "1";          // "1".."4" names COM1..COM4; other text is a port name
    QString MoveValue = "0";           // last confirmed move target or distance
    bool NumericEntry = true;          // absolute-move dialog: typed (true) or taught target
    QString SpeedValue = "100";        // last confirmed speed of the speed dialog
    std::array<bool, 4> OutputSent{};  // output states last sent to the controller
};

}  // namespace tql
