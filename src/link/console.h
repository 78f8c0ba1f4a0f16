#pragma once

#include "link/link.h"
#include "program/switches.h"

#include <QString>

#include <array>

// The console's exchanges with the controller, apart from any window: the connect probe
// and greeting, the internal values, the position and input poll, the output switches.
namespace tql {

// ESC, ESC as two writes: the controller's stop of its running program (and of a download).
void stopControllerProgram(Link& link);
// The stored program started: "HON", 100 ms, "G".
void startStoredProgram(Link& link);

// "?VM" joined with its CR as one write, 200 ms, then any byte at all counts (even one that
// is no Big5 text by itself).
bool probeController(Link& link);

// After a successful probe: stop the controller's running program (ESC, ESC), switch its
// echo off and its hold on, and throw away whatever it answers to that.
void greetController(Link& link);

struct InternalValues {
    QString acceleration;  // reply to "?VA", unchanged
    QString speed;         // reply to "?VM", unchanged
};
InternalValues readInternalValues(Link& link);

struct PollReading {
    QString position;  // reply to "?PE", unchanged
    InputStates inputs{};
};
// "?PE" (50 ms), one read thrown away (a late reply of an earlier exchange), "?INP" (50 ms).
PollReading pollPositionAndInputs(Link& link);

// Sends "SET Pk" / "CLR Pk" for each output whose wish differs from what was last sent.
void syncOutputs(Link& link, const OutputStates& wanted, OutputStates& sent);

// The leading number of a reply, read the way the controller's replies have always been
// read: blanks, tabs and line feeds are skipped anywhere, reading stops at the first
// character that cannot continue the number (a CR), &H and &O prefixes are honoured, and
// no number gives 0. Rounded half to even; clamped to the 32-bit range so that an absurd
// reply cannot stop the poll.
int inputWord(const QString& reply);

// Indicators 1..8 for an input word: bits 0..7 from the top down; 256 or more checks all,
// a negative word none.
InputStates inputIndicators(int word);

}  // namespace tql
