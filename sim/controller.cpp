#include "controller.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace sim {
namespace {

constexpr char kCR = '\r';
constexpr char kLF = '\n';
constexpr char kEsc = '\x1b';
constexpr int kStepsPerAdvance = 10000;  // bounds a program that loops without waiting

// Bounds of a controller's memory: garbage on the line or a runaway program can neither
// grow the simulator without end nor reach undefined conversions.
constexpr size_t kMaxLineLength = 256;
constexpr size_t kMaxProgramLines = 4096;
constexpr size_t kMaxCallDepth = 64;
constexpr double kMaxCoordinate = 1e9;  // targets, distances, delays in ms
constexpr double kMaxCounter = 1e9;     // loop counters and variables
constexpr double kMaxSpeed = 1e6;
constexpr double kMaxAcceleration = 1e7;

std::string trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t");
    return std::string(text.substr(first, last - first + 1));
}

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// "A,B" -> {"A", "B"}
std::pair<std::string, std::string> splitComma(const std::string& text) {
    const auto comma = text.find(',');
    if (comma == std::string::npos) {
        return {trim(text), {}};
    }
    return {trim(text.substr(0, comma)), trim(text.substr(comma + 1))};
}

// A plain decimal number and nothing else, read the same under every locale.
std::optional<double> literal(const std::string& text) {
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

}  // namespace

std::string Controller::number(double x) {
    if (std::fabs(x - std::round(x)) < 1e-9) {
        return std::to_string(static_cast<long long>(std::llround(x)));
    }
    char text[64];
    std::snprintf(text, sizeof text, "%.3f", x);
    std::string s = text;
    while (!s.empty() && s.back() == '0') {
        s.pop_back();
    }
    return s;
}

std::string Controller::receive(std::string_view bytes, double now) {
    advance(now);
    std::string reply;
    for (const char c : bytes) {
        if (c == kEsc) {
            stopProgram();
            m_downloading = false;
            m_pending.clear();
        } else if (c == kLF) {
            continue;
        } else if (c == kCR) {
            const std::string line = m_pending;
            const bool overlong = m_overlong;
            m_pending.clear();
            m_overlong = false;
            if (overlong) {
                fail("line too long");
            } else {
                reply += command(line, now);
            }
        } else if (m_pending.size() < kMaxLineLength) {
            m_pending += c;
        } else {
            m_overlong = true;
        }
    }
    if (m_options.silent) {
        return {};
    }
    return reply;
}

std::string Controller::command(const std::string& line, double now) {
    if (m_downloading) {
        if (line.empty()) {
            m_downloading = false;
            m_program = m_incoming;
            m_programSaved = false;
        } else if (m_incoming.size() < kMaxProgramLines) {
            m_incoming.push_back(line);
        } else {
            fail("program too long");
        }
        return {};
    }
    const std::string text = trim(line);
    if (m_options.fixedReply) {
        return startsWith(text, "?") ? *m_options.fixedReply + kCR : std::string();
    }
    if (text == "?VM")
        return number(m_speed) + kCR;
    if (text == "?VA")
        return number(m_acceleration) + kCR;
    if (text == "?PE")
        return number(m_position) + kCR;
    if (text == "?INP")
        return std::to_string(inputWord()) + kCR;
    if (text == "DL") {
        stopProgram();
        m_downloading = true;
        m_incoming.clear();
    } else if (text == "SAVE P") {
        m_programSaved = true;
    } else if (text == "G") {
        startProgram(now);
    } else if (text == "HON") {
        m_hold = true;
        m_target = m_position;
    } else if (text == "HOFF") {
        m_hold = false;
    } else if (text == "H") {
        moveTo(0);
    } else if (startsWith(text, "MA ")) {
        immediate("MA", text.substr(3), &Controller::moveTo, -kMaxCoordinate, kMaxCoordinate);
    } else if (startsWith(text, "MR ")) {
        immediate("MR", text.substr(3), &Controller::moveBy, -kMaxCoordinate, kMaxCoordinate);
    } else if (startsWith(text, "VM=")) {
        immediate("VM=", text.substr(3), &Controller::setSpeed, 0, kMaxSpeed);
    } else if (startsWith(text, "VA=")) {
        immediate("VA=", text.substr(3), &Controller::setAcceleration, 0, kMaxAcceleration);
    } else if (startsWith(text, "SET P") || startsWith(text, "CLR P")) {
        if (const auto n = value(text.substr(5), 1, 4)) {
            switchOutput(int(*n), startsWith(text, "SET P"));
        } else {
            fail(text + ": no such output");
        }
    } else if (startsWith(text, "?")) {
        return "0" + std::string(1, kCR);
    }
    // EC=0, EC 1, SAVE C and anything unknown: accepted silently.
    return {};
}

