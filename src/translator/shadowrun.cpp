// The shadow run: the model beside the machine, on the machine's clock.
#include "translator/shadowrun.h"

#include "translator/programchecks.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>
#include <limits>

namespace tql {
namespace {

struct Texts {
    Q_DECLARE_TR_FUNCTIONS(ShadowRun)
};

// The machine's own step: at the slide's top speed it moves half a millimetre in one, so a
// reading cannot fall between two samples.
constexpr double kStep = 0.001;
// Long enough for the readings of two slow polls and the moments around them.
constexpr double kKept = 3.0;
// Two readings this close are one standing slide.
constexpr double kStill = 0.01;

DryRunSetup modelSetup(const ShadowSetup& shadow) {
    DryRunSetup setup;
    setup.startPosition = shadow.startPosition;
    setup.inputs = shadow.inputs;
    setup.motion = shadow.motion;
    // It runs as long as the machine does; nothing but the poll changes its inputs.
    setup.timeLimit = std::numeric_limits<double>::infinity();
    setup.lineLimit = std::numeric_limits<long long>::max();
    setup.sampleInterval = std::numeric_limits<double>::infinity();
    setup.trace = true;
    return setup;
}

}  // namespace

ShadowRun::ShadowRun(const ProgramTable& table, int RowCounter, const ShadowSetup& setup)
    : m_model(table, RowCounter, modelSetup(setup)),
      m_timing(ShadowTolerance::kTiming + 3 * setup.residual) {
    for (const Finding& finding : CheckProgram(table, RowCounter)) {
        if (finding.kind == FindingKind::UnknownStatement) {
            m_unknownRows.insert(finding.row);
        }
    }
    sample();
}

Watch ShadowRun::model() const {
    Watch watch = m_model.watch();
    watch.seconds += m_offset;
    return watch;
}

std::optional<double> ShadowRun::machinePosition() const {
    return m_lastReading;
}

void ShadowRun::position(double at, double position) {
    if (!following()) {
        return;
    }
    advance(at);
    if (!following()) {
        return;
    }
    Match found = match(at, position, m_model, m_lead);
    if (!found.found && m_stuck) {
        // The slide moves on while the model waits for an input: it changed since the
        // inputs were read, and the machine went on at some moment since then.
        const Watch::InputWait wait = *m_model.watch().inputWait;
        DryRunner released(m_model);
        released.setInput(wait.input, wait.on);
        const Lead lead = releasedSince(at);
        m_stuck = false;
        found = match(at, position, released, lead);
        if (found.found) {
            m_model.setInput(wait.input, wait.on);
            m_lead = lead;
        } else {
            m_stuck = true;
        }
    }
    const bool still = m_lastReading && std::abs(*m_lastReading - position) <= kStill;
    m_lastReading = position;
    if (!found.found) {
        if (++m_misses == 1) {
            m_firstMiss = at;
            m_firstMissPosition = position;
        }
        if (m_misses >= 2) {
            judgeDifference(still);
        }
        return;
    }
    m_misses = 0;
    m_lastGood = at;
    if (found.telling) {
        // The machine is that far ahead of the model (or behind it): the model's clock
        // follows, and a wait released late is told.
        shiftClock(found.at - at);
        m_lead = {};
        advance(at);
    } else {
        // A slide standing, or passing slowly, says only within what the machine's lead
        // lies.
        const Lead seen{found.from - at, found.to - at};
        if (std::max(seen.lo, m_lead.lo) <= std::min(seen.hi, m_lead.hi)) {
            m_lead = {std::max(seen.lo, m_lead.lo), std::min(seen.hi, m_lead.hi)};
        }
    }
    const double lead = (m_lead.lo + m_lead.hi) / 2;
    if (m_modelEnd && still && at >= *m_modelEnd + m_offset - lead) {
        m_seconds = *m_modelEnd + m_offset - lead;
        judge(ShadowState::Ended, 0, Texts::tr("執行完畢 (實測 %1 秒)").arg(*m_seconds, 0, 'f', 3));
    }
}

void ShadowRun::unread(double, const QString& reply) {
    if (!following()) {
        return;
    }
    judge(
        ShadowState::CannotFollow, m_row,
        Texts::tr("從第 %1 列起無法跟隨實機: %2")
            .arg(m_row)
            .arg(
                reply.trimmed().isEmpty()
                    ? Texts::tr("控制器沒有回答位置 (?PE)")
                    : Texts::tr("控制器對位置 (?PE) 的回答不是數字: 「%1」").arg(reply.trimmed())));
}

void ShadowRun::lost() {
    if (following()) {
        judge(ShadowState::CannotFollow, m_row,
              Texts::tr("從第 %1 列起無法跟隨實機: %2").arg(m_row).arg(Texts::tr("連線中斷")));
    }
}

// An input the program waits for, seen changed: the machine went on at some moment since
// the inputs were read before and since it came to the wait, the model goes on now; the
// readings after tell how much earlier the machine did.
void ShadowRun::inputs(double at, const InputStates& inputs) {
    if (!following()) {
        return;
    }
    advance(at);
    const Watch model = m_model.watch();
    const std::optional<Watch::InputWait>& wait = model.inputWait;
    for (int k = 0; k < kInputs; ++k) {
        if (inputs[size_t(k)] == model.inputs[size_t(k)]) {
            continue;
        }
        if (wait && wait->input == k + 1 && wait->on == inputs[size_t(k)]) {
            m_lead = releasedSince(at);
        }
        m_model.setInput(k + 1, inputs[size_t(k)]);
        m_stuck = false;
    }
    m_inputsAt = at;
}

// A wait the model is released from at `at`: the machine came to it up to the lead
// earlier than the model, and went on at some moment since then, after the inputs were
// last read.
ShadowRun::Lead ShadowRun::releasedSince(double at) const {
    return {0, at - std::max(m_inputsAt, m_stuckSince - m_lead.hi)};
}

void ShadowRun::advance(double at) {
    RunLimits limits;
    limits.holdEndlessWaits = true;
    while (following() && !m_modelEnd) {
        if (m_stuck) {
            // The model's clock stands while it waits; the machine's goes on.
            m_offset = at - m_modelAt;
            sample();
            return;
        }
        if (m_modelAt + kStep + m_offset > at + controller::kTimeTolerance) {
            return;
        }
        limits.until = m_modelAt + kStep;
        const Pause pause = m_model.run(limits);
        sample();
        if (pause == Pause::Waiting) {
            m_stuck = true;
            m_stuckSince = m_modelAt + m_offset;
        }
    }
}

void ShadowRun::sample() {
    const Watch watch = m_model.watch();
    m_modelAt = watch.seconds;
    m_samples.push_back({m_modelAt + m_offset, watch.position, watch.speed != 0, watch.row});
    while (m_samples.front().at < m_samples.back().at - kKept) {
        m_samples.pop_front();
    }
    for (TracedRow& traced : m_model.takeTrace()) {
        traced.seconds += m_offset;
        m_rows.push_back(std::move(traced));
    }
    if (!watch.ended) {
        m_row = watch.row;
        if (m_unknownRows.contains(m_row)) {
            judge(ShadowState::CannotFollow, m_row,
                  Texts::tr("從第 %1 列起無法跟隨實機: %2")
                      .arg(m_row)
                      .arg(Texts::tr("模型不認得這一列的控制器文字")));
        }
        return;
    }
    const DryRunResult& result = m_model.result();
    if (result.end == DryRunEnd::Finished) {
        m_modelEnd = m_modelAt;
    } else {
        judge(ShadowState::CannotFollow, result.row,
              Texts::tr("從第 %1 列起無法跟隨實機: %2").arg(result.row).arg(result.message));
    }
}

// The moments within the reading's timing (and, after a wait released late, as much later
// as the machine may be ahead) where the model's slide stood within reach of the reading.
// Beyond the samples kept, a copy of the model runs on; the original stays.
ShadowRun::Match ShadowRun::match(double at, double position, const DryRunner& model,
                                  Lead lead) const {
    const double from = at + lead.lo - m_timing;
    const double to = at + lead.hi + m_timing;
    std::vector<Sample> window;
    for (const Sample& s : m_samples) {
        if (s.at >= from && s.at <= to) {
            window.push_back(s);
        }
    }
    const Sample last = m_samples.back();
    if (last.at < to && !m_modelEnd && !m_stuck) {
        DryRunner ahead(model);
        RunLimits limits;
        limits.holdEndlessWaits = true;
        double now = m_modelAt;
        while (now + m_offset < to) {
            limits.until = now + kStep;
            const Pause pause = ahead.run(limits);
            const Watch watch = ahead.watch();
            now = watch.seconds;
            window.push_back({now + m_offset, watch.position, watch.speed != 0, watch.row});
            if (pause == Pause::Waiting || pause == Pause::Ended) {
                break;
            }
        }
    }
    if (window.empty() || window.back().at < to) {
        window.push_back({to, window.empty() ? last.position : window.back().position, false,
                          last.row});  // the model stands from its last moment on
    }
    Match found;
    double nearest = std::numeric_limits<double>::infinity();
    bool moving = false;
    for (const Sample& s : window) {
        const double distance = std::abs(s.position - position);
        if (distance > ShadowTolerance::kDistance) {
            continue;
        }
        if (!found.found) {
            found.from = s.at;
        }
        found.found = true;
        found.to = s.at;
        if (distance < nearest) {
            nearest = distance;
            found.at = s.at;
            moving = s.moving;
        }
    }
    found.telling = found.found && moving && found.to - found.from < (to - from) / 2;
    return found;
}

void ShadowRun::shiftClock(double by) {
    m_offset -= by;
    for (Sample& s : m_samples) {
        s.at -= by;
    }
}

void ShadowRun::judge(ShadowState state, int row, const QString& verdict) {
    m_state = state;
    m_row = row;
    m_verdict = verdict;
}

// The row where the two parted: the first the model was moving the slide in, out of reach
// of the first reading that did not belong to it, after the last moment it was within
// reach of it since the last reading that did; without one, the row it ran at that reading.
void ShadowRun::judgeDifference(bool still) {
    const auto within = [this](const Sample& s) {
        return std::abs(s.position - m_firstMissPosition) <= ShadowTolerance::kDistance;
    };
    auto from = std::find_if(m_samples.begin(), m_samples.end(),
                             [this](const Sample& s) { return s.at >= m_lastGood - m_timing; });
    for (auto s = from; s != m_samples.end() && s->at <= m_firstMiss; ++s) {
        if (within(*s)) {
            from = s;
        }
    }
    int row = 0;
    for (auto s = from; s != m_samples.end() && s->at <= m_firstMiss; ++s) {
        if (s->moving && !within(*s)) {
            row = s->row;
            break;
        }
    }
    if (row == 0) {
        for (const Sample& s : m_samples) {
            if (s.at <= m_firstMiss) {
                row = s.row;
            }
        }
    }
    const bool modelMoves = !m_modelEnd && !m_stuck;
    if (still && modelMoves) {
        judge(ShadowState::StoppedEarly, row, Texts::tr("實機提前停止, 約在第 %1 列").arg(row));
    } else {
        judge(ShadowState::Differs, row, Texts::tr("實機與程式不符, 約在第 %1 列").arg(row));
    }
}

QStringList ShadowRun::causes() const {
    switch (m_state) {
        case ShadowState::Differs:
            return {Texts::tr("控制器存有別的程式"), Texts::tr("滑台被擋住或推動"),
                    Texts::tr("輸入在兩次讀取之間變過")};
        case ShadowState::StoppedEarly:
            return {Texts::tr("控制器的程式停止了 (停止鍵、錯誤或斷電)"), Texts::tr("滑台被擋住"),
                    Texts::tr("控制器存有別的程式")};
        case ShadowState::Following:
        case ShadowState::Ended:
        case ShadowState::CannotFollow:
            break;
    }
    return {};
}

}  // namespace tql
