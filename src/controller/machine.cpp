#include "controller/machine.h"

#include "controller/controllertext.h"

#include <algorithm>
#include <cmath>

namespace controller {

int Machine::inputWord() const {
    return m_options.loopback ? (m_inputs & 0x0f) | (m_outputs << 4) : m_inputs;
}

void Machine::setInput(int number, bool on) {
    if (number < 1 || number > kInputs) {
        return;
    }
    const int bit = 1 << (number - 1);
    m_inputs = on ? (m_inputs | bit) : (m_inputs & ~bit);
}

void Machine::setPosition(double x) {
    m_position = x;
    m_target = x;
}

void Machine::setHold(bool on) {
    m_hold = on;
    if (on) {
        m_target = m_position;
    }
}

void Machine::load(std::vector<std::string> lines) {
    m_program = std::move(lines);
    m_programSaved = false;
}

void Machine::switchOutput(int n, bool on) {
    if (n > kWiredOutputs) {
        return;
    }
    const int bit = 1 << (n - 1);
    m_outputs = on ? (m_outputs | bit) : (m_outputs & ~bit);
}

void Machine::fail(Fault fault) {
    switch (fault.kind) {
        case FaultKind::LineTooLong:
            m_error = "line too long";
            break;
        case FaultKind::ProgramTooLong:
            m_error = "program too long";
            break;
        case FaultKind::CallsTooDeep:
        case FaultKind::Recursion:
        case FaultKind::CallChainTooDeep:
            m_error = "calls nested too deep";
            break;
        case FaultKind::NoSuchLabel:
            m_error = fault.statement + ": no such label";
            break;
        case FaultKind::BadValue:
        case FaultKind::Unknown:
            m_error = fault.statement + ": not a number in range";
            break;
    }
    if (fault.line != 0) {
        m_error = "line " + std::to_string(fault.line) + ": " + m_error;
    }
    m_fault = std::move(fault);
}

std::optional<double> Machine::value(const std::string& operand, const Limit& limit) const {
    const std::string text = trim(operand);
    std::optional<double> x;
    // "#L1-1", "#L1+2": one operator after the first operand
    const auto op = text.find_first_of("+-", 1);
    if (!text.empty() && text[0] == '#' && op != std::string::npos) {
        const auto left = value(text.substr(0, op), kSafeCounterLimit);
        const auto right = value(text.substr(op + 1), kSafeCounterLimit);
        if (left && right) {
            x = text[op] == '+' ? *left + *right : *left - *right;
        }
    } else if (!text.empty() && text[0] == '#') {
        const auto found = m_variables.find(text);
        x = found == m_variables.end() ? 0 : found->second;
    } else {
        x = readNumber(text);
    }
    if (!x || *x < limit.low || *x > limit.high || (limit.whole && *x != std::floor(*x))) {
        return std::nullopt;
    }
    return x;
}

void Machine::advance(double now) {
    if (m_lastTime < 0) {
        m_lastTime = now;
    }
    const double dt = std::max(0.0, now - m_lastTime);
    m_lastTime = now;
    if (m_hold && m_position != m_target) {
        const double before = m_position;
        move(dt);
        m_travelled += std::fabs(m_position - before);
    } else {
        m_velocity = 0;
    }
    if (m_running && !m_paused) {
        step(now);
    }
}

void Machine::move(double dt) {
    const double speed = std::max(m_speed, 0.0);
    const double distance = std::fabs(m_target - m_position);
    if (!m_options.accelerate || m_acceleration <= 0) {
        const double travel = speed * dt;
        m_position = distance <= travel ? m_target
                                        : m_position + std::copysign(travel, m_target - m_position);
        return;
    }
    // Speed up to VM, but never faster than the rest of the way lets the slide stop in.
    const double before = m_velocity;
    const double stoppable = std::sqrt(2 * m_acceleration * distance);
    m_velocity = std::min({speed, before + m_acceleration * dt, stoppable});
    const double travel = (before + m_velocity) / 2 * dt;  // the mean speed of the step
    if (travel >= distance) {
        m_position = m_target;
        m_velocity = 0;
    } else {
        m_position += std::copysign(travel, m_target - m_position);
    }
}

}  // namespace controller
