#pragma once

#include "controller/machine.h"
#include "program/programtable.h"
#include "translator/dryrun.h"

#include <QString>

#include <optional>
#include <vector>

// 校正: the model's motion fitted to a machine's measured moves. The real controller may run
// its moves slower or faster than "VM" says and ramp otherwise than "VA" says (or not at all);
// a speed factor and a ramp factor, fitted by least squares over the moves of a measured run,
// bring the model's times to the machine's.
namespace tql {

// A move as the machine made it: how far, at which settings, and how long it took.
struct MeasuredMove {
    double distance = 0;
    double speedSetting = 0;  // "VM"
    double acceleration = 0;  // "VA"
    double seconds = 0;
};

struct Calibration {
    controller::MotionScale motion;
    double residual = 0;  // the root mean square of the fitted moves' errors, seconds
    int moves = 0;
};

// The scale that makes the model's move times closest to the measured ones; nothing from
// fewer than two moves, which cannot tell the speed from the ramp.
std::optional<Calibration> fitCalibration(const std::vector<MeasuredMove>& moves);

// A measured run's readings (seconds after "G", position) against the program's model from
// setup (its start, its inputs): the moves timed by the model, fitted, timed again by the
// model so fitted, until the fit settles. The model's times within a poll's interval are
// the calibrated model's then, not the settings'.
std::optional<Calibration> calibrate(const ProgramTable& table, int rowCounter, DryRunSetup setup,
                                     const std::vector<std::pair<double, double>>& readings);

// "速度 × 0.998, 加速度 × 1.012 (殘差 3.1 ms, 24 個移動)"; a ramp of 0 is "不加減速".
QString calibrationText(const Calibration& calibration);

}  // namespace tql
