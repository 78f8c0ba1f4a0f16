// The measured run's move detector on random model runs and random readings: whatever the
// slide does, it neither crashes nor tells a move that ended before the one before it, a
// run that ended with a move not reached, or more moves than the model made; and the
// calibration fitted to whatever it measured is a speed and a ramp, finite and not negative.
#include "translator/measuredrun.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider fuzzed(data, size);
    const auto value = [&fuzzed] { return double(fuzzed.ConsumeIntegralInRange<int>(-50, 50)); };
    std::vector<tql::ModelMoveEnd> model;
    std::vector<std::pair<double, double>> samples{{0, value()}};
    double at = 0;
    for (size_t n = fuzzed.ConsumeIntegralInRange<size_t>(0, 12); n > 0; --n) {
        at += fuzzed.ConsumeIntegralInRange<int>(0, 200) / 100.0;
        model.push_back({fuzzed.ConsumeIntegralInRange<int>(1, 500), value(), at,
                         fuzzed.ConsumeBool(), double(fuzzed.ConsumeIntegralInRange<int>(0, 400)),
                         double(fuzzed.ConsumeIntegralInRange<int>(0, 5000))});
        samples.emplace_back(at, model.back().position);
    }
    const std::optional<double> seconds =
        fuzzed.ConsumeBool()
            ? std::optional(at + fuzzed.ConsumeIntegralInRange<int>(0, 100) / 100.0)
            : std::nullopt;
    tql::MeasuredRun run(model, samples, seconds,
                         0.01 * fuzzed.ConsumeIntegralInRange<int>(0, 100));
    double t = 0;
    while (fuzzed.remaining_bytes() > 0 && !run.ended()) {
        t += fuzzed.ConsumeIntegralInRange<int>(0, 20) / 100.0;
        run.add(t, value() + fuzzed.ConsumeIntegralInRange<int>(0, 99) / 100.0);
    }
    if (run.reached() > run.moves() || (run.ended() && run.reached() != run.moves())) {
        std::abort();
    }
    if (const std::optional<double> ran = run.seconds();
        ran && (!std::isfinite(*ran) || *ran < 0)) {
        std::abort();
    }
    for (const tql::RowTiming& timing : run.rows()) {
        if (timing.times < 1 || timing.measured < -1e-9) {
            std::abort();  // a move that ended before the one before it
        }
    }
    if (const std::optional<tql::Calibration> fit = tql::fitCalibration(run.measuredMoves())) {
        if (!std::isfinite(fit->motion.speed) || fit->motion.speed <= 0 ||
            !std::isfinite(fit->motion.ramp) || fit->motion.ramp < 0 ||
            !std::isfinite(fit->residual) || fit->moves < 2) {
            std::abort();
        }
    }
    (void)run.summary(fuzzed.ConsumeBool());
    return 0;
}
