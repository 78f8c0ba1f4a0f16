// The dry run: the program loaded into the machine and run a moment at a time.
#include "translator/dryrun.h"

#include "files/big5.h"
#include "translator/dryrunsimulation.h"
#include "translator/programchecks.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

namespace tql {
namespace {

// The operator's texts here, in the language the tool runs in.
struct Texts {
    Q_DECLARE_TR_FUNCTIONS(DryRun)
};

// Small enough for the trapezoid's corners, large enough for ten minutes in well under a
// second.
constexpr double kStep = 0.001;

}  // namespace

DryRunner::Simulation::Simulation(const ProgramTable& table, int RowCounter,
                                  const DryRunSetup& setup)
    : m_setup(setup),
      m_translation(TranslateProgram(table, RowCounter)),
      m_machine({.loopback = false, .accelerate = true, .scale = setup.motion}) {
    if (!m_translation.ok()) {
        m_result.row = m_translation.errorRow;
        m_result.message = m_translation.namedError();
        m_ended = true;
        return;
    }
    for (int row = 0; row <= std::min(RowCounter, kMaxProgramRows); ++row) {
        m_rows.push_back(table[size_t(row)]);
    }
    for (const TranslatedLoop& loop : m_translation.loops) {
        m_loopCounters.emplace(loop.row, loop.counter.toStdString());
    }
    if (!load(table, RowCounter)) {
        m_ended = true;
        return;
    }
    start();
}

Pause DryRunner::Simulation::run(const RunLimits& limits) {
    if (m_ended) {
        return Pause::Ended;
    }
    m_limits = limits;
    // A breakpoint on the row the run is ready at, at its start, holds it there: the
    // opening pause does not use it up.
    if (std::exchange(m_opening, false) && m_machine.paused() &&
        limits.breakpoints.contains(m_current)) {
        m_pause = Pause::Breakpoint;
        return m_pause;
    }
    if (m_machine.paused()) {
        m_machine.resume();
        m_machine.advance(m_t);  // the rest of the moment the pause came in
        record();
        if (m_machine.paused()) {
            return m_pause;
        }
    }
    while (true) {
        if (m_stuck && limits.holdEndlessWaits) {
            return Pause::Waiting;
        }
        if (!going()) {
            break;
        }
        if (m_t + kTimeTolerance >= limits.until) {
            return Pause::Time;
        }
        const bool changed = tick();
        if (m_machine.paused()) {
            return m_pause;
        }
        if (changed && limits.inputChange) {
            return Pause::InputChange;
        }
    }
    finish();
    return Pause::Ended;
}

// The next moment finds out whether the wait still holds.
void DryRunner::Simulation::setInput(int input, bool on) {
    m_machine.setInput(input, on);
    m_stuck = false;
}

Watch DryRunner::Simulation::watch() const {
    Watch watch;
    watch.seconds = m_t;
    watch.position = m_machine.position();
    watch.speed = m_machine.velocity();
    watch.speedSetting = m_machine.speed();
    watch.acceleration = m_machine.acceleration();
    watch.inputs = switchesOf<kInputs>(m_machine.inputWord());
    watch.outputs = switchesOf<kOutputs>(m_machine.outputs());
    watch.ended = m_ended;
    watch.row = !m_ended ? m_current : m_result.end == DryRunEnd::Finished ? 0 : m_result.row;
    // Every counter exists from the start; a loop shows once its row has run, until its
    // last round is done.
    for (const auto& [row, counter] : m_loopCounters) {
        const auto entered = m_loopTotals.find(row);
        const std::optional<double> count = m_machine.variable(counter);
        if (entered != m_loopTotals.end() && count && *count > 0) {
            watch.loops.push_back({row, *count, entered->second});
        }
    }
    for (const size_t line : m_machine.callLines()) {
        watch.calls.push_back(rowOf(line));
    }
    if (m_ended && m_result.end != DryRunEnd::WaitsForever) {
        return watch;
    }
    if (const auto& wait = m_machine.waitingOnInput()) {
        watch.waitsFor = Texts::tr("等待輸入 %1 變 %2").arg(wait->input).arg(wait->on ? 1 : 0);
        watch.inputWait = Watch::InputWait{wait->input, wait->on, m_waitStart};
    } else if (m_machine.position() != m_machine.target()) {
        watch.waitsFor = Texts::tr("移動到 %1").arg(m_machine.target(), 0, 'f', 3);
    } else if (m_machine.delayUntil() > m_t + kTimeTolerance) {
        watch.waitsFor = Texts::tr("延遲到 %1 秒").arg(m_machine.delayUntil(), 0, 'f', 3);
    }
    return watch;
}

bool DryRunner::Simulation::going() const {
    return m_machine.running() && !m_stuck && m_t < m_setup.timeLimit &&
           m_machine.executed() < m_setup.lineLimit;
}

// What the checks find in error stops the run where it is reached, as the controller
// model stops at a value it refuses: the dry run and the checks tell one story. The
// program is the one the controller stores after a download, run on the machine itself.
bool DryRunner::Simulation::load(const ProgramTable& table, int RowCounter) {
    for (const Finding& finding : CheckProgram(table, RowCounter)) {
        if (finding.severity == Severity::Error) {
            m_errors.try_emplace(finding.row, finding.message);
        }
    }
    const QStringList& text = m_translation.ControllerText;
    std::set<size_t> haltLines;
    std::vector<std::string> lines;
    for (qsizetype n = 0; n < text.size(); ++n) {
        const int row = m_translation.LineRows[size_t(n)];
        const bool first = n == 0 || m_translation.LineRows[size_t(n - 1)] != row;
        if (first) {
            m_rowStarts.emplace(size_t(n) + 1, row);
            if (m_errors.contains(row)) {
                haltLines.insert(size_t(n) + 1);
            }
        }
        // A line Big5 cannot hold is never sent (上傳 refuses the program); one too long
        // the controller would drop: the program it keeps would be another one.
        const std::optional<QByteArray> bytes = encodeBig5(text[n]);
        if (!bytes || size_t(bytes->size()) > controller::kMaxLineLength) {
            stop(DryRunEnd::ProgramError, row, Texts::tr("錯誤, 停止: ") + m_errors[row]);
            return false;
        }
        lines.push_back(bytes->toStdString());
    }
    m_machine.load(std::move(lines));
    m_machine.setHaltLines(std::move(haltLines));
    m_machine.setPosition(m_setup.startPosition);
    for (int k = 0; k < controller::kInputs; ++k) {
        m_machine.setInput(k + 1, m_setup.inputs[size_t(k)]);
    }
    for (const InputChange& change : m_setup.changes) {
        if (change.afterWait) {
            m_assumptions.push_back(change);
        } else {
            m_pending.emplace(change.at, change);
        }
    }
    return true;
}

// Paused before the first row. The lines before it (the variables cleared, the loop
// counters made) take their time first; a program whose first row is not reached by
// then (its first row gives no line) is not paused at the start.
void DryRunner::Simulation::start() {
    bindPauseCheck();
    m_position = m_setup.startPosition;
    m_result.lowest = m_result.highest = m_position;
    m_result.samples.emplace_back(0, m_position);
    m_nextSample = m_setup.sampleInterval;
    m_machine.startProgram(0);
    m_starting = true;
    m_machine.advance(0);
    const auto first = std::find_if(m_rowStarts.begin(), m_rowStarts.end(),
                                    [](const auto& start) { return start.second != 0; });
    const long long before = first == m_rowStarts.end() ? 0 : (long long)first->first - 1;
    while (m_starting && m_machine.running() && !m_machine.paused() && m_ticks < before) {
        tick();
    }
    m_opening = m_machine.paused();
    m_starting = false;
    followWaits();
}

void DryRunner::Simulation::bindPauseCheck() {
    m_machine.setPauseCheck([this](size_t line) { return arrive(line); });
}

std::unique_ptr<DryRunner::Simulation> DryRunner::Simulation::copy() const {
    auto copy = std::make_unique<Simulation>(*this);
    copy->bindPauseCheck();
    return copy;
}

// The program comes to a line: at a row's first line the row before is done, and the
// run pauses there if it is asked to.
bool DryRunner::Simulation::arrive(size_t line) {
    const auto found = m_rowStarts.find(line);
    if (found == m_rowStarts.end()) {
        return false;
    }
    finishRow();
    const int row = found->second;
    m_current = row;
    // Ready at the first row the program comes to at the start; a program whose first
    // rows take time (a delay in a row no statement of which starts it) is not.
    if (m_starting) {
        m_starting = false;
        m_pause = Pause::Step;
        return true;
    }
    if (m_limits.step) {
        m_pause = Pause::Step;
    } else if (row == m_limits.toRow) {
        m_pause = Pause::Row;
    } else if (m_limits.breakpoints.contains(row)) {
        m_pause = Pause::Breakpoint;
    } else {
        return false;
    }
    return true;
}

void DryRunner::Simulation::finishRow() {
    if (const auto loop = m_loopCounters.find(m_current); loop != m_loopCounters.end()) {
        m_loopTotals[m_current] = m_machine.variable(loop->second).value_or(0);
    }
    if (m_setup.trace && m_current != 0 && !m_finished) {
        m_trace.push_back({m_t, m_current, m_rows[size_t(m_current)][0], m_machine.position(),
                           m_machine.speed(), m_machine.acceleration()});
    }
    m_finished = false;
}

// One kStep of simulated time; true when a scheduled input changed.
bool DryRunner::Simulation::tick() {
    m_t = double(++m_ticks) * kStep;
    bool changed = false;
    while (!m_pending.empty() && m_pending.begin()->first <= m_t + kTimeTolerance) {
        const InputChange& change = m_pending.begin()->second;
        m_machine.setInput(change.input, change.on);
        m_pending.erase(m_pending.begin());
        changed = true;
    }
    m_machine.advance(m_t);
    record();
    return changed;
}

// The slide after a moment, and what the program waits for.
void DryRunner::Simulation::record() {
    const double now = m_machine.position();
    m_result.travelled = m_machine.travelled();
    m_position = now;
    m_result.lowest = std::min(m_result.lowest, now);
    m_result.highest = std::max(m_result.highest, now);
    if (m_t + kTimeTolerance >= m_nextSample) {
        m_result.samples.emplace_back(m_t, now);
        m_nextSample += m_setup.sampleInterval;
    }
    followWaits();
}

DryRunner::DryRunner(const ProgramTable& table, int RowCounter, const DryRunSetup& setup)
    : m_simulation(std::make_unique<Simulation>(table, RowCounter, setup)) {}

DryRunner::DryRunner(const DryRunner& other) : m_simulation(other.m_simulation->copy()) {}

DryRunner::~DryRunner() = default;

Pause DryRunner::run(const RunLimits& limits) {
    return m_simulation->run(limits);
}

void DryRunner::setInput(int input, bool on) {
    m_simulation->setInput(input, on);
}

bool DryRunner::ended() const {
    return m_simulation->ended();
}

Watch DryRunner::watch() const {
    return m_simulation->watch();
}

const DryRunResult& DryRunner::result() const {
    return m_simulation->result();
}

const std::vector<TracedRow>& DryRunner::trace() const {
    return m_simulation->trace();
}

std::vector<TracedRow> DryRunner::takeTrace() {
    return m_simulation->takeTrace();
}

const DryRunSetup& DryRunner::setup() const {
    return m_simulation->setup();
}

DryRunResult DryRun(const ProgramTable& table, int RowCounter, const DryRunSetup& setup) {
    DryRunner runner(table, RowCounter, setup);
    runner.run();
    return runner.result();
}
}  // namespace tql
