#include "translator/calibration.h"

#include "translator/measuredrun.h"

#include <QCoreApplication>

#include <algorithm>
#include <array>
#include <cmath>

namespace tql {
namespace {

struct Texts {
    Q_DECLARE_TR_FUNCTIONS(Calibration)
};

using controller::MotionScale;

// Below this a factor is no factor: the speed of a slide that does not move, a ramp too
// short for any poll to see.
constexpr double kSmallest = 1e-6;

double squaredError(const std::vector<MeasuredMove>& moves, MotionScale scale) {
    double sum = 0;
    for (const MeasuredMove& move : moves) {
        const double error =
            controller::moveSeconds(move.distance, move.speedSetting, move.acceleration, scale) -
            move.seconds;
        sum += error * error;
    }
    return sum;
}

// Levenberg-Marquardt over the two factors, from the settings as they stand: the times are
// smooth in both, linear in the ramp for moves long enough to reach their speed.
MotionScale fit(const std::vector<MeasuredMove>& moves) {
    MotionScale scale;
    double cost = squaredError(moves, scale);
    double damping = 1e-3;
    for (int round = 0; round < 200 && damping < 1e12; ++round) {
        // The gradient and the normal matrix of the errors, by differences.
        std::array<double, 2> gradient{};
        std::array<double, 3> normal{};  // xx, xy, yy
        for (const MeasuredMove& move : moves) {
            const auto seconds = [&move](MotionScale s) {
                return controller::moveSeconds(move.distance, move.speedSetting, move.acceleration,
                                               s);
            };
            const double error = seconds(scale) - move.seconds;
            const double hs = 1e-7 * std::max(1.0, scale.speed);
            const double hr = 1e-7 * std::max(1.0, scale.ramp);
            const double ds = (seconds({scale.speed + hs, scale.ramp}) -
                               seconds({scale.speed - hs, scale.ramp})) /
                              (2 * hs);
            const double dr =
                (seconds({scale.speed, scale.ramp + hr}) - seconds(scale)) / hr;  // ramp ≥ 0
            gradient[0] += ds * error;
            gradient[1] += dr * error;
            normal[0] += ds * ds;
            normal[1] += ds * dr;
            normal[2] += dr * dr;
        }
        const double xx = normal[0] * (1 + damping) + kSmallest * damping;
        const double yy = normal[2] * (1 + damping) + kSmallest * damping;
        const double determinant = xx * yy - normal[1] * normal[1];
        if (determinant <= 0) {
            damping *= 10;
            continue;
        }
        const double stepSpeed = (yy * gradient[0] - normal[1] * gradient[1]) / determinant;
        const double stepRamp = (xx * gradient[1] - normal[1] * gradient[0]) / determinant;
        const MotionScale next{std::max(kSmallest, scale.speed - stepSpeed),
                               std::max(0.0, scale.ramp - stepRamp)};
        const double nextCost = squaredError(moves, next);
        if (nextCost < cost) {
            const bool settled = std::fabs(next.speed - scale.speed) < 1e-12 &&
                                 std::fabs(next.ramp - scale.ramp) < 1e-12;
            scale = next;
            cost = nextCost;
            damping = std::max(1e-9, damping / 10);
            if (settled) {
                break;
            }
        } else {
            damping *= 10;
        }
    }
    if (scale.ramp < kSmallest) {
        scale.ramp = 0;
    }
    return scale;
}

}  // namespace

std::optional<Calibration> fitCalibration(const std::vector<MeasuredMove>& moves) {
    std::vector<MeasuredMove> usable;
    std::copy_if(moves.begin(), moves.end(), std::back_inserter(usable), [](const MeasuredMove& m) {
        return m.distance > 0 && m.speedSetting > 0 && m.seconds > 0 && std::isfinite(m.seconds);
    });
    if (usable.size() < 2) {
        return std::nullopt;
    }
    Calibration calibration;
    calibration.motion = fit(usable);
    calibration.moves = int(usable.size());
    calibration.residual =
        std::sqrt(squaredError(usable, calibration.motion) / double(usable.size()));
    return calibration;
}

namespace {

// The fit settled from one start: the moves timed by the model, fitted, timed again by the
// model so fitted, until the fit no longer changes.
std::optional<Calibration> settle(const ProgramTable& table, int rowCounter, DryRunSetup setup,
                                  const std::vector<std::pair<double, double>>& readings) {
    std::optional<Calibration> fitted;
    for (int round = 0; round < 8; ++round) {
        DryRunner model(table, rowCounter, setup);
        model.run();
        MeasuredRun run = MeasuredRun::following(table, model);
        for (const auto& [at, position] : readings) {
            run.add(at, position);
        }
        const std::optional<Calibration> next = fitCalibration(run.measuredMoves());
        if (!next) {
            return fitted;
        }
        const bool settled = fitted &&
                             std::fabs(next->motion.speed - fitted->motion.speed) < 1e-4 &&
                             std::fabs(next->motion.ramp - fitted->motion.ramp) < 1e-4;
        fitted = next;
        setup.motion = next->motion;
        if (settled) {
            break;
        }
    }
    return fitted;
}

}  // namespace

// The moves' last moments before a poll are timed by the model, so a model far from the
// machine times them wrongly: the fit starts both from the settings and from a slide at
// speed at once, the two ends of what a controller does, and the closer fit is taken.
std::optional<Calibration> calibrate(const ProgramTable& table, int rowCounter, DryRunSetup setup,
                                     const std::vector<std::pair<double, double>>& readings) {
    setup.trace = true;
    std::optional<Calibration> best;
    for (const controller::MotionScale start : {setup.motion, controller::MotionScale{1, 0}}) {
        setup.motion = start;
        const std::optional<Calibration> fitted = settle(table, rowCounter, setup, readings);
        // A model nearer the machine times more of its moves: the fits of more moves win,
        // then the smaller residual.
        if (fitted && (!best || fitted->moves > best->moves ||
                       (fitted->moves == best->moves && fitted->residual < best->residual))) {
            best = fitted;
        }
    }
    return best;
}

QString calibrationText(const Calibration& calibration) {
    const MotionScale& motion = calibration.motion;
    const QString ramp = motion.ramp > 0 ? Texts::tr("加速度 × %1").arg(1 / motion.ramp, 0, 'f', 3)
                                         : Texts::tr("不加減速");
    return Texts::tr("速度 × %1, %2 (殘差 %3 ms, %4 個移動)")
        .arg(motion.speed, 0, 'f', 3)
        .arg(ramp)
        .arg(calibration.residual * 1000, 0, 'f', 1)
        .arg(calibration.moves);
}

}  // namespace tql
