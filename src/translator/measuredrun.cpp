#include "translator/measuredrun.h"

#include "controller/machine.h"
#include "program/rowkinds.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>
#include <map>

namespace tql {
namespace {

// The operator's texts here, in the language the tool runs in.
struct Texts {
    Q_DECLARE_TR_FUNCTIONS(MeasuredRun)
};

bool movesTheSlide(const Row& row) {
    return hasTrait(row, MovesAtSpeed) || isKind(row, RowKindId::Home) ||
           isKind(row, RowKindId::ZeroPosition);
}

QString secondsText(double seconds) {
    return QString::number(seconds, 'f', 3);
}

// Below what the text shows a difference is none: no "-0.000".
double difference(double measured, double model) {
    const double d = measured - model;
    return std::fabs(d) < 0.0005 ? 0 : d;
}

}  // namespace

std::vector<ModelMoveEnd> modelMoveEnds(const ProgramTable& table,
                                        const std::vector<TracedRow>& trace) {
    std::vector<ModelMoveEnd> ends;
    for (const TracedRow& traced : trace) {
        if (traced.row >= 1 && traced.row <= kMaxProgramRows &&
            movesTheSlide(table[size_t(traced.row)])) {
            ends.push_back({traced.row, traced.position, traced.seconds,
                            !isKind(table[size_t(traced.row)], RowKindId::ZeroPosition),
                            traced.speedSetting, traced.acceleration});
        }
    }
    return ends;
}

MeasuredRun::MeasuredRun(std::vector<ModelMoveEnd> model,
                         std::vector<std::pair<double, double>> samples,
                         std::optional<double> modelSeconds, double tolerance,
                         controller::MotionScale modelled)
    : m_model(std::move(model)),
      m_samples(std::move(samples)),
      m_modelSeconds(modelSeconds),
      m_tolerance(tolerance),
      m_modelled(modelled) {
    matchWhatCannotBeSeen();
}

MeasuredRun MeasuredRun::following(const ProgramTable& table, const DryRunner& model) {
    const DryRunResult& run = model.result();
    return MeasuredRun(modelMoveEnds(table, model.trace()), run.samples,
                       run.end == DryRunEnd::Finished ? std::optional(run.seconds) : std::nullopt,
                       0.01, model.setup().motion);
}

double MeasuredRun::from(size_t k) const {
    if (k > 0) {
        return m_model[k - 1].position;
    }
    return m_samples.empty() ? 0 : m_samples.front().second;
}

// A move to where the slide stands shows nothing: it is taken to come as long after the
// move before as in the model.
void MeasuredRun::matchWhatCannotBeSeen() {
    while (m_measured.size() < m_model.size()) {
        const size_t k = m_measured.size();
        if (std::fabs(m_model[k].position - from(k)) > m_tolerance) {
            return;
        }
        const double before = k == 0 ? 0 : m_measured[k - 1];
        const double modelBefore = k == 0 ? 0 : m_model[k - 1].at;
        m_measured.push_back(before + m_model[k].at - modelBefore);
        m_timed.push_back(false);
    }
}

// The last moment of the move's stretch of the model (from the end of the move before) at
// which the slide had not yet passed the position on its way, between the model's samples.
double MeasuredRun::modelPassing(size_t k, double position) const {
    const double start = k == 0 ? 0 : m_model[k - 1].at;
    const double end = m_model[k].at;
    const double target = m_model[k].position;
    const double way = target >= from(k) ? 1 : -1;
    std::optional<std::pair<double, double>> before;
    const auto between = [&](double at, double x) {
        if (!before || x == before->second) {
            return at;
        }
        const auto [t0, x0] = *before;
        return t0 + (at - t0) * (position - x0) / (x - x0);
    };
    for (const auto& [at, x] : m_samples) {
        if (at < start) {
            continue;
        }
        if (at >= end) {
            break;
        }
        if ((x - position) * way > 0) {
            return between(at, x);
        }
        before = {at, x};
    }
    // The last sample may come a moment before the end: the end is the last point.
    if ((target - position) * way >= 0) {
        return between(end, target);
    }
    return before ? before->first : start;
}

double MeasuredRun::modelTimeLeft(size_t k, double position) const {
    return std::max(0.0, m_model[k].at - modelPassing(k, position));
}

double MeasuredRun::modelTimeOut(size_t k, double position) const {
    return std::min(modelPassing(k, position), m_model[k].at) - m_model[k - 1].at;
}

// A reading short of move k's target may as well lie on the way back of the move after it,
// when the polls are far apart: the slide made the one the model takes the time between the
// readings for.
bool MeasuredRun::onTheWayBack(size_t k, double at, double position) const {
    if (k + 1 >= m_model.size()) {
        return false;
    }
    const double target = m_model[k].position;
    const double way = target >= from(k) ? 1 : -1;
    const double next = m_model[k + 1].position;
    if ((next - target) * way >= 0 || (position - next) * way < -m_tolerance) {
        return false;  // the next move goes on, or the reading lies beyond its end
    }
    if (m_still && std::fabs(position - next) <= m_tolerance) {
        return true;  // standing where the next move ends: the model never stands mid-move
    }
    const double since = m_approach ? m_approach->at : k == 0 ? 0 : m_measured[k - 1];
    const double modelSince = m_approach ? modelPassing(k, m_approach->position)
                              : k == 0   ? 0
                                         : m_model[k - 1].at;
    const double still = modelPassing(k, position) - modelSince;
    const double back = m_model[k].at - modelSince + modelTimeOut(k + 1, position);
    return std::fabs(back - (at - since)) < std::fabs(still - (at - since));
}

void MeasuredRun::add(double at, double position) {
    if (m_ended) {
        return;
    }
    m_readings.emplace_back(at, position);
    m_now = at;
    m_still = m_last && std::fabs(m_last->position - position) <= m_tolerance;
    while (m_measured.size() < m_model.size()) {
        const size_t k = m_measured.size();
        const double target = m_model[k].position;
        const double way = target >= from(k) ? 1 : -1;
        const bool onTarget = std::fabs(position - target) <= m_tolerance;
        const bool beyond = (position - target) * way > m_tolerance;
        // Back from the last reading on this move's way: it has been to its end.
        const bool turned =
            (m_approach && (position - m_approach->position) * way < -m_tolerance) ||
            (!onTarget && !beyond && onTheWayBack(k, at, position));
        if (!onTarget && !beyond && !turned) {
            m_wayBefore = std::exchange(m_approach, Reading{at, position});
            break;
        }
        // On the next move's way already, the reading tells best when it set out: the
        // last reading before it may have been taken just past the turn. A slide standing
        // where the next move ends tells nothing of when it set out.
        const bool onTheNextWay =
            !onTarget && k + 1 < m_model.size() &&
            (position - target) * (m_model[k + 1].position >= target ? 1 : -1) > m_tolerance &&
            std::fabs(position - m_model[k + 1].position) > m_tolerance;
        // A reading within the tolerance of the target may be a moment short of it, still
        // slowing down: the model tells how much.
        double ended = onTarget ? at + modelTimeLeft(k, position) : at;
        bool timed = false;
        if (onTheNextWay) {
            ended = at - modelTimeOut(k + 1, position);
            timed = true;
        } else if (const std::optional<Reading>& onTheWay =
                       m_approach && std::fabs(m_approach->position - position) <= m_tolerance
                           ? m_wayBefore  // the first of the readings standing here
                           : m_approach) {
            const double arrived = onTheWay->at + modelTimeLeft(k, onTheWay->position);
            timed = arrived <= ended;
            ended = std::min(ended, arrived);
        }
        m_measured.push_back(std::max(ended, m_measured.empty() ? 0.0 : m_measured.back()));
        m_timed.push_back(timed);
        m_approach.reset();
        m_wayBefore.reset();
        matchWhatCannotBeSeen();
    }
    m_last = Reading{at, position};
    const std::optional<double> ran = seconds();
    m_ended = ran && m_still && m_now + controller::kTimeTolerance >= *ran;
}

void MeasuredRun::unread(double at, const QString& reply) {
    if (m_ended) {
        return;
    }
    m_now = std::max(m_now, at);
    ++m_unread;
    m_lastUnread = reply;
}

std::optional<double> MeasuredRun::seconds() const {
    if (!m_modelSeconds || m_measured.size() < m_model.size()) {
        return std::nullopt;
    }
    if (m_model.empty()) {
        return m_modelSeconds;  // nothing moves: nothing shows how long it took
    }
    return m_measured.back() + (*m_modelSeconds - m_model.back().at);
}

namespace {

// The times between the ends of the first move row, over the ends given.
template <typename At>
std::vector<double> firstRowPeriods(const std::vector<ModelMoveEnd>& model, size_t ends, At at) {
    std::vector<double> periods;
    std::optional<double> last;
    for (size_t k = 0; k < ends; ++k) {
        if (model[k].row == model.front().row) {
            if (last) {
                periods.push_back(at(k) - *last);
            }
            last = at(k);
        }
    }
    return periods;
}

std::optional<double> mean(const std::vector<double>& values) {
    if (values.empty()) {
        return std::nullopt;
    }
    double sum = 0;
    for (const double v : values) {
        sum += v;
    }
    return sum / double(values.size());
}

}  // namespace

std::vector<double> MeasuredRun::periods() const {
    return firstRowPeriods(m_model, m_measured.size(), [this](size_t k) { return m_measured[k]; });
}

std::optional<double> MeasuredRun::cycle() const {
    return mean(periods());
}

std::optional<double> MeasuredRun::modelCycle() const {
    return mean(
        firstRowPeriods(m_model, m_model.size(), [this](size_t k) { return m_model[k].at; }));
}

// A move's time runs from the end of the move before it (from "G" for the first).
std::vector<RowTiming> MeasuredRun::rows() const {
    std::map<int, RowTiming> byRow;
    for (size_t k = 0; k < m_measured.size(); ++k) {
        RowTiming& timing = byRow[m_model[k].row];
        timing.row = m_model[k].row;
        ++timing.times;
        timing.model += m_model[k].at - (k == 0 ? 0 : m_model[k - 1].at);
        timing.measured += m_measured[k] - (k == 0 ? 0 : m_measured[k - 1]);
    }
    std::vector<RowTiming> rows;
    for (auto& [row, timing] : byRow) {
        timing.model /= timing.times;
        timing.measured /= timing.times;
        rows.push_back(timing);
    }
    return rows;
}

std::vector<MeasuredMove> MeasuredRun::measuredMoves() const {
    std::vector<MeasuredMove> moves;
    for (size_t k = 0; k < m_measured.size(); ++k) {
        const ModelMoveEnd& end = m_model[k];
        const double distance = std::fabs(end.position - from(k));
        const bool timed = m_timed[k] && (k == 0 || m_timed[k - 1]);
        if (!end.powered || distance <= m_tolerance || !timed) {
            continue;
        }
        const double moving =
            controller::moveSeconds(distance, end.speedSetting, end.acceleration, m_modelled);
        const double modelled = end.at - (k == 0 ? 0 : m_model[k - 1].at);
        const double measured = m_measured[k] - (k == 0 ? 0 : m_measured[k - 1]);
        moves.push_back(
            {distance, end.speedSetting, end.acceleration, measured - (modelled - moving)});
    }
    return moves;
}

QStringList MeasuredRun::summary(bool stopped) const {
    QStringList lines;
    if (const std::optional<double> ran = seconds(); ran && m_ended) {
        lines << Texts::tr("實測執行時間: %1 秒 (模擬 %2 秒)")
                     .arg(secondsText(*ran), secondsText(*m_modelSeconds));
    } else if (stopped) {
        lines << Texts::tr("量測已停止: 到達 %1 / %2 個移動, 經過 %3 秒")
                     .arg(reached())
                     .arg(moves())
                     .arg(secondsText(m_now));
    } else {
        lines << Texts::tr("量測中: 到達 %1 / %2 個移動, 經過 %3 秒")
                     .arg(reached())
                     .arg(moves())
                     .arg(secondsText(m_now));
    }
    if (!m_modelSeconds) {
        lines << Texts::tr("模擬執行沒有跑完: 量測到按下停止為止");
    } else if (!m_ended && m_now > 10 * *m_modelSeconds) {
        // Far beyond anything the model explains: a slide blocked, a wait on an input.
        lines << Texts::tr("已超過模擬執行時間的 10 倍仍未結束: 滑台是否受阻, 或程式在等待輸入?");
    }
    if (m_unread > 0) {
        lines << (m_lastUnread.isEmpty()
                      ? Texts::tr("控制器沒有回答位置 (?PE), %1 次").arg(m_unread)
                      : Texts::tr("控制器對位置 (?PE) 的回答不是數字: 「%1」, %2 次")
                            .arg(m_lastUnread.trimmed())
                            .arg(m_unread));
    }
    if (const std::optional<double> period = cycle()) {
        double spread = 0;
        for (const double each : periods()) {
            spread = std::max(spread, std::fabs(each - *period));
        }
        lines << Texts::tr("實測週期: %1 秒 (±%2 ms, %3 次; 模擬 %4 秒)")
                     .arg(secondsText(*period))
                     .arg(std::lround(spread * 1000))
                     .arg(periods().size())
                     .arg(secondsText(modelCycle().value_or(0)));
    }
    for (const RowTiming& timing : rows()) {
        lines << Texts::tr("第 %1 列: 實測 %2 秒, 模擬 %3 秒, 差 %4 秒 (%5 次)")
                     .arg(timing.row)
                     .arg(secondsText(timing.measured), secondsText(timing.model),
                          secondsText(difference(timing.measured, timing.model)))
                     .arg(timing.times);
    }
    return lines;
}

}  // namespace tql
