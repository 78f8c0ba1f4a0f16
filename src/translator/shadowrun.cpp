// The shadow run: the model beside the machine, on the machine's clock.
#include "translator/shadowrun.h"

#include "program/rowkinds.h"
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
    : m_main(std::make_unique<Follower>(DryRunner(table, RowCounter, modelSetup(setup)))),
      m_timing(ShadowTolerance::kTiming + 3 * setup.residual) {
    for (const Finding& finding : CheckProgram(table, RowCounter)) {
        if (finding.kind == FindingKind::UnknownStatement) {
            m_unknownRows.insert(finding.row);
        }
    }
    for (int row = 1; row <= std::min(RowCounter, kMaxProgramRows); ++row) {
        const Row& r = table[size_t(row)];
        const RowKind* kind = rowKind(r[0]);
        if (kind != nullptr && kind->family == RowFamily::Input && kind->id != RowKindId::Input) {
            const bool waits =
                kind->id == RowKindId::WaitInputOn || kind->id == RowKindId::WaitInputOff;
            m_decisions.emplace(row,
                                Decision{r[1].toInt(), waits, kind->id == RowKindId::WaitInputOn});
        }
    }
    sample(*m_main);
    review();
}

ShadowRun::~ShadowRun() = default;

Watch ShadowRun::model() const {
    Watch watch = m_main->model.watch();
    watch.seconds += m_main->offset;
    return watch;
}

std::optional<double> ShadowRun::machinePosition() const {
    return m_lastReading;
}

