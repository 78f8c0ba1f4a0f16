#pragma once

#include "program/programtable.h"
#include "translator/calibration.h"

#include <QString>

#include <optional>

// tq4c --run: the program uploaded to the controller on a port, as 上傳 does with both its
// questions answered 是, its run measured to the end against the model, and printed;
// tq4c --watch: a run of what the controller stores, followed by the program's model.
namespace tql {

struct MeasuredRunOptions {
    QString port;
    QString file;                            // as given, for the run history (--run)
    std::optional<double> timeout;           // seconds; none: 10 × the estimate
    std::optional<Calibration> calibration;  // the model's, when chosen
};

// 0 when the run ended, 1 on a refused program or a link error, 3 when it did not end in
// time.
int measureRunOnController(const ProgramTable& table, int rowCounter,
                           const MeasuredRunOptions& options);

// tq4c --watch: the controller on a port started on what it stores ("G", after the stop and
// greeting of connecting), nothing uploaded, and its run followed by the program's model:
// the rows printed as the model runs them, then the verdict. 0 when the run matched to its
// end, 4 when it differed, 1 on a link error or a run the model cannot follow, 3 when it did
// not end in time (the program is then stopped).
int watchRunOnController(const ProgramTable& table, int rowCounter,
                         const MeasuredRunOptions& options);

}  // namespace tql
