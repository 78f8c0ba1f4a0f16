#include "controller/statements.h"

#include "controller/controllertext.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <map>

namespace controller {

std::optional<double> readNumber(std::string_view text) {
    const std::string trimmed = trim(text);
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

namespace {

// The statements written as a word, a blank and their operands.
const std::map<std::string, Op, std::less<>> kWords = {
    {"MA", Op::MoveTo},        {"MR", Op::MoveBy},        {"WT", Op::Wait},
    {"DN", Op::Done},          {"H", Op::Home},           {"CS", Op::ZeroPosition},
    {"SI", Op::Init},          {"JNZ", Op::JumpNotZero},  {"JP", Op::Jump},
    {"CALL", Op::Call},        {"RET", Op::Return},       {"WI", Op::WaitInput},
    {"WNI", Op::WaitNotInput}, {"JI", Op::JumpInput},     {"JNI", Op::JumpNotInput},
    {"CI", Op::CallInput},     {"CNI", Op::CallNotInput}, {"OUTP", Op::Outputs},
};

Statement statementOf(const std::string& s) {
    if (s.back() == ':' && s.front() == '$') {
        return {Op::Label, "LABEL", s.substr(0, s.size() - 1), {}};
    }
    if (const auto eq = s.find('='); s.front() == '#' && eq != std::string::npos) {
        return {Op::Assign, "ASSIGN", trim(s.substr(0, eq)), trim(s.substr(eq + 1))};
    }
    for (const auto& [prefix, op] : {std::pair{"VM=", Op::Speed},
                                     {"VA=", Op::Acceleration},
                                     {"SET P", Op::SetOutput},
                                     {"CLR P", Op::ClearOutput}}) {
        if (startsWith(s, prefix)) {
            const std::size_t length = std::string_view(prefix).size();
            return {op, s.substr(0, length), trim(s.substr(length)), {}};
        }
    }
    const auto space = s.find(' ');
    const std::string word = s.substr(0, space);
    const auto [a, b] = splitComma(space == std::string::npos ? "" : s.substr(space + 1));
    const auto known = kWords.find(word);
    Op op = known == kWords.end() ? Op::Unknown : known->second;
    if (word == "CLR" && a == "VAR") {
        op = Op::ClearVariables;
    }
    return {op, word, a, b};
}

}  // namespace

std::vector<Statement> parse(const std::vector<std::string>& lines) {
    std::vector<Statement> code;
    for (size_t n = 0; n < lines.size(); ++n) {
        const std::string& line = lines[n];
        size_t start = 0;
        while (start <= line.size()) {
            const auto end = std::min(line.find(';', start), line.size());
            const std::string s = trim(std::string_view(line).substr(start, end - start));
            start = end + 1;
            if (!s.empty() && s != "{" && s != "}") {
                code.push_back(statementOf(s));
                code.back().line = n + 1;
            }
        }
    }
    return code;
}

OperandRules rulesOf(Op op) {
    switch (op) {
        case Op::MoveTo:
        case Op::MoveBy:
            return {&kSafePositionLimit};
        case Op::Speed:
            return {&kSafeSpeedLimit};
        case Op::Acceleration:
            return {&kSafeAccelerationLimit};
        case Op::Wait:
            return {&kSafeDelayLimit};
        case Op::Assign:
            return {nullptr, &kSafeCounterLimit};
        case Op::JumpNotZero:
            return {&kSafeCounterLimit, nullptr, false, true};
        case Op::Jump:
        case Op::Call:
            return {nullptr, nullptr, true, false};
        case Op::WaitInput:
        case Op::WaitNotInput:
            return {&kInputLimit};
        case Op::JumpInput:
        case Op::JumpNotInput:
        case Op::CallInput:
        case Op::CallNotInput:
            return {&kInputLimit, nullptr, false, true};
        case Op::Outputs:
            return {&kOutputPatternLimit};
        case Op::SetOutput:
        case Op::ClearOutput:
            return {&kOutputLimit};
        case Op::Label:
        case Op::Done:
        case Op::Home:
        case Op::ZeroPosition:
        case Op::ClearVariables:
        case Op::Init:
        case Op::Return:
        case Op::Unknown:
            break;
    }
    return {};
}

bool isCall(Op op) {
    return op == Op::Call || op == Op::CallInput || op == Op::CallNotInput;
}

std::string describe(const Statement& s) {
    return s.word + (s.a.empty() ? "" : " " + s.a) + (s.b.empty() ? "" : "," + s.b);
}

}  // namespace controller
