#include "controller/controller.h"

#include "controller/controllertext.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace sim {

using namespace detail;

std::string Controller::number(double x) {
    // A plain decimal number at every position: no "12." for 12.0004, no "-0" for a hair
    // below zero, and a clamp where a wild position would overflow the text.
    constexpr double kLargest = 1e15;
    x = std::isfinite(x) ? std::clamp(x, -kLargest, kLargest) : 0;
    char text[64];
    std::snprintf(text, sizeof text, "%.3f", x);
    std::string s = text;
    while (s.back() == '0') {
        s.pop_back();
    }
    if (s.back() == '.') {
        s.pop_back();
    }
    return s == "-0" ? "0" : s;
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
                fail({FaultKind::LineTooLong, 0, {}, 0, Verdict::Accepted});
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
            fail({FaultKind::ProgramTooLong, 0, {}, 0, Verdict::Accepted});
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
        immediate("MA", text.substr(3), &Controller::moveTo, kPositionLimit);
    } else if (startsWith(text, "MR ")) {
        immediate("MR", text.substr(3), &Controller::moveBy, kPositionLimit);
    } else if (startsWith(text, "VM=")) {
        immediate("VM=", text.substr(3), &Controller::setSpeed, kSpeedLimit);
    } else if (startsWith(text, "VA=")) {
        immediate("VA=", text.substr(3), &Controller::setAcceleration, kAccelerationLimit);
    } else if (startsWith(text, "SET P") || startsWith(text, "CLR P")) {
        if (const auto n = value(text.substr(5), kOutputLimit)) {
            switchOutput(int(*n), startsWith(text, "SET P"));
        } else {
            fail({FaultKind::BadValue, 0, text, 1, judge(text.substr(5), kOutputLimit)});
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
    if (n > kWiredOutputs) {
        return;
    }
    const int bit = 1 << (n - 1);
    m_outputs = on ? (m_outputs | bit) : (m_outputs & ~bit);
}

void Controller::fail(Fault fault) {
    switch (fault.kind) {
        case FaultKind::LineTooLong:
            m_error = "line too long";
            break;
        case FaultKind::ProgramTooLong:
            m_error = "program too long";
            break;
        case FaultKind::CallsTooDeep:
        case FaultKind::Recursion:
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

void Controller::immediate(const std::string& what, const std::string& operand,
                           void (Controller::*apply)(double), const Limit& limit) {
    if (const auto x = value(operand, limit)) {
        (this->*apply)(*x);
    } else {
        fail({FaultKind::BadValue, 0, what + " " + trim(operand), 1, judge(operand, limit)});
    }
}

std::optional<double> Controller::value(const std::string& operand, const Limit& limit) const {
    const std::string text = trim(operand);
    std::optional<double> x;
    // "#L1-1", "#L1+2": one operator after the first operand
    const auto op = text.find_first_of("+-", 1);
    if (!text.empty() && text[0] == '#' && op != std::string::npos) {
        const auto left = value(text.substr(0, op), kCounterLimit);
        const auto right = value(text.substr(op + 1), kCounterLimit);
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

void Controller::advance(double now) {
    if (m_lastTime < 0) {
        m_lastTime = now;
    }
    const double dt = std::max(0.0, now - m_lastTime);
    m_lastTime = now;
    if (m_hold && m_position != m_target) {
        move(dt);
    } else {
        m_velocity = 0;
    }
    if (m_running) {
        step(now);
    }
}

void Controller::move(double dt) {
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

}  // namespace sim
