#pragma once

// The controller simulator as a child process serving one pseudo-terminal, for the tests
// and the benchmarks that talk to it over a real serial line. Its program is the one the
// build names in TQL400_SIM_PATH.

#include <QProcess>
#include <QString>
#include <QStringList>

namespace sim {

struct SimulatorProcess {
    QProcess process;
    QString device;  // empty when it did not start

    explicit SimulatorProcess(const QStringList& arguments) {
        process.start(QStringLiteral(TQL400_SIM_PATH), arguments);
        if (process.waitForReadyRead(5000)) {
            device = QString::fromLocal8Bit(process.readLine()).trimmed();
        }
    }
    ~SimulatorProcess() {
        process.closeWriteChannel();  // the end of its standard input ends it
        process.waitForFinished(2000);
    }
    SimulatorProcess(const SimulatorProcess&) = delete;
    SimulatorProcess& operator=(const SimulatorProcess&) = delete;
};

}  // namespace sim