void ShadowRun::position(double at, double position) {
    if (!following()) {
        return;
    }
    advance(*m_main, at, true);
    review();
    if (!following()) {
        return;
    }
    Match found = belongs(*m_main, at, position, true);
    if (m_doubt) {
        advance(*m_doubt->otherwise, at, false);
        const Match otherwise = belongs(*m_doubt->otherwise, at, position, m_doubt->confirmed);
        if (!found.found && otherwise.found) {
            // The input had changed before the program decided on it.
            m_main = std::move(m_doubt->otherwise);
            m_doubt.reset();
            found = otherwise;
            review();
        } else if (found.found && !otherwise.found) {
            m_doubt.reset();
        } else if (otherwise.found) {
            settle(*m_doubt->otherwise, otherwise, at, false);
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
    settle(*m_main, found, at, true);
    const Follower& main = *m_main;
    const double lead = (main.lead.lo + main.lead.hi) / 2;
    if (main.modelEnd && still && at >= *main.modelEnd + main.offset - lead) {
        m_seconds = *main.modelEnd + main.offset - lead;
        judge(ShadowState::Ended, 0, Texts::tr("執行完畢 (實測 %1 秒)").arg(*m_seconds, 0, 'f', 3));
    }
}

// A reading that belonged: a telling one sets the model's clock (the machine is that far
// ahead of it, or behind), and a wait released late is told; a slide standing, or passing
// slowly, says only within what the machine's lead lies.
void ShadowRun::settle(Follower& follower, const Match& found, double at, bool main) {
    if (found.telling) {
        const double by = found.at - at;
        follower.offset -= by;
        for (Sample& s : follower.samples) {
            s.at -= by;
        }
        follower.lead = {};
        advance(follower, at, main);
        if (main) {
            review();
        }
        return;
    }
    const Lead seen{found.from - at, found.to - at};
    Lead& lead = follower.lead;
    if (std::max(seen.lo, lead.lo) <= std::min(seen.hi, lead.hi)) {
        lead = {std::max(seen.lo, lead.lo), std::min(seen.hi, lead.hi)};
    }
}

// The slide moves on while the model waits for an input: it changed since the inputs were
// read, and the machine went on at some moment since then. Not so for the other way of a
// doubt, which holds that the input changed unseen already, until a reading showed it so.
ShadowRun::Match ShadowRun::belongs(Follower& follower, double at, double position,
                                    bool mayRelease) const {
    const Match found = match(follower, at, position, follower.model, follower.lead);
    if (found.found || !follower.stuck || !mayRelease) {
        return found;
    }
    const Watch::InputWait wait = *follower.model.watch().inputWait;
    DryRunner released(follower.model);
    released.setInput(wait.input, wait.on);
    const Lead lead = releasedSince(follower, at);
    follower.stuck = false;
    const Match otherwise = match(follower, at, position, released, lead);
    if (otherwise.found) {
        follower.model.setInput(wait.input, wait.on);
        follower.lead = lead;
        return otherwise;
    }
    follower.stuck = true;
    return found;
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

void ShadowRun::inputs(double at, const InputStates& inputs) {
    if (!following()) {
        return;
    }
    advance(*m_main, at, true);
    review();
    takeInputs(*m_main, at, inputs);
    if (m_doubt) {
        // Read as the model took it, the input most likely never changed.
        if (inputs[size_t(m_doubt->input - 1)] == m_doubt->taken) {
            m_doubt.reset();
        } else {
            m_doubt->confirmed = true;
            advance(*m_doubt->otherwise, at, false);
            takeInputs(*m_doubt->otherwise, at, inputs);
        }
    }
    m_inputsAt = at;
}

// An input the program waits for, seen changed: the machine went on at some moment since
// the inputs were read before and since it came to the wait, the model goes on now; the
// readings after tell how much earlier the machine did.
void ShadowRun::takeInputs(Follower& follower, double at, const InputStates& inputs) const {
    const Watch model = follower.model.watch();
    const std::optional<Watch::InputWait>& wait = model.inputWait;
    for (int k = 0; k < kInputs; ++k) {
        if (inputs[size_t(k)] == model.inputs[size_t(k)]) {
            continue;
        }
        if (wait && wait->input == k + 1 && wait->on == inputs[size_t(k)]) {
            follower.lead = releasedSince(follower, at);
        }
        follower.model.setInput(k + 1, inputs[size_t(k)]);
        follower.stuck = false;
    }
}

// A wait the model is released from at `at`: the machine came to it up to the lead
// earlier than the model, and went on at some moment since then, after the inputs were
// last read.
ShadowRun::Lead ShadowRun::releasedSince(const Follower& follower, double at) const {
    return {0, at - std::max(m_inputsAt, follower.stuckSince - follower.lead.hi)};
}

void ShadowRun::advance(Follower& follower, double at, bool main) {
    RunLimits limits;
    limits.holdEndlessWaits = true;
    if (main) {
        for (const auto& [row, input] : m_decisions) {
            limits.breakpoints.insert(row);
        }
    }
    while (!follower.model.ended()) {
        if (follower.stuck) {
            // The model's clock stands while it waits; the machine's goes on.
            follower.offset = at - follower.modelAt;
            sample(follower);
            return;
        }
        if (follower.modelAt + kStep + follower.offset > at + controller::kTimeTolerance) {
            return;
        }
        limits.until = follower.modelAt + kStep;
        const Pause pause = follower.model.run(limits);
        if (pause == Pause::Breakpoint) {
            doubt(follower);
            continue;
        }
        sample(follower);
        if (pause == Pause::Waiting) {
            follower.stuck = true;
            follower.stuckSince = follower.modelAt + follower.offset;
        }
    }
}

// Before the program decides on an input: the machine may have found it changed since it
// was read, and gone the other way. Until a reading tells, both are followed (one doubt at
// a time). A wait the model stops at needs none: the slide going on tells its release.
void ShadowRun::doubt(const Follower& follower) {
    const Watch watch = follower.model.watch();
    const Decision decision = m_decisions.at(watch.row);
    const int input = decision.input;
    if (m_doubt || input < 1 || input > kInputs) {
        return;
    }
    const bool taken = watch.inputs[size_t(input - 1)];
    if (decision.waits && taken != decision.waitsFor) {
        return;
    }
    auto otherwise = std::make_unique<Follower>(follower);
    otherwise->model.setInput(input, !taken);
    otherwise->rows.clear();
    m_doubt = Doubt{std::move(otherwise), input, taken};
}

void ShadowRun::sample(Follower& follower) {
    const Watch watch = follower.model.watch();
    follower.modelAt = watch.seconds;
    follower.samples.push_back(
        {follower.modelAt + follower.offset, watch.position, watch.speed != 0, watch.row});
    while (follower.samples.front().at < follower.samples.back().at - kKept) {
        follower.samples.pop_front();
    }
    for (TracedRow& traced : follower.model.takeTrace()) {
        traced.seconds += follower.offset;
        follower.rows.push_back(std::move(traced));
    }
    if (watch.ended && follower.model.result().end == DryRunEnd::Finished) {
        follower.modelEnd = follower.modelAt;
    }
}

// The rows the main follower ran, for takeRows; a row the model does not know, or an end
// that is no finish, ends the following.
void ShadowRun::review() {
    Follower& main = *m_main;
    for (TracedRow& traced : main.rows) {
        if (following() && m_unknownRows.contains(traced.row)) {
            judge(ShadowState::CannotFollow, traced.row,
                  Texts::tr("從第 %1 列起無法跟隨實機: %2")
                      .arg(traced.row)
                      .arg(Texts::tr("模型不認得這一列的控制器文字")));
        }
        m_rows.push_back(std::move(traced));
    }
    main.rows.clear();
    if (!following()) {
        return;
    }
    const Watch watch = main.model.watch();
    if (!watch.ended) {
        m_row = watch.row;
        if (m_unknownRows.contains(m_row)) {
            judge(ShadowState::CannotFollow, m_row,
                  Texts::tr("從第 %1 列起無法跟隨實機: %2")
                      .arg(m_row)
                      .arg(Texts::tr("模型不認得這一列的控制器文字")));
        }
    } else if (const DryRunResult& result = main.model.result();
               result.end != DryRunEnd::Finished) {
        // The model's own words name the row ("第 6 列: 錯誤, 停止: …").
        judge(ShadowState::CannotFollow, result.row,
              Texts::tr("無法再跟隨實機, 模型停止: %1").arg(result.message));
    }
}

}  // namespace tql
