#pragma once

// The controller model's own text helpers, shared by its parts: the line protocol
// (controller.cpp), the machine and its stored program (machine.cpp, programrun.cpp),
// the statements and their static faults.

#include <string>
#include <string_view>
#include <utility>

namespace controller {

inline constexpr char kCR = '\r';
inline constexpr char kLF = '\n';
inline constexpr char kEsc = '\x1b';
inline constexpr int kStepsPerAdvance = 10000;  // bounds a program that loops without waiting

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

}  // namespace controller
