#pragma once

// What the benchmarks share: an operator who answers every box at once, the controller
// simulator as a child process, and a program of 1,000 lines.

#include "program/programtable.h"
#include "session/prompter.h"
#include "simulatorprocess.h"

#include <QString>

#include <utility>

namespace bench {

// Answers every box at once: connecting, and the upload's two questions with 是.
class QuietPrompter final : public tql::Prompter {
public:
    Answer message(QWidget*, const QString&, const QString&, Buttons, Icon) override {
        return Answer::Yes;
    }
    QString inputBox(QWidget*, const QString&, const QString&, const QString&) override {
        return {};
    }
    QString saveFileName(QWidget*, const QString&, const QString&) override { return {}; }
    QString openFileName(QWidget*, const QString&, const QString&) override { return {}; }
};

using Simulator = sim::SimulatorProcess;

// "{", "CLR VAR;", 998 moves, "}": a program of 1,000 lines and more, and its rows.
inline std::pair<tql::ProgramTable, int> longProgram() {
    tql::ProgramTable table{};
    table[0] = tql::headerRow();
    int rows = 0;
    table[++rows] = {"VM", "100", "速度", "-", "-"};
    while (rows < 499) {
        table[rows + 1] = {"POINT", "絕對移動", QString::number(rows % 50), "-", "-"};
        ++rows;
    }
    return {table, rows};
}

}  // namespace bench
