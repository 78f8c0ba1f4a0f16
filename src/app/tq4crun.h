#pragma once

#include "program/programtable.h"
#include "translator/calibration.h"

#include <QString>

#include <optional>

// tq4c --run: the program uploaded to the controller on a port, as 上傳 does with both its
// questions answered 是, its run measured to the end against the model, and printed.
namespace tql {

struct MeasuredRunOptions {
    QString port;
    QString file;                            // as given, for the run history
    std::optional<double> timeout;           // seconds; none: 10 × the estimate
    std::optional<Calibration> calibration;  // the model's, when chosen
};

// 0 when the run ended, 1 on a refused program or a link error, 3 when it did not end in
// time.
int measureRunOnController(const ProgramTable& table, int rowCounter,
                           const MeasuredRunOptions& options);

}  // namespace tql
