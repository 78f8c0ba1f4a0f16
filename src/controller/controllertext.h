#pragma once

// The controller model's own text helpers and limits, shared by its two halves: the line
// and its commands (controller.cpp) and the stored program (programrun.cpp).

#include <charconv>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace sim::detail {

inline constexpr char kCR = '\r';
inline constexpr char kLF = '\n';
inline constexpr char kEsc = '\x1b';
inline constexpr int kStepsPerAdvance = 10000;  // bounds a program that loops without waiting

// Bounds of a controller's memory: garbage on the line or a runaway program can neither
// grow the simulator without end nor reach undefined conversions.
inline constexpr size_t kMaxLineLength = 256;
inline constexpr size_t kMaxProgramLines = 4096;
inline constexpr size_t kMaxCallDepth = 64;
inline constexpr double kMaxCoordinate = 1e9;  // targets, distances, delays in ms
inline constexpr double kMaxCounter = 1e9;     // loop counters and variables
inline constexpr double kMaxSpeed = 1e6;
inline constexpr double kMaxAcceleration = 1e7;

inline std::string trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t");
    return std::string(text.substr(first, last - first + 1));
}

inline bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// "A,B" -> {"A", "B"}
inline std::pair<std::string, std::string> splitComma(const std::string& text) {
    const auto comma = text.find(',');
    if (comma == std::string::npos) {
        return {trim(text), {}};
    }
    return {trim(text.substr(0, comma)), trim(text.substr(comma + 1))};
}

// A plain decimal number and nothing else, read the same under every locale.
inline std::optional<double> literal(const std::string& text) {
    const char* first = text.data();
    const char* last = first + text.size();
    if (first != last && *first == '+') {
        ++first;
    }
    double x = 0;
    const auto [end, error] = std::from_chars(first, last, x, std::chars_format::fixed);
    if (error != std::errc() || end != last || !std::isfinite(x)) {
        return std::nullopt;
    }
    return x;
}

}  // namespace sim::detail
