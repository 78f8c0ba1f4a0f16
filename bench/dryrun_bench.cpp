// Dry-run benchmark: a 500-row program with a loop that runs ten simulated minutes (the dry
// run's time bound), timed in real time over several runs; then the debugger's answers on
// the same program: a run started, every row stepped through, the last row run to.

#include "translator/dryrun.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

int main() {
    tql::ProgramTable table{};
    int rows = 0;
    table[++rows] = {"VM", "1000", "速度", "-", "-"};
    table[++rows] = {"LOOP", "100000", "迴圈", "-", "-"};
    // A move and a speed, over and over: the most rows that stay within 1001 lines.
    while (rows < tql::kMaxProgramRows - 1) {
        const int row = ++rows;
        table[row] = row % 2 == 0 ? tql::Row{"MR", "相對移動", row % 4 == 0 ? "1" : "-1", "-", "-"}
                                  : tql::Row{"VM", "1000", "速度", "-", "-"};
    }
    table[++rows] = {"LOOPEND", "迴圈結束", "-", "-", "-"};

    constexpr int kRuns = 5;
    std::vector<double> seconds;
    tql::DryRunResult result;
    for (int i = 0; i < kRuns; ++i) {
        QElapsedTimer clock;
        clock.start();
        result = tql::DryRun(table, rows, {});
        seconds.push_back(double(clock.nsecsElapsed()) / 1e9);
    }
    std::sort(seconds.begin(), seconds.end());
    std::printf(
        "dry run of %d rows, %.0f simulated s (%s): median %.3f s, worst %.3f s (%d runs)\n", rows,
        result.seconds, tql::dryRunSummary(result).first().toUtf8().constData(), seconds[kRuns / 2],
        seconds.back(), kRuns);

    const auto milliseconds = [](const QElapsedTimer& clock) {
        return double(clock.nsecsElapsed()) / 1e6;
    };
    QElapsedTimer clock;
    clock.start();
    tql::DryRunner runner(table, rows, {});
    const double start = milliseconds(clock);
    std::vector<double> steps;
    tql::RunLimits step;
    step.step = true;
    for (int i = 0; i < rows; ++i) {
        clock.restart();
        runner.run(step);
        steps.push_back(milliseconds(clock));
    }
    std::sort(steps.begin(), steps.end());
    tql::DryRunner fresh(table, rows, {});
    tql::RunLimits last;
    last.toRow = rows;
    clock.restart();
    fresh.run(last);
    const double toLast = milliseconds(clock);
    std::printf(
        "debugger on %d rows: start %.2f ms; a step median %.3f ms, worst %.3f ms (%zu "
        "steps); run to row %d %.2f ms\n",
        rows, start, steps[steps.size() / 2], steps.back(), steps.size(), fresh.watch().row,
        toLast);
    return 0;
}
