#pragma once

// What the benchmarks share: an operator who answers every box at once, and the
// controller simulator as a child process.

#include "session/prompter.h"

#include <QProcess>
#include <QString>
#include <QStringList>

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

// The simulator as a child process, serving one pseudo-terminal (TQL400_SIM_PATH).
struct Simulator {
    QProcess process;
    QString device;

    explicit Simulator(const QStringList& arguments) {
        process.start(QStringLiteral(TQL400_SIM_PATH), arguments);
        if (process.waitForReadyRead(5000)) {
            device = QString::fromLocal8Bit(process.readLine()).trimmed();
        }
    }
    ~Simulator() {
        process.closeWriteChannel();
        process.waitForFinished(2000);
    }
};

}  // namespace bench
