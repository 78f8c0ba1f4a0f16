#pragma once

#include <QString>

namespace tql {

// What the editor's entries remember from one opening to the next: the texts their boxes
// and dialogs offer. The editor owns it for the whole run; it is no part of the program.
struct EntryMemory {
    QString LastDelay;           // default of the delay box; empty until a delay is accepted
    QString MoveValue = "0";     // last confirmed move target or distance
    bool NumericEntry = true;    // absolute-move dialog: typed (true) or taught target
    QString SpeedValue = "100";  // last confirmed speed of the speed dialog
};

}  // namespace tql
