// How a dry run waits on its inputs, how the assumed waits answer, and how a run ends.
#include "translator/dryrunsimulation.h"
#include "translator/faulttext.h"

#include <QCoreApplication>

#include <algorithm>

namespace tql {
namespace {

// The operator's texts here, in the language the tool runs in.
struct Texts {
    Q_DECLARE_TR_FUNCTIONS(DryRun)
};

}  // namespace

// A wait no change still to come can release lasts for ever.
bool DryRunner::Simulation::releasable(const controller::Machine::InputWait& wait) const {
    return std::any_of(m_pending.begin(), m_pending.end(), [&](const auto& entry) {
        return entry.second.input == wait.input && entry.second.on == wait.on;
    });
}

// A wait on an input, timed from the moment the program stops at it to the moment it
// goes on, and counted against the program row that stands behind it. An assumed wait
// for it schedules its change as the wait begins.
void DryRunner::Simulation::followWaits() {
    const auto& wait = m_machine.waitingOnInput();
    const size_t line = wait ? wait->line : 0;
    if (line != m_waitingLine) {
        if (m_waitingLine != 0) {
            m_result.waits.back().seconds = m_t - m_waitStart;
            countAssumedWait();
        }
        if (line != 0) {
            m_result.waits.push_back({rowOf(line), 0});
            m_waitStart = m_t;
            assumeWait(*wait);
        }
        m_waitingLine = line;
    }
    m_stuck = wait && !releasable(*wait);
}

// The assumption that answers first (the same one given twice is one) releases the
// wait; it is counted once the wait it answered is over.
void DryRunner::Simulation::assumeWait(const controller::Machine::InputWait& wait) {
    const InputChange* first = nullptr;
    for (const InputChange& change : m_assumptions) {
        if (change.input == wait.input && change.on == wait.on &&
            (first == nullptr || change.at < first->at)) {
            first = &change;
        }
    }
    if (first != nullptr) {
        m_pending.emplace(m_t + first->at, *first);
        m_answering = AssumedWait{rowOf(wait.line), first->input, first->on, first->at, 0};
    }
}

void DryRunner::Simulation::countAssumedWait() {
    const std::optional<AssumedWait> answered = std::exchange(m_answering, std::nullopt);
    if (!answered || m_t + kTimeTolerance < m_waitStart + answered->seconds) {
        return;  // released by something else, before the assumption came
    }
    auto& assumed = m_result.assumed;
    auto found = std::find_if(assumed.begin(), assumed.end(), [&](const AssumedWait& a) {
        return a.row == answered->row && a.input == answered->input && a.on == answered->on &&
               a.seconds == answered->seconds;
    });
    if (found == assumed.end()) {
        found = assumed.insert(assumed.end(), *answered);
    }
    ++found->times;
}

void DryRunner::Simulation::finish() {
    m_ended = true;
    if (m_waitingLine != 0) {
        m_result.waits.back().seconds = m_t - m_waitStart;
    }
    m_result.seconds = m_t;
    if (!m_machine.running() && m_machine.haltedAt() == 0 && !m_machine.fault()) {
        finishRow();
        m_finished = true;
    }
    classifyEnd();
}

void DryRunner::Simulation::classifyEnd() {
    const QString error = Texts::tr("錯誤, 停止: ");
    if (const size_t halted = m_machine.haltedAt(); halted != 0) {
        stop(DryRunEnd::ProgramError, rowOf(halted), error + m_errors[rowOf(halted)]);
    } else if (const auto& fault = m_machine.fault()) {
        const int row = rowOf(fault->line);
        stop(DryRunEnd::ProgramError, row, error + faultText(*fault, m_rows.at(size_t(row))));
        m_result.fault = fault->kind;
    } else if (!m_machine.running()) {
        m_result.end = DryRunEnd::Finished;
    } else if (m_stuck) {
        const auto& wait = m_machine.waitingOnInput();
        stop(DryRunEnd::WaitsForever, rowOf(wait->line),
             Texts::tr("等待輸入 %1, 沒有排定的變化").arg(wait->input));
    } else if (m_machine.executed() >= m_setup.lineLimit) {
        stop(DryRunEnd::LineLimit, rowOf(m_machine.currentLine()),
             Texts::tr("執行 %1 行後停止: 程式可能是無窮迴圈").arg(m_setup.lineLimit));
    } else if (const auto& wait = m_machine.waitingOnInput()) {
        // A wait a change after the time bound would release: the program waits, it
        // does not run on.
        stop(DryRunEnd::TimeLimit, rowOf(wait->line),
             Texts::tr("模擬 %1 秒後停止: 仍在等待輸入 %2 變 %3")
                 .arg(m_result.seconds, 0, 'f', 0)
                 .arg(wait->input)
                 .arg(wait->on ? 1 : 0));
    } else {
        stop(DryRunEnd::TimeLimit, rowOf(m_machine.currentLine()),
             Texts::tr("模擬 %1 秒後停止: 程式仍在執行").arg(m_result.seconds, 0, 'f', 0));
    }
    if (m_result.samples.back().first < m_t) {
        m_result.samples.emplace_back(m_t, m_position);
    }
}

void DryRunner::Simulation::stop(DryRunEnd end, int row, const QString& why) {
    m_result.end = end;
    m_result.row = row;
    m_result.message = Texts::tr("第 %1 列: %2").arg(row).arg(why);
}

}  // namespace tql
