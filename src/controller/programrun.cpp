// The stored program: parsed into statements when started, then run a step at a time as
// the time passes, in real time.
#include "controller/controllertext.h"
#include "controller/machine.h"

#include <algorithm>

namespace controller {

void Machine::startProgram(double now) {
    m_code = parse(m_program);
    m_labels.clear();
    for (size_t i = 0; i < m_code.size(); ++i) {
        if (m_code[i].op == Op::Label) {
            m_labels.try_emplace(m_code[i].a, i);
        }
    }
    m_executed = 0;
    m_waiting.reset();
    m_haltedAt = 0;
    m_askedLine = 0;
    m_paused = false;
    m_pc = 0;
    m_returns.clear();
    m_variables.clear();
    m_waitUntil = now;
    m_programClock = now;
    m_standing = false;
    m_fault.reset();
    m_error.clear();
    m_running = !m_code.empty();
}

void Machine::stopProgram() {
    m_running = false;
    m_waiting.reset();
    m_target = m_position;
}

std::optional<double> Machine::variable(const std::string& name) const {
    const auto found = m_variables.find(name);
    return found == m_variables.end() ? std::nullopt : std::optional(found->second);
}

std::vector<size_t> Machine::callLines() const {
    std::vector<size_t> lines;
    for (const size_t back : m_returns) {
        lines.push_back(m_code[back - 1].line);
    }
    return lines;
}

size_t Machine::currentLine() const {
    return m_running && m_pc < m_code.size() ? m_code[m_pc].line : 0;
}

bool Machine::input(double number) const {
    return (inputWord() & (1 << (int(number) - 1))) != 0;
}

// A statement the controller refuses stops the program there, as a controller stops on a
// bad line.
void Machine::step(double now) {
    for (int budget = 0; budget < kStepsPerAdvance && m_running; ++budget) {
        if (m_pc >= m_code.size()) {
            m_running = false;
            return;
        }
        if (m_standing) {
            m_programClock = std::max(m_programClock, now);
        }
        // The statement before has not yet taken its time.
        if (m_programClock > now + kTimeTolerance) {
            return;
        }
        const Statement& s = m_code[m_pc];
        // A pause comes before a halt there: what stops the program can be looked at first.
        if (s.line != m_askedLine) {
            m_askedLine = s.line;
            if (m_pauseCheck && m_pauseCheck(s.line)) {
                m_paused = true;
                return;
            }
        }
        if (m_haltLines.contains(s.line)) {
            m_haltedAt = s.line;
            stopProgram();
            return;
        }
        const OperandRules rules = rulesOf(s.op);
        const auto operand = [&](const Limit* limit, const std::string& text, int number) {
            std::optional<double> x;
            if (limit != nullptr && !(x = value(text, *limit))) {
                stopProgram();
                fail({FaultKind::BadValue, s.line, describe(s), number, judge(text, *limit)});
            }
            return x;
        };
        const std::optional<double> a = operand(rules.a, s.a, 1);
        const std::optional<double> b = m_running ? operand(rules.b, s.b, 2) : std::nullopt;
        if (!m_running || !execute(s, a, b, now)) {
            return;
        }
    }
}

// Waits hold the program at their statement; everything else executes and moves on.
bool Machine::execute(const Statement& s, std::optional<double> a, std::optional<double> b,
                      double now) {
    m_standing = true;
    if (s.op == Op::Done && (!motionDone() || now < m_waitUntil)) {
        return false;
    }
    if (s.op == Op::WaitInput || s.op == Op::WaitNotInput) {
        const bool wanted = s.op == Op::WaitInput;
        if (input(*a) != wanted) {
            m_waiting = InputWait{s.line, int(*a), wanted};
            return false;
        }
    }
    m_standing = false;
    m_waiting.reset();
    ++m_executed;
    ++m_pc;
    m_programClock += kStatementSeconds;
    if (const std::optional<bool> goesOn = flow(s, a)) {
        return *goesOn;
    }
    perform(s, a, b);
    return m_running;
}

// Jumps, calls and returns: whether the program goes on, or nothing for another statement.
std::optional<bool> Machine::flow(const Statement& s, std::optional<double> a) {
    switch (s.op) {
        case Op::JumpNotZero:
            return *a == 0 || jump(s, s.b);
        case Op::Jump:
            return jump(s, s.a);
        case Op::JumpInput:
        case Op::JumpNotInput:
            return input(*a) != (s.op == Op::JumpInput) || jump(s, s.b);
        case Op::Call:
            call(s, s.a);
            return m_running;
        case Op::CallInput:
        case Op::CallNotInput:
            if (input(*a) == (s.op == Op::CallInput)) {
                call(s, s.b);
            }
            return m_running;
        case Op::Return:
            if (m_returns.empty()) {
                m_running = false;
            } else {
                m_pc = m_returns.back();
                m_returns.pop_back();
            }
            return m_running;
        default:
            return std::nullopt;
    }
}

// Moves, settings, variables and outputs; labels and unknown statements are passed over.
void Machine::perform(const Statement& s, std::optional<double> a, std::optional<double> b) {
    switch (s.op) {
        case Op::MoveTo:
            moveTo(*a);
            break;
        case Op::MoveBy:
            moveBy(*a);
            break;
        case Op::Speed:
            m_speed = *a;
            break;
        case Op::Acceleration:
            m_acceleration = *a;
            break;
        case Op::Wait:
            m_waitUntil = m_programClock + *a / 1000.0;  // from the statement's end
            break;
        case Op::Home:
            moveTo(0);
            break;
        case Op::ZeroPosition:
            setPosition(0);
            break;
        case Op::ClearVariables:
            m_variables.clear();
            break;
        case Op::Init:
            m_variables[s.a] = 0;
            break;
        case Op::Assign:
            m_variables[s.a] = *b;
            break;
        case Op::Outputs:
            m_outputs = int(*a);
            break;
        case Op::SetOutput:
        case Op::ClearOutput:
            switchOutput(int(*a), s.op == Op::SetOutput);
            break;
        default:
            break;
    }
}

bool Machine::jump(const Statement& s, const std::string& label) {
    if (const auto found = m_labels.find(label); found != m_labels.end()) {
        m_pc = found->second;
        return true;
    }
    stopProgram();
    fail({FaultKind::NoSuchLabel, s.line, describe(s), 0, Verdict::Accepted});
    return false;
}

void Machine::call(const Statement& s, const std::string& label) {
    if (m_returns.size() >= kMaxCallDepth) {
        stopProgram();
        fail({FaultKind::CallsTooDeep, s.line, describe(s), 0, Verdict::Accepted});
        return;
    }
    const size_t back = m_pc;  // the statement after the call
    if (jump(s, label)) {
        m_returns.push_back(back);
    }
}

}  // namespace controller