int Controller::inputWord() const {
    return m_options.loopback ? (m_inputs & 0x0f) | (m_outputs << 4) : m_inputs;
}

void Controller::setInput(int number, bool on) {
    if (number < 1 || number > 8) {
        return;
    }
    const int bit = 1 << (number - 1);
    m_inputs = on ? (m_inputs | bit) : (m_inputs & ~bit);
}

void Controller::setPosition(double x) {
    m_position = x;
    m_target = x;
}

void Controller::moveTo(double target) {
    m_target = target;
}

void Controller::switchOutput(int n, bool on) {
    const int bit = 1 << (n - 1);
    m_outputs = on ? (m_outputs | bit) : (m_outputs & ~bit);
}

void Controller::fail(std::string error) {
    m_error = std::move(error);
}

void Controller::immediate(const std::string& what, const std::string& operand,
                           void (Controller::*apply)(double), double low, double high) {
    if (const auto x = value(operand, low, high)) {
        (this->*apply)(*x);
    } else {
        fail(what + " " + trim(operand) + ": not a number in range");
    }
}

std::optional<double> Controller::value(const std::string& operand, double low, double high) const {
    const std::string text = trim(operand);
    std::optional<double> x;
    // "#L1-1", "#L1+2": one operator after the first operand
    const auto op = text.find_first_of("+-", 1);
    if (!text.empty() && text[0] == '#' && op != std::string::npos) {
        const auto left = value(text.substr(0, op), -kMaxCounter, kMaxCounter);
        const auto right = value(text.substr(op + 1), -kMaxCounter, kMaxCounter);
        if (left && right) {
            x = text[op] == '+' ? *left + *right : *left - *right;
        }
    } else if (!text.empty() && text[0] == '#') {
        const auto found = m_variables.find(text);
        x = found == m_variables.end() ? 0 : found->second;
    } else {
        x = literal(text);
    }
    if (!x || *x < low || *x > high) {
        return std::nullopt;
    }
    return x;
}

