// The checks and the dry run tell one story: on any table both end without a fault, and a
// program the checks find no error in never stops the dry run with an error, save a
// recursion the checks warned of (how deep it goes is the inputs' to say). A run walked row
// by row, or from breakpoint to breakpoint, ends as the run at once, on programs of
// hundreds of rows and loops of any length.
#include "files/programfile.h"
#include "program/rowkinds.h"
#include "translator/dryrun.h"
#include "translator/programchecks.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace {

// Values near the limits and the labels and statements rows refer to one another by.
const char* const kValues[] = {
    "1",          "0",          "-5",     "2.5",  "3",      "8",       "9",     "15",
    "16",         "A",          "B",      "S",    "1e20",   "abc",     "",      "-0",
    "1000000000", "1000000001", "#L1",    "MA 5", "MA abc", "CALL $A", "RET",   "JP $B",
    "$A:",        "WT #L1",     "SET P9", "0.5",  "+3",     "12.",     "VM=-1", "CI 3,$S"};

tql::Row fuzzedRow(FuzzedDataProvider& data) {
    const auto& kinds = tql::rowKinds();
    const tql::RowKind& kind = kinds[data.ConsumeIntegralInRange<size_t>(0, kinds.size() - 1)];
    tql::Row row;
    row[0] = QString::fromUtf16(kind.keyword);
    for (size_t c = 0; c < kind.cells.size(); ++c) {
        if (kind.cells[c] != nullptr) {
            row[c + 1] = QString::fromUtf16(kind.cells[c]);
        } else if (data.ConsumeBool()) {
            row[c + 1] = QString::fromUtf8(data.PickValueInArray(kValues));
        } else {
            row[c + 1] = QString::fromStdString(data.ConsumeRandomLengthString(12));
        }
    }
    return row;
}

// Paused wherever the limits say, the run ends exactly as the run at once.
void walkEndsAsAtOnce(const tql::ProgramTable& table, int rows, const tql::DryRunSetup& setup,
                      const tql::DryRunResult& run, const tql::RunLimits& limits) {
    tql::DryRunner walked(table, rows, setup);
    // Every executed line takes its time, so a walk of a bounded run ends.
    for (int i = 0; walked.run(limits) != tql::Pause::Ended; ++i) {
        if (i > 1000000) {
            std::abort();
        }
    }
    if (walked.result().end != run.end || walked.result().row != run.row ||
        walked.result().seconds != run.seconds || walked.result().travelled != run.travelled) {
        std::abort();
    }
}

void tellOneStory(const tql::ProgramTable& table, int rows) {
    const std::vector<tql::Finding> findings = tql::CheckProgram(table, rows);
    tql::DryRunSetup setup;
    setup.timeLimit = 2;
    setup.sampleInterval = 0.5;
    setup.changes = {{3, 0.5, true}};
    const tql::DryRunResult run = tql::DryRun(table, rows, setup);
    tql::RunLimits step;
    step.step = true;
    walkEndsAsAtOnce(table, rows, setup, run, step);
    tql::RunLimits breakpoints;
    breakpoints.breakpoints = {1, 2, rows / 2, rows};
    walkEndsAsAtOnce(table, rows, setup, run, breakpoints);
    if (run.end != tql::DryRunEnd::ProgramError) {
        return;
    }
    const bool error = std::any_of(findings.begin(), findings.end(), [](const tql::Finding& f) {
        return f.severity == tql::Severity::Error;
    });
    const bool recursion = std::any_of(findings.begin(), findings.end(), [](const tql::Finding& f) {
        return f.kind == tql::FindingKind::MayRecurse;
    });
    if (!error && !(recursion && run.fault == controller::FaultKind::CallsTooDeep)) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    if (const tql::LoadResult loaded = tql::decodeProgram(bytes); loaded.program) {
        tellOneStory(loaded.program->table, loaded.program->RowCounter);
    }
    FuzzedDataProvider provider(data, size);
    tql::ProgramTable table{};
    table[0] = tql::headerRow();
    const int rows = provider.ConsumeIntegralInRange(1, tql::kMaxProgramRows);
    for (int i = 1; i <= rows; ++i) {
        table[i] = fuzzedRow(provider);
    }
    tellOneStory(table, rows);
    return 0;
}
