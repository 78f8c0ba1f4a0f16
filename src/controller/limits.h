#pragma once

// The values the controller model takes, the depth of its calls, the length of its
// lines. The model refuses exactly these, and whatever checks a program before it reaches
// the controller asks these very values. The inputs, outputs and output patterns are the
// controller's own; its bounds on positions, speeds, accelerations, delays and counters
// are not known, so this tool sets safe limits of its own there: far beyond any slide
// table, small enough that every conversion stays exact.

#include <cstddef>
#include <optional>
#include <string_view>

namespace controller {

// A statement's value: a number in [low, high], whole where it counts or names something.
struct Limit {
    double low;
    double high;
    bool whole;
    bool safeLimit = false;  // this tool's bound, not one the controller is known to have
};

inline constexpr Limit kSafePositionLimit{-1e9, 1e9, false, true};   // MA, MR
inline constexpr Limit kSafeDelayLimit{0, 1e9, false, true};         // WT, in milliseconds
inline constexpr Limit kSafeSpeedLimit{0, 1e6, false, true};         // VM=
inline constexpr Limit kSafeAccelerationLimit{0, 1e7, false, true};  // VA=
inline constexpr Limit kSafeCounterLimit{-1e9, 1e9, false, true};    // variables, loop counters
inline constexpr int kInputs = 8;
inline constexpr Limit kInputLimit{1, kInputs, true};  // WI, WNI, JI, JNI, CI, CNI
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
