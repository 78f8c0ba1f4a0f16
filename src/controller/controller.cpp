#include "controller/controller.h"

#include "controller/controllertext.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace sim {

using namespace detail;

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
