// The shadow run's judgement: whether a reading belongs to the model, and what two that do
// not say.
#include "translator/shadowrun.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>
#include <limits>

namespace tql {
namespace {

struct Texts {
    Q_DECLARE_TR_FUNCTIONS(ShadowRun)
};

}  // namespace

// The moments within the reading's timing (and, after a wait released late, as much later
// as the machine may be ahead) where the model's slide stood within reach of the reading.
// Beyond the samples kept, a copy of the model runs on; the original stays.
ShadowRun::Match ShadowRun::match(const Follower& follower, double at, double position,
                                  const DryRunner& model, Lead lead) const {
    const double from = at + lead.lo - m_timing;
    const double to = at + lead.hi + m_timing;
    std::vector<Sample> window;
    for (const Sample& s : follower.samples) {
        if (s.at >= from && s.at <= to) {
            window.push_back(s);
        }
    }
    const Sample last = follower.samples.back();
    if (last.at < to && !follower.modelEnd && !follower.stuck) {
        DryRunner ahead(model);
        RunLimits limits;
        limits.holdEndlessWaits = true;
        double now = follower.modelAt;
        while (now + follower.offset < to) {
            limits.until = now + kStep;
            const Pause pause = ahead.run(limits);
            const Watch watch = ahead.watch();
            now = watch.seconds;
            window.push_back({now + follower.offset, watch.position, watch.speed != 0, watch.row});
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
    const std::deque<Sample>& samples = m_main->samples;
    auto from = std::find_if(samples.begin(), samples.end(),
                             [this](const Sample& s) { return s.at >= m_lastGood - m_timing; });
    for (auto s = from; s != samples.end() && s->at <= m_firstMiss; ++s) {
        if (within(*s)) {
            from = s;
        }
    }
    int row = 0;
    for (auto s = from; s != samples.end() && s->at <= m_firstMiss; ++s) {
        if (s->moving && !within(*s)) {
            row = s->row;
            break;
        }
    }
    if (row == 0) {
        for (const Sample& s : samples) {
            if (s.at <= m_firstMiss) {
                row = s.row;
            }
        }
    }
    const bool modelMoves = !m_main->modelEnd && !m_main->stuck;
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
