#include "controller.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace sim {
namespace {

constexpr char kCR = '\r';
constexpr char kLF = '\n';
constexpr char kEsc = '\x1b';
constexpr int kStepsPerAdvance = 10000;  // bounds a program that loops without waiting

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
            m_pending.clear();
            reply += command(line, now);
        } else {
            m_pending += c;
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
        } else {
            m_incoming.push_back(line);
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
        moveTo(value(trim(text.substr(3))));
    } else if (startsWith(text, "MR ")) {
        moveTo(m_target + value(trim(text.substr(3))));
    } else if (startsWith(text, "VM=")) {
        m_speed = value(trim(text.substr(3)));
    } else if (startsWith(text, "VA=")) {
        m_acceleration = value(trim(text.substr(3)));
    } else if (startsWith(text, "SET P")) {
        const int n = std::atoi(text.c_str() + 5);
        if (n >= 1 && n <= 4)
            m_outputs |= 1 << (n - 1);
    } else if (startsWith(text, "CLR P")) {
        const int n = std::atoi(text.c_str() + 5);
        if (n >= 1 && n <= 4)
            m_outputs &= ~(1 << (n - 1));
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
    if (std::isfinite(target)) {
        m_target = target;
    }
}

double Controller::value(const std::string& operand) const {
    const std::string text = trim(operand);
    if (text.empty()) {
        return 0;
    }
    // "#L1-1", "#L1+2": one operator after the first operand
    const auto op = text.find_first_of("+-", 1);
    if (op != std::string::npos && text[0] == '#') {
        const double left = value(text.substr(0, op));
        const double right = value(text.substr(op + 1));
        return text[op] == '+' ? left + right : left - right;
    }
    if (text[0] == '#') {
        const auto found = m_variables.find(text);
        return found == m_variables.end() ? 0 : found->second;
    }
    return std::strtod(text.c_str(), nullptr);
}

std::vector<Controller::Statement> Controller::parse(const std::vector<std::string>& lines) {
    std::vector<Statement> code;
    for (const std::string& line : lines) {
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
    }
    return code;
}

void Controller::startProgram(double now) {
    m_code = parse(m_program);
    m_pc = 0;
    m_returns.clear();
    m_variables.clear();
    m_waitUntil = now;
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
        const auto jump = [&](const std::string& label) {
            if (const auto at = labelAt(label)) {
                m_pc = *at;
            } else {
                m_running = false;  // a jump to no label ends the program
            }
        };
        const auto input = [&](const std::string& n) {
            const int k = int(value(n));
            return k >= 1 && k <= 8 && (inputWord() & (1 << (k - 1))) != 0;
        };
        if (s.op == "DN") {
            if (!motionDone() || now < m_waitUntil) {
                return;
            }
        } else if (s.op == "WI" || s.op == "WNI") {
            if (input(s.a) != (s.op == "WI")) {
                return;
            }
        }
        ++m_pc;
        if (s.op == "MA") {
            moveTo(value(s.a));
        } else if (s.op == "MR") {
            moveTo(m_target + value(s.a));
        } else if (s.op == "VM=") {
            m_speed = value(s.a);
        } else if (s.op == "VA=") {
            m_acceleration = value(s.a);
        } else if (s.op == "WT") {
            m_waitUntil = now + value(s.a) / 1000.0;
        } else if (s.op == "H") {
            moveTo(0);
        } else if (s.op == "CS") {
            setPosition(0);
        } else if (s.op == "CLR" && s.a == "VAR") {
            m_variables.clear();
        } else if (s.op == "SI") {
            m_variables[s.a] = 0;
        } else if (s.op == "ASSIGN") {
            m_variables[s.a] = value(s.b);
        } else if (s.op == "JNZ") {
            if (value(s.a) != 0)
                jump(s.b);
        } else if (s.op == "JP") {
            jump(s.a);
        } else if (s.op == "CALL") {
            m_returns.push_back(m_pc);
            jump(s.a);
        } else if (s.op == "RET") {
            if (m_returns.empty()) {
                m_running = false;
            } else {
                m_pc = m_returns.back();
                m_returns.pop_back();
            }
        } else if (s.op == "JI" || s.op == "JNI") {
            if (input(s.a) == (s.op == "JI"))
                jump(s.b);
        } else if (s.op == "CI" || s.op == "CNI") {
            if (input(s.a) == (s.op == "CI")) {
                m_returns.push_back(m_pc);
                jump(s.b);
            }
        } else if (s.op == "OUTP") {
            m_outputs = int(value(s.a)) & 0x0f;
        } else if (s.op == "SET P") {
            const int n = int(value(s.a));
            if (n >= 1 && n <= 4)
                m_outputs |= 1 << (n - 1);
        } else if (s.op == "CLR P") {
            const int n = int(value(s.a));
            if (n >= 1 && n <= 4)
                m_outputs &= ~(1 << (n - 1));
        }
        // Labels and statements the simulator does not know are passed over.
    }
}

}  // namespace sim
