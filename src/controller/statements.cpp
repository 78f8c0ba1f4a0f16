#include "controller/statements.h"

#include "controller/controllertext.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace sim {

std::optional<double> readNumber(std::string_view text) {
    const std::string trimmed = detail::trim(text);
    const char* first = trimmed.data();
    const char* last = first + trimmed.size();
    if (first != last && *first == '+') {
        ++first;
    }
    double x = 0;
    const auto [end, error] = std::from_chars(first, last, x, std::chars_format::fixed);
    if (first == last || error != std::errc() || end != last || !std::isfinite(x)) {
        return std::nullopt;
    }
    return x;
}

Verdict judge(std::string_view text, const Limit& limit) {
    const std::optional<double> x = readNumber(text);
    if (!x) {
        return Verdict::NotANumber;
    }
    if (limit.whole && *x != std::floor(*x)) {
        return Verdict::NotWhole;
    }
    return *x < limit.low || *x > limit.high ? Verdict::OutOfRange : Verdict::Accepted;
}

}  // namespace sim

namespace sim::detail {

std::vector<Statement> parse(const std::vector<std::string>& lines) {
    std::vector<Statement> code;
    for (size_t n = 0; n < lines.size(); ++n) {
        const std::string& line = lines[n];
        const size_t first = code.size();
        size_t start = 0;
        while (start <= line.size()) {
            const auto end = std::min(line.find(';', start), line.size());
            const std::string s = trim(std::string_view(line).substr(start, end - start));
            start = end + 1;
            if (s.empty() || s == "{" || s == "}") {
                continue;
            }
            if (s.back() == ':' && s.front() == '$') {
                code.push_back({"LABEL", s.substr(0, s.size() - 1), {}});
            } else if (s.front() == '#' && s.find('=') != std::string::npos) {
                const auto eq = s.find('=');
                code.push_back({"ASSIGN", trim(s.substr(0, eq)), trim(s.substr(eq + 1))});
            } else if (startsWith(s, "VM=") || startsWith(s, "VA=")) {
                code.push_back({s.substr(0, 3), trim(s.substr(3)), {}});
            } else if (startsWith(s, "SET P") || startsWith(s, "CLR P")) {
                code.push_back({s.substr(0, 5), trim(s.substr(5)), {}});
            } else {
                const auto space = s.find(' ');
                const std::string op = s.substr(0, space);
                const std::string rest = space == std::string::npos ? "" : s.substr(space + 1);
                const auto [a, b] = splitComma(rest);
                code.push_back({op, a, b});
            }
        }
        for (size_t i = first; i < code.size(); ++i) {
            code[i].line = n + 1;
        }
    }
    return code;
}

OperandRules rulesOf(const Statement& s) {
    const std::string& op = s.op;
    if (op == "MA" || op == "MR") {
        return {&kPositionLimit};
    }
    if (op == "VM=") {
        return {&kSpeedLimit};
    }
    if (op == "VA=") {
        return {&kAccelerationLimit};
    }
    if (op == "WT") {
        return {&kDelayLimit};
    }
    if (op == "ASSIGN") {
        return {nullptr, &kCounterLimit};
    }
    if (op == "JNZ") {
        return {&kCounterLimit, nullptr, false, true};
    }
    if (op == "JP" || op == "CALL") {
        return {nullptr, nullptr, true, false};
    }
    if (op == "WI" || op == "WNI") {
        return {&kInputLimit};
    }
    if (op == "JI" || op == "JNI" || op == "CI" || op == "CNI") {
        return {&kInputLimit, nullptr, false, true};
    }
    if (op == "OUTP") {
        return {&kOutputPatternLimit};
    }
    if (op == "SET P" || op == "CLR P") {
        return {&kOutputLimit};
    }
    return {};
}

bool isKnown(const Statement& s) {
    const OperandRules rules = rulesOf(s);
    if (rules.a || rules.b || rules.aLabel) {
        return true;
    }
    const std::string& op = s.op;
    return op == "DN" || op == "H" || op == "CS" || op == "SI" || op == "RET" || op == "LABEL" ||
           (op == "CLR" && s.a == "VAR");
}

bool isCall(const Statement& s) {
    return s.op == "CALL" || s.op == "CI" || s.op == "CNI";
}

std::string describe(const Statement& s) {
    return s.op + (s.a.empty() ? "" : " " + s.a) + (s.b.empty() ? "" : "," + s.b);
}

}  // namespace sim::detail