std::vector<Controller::Statement> Controller::parse(const std::vector<std::string>& lines) {
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

void Controller::startProgram(double now) {
    m_code = parse(m_program);
    m_pc = 0;
    m_returns.clear();
    m_variables.clear();
    m_waitUntil = now;
    m_error.clear();
    m_running = !m_code.empty();
}

void Controller::stopProgram() {
    m_running = false;
    m_target = m_position;
}

std::optional<size_t> Controller::labelAt(const std::string& label) const {
    for (size_t i = 0; i < m_code.size(); ++i) {
        if (m_code[i].op == "LABEL" && m_code[i].a == label) {
            return i;
        }
    }
    return std::nullopt;
}

void Controller::advance(double now) {
    if (m_lastTime < 0) {
        m_lastTime = now;
    }
    const double dt = std::max(0.0, now - m_lastTime);
    m_lastTime = now;
    if (m_hold && m_position != m_target) {
        const double travel = std::max(m_speed, 0.0) * dt;
        const double distance = m_target - m_position;
        m_position =
            std::fabs(distance) <= travel ? m_target : m_position + std::copysign(travel, distance);
    }
    if (m_running) {
        step(now);
    }
}

void Controller::step(double now) {
    for (int budget = 0; budget < kStepsPerAdvance && m_running; ++budget) {
        if (m_pc >= m_code.size()) {
            m_running = false;
            return;
        }
        const Statement& s = m_code[m_pc];
        // A statement whose value is not a number in range is a program error: the program
        // stops there, as a controller stops on a bad line.
        const auto stop = [&](const std::string& why) {
            m_running = false;
            m_target = m_position;
            fail("line " + std::to_string(s.line) + ": " + why);
        };
        bool bad = false;
        const auto arg = [&](const std::string& operand, double low, double high) {
            const auto x = value(operand, low, high);
            if (!x) {
                bad = true;
            }
            return x.value_or(0);
        };
        const auto jump = [&](const std::string& label) {
            if (const auto at = labelAt(label)) {
                m_pc = *at;
            } else {
                m_running = false;  // a jump to no label ends the program
            }
        };
        const auto call = [&](const std::string& label) {
            if (m_returns.size() >= kMaxCallDepth) {
                stop("calls nested too deep");
                return;
            }
            m_returns.push_back(m_pc);
            jump(label);
        };
        const auto input = [&](const std::string& n) {
            const int k = int(arg(n, 1, 8));
            return !bad && (inputWord() & (1 << (k - 1))) != 0;
        };
        if (s.op == "DN") {
            if (!motionDone() || now < m_waitUntil) {
                return;
            }
        } else if (s.op == "WI" || s.op == "WNI") {
            const bool on = input(s.a);
            if (bad) {
                stop(s.op + " " + s.a + ": not an input");
                return;
            }
            if (on != (s.op == "WI")) {
                return;
            }
        }
        ++m_pc;
        if (s.op == "MA") {
            const double x = arg(s.a, -kMaxCoordinate, kMaxCoordinate);
            if (!bad) {
                moveTo(x);
            }
        } else if (s.op == "MR") {
            const double x = arg(s.a, -kMaxCoordinate, kMaxCoordinate);
            if (!bad) {
                moveBy(x);
            }
        } else if (s.op == "VM=") {
            const double x = arg(s.a, 0, kMaxSpeed);
            if (!bad) {
                m_speed = x;
            }
        } else if (s.op == "VA=") {
            const double x = arg(s.a, 0, kMaxAcceleration);
            if (!bad) {
                m_acceleration = x;
            }
        } else if (s.op == "WT") {
            m_waitUntil = now + arg(s.a, 0, kMaxCoordinate) / 1000.0;
        } else if (s.op == "H") {
            moveTo(0);
        } else if (s.op == "CS") {
            setPosition(0);
        } else if (s.op == "CLR" && s.a == "VAR") {
            m_variables.clear();
        } else if (s.op == "SI") {
            m_variables[s.a] = 0;
        } else if (s.op == "ASSIGN") {
            const double x = arg(s.b, -kMaxCounter, kMaxCounter);
            if (!bad) {
                m_variables[s.a] = x;
            }
        } else if (s.op == "JNZ") {
            const double x = arg(s.a, -kMaxCounter, kMaxCounter);
            if (!bad && x != 0) {
                jump(s.b);
            }
        } else if (s.op == "JP") {
            jump(s.a);
        } else if (s.op == "CALL") {
            call(s.a);
        } else if (s.op == "RET") {
            if (m_returns.empty()) {
                m_running = false;
            } else {
                m_pc = m_returns.back();
                m_returns.pop_back();
            }
        } else if (s.op == "JI" || s.op == "JNI") {
            if (input(s.a) == (s.op == "JI") && !bad) {
                jump(s.b);
            }
        } else if (s.op == "CI" || s.op == "CNI") {
            if (input(s.a) == (s.op == "CI") && !bad) {
                call(s.b);
            }
        } else if (s.op == "OUTP") {
            const int pattern = int(arg(s.a, 0, 15));
            if (!bad) {
                m_outputs = pattern;
            }
        } else if (s.op == "SET P" || s.op == "CLR P") {
            const int n = int(arg(s.a, 1, 4));
            if (!bad) {
                switchOutput(n, s.op == "SET P");
            }
        }
        // Labels and statements the simulator does not know are passed over.
        if (bad) {
            stop(s.op + " " + s.a + (s.b.empty() ? "" : "," + s.b) + ": not a number in range");
        }
    }
}

}  // namespace sim
