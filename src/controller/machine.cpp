#include "controller/machine.h"

#include "controller/controllertext.h"

#include <algorithm>
#include <cmath>
#include <limits>

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

// The controller looks at its waits every millisecond whatever the caller's clock: a
// simulator stepping every 5 ms runs the program as the dry run does at 1 ms steps, the
// next move starting within a millisecond of the slide's arrival.
constexpr double kScanSeconds = 0.001;

void Machine::advance(double now) {
    while (m_lastTime >= 0 && now - m_lastTime > kScanSeconds + kTimeTolerance &&
           (m_running || m_position != m_target)) {
        advanceTo(m_lastTime + kScanSeconds);
    }
    advanceTo(now);
}

void Machine::advanceTo(double now) {
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

// Closer to the target than this is on it: a ramp's steps add up in binary fractions.
constexpr double kOnTarget = 1e-12;

double moveSeconds(double distance, double speed, double acceleration, MotionScale scale) {
    const double v = speed * scale.speed;
    if (distance <= 0) {
        return 0;
    }
    if (v <= 0) {
        return std::numeric_limits<double>::infinity();
    }
    if (acceleration <= 0 || scale.ramp <= 0) {
        return distance / v;
    }
    const double a = acceleration / scale.ramp;
    if (distance < v * v / a) {
        return 2 * std::sqrt(distance / a);
    }
    return distance / v + v / a;
}

void Machine::move(double dt) {
    const double speed = std::max(m_speed * m_options.scale.speed, 0.0);
    const double distance = std::fabs(m_target - m_position);
    if (!m_options.accelerate || m_acceleration <= 0 || m_options.scale.ramp <= 0) {
        const double travel = speed * dt;
        m_position = distance <= travel ? m_target
                                        : m_position + std::copysign(travel, m_target - m_position);
        return;
    }
    // The trapezoid, exactly over the step whatever its length, so a clock stepping every
    // 5 ms (the simulator's) and one stepping every 1 ms (the dry run's) move the slide
    // alike: speed up at VA towards VM, never faster than the rest of the way lets the
    // slide stop in, cruise, slow down to stop on the target.
    const double a = m_acceleration / m_options.scale.ramp;
    double v = m_velocity;
    double left = dt;
    double travelled = 0;
    double rest = distance;
    // Three phases at most; a fourth pass only mops up rounding.
    for (int phase = 0; phase < 4 && left > 0 && rest > 0; ++phase) {
        const double peak = std::min(speed, std::sqrt(a * rest + v * v / 2));
        const double braking = v * v / (2 * a);
        if (v < peak) {  // speeding up
            const double t = std::min(left, (peak - v) / a);
            const double d = std::min(rest, (v + a * t / 2) * t);
            v += a * t;
            left -= t;
            travelled += d;
            rest -= d;
        } else if (rest > braking + kOnTarget && v > 0) {  // cruising until it must slow down
            const double t = std::min(left, (rest - braking) / v);
            travelled += v * t;
            rest -= v * t;
            left -= t;
        } else {  // slowing down to stop on the target
            const double t = std::min(left, v / a);
            const double d = std::min(rest, (v - a * t / 2) * t);
            v = std::max(0.0, v - a * t);
            left -= t;
            travelled += d;
            rest -= d;
            if (v <= 0) {
                rest = std::max(0.0, rest);
                if (left > 0 || rest <= kOnTarget) {
                    travelled += rest;  // a step that ends the ramp ends on the target
                    rest = 0;
                }
                break;
            }
        }
    }
    if (rest <= kOnTarget) {
        m_position = m_target;
        m_velocity = 0;
    } else {
        m_position += std::copysign(travelled, m_target - m_position);
        m_velocity = v;
    }
}

}  // namespace controller
