// The stored program: parsed into statements when started, then run a step at a time as
// the time passes, in real time.
#include "controller/controller.h"

#include "controller/controllertext.h"
#include "controller/statements.h"

#include <algorithm>

namespace sim {

using namespace detail;

void Controller::startProgram(double now) {
    m_code = parse(m_program);
    m_labels.clear();
    for (size_t i = 0; i < m_code.size(); ++i) {
        if (m_code[i].op == "LABEL") {
            m_labels.try_emplace(m_code[i].a, i);
        }
    }
    m_executed = 0;
    m_waiting.reset();
    m_haltedAt = 0;
    m_pc = 0;
    m_returns.clear();
    m_variables.clear();
    m_waitUntil = now;
    m_fault.reset();
    m_error.clear();
    m_running = !m_code.empty();
}

void Controller::stopProgram() {
    m_running = false;
    m_waiting.reset();
    m_target = m_position;
}

size_t Controller::currentLine() const {
    return m_running && m_pc < m_code.size() ? m_code[m_pc].line : 0;
}

void Controller::step(double now) {
    for (int budget = 0; budget < kStepsPerAdvance && m_running; ++budget) {
        if (m_pc >= m_code.size()) {
            m_running = false;
            return;
        }
        const Statement& s = m_code[m_pc];
        if (m_haltLines.contains(s.line)) {
            m_haltedAt = s.line;
            stopProgram();
            return;
        }
        // A statement the controller refuses stops the program there, as a controller
        // stops on a bad line.
        const auto stop = [&](FaultKind kind, int operand, Verdict verdict) {
            stopProgram();
            fail({kind, s.line, describe(s), operand, verdict});
        };
        const OperandRules rules = rulesOf(s);
        std::optional<double> a;
        std::optional<double> b;
        if (rules.a && !(a = value(s.a, *rules.a))) {
            stop(FaultKind::BadValue, 1, judge(s.a, *rules.a));
            return;
        }
        if (rules.b && !(b = value(s.b, *rules.b))) {
            stop(FaultKind::BadValue, 2, judge(s.b, *rules.b));
            return;
        }
        const auto input = [&] { return (inputWord() & (1 << (int(*a) - 1))) != 0; };
        if (s.op == "DN") {
            if (!motionDone() || now < m_waitUntil) {
                return;
            }
        } else if (s.op == "WI" || s.op == "WNI") {
            if (input() != (s.op == "WI")) {
                m_waiting = InputWait{s.line, int(*a), s.op == "WI"};
                return;
            }
        }
        m_waiting.reset();
        const auto jump = [&](const std::string& label) {
            if (const auto found = m_labels.find(label); found != m_labels.end()) {
                m_pc = found->second;
                return true;
            }
            stop(FaultKind::NoSuchLabel, 0, Verdict::Accepted);
            return false;
        };
        const auto call = [&](const std::string& label) {
            if (m_returns.size() >= kMaxCallDepth) {
                stop(FaultKind::CallsTooDeep, 0, Verdict::Accepted);
                return;
            }
            const size_t back = m_pc;  // the statement after the call
            if (jump(label)) {
                m_returns.push_back(back);
            }
        };
        ++m_executed;
        ++m_pc;
        if (s.op == "MA") {
            moveTo(*a);
        } else if (s.op == "MR") {
            moveBy(*a);
        } else if (s.op == "VM=") {
            m_speed = *a;
        } else if (s.op == "VA=") {
            m_acceleration = *a;
        } else if (s.op == "WT") {
            m_waitUntil = now + *a / 1000.0;
        } else if (s.op == "H") {
            moveTo(0);
        } else if (s.op == "CS") {
            setPosition(0);
        } else if (s.op == "CLR" && s.a == "VAR") {
            m_variables.clear();
        } else if (s.op == "SI") {
            m_variables[s.a] = 0;
        } else if (s.op == "ASSIGN") {
            m_variables[s.a] = *b;
        } else if (s.op == "JNZ") {
            if (*a != 0) {
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
            if (input() == (s.op == "JI")) {
                jump(s.b);
            }
        } else if (s.op == "CI" || s.op == "CNI") {
            if (input() == (s.op == "CI")) {
                call(s.b);
            }
        } else if (s.op == "OUTP") {
            m_outputs = int(*a);
        } else if (s.op == "SET P" || s.op == "CLR P") {
            switchOutput(int(*a), s.op == "SET P");
        }
        // Labels and statements the model does not know are passed over.
    }
}

}  // namespace sim
