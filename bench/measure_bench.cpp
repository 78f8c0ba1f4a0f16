// Measured-run benchmark, on the controller simulator: a program that runs to and fro for
// ever, uploaded and started, its run followed for 20 s against the model's, once with the
// 50 ms "?PE" polls and once with the console's 500 ms poll alone: the cycle measured, how
// far single cycles stray from it, and the model's estimate. Then 校正 on a program of
// long and short, slow and fast moves, on a simulator that ramps and on one that moves at
// speed at once: the estimate against the measured run before the calibration and after.

#include "benchsupport.h"
#include "link/qtserialline.h"
#include "program/programtable.h"
#include "session/controllersession.h"
#include "translator/calibration.h"
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

// The slide's position as the console's poll reads it after connecting.
double positionAfterConnecting(const tql::ControllerSession& session) {
    QElapsedTimer clock;
    clock.start();
    while (!session.lastPosition() && clock.elapsed() < 2000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return session.lastPosition().value_or(0);
}

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
    setup.startPosition = positionAfterConnecting(session);  // where the last run left it
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

// A program that runs to its end: its estimate as the settings say, the measured run, and
// the estimate of the model calibrated to it.
struct Calibrated {
    double before = 0;
    double measured = 0;
    double after = 0;
    tql::Calibration fit;
};

std::optional<Calibrated> calibrateOn(const QString& device) {
    bench::QuietPrompter prompter;
    tql::QtSerialLine line;
    tql::ThreadSleeper sleeper;
    tql::ControllerSession session(prompter, line, sleeper);
    session.setPortNumber(device);
    session.ConnectController();

    tql::ProgramTable table{};
    table[0] = tql::headerRow();
    const tql::Row rows[] = {
        {"VM", "100", "速度", "-", "-"},        {"LOOP", "3", "迴圈", "-", "-"},
        {"POINT", "絕對移動", "100", "-", "-"}, {"VM", "400", "速度", "-", "-"},
        {"POINT", "絕對移動", "0", "-", "-"},   {"POINT", "絕對移動", "15", "-", "-"},
        {"WT", "200", "延遲", "-", "-"},        {"VM", "50", "速度", "-", "-"},
        {"POINT", "絕對移動", "0", "-", "-"},   {"VM", "100", "速度", "-", "-"},
        {"LOOPEND", "迴圈結束", "-", "-", "-"}};
    int count = 0;
    for (const tql::Row& row : rows) {
        table[size_t(++count)] = row;
    }
    tql::DryRunSetup setup;
    setup.trace = true;
    setup.startPosition = positionAfterConnecting(session);
    tql::DryRunner model(table, count, setup);
    model.run();
    tql::MeasuredRun run = tql::MeasuredRun::following(table, model);
    QObject::connect(&session, &tql::ControllerSession::runPosition,
                     [&](double at, double position) {
                         run.add(at, position);
                         if (run.ended()) {
                             session.stopMeasuring();
                         }
                     });
    session.upload(table, count);
    QElapsedTimer clock;
    clock.start();
    while (session.measuring() && clock.elapsed() < 60000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    session.signOff();
    const std::optional<tql::Calibration> fit = tql::calibrate(table, count, setup, run.readings());
    if (!run.ended() || !fit) {
        return std::nullopt;
    }
    tql::DryRunSetup calibrated = setup;
    calibrated.motion = fit->motion;
    return Calibrated{*run.modelSeconds(), *run.seconds(),
                      tql::DryRun(table, count, calibrated).seconds, *fit};
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
    for (const bool ramps : {true, false}) {
        const bench::Simulator other(ramps ? QStringList{} : QStringList{"--constant-speed"});
        const std::optional<Calibrated> c = calibrateOn(other.device);
        if (!c) {
            std::fprintf(stderr, "the calibration run did not end\n");
            return 1;
        }
        std::printf(
            "calibration, a simulator %s: measured %.3f s; estimated %.3f s (%+.1f %%), "
            "calibrated %.3f s (%+.2f %%); %s\n",
            ramps ? "ramping at VA" : "at speed at once", c->measured, c->before,
            100 * (c->before - c->measured) / c->measured, c->after,
            100 * (c->after - c->measured) / c->measured,
            tql::calibrationText(c->fit).toUtf8().constData());
    }
    return 0;
}
