// The shadow run on random programs of well-formed rows and random readings: whatever the
// slide and the inputs do, it neither crashes nor hangs, it has a verdict exactly when it
// no longer follows, the verdict stays once given, the row it names is one of the program
// (or none), and a run it saw end took a finite time.
#include "translator/shadowrun.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

tql::Row fuzzedRow(FuzzedDataProvider& fuzzed) {
    const auto number = [&fuzzed](int low, int high) {
        return QString::number(fuzzed.ConsumeIntegralInRange(low, high));
    };
    const QString label = fuzzed.ConsumeBool() ? QStringLiteral("A") : QStringLiteral("B");
    const QString input = number(1, 8);
    switch (fuzzed.ConsumeIntegralInRange(0, 15)) {
        case 0:
            return {"VM", number(0, 500), "速度", "-", "-"};
        case 1:
            return {"POINT", "絕對移動", number(-100, 200), "-", "-"};
        case 2:
            return {"MR", "相對移動", number(-50, 50), "-", "-"};
        case 3:
            return {"WT", number(0, 500), "延遲", "-", "-"};
        case 4:
            return {"LOOP", number(1, 4), "迴圈", "-", "-"};
        case 5:
            return {"LOOPEND", "迴圈結束", "-", "-", "-"};
        case 6:
            return {"LABLE", label, "標籤", "-", "-"};
        case 7:
            return {"GLABLE", label, "跳至標籤", "-", "-"};
        case 8:
            return {"CALL", label, "呼叫標籤", "-", "-"};
        case 9:
            return {"RET", "RETURN", "返回", "-", "-"};
        case 10:
            return {"IN+", input, "IN+", "-", "-"};
        case 11:
            return {"IN-", input, "IN-", "-", "-"};
        case 12:
            return {"IN+J", input, label, "IN+JUMP", "-"};
        case 13:
            return {"HOME", "回原點", "-", "-", "-"};
        case 14:
            return {"STEP", "XYZ 1", "", "自設", "-"};
        default:
            return {"SETP", number(1, 4), "ON", "-", "-"};
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider fuzzed(data, size);
    tql::ProgramTable table{};
    table[0] = tql::headerRow();
    const int rows = fuzzed.ConsumeIntegralInRange(0, 12);
    for (int row = 1; row <= rows; ++row) {
        table[size_t(row)] = fuzzedRow(fuzzed);
    }
    tql::ShadowSetup setup;
    setup.startPosition = fuzzed.ConsumeIntegralInRange(-50, 150);
    tql::ShadowRun shadow(table, rows, setup);
    double at = 0;
    QString verdict;
    for (int event = 0; event < 60 && fuzzed.remaining_bytes() > 0; ++event) {
        at += fuzzed.ConsumeIntegralInRange(0, 600) / 1000.0;
        switch (fuzzed.ConsumeIntegralInRange(0, 9)) {
            case 0: {
                tql::InputStates inputs{};
                for (bool& on : inputs) {
                    on = fuzzed.ConsumeBool();
                }
                shadow.inputs(at, inputs);
                break;
            }
            case 1:
                if (fuzzed.ConsumeIntegralInRange(0, 20) == 0) {
                    shadow.unread(at, fuzzed.ConsumeBool() ? QString() : QStringLiteral("ERR"));
                }
                break;
            default:
                shadow.position(at, fuzzed.ConsumeIntegralInRange(-1000, 20000) / 100.0);
        }
        if (shadow.following() != shadow.verdict().isEmpty() ||
            (!verdict.isEmpty() && shadow.verdict() != verdict)) {
            std::abort();
        }
        verdict = shadow.verdict();
        if (shadow.row() < 0 || shadow.row() > rows) {
            std::abort();
        }
    }
    if (const std::optional<double> seconds = shadow.seconds();
        seconds && (shadow.state() != tql::ShadowState::Ended || !std::isfinite(*seconds))) {
        std::abort();
    }
    return 0;
}
