#pragma once

// What the benchmarks share: an operator who answers every box at once, and the
// controller simulator as a child process.

#include "session/prompter.h"
#include "simulatorprocess.h"

#include <QString>

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

}  // namespace bench
