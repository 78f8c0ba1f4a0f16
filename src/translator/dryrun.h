#pragma once

#include "controller/machine.h"
#include "program/programtable.h"
#include "program/switches.h"

#include <QString>
#include <QStringList>

#include <array>
#include <limits>
#include <memory>
#include <optional>
#include <set>
#include <utility>
#include <vector>

// 模擬執行: the translated program run on the controller model in simulated time, with no
// controller attached and nothing sent on any line. Moves follow a trapezoidal profile at
// the "VM" speed and the "VA" acceleration: the model's assumption, the real controller's
// profile may differ. A run goes at once to its end, or in steps: row by row, to a row, to
// a breakpoint or a time, with the machine's state to look at whenever it pauses.
namespace tql {

struct InputChange {
    int input = 1;  // 1..8
    double at = 0;  // seconds after the start; with afterWait, into each wait for it
    bool on = true;
    // An assumed wait: each time the program waits for the input to become `on`, it does
    // after `at` seconds ("輸入 3 在等待 0.5 秒後變 1").
    bool afterWait = false;
};

// "輸入 3 在 2.0 秒時變 1" (or just "3 2.0 1"): input 3 turns on 2 s after the start;
// "輸入 3 在等待 0.5 秒後變 1": it turns on 0.5 s into every wait for it. The English
// forms ("input 3 at 2.0 s becomes 1", "input 3 0.5 s into a wait becomes 1") too.
std::optional<InputChange> parseInputChange(const QString& line);

struct DryRunSetup {
    double startPosition = 0;  // 0, or the live position when connected
    InputStates inputs{};
    std::vector<InputChange> changes;
    double timeLimit = 600;         // seconds of simulated time
    long long lineLimit = 1000000;  // executed controller lines (an endless loop)
    double sampleInterval = 0.01;   // seconds between the chart's points
    bool trace = false;             // keep every executed row (DryRunner::trace)
    // The motion as calibrated on a machine; by default the settings as they stand.
    controller::MotionScale motion;
};

enum class DryRunEnd {
    Finished,      // the program ran to its end: one run took DryRunResult::seconds
    TimeLimit,     // still running when the simulated time was up
    LineLimit,     // DryRunSetup::lineLimit lines executed (beyond the time bound by default)
    WaitsForever,  // waiting on an input that no scheduled change can release
    ProgramError,  // a row the checks find in error, or one the controller refuses
    NotTranslated,
};

struct DryRunWait {
    int row = 0;  // the program row of the input wait
    double seconds = 0;
};

// An assumed wait that entered the run's time: at which row, on which input, how long and
// how often.
struct AssumedWait {
    int row = 0;
    int input = 0;
    bool on = true;
    double seconds = 0;
    int times = 0;
};

struct DryRunResult {
    DryRunEnd end = DryRunEnd::NotTranslated;
    int row = 0;      // the program row the run stopped at; 0 when it finished
    QString message;  // why it stopped, "第 N 列: …"; empty when it finished
    // The controller's fault that stopped it, when one did (a call too deep, a counter run
    // out of range).
    std::optional<controller::FaultKind> fault;
    double seconds = 0;
    double travelled = 0;
    double lowest = 0;
    double highest = 0;
    std::vector<std::pair<double, double>> samples;  // (seconds, position)
    std::vector<DryRunWait> waits;                   // rows where the run waited on an input
    std::vector<AssumedWait> assumed;
};

DryRunResult DryRun(const ProgramTable& table, int RowCounter, const DryRunSetup& setup);

// The summary as tq4c --dry-run prints it and the dry-run window shows it. Only a run that
// finished claims a time of one run.
QStringList dryRunSummary(const DryRunResult& result);

// A row the run has executed, as it stood when the row was done.
struct TracedRow {
    double seconds = 0;
    int row = 0;
    QString keyword;
    double position = 0;
    double speedSetting = 0;  // "VM" in force
    double acceleration = 0;  // "VA" in force
};
// "1.667 第 4 列 MR 30.000", as tq4c --trace prints it.
QString traceLine(const TracedRow& traced);

struct LoopCounter {
    int row = 0;       // the LOOP row
    double count = 0;  // the rounds still to come, this one included
    double total = 0;  // the rounds the loop was entered with
};

// The machine at a pause: what the operator watches.
struct Watch {
    double seconds = 0;
    double position = 0;
    double speed = 0;         // the slide's momentary speed
    double speedSetting = 0;  // "VM" in force
    double acceleration = 0;  // "VA" in force
    InputStates inputs{};
    OutputStates outputs{};
    // The row about to run or running; once the run ended, the row it stopped at (0 when
    // it ran to its end).
    int row = 0;
    bool ended = false;
    std::vector<LoopCounter> loops;  // the loops entered and not yet left, the outer first
    std::vector<int> calls;          // the CALL rows waiting for their RET, the first first
    QString waitsFor;                // "等待輸入 3 變 1", ...; empty when nothing holds it
    struct InputWait {
        int input = 0;  // 1..8
        bool on = true;
        double since = 0;  // seconds of the run
    };
    std::optional<InputWait> inputWait;  // what waitsFor says of a wait on an input
};
QStringList watchText(const Watch& watch);

// Where a run in steps pauses next; it pauses at its end in any case.
struct RunLimits {
    bool step = false;                                       // before the next row runs
    std::set<int> breakpoints;                               // before any of these rows runs
    int toRow = 0;                                           // before this row runs
    double until = std::numeric_limits<double>::infinity();  // at this simulated time
    bool inputChange = false;                                // after a scheduled input change
    // At a wait no scheduled change releases, instead of ending there: the operator may
    // switch the input by hand.
    bool holdEndlessWaits = false;
};

enum class Pause { Step, Breakpoint, Row, Time, InputChange, Waiting, Ended };

// A dry run in steps. It starts paused before the first row; each run() goes on to the
// next pause. The result grows as the run goes and is classified once it ended.
class DryRunner {
public:
    DryRunner(const ProgramTable& table, int RowCounter, const DryRunSetup& setup);
    ~DryRunner();
    // A copy runs on by itself from where the original stands: a look ahead that leaves the
    // original where it is.
    DryRunner(const DryRunner& other);
    DryRunner& operator=(const DryRunner&) = delete;

    Pause run(const RunLimits& limits = {});
    // An input switched by hand while paused; the scheduled changes still come.
    void setInput(int input, bool on);
    bool ended() const;
    Watch watch() const;
    const DryRunResult& result() const;
    const std::vector<TracedRow>& trace() const;
    // The rows traced since the last take; a run followed for hours keeps none of them.
    std::vector<TracedRow> takeTrace();
    const DryRunSetup& setup() const;

private:
    class Simulation;
    std::unique_ptr<Simulation> m_simulation;
};

}  // namespace tql
