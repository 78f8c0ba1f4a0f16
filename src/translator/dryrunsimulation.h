#pragma once

// The dry run's machinery, behind DryRunner: shared by the translator's dry-run files only.

#include "controller/machine.h"
#include "translator/dryrun.h"
#include "translator/translator.h"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tql {

using controller::kTimeTolerance;

// One dry run: the translated program loaded into the machine, then run in steps of kStep
// with the input changes applied as their time comes, the motion, the waits and the rows
// recorded. The machine tells each line it comes to; the first line of a row is where that
// row starts and the one before it is done, and where a pause may hold the run.
class DryRunner::Simulation {
public:
    Simulation(const ProgramTable& table, int RowCounter, const DryRunSetup& setup);

    bool ended() const { return m_ended; }
    const DryRunResult& result() const { return m_result; }
    const std::vector<TracedRow>& trace() const { return m_trace; }
    std::vector<TracedRow> takeTrace() { return std::exchange(m_trace, {}); }
    // The copy's machine asks the copy, not the original, where to pause.
    std::unique_ptr<Simulation> copy() const;
    const DryRunSetup& setup() const { return m_setup; }

    Pause run(const RunLimits& limits);
    void setInput(int input, bool on);
    Watch watch() const;

private:
    int rowOf(size_t line) const { return line == 0 ? 0 : m_translation.LineRows.at(line - 1); }
    bool going() const;
    bool load(const ProgramTable& table, int RowCounter);
    void start();
    void bindPauseCheck();
    bool arrive(size_t line);
    void finishRow();
    bool tick();
    void record();

    // The waits, the assumptions that answer them, and how the run ended (dryrunend.cpp).
    bool releasable(const controller::Machine::InputWait& wait) const;
    void followWaits();
    void assumeWait(const controller::Machine::InputWait& wait);
    void countAssumedWait();
    void finish();
    void classifyEnd();
    void stop(DryRunEnd end, int row, const QString& why);

    const DryRunSetup m_setup;
    const Translation m_translation;
    controller::Machine m_machine;
    DryRunResult m_result;
    std::vector<TracedRow> m_trace;
    std::vector<Row> m_rows;                    // rows 0..RowCounter
    std::map<size_t, int> m_rowStarts;          // first line → its row
    std::map<int, std::string> m_loopCounters;  // LOOP row → its counter
    std::map<int, double> m_loopTotals;         // LOOP row → its rounds, once the row has run
    std::map<int, QString> m_errors;
    std::multimap<double, InputChange> m_pending;  // the changes still to come, by time
    std::vector<InputChange> m_assumptions;        // the assumed waits
    std::optional<AssumedWait> m_answering;        // the assumption the wait now holds for
    RunLimits m_limits;
    Pause m_pause = Pause::Step;
    long long m_ticks = 0;
    double m_t = 0;
    double m_position = 0;
    double m_nextSample = 0;
    int m_current = 0;        // the row running, or about to run at a pause
    bool m_starting = false;  // before the first row is reached
    bool m_opening = false;   // paused at the first row, not yet run
    bool m_finished = false;
    bool m_ended = false;
    size_t m_waitingLine = 0;
    double m_waitStart = 0;
    bool m_stuck = false;
};

}  // namespace tql
