#pragma once

#include "controller/limits.h"

#include <QtGlobal>

#include <array>
#include <cstddef>

namespace tql {

// The controller's digital inputs and the outputs the slide table wires, numbered from 1.
inline constexpr int kInputs = controller::kInputs;
inline constexpr int kOutputs = controller::kWiredOutputs;
using InputStates = std::array<bool, kInputs>;
using OutputStates = std::array<bool, kOutputs>;

// A number read as switches 1..N the controller's way, for the output pattern of an OUTP
// row and for the input word: from the top switch down, each is on when what is left
// reaches its weight, which is then taken off. A number of 2^N or more turns all on, a
// negative one none.
template <std::size_t N>
std::array<bool, N> switchesOf(qint64 value) {
    std::array<bool, N> on{};
    for (std::size_t k = N; k-- > 0;) {
        const qint64 weight = qint64(1) << k;
        on[k] = value >= weight;
        if (on[k]) {
            value -= weight;
        }
    }
    return on;
}

}  // namespace tql
