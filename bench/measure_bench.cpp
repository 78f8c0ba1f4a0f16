// Measured-run benchmark, on the controller simulator: a program that runs to and fro for
// ever, uploaded and started, its run followed for 20 s against the model's, once with the
// 50 ms "?PE" polls and once with the console's 500 ms poll alone: the cycle measured, how
// far single cycles stray from it, and the model's estimate.

#include "benchsupport.h"
#include "link/qtserialline.h"
#include "program/programtable.h"
#include "session/controllersession.h"
#include "translator/dryrun.h"
#include "translator/measuredrun.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

struct Cycles {
    double measured = 0;
    double spread = 0;  // the largest distance of one cycle from the mean
    size_t count = 0;
    double model = 0;
};

Cycles measure(const QString& device, bool fast, double seconds) {
    bench::QuietPrompter prompter;
    tql::QtSerialLine line;
    tql::ThreadSleeper sleeper;
    tql::ControllerSession session(prompter, line, sleeper);
    session.setPortNumber(device);
    session.setFastMeasuring(fast);
    session.ConnectController();

    tql::ProgramTable table{};
    table[0] = tql::headerRow();
    table[1] = {"VM", "100", "速度", "-", "-"};
    table[2] = {"LABLE", "A", "標籤", "-", "-"};
    table[3] = {"POINT", "絕對移動", "50", "-", "-"};
    table[4] = {"POINT", "絕對移動", "0", "-", "-"};
    table[5] = {"GLABLE", "A", "跳至標籤", "-", "-"};
    tql::DryRunSetup setup;
    setup.trace = true;
    setup.timeLimit = seconds + 10;
    tql::DryRunner model(table, 5, setup);
    model.run();
    tql::MeasuredRun run = tql::MeasuredRun::following(table, model);
    QObject::connect(&session, &tql::ControllerSession::runPosition,
                     [&run](double at, double position) { run.add(at, position); });
    session.upload(table, 5);
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < qint64(seconds * 1000)) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    session.stopProgram();
    session.signOff();

    Cycles cycles;
    const std::vector<double> periods = run.periods();
    cycles.measured = run.cycle().value_or(0);
    cycles.count = periods.size();
    for (const double p : periods) {
        cycles.spread = std::max(cycles.spread, std::abs(p - cycles.measured));
    }
    cycles.model = run.modelCycle().value_or(0);
    return cycles;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    const bench::Simulator sim({});
    if (sim.device.isEmpty()) {
        std::fprintf(stderr, "no simulator\n");
        return 1;
    }
    const QString device = sim.device;
    for (const bool fast : {true, false}) {
        const Cycles c = measure(device, fast, 20);
        std::printf(
            "%s: cycle %.3f s measured (%zu cycles, each within ±%.0f ms), %.3f s "
            "estimated (%+.1f %%)\n",
            fast ? "\"?PE\" every 50 ms" : "the console's poll every 500 ms", c.measured, c.count,
            c.spread * 1000, c.model, 100 * (c.measured - c.model) / c.model);
    }
    return 0;
}
