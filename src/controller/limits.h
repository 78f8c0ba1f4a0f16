#pragma once

// What the controller accepts: the values of its statements, the depth of its calls, the
// length of its lines. The model refuses exactly these, and whatever checks a program
// before it reaches the controller asks these very values.

#include <cstddef>
#include <optional>
#include <string_view>

namespace controller {

// A statement's value: a number in [low, high], whole where it counts or names something.
struct Limit {
    double low;
    double high;
    bool whole;
};

inline constexpr Limit kPositionLimit{-1e9, 1e9, false};   // MA, MR: targets and distances
inline constexpr Limit kDelayLimit{0, 1e9, false};         // WT, in milliseconds
inline constexpr Limit kSpeedLimit{0, 1e6, false};         // VM=
inline constexpr Limit kAccelerationLimit{0, 1e7, false};  // VA=
inline constexpr Limit kCounterLimit{-1e9, 1e9, false};    // variables and loop counters
inline constexpr Limit kInputLimit{1, 8, true};            // WI, WNI, JI, JNI, CI, CNI
// SET P and CLR P: the outputs a program may name. The slide table wires 1..4; whether a
// controller refuses 5..8 is not known, so they are taken and change nothing here.
inline constexpr Limit kOutputLimit{1, 8, true};
inline constexpr int kWiredOutputs = 4;
inline constexpr Limit kOutputPatternLimit{0, 15, true};  // OUTP

// Bounds of a controller's memory: garbage on the line or a runaway program can neither
// grow it without end nor reach undefined conversions.
inline constexpr std::size_t kMaxLineLength = 256;  // bytes of one line, its CR not counted
inline constexpr std::size_t kMaxProgramLines = 4096;
inline constexpr std::size_t kMaxCallDepth = 64;

enum class Verdict { Accepted, NotANumber, NotWhole, OutOfRange };

// A plain decimal number, blanks around it allowed, read the same under every locale.
std::optional<double> readNumber(std::string_view text);

// How the controller takes text as a literal value within the limit.
Verdict judge(std::string_view text, const Limit& limit);

}  // namespace controller
