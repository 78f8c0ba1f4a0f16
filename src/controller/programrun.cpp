// The stored program: parsed into statements when started, then run a step at a time as
// the time passes, in real time.
#include "controller/controller.h"

#include "controller/controllertext.h"

#include <algorithm>

namespace sim {

using namespace detail;

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
    m_labels.clear();
    for (size_t i = 0; i < m_code.size(); ++i) {
        if (m_code[i].op == "LABEL") {
            m_labels.try_emplace(m_code[i].a, i);
        }
    }
    m_executed = 0;
    m_waitingOnInput = 0;
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
    const auto found = m_labels.find(label);
    return found == m_labels.end() ? std::nullopt : std::optional<size_t>(found->second);
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
                m_waitingOnInput = s.line;
                return;
            }
        }
        m_waitingOnInput = 0;
        ++m_executed;
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
