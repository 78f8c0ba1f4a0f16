#pragma once

#include "program/programtable.h"
#include "program/switches.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <utility>
#include <vector>

// 模擬執行: the translated program run on the controller model in simulated time, with no
// controller attached and nothing sent on any line. Moves follow a trapezoidal profile at
// the "VM" speed and the "VA" acceleration: the model's assumption, the real controller's
// profile may differ.
namespace tql {

struct InputChange {
    int input = 1;  // 1..8
    double at = 0;  // seconds after the start
    bool on = true;
};

// "輸入 3 在 2.0 秒時變 1" (or just "3 2.0 1"): input 3 turns on 2 s after the start.
std::optional<InputChange> parseInputChange(const QString& line);
QString formatInputChange(const InputChange& change);

struct DryRunSetup {
    double startPosition = 0;  // 0, or the live position when connected
    InputStates inputs{};
    std::vector<InputChange> changes;
    double timeLimit = 600;         // seconds of simulated time
    long long lineLimit = 1000000;  // executed controller lines (an endless loop)
    double sampleInterval = 0.01;   // seconds between the chart's points
};

enum class DryRunEnd {
    Finished,      // the program ran to its end: one run took DryRunResult::seconds
    TimeLimit,     // still running when the simulated time was up
    LineLimit,     // a million lines executed: an endless loop
    WaitsForever,  // waiting on an input that no scheduled change can release
    ProgramError,  // a row the checks find in error, or one the controller refuses
    NotTranslated,
};

struct DryRunWait {
    int row = 0;  // the program row of the input wait
    double seconds = 0;
};

struct DryRunResult {
    DryRunEnd end = DryRunEnd::NotTranslated;
    int row = 0;      // the program row the run stopped at; 0 when it finished
    QString message;  // why it stopped, "第 N 列: …"; empty when it finished
    double seconds = 0;
    double travelled = 0;
    double lowest = 0;
    double highest = 0;
    std::vector<std::pair<double, double>> samples;  // (seconds, position)
    std::vector<DryRunWait> waits;                   // rows where the run waited on an input
};

DryRunResult DryRun(const ProgramTable& table, int RowCounter, const DryRunSetup& setup);

// The summary as tq4c --dry-run prints it and the dry-run window shows it. Only a run that
// finished claims a time of one run.
QStringList dryRunSummary(const DryRunResult& result);

}  // namespace tql
