#include "controller/controller.h"

#include "controller/controllertext.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace controller {

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
    m_machine.advance(now);
    std::string reply;
    for (const char c : bytes) {
        if (c == kEsc) {
            m_machine.stopProgram();
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
                m_machine.fail({FaultKind::LineTooLong, 0, {}, 0, Verdict::Accepted});
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
            m_machine.load(m_incoming);
        } else if (m_incoming.size() < kMaxProgramLines) {
            m_incoming.push_back(line);
        } else {
            m_machine.fail({FaultKind::ProgramTooLong, 0, {}, 0, Verdict::Accepted});
        }
        return {};
    }
    const std::string text = trim(line);
    if (m_options.fixedReply) {
        return startsWith(text, "?") ? *m_options.fixedReply + kCR : std::string();
    }
    if (text == "?VM")
        return number(m_machine.speed()) + kCR;
    if (text == "?VA")
        return number(m_machine.acceleration()) + kCR;
    if (text == "?PE")
        return number(m_machine.position()) + kCR;
    if (text == "?INP")
        return std::to_string(m_machine.inputWord()) + kCR;
    if (text == "DL") {
        m_machine.stopProgram();
        m_downloading = true;
        m_incoming.clear();
    } else if (text == "SAVE P") {
        m_machine.saveProgram();
    } else if (text == "G") {
        m_machine.startProgram(now);
    } else if (text == "HON" || text == "HOFF") {
        m_machine.setHold(text == "HON");
    } else if (text == "H") {
        m_machine.moveTo(0);
    } else if (startsWith(text, "MA ")) {
        immediate("MA", text.substr(3), &Machine::moveTo, kPositionLimit);
    } else if (startsWith(text, "MR ")) {
        immediate("MR", text.substr(3), &Machine::moveBy, kPositionLimit);
    } else if (startsWith(text, "VM=")) {
        immediate("VM=", text.substr(3), &Machine::setSpeed, kSpeedLimit);
    } else if (startsWith(text, "VA=")) {
        immediate("VA=", text.substr(3), &Machine::setAcceleration, kAccelerationLimit);
    } else if (startsWith(text, "SET P") || startsWith(text, "CLR P")) {
        if (const auto n = m_machine.value(text.substr(5), kOutputLimit)) {
            m_machine.switchOutput(int(*n), startsWith(text, "SET P"));
        } else {
            m_machine.fail({FaultKind::BadValue, 0, text, 1, judge(text.substr(5), kOutputLimit)});
        }
    } else if (startsWith(text, "?")) {
        return "0" + std::string(1, kCR);
    }
    // EC=0, EC 1, SAVE C and anything unknown: accepted silently.
    return {};
}

void Controller::immediate(const std::string& what, const std::string& operand,
                           void (Machine::*apply)(double), const Limit& limit) {
    if (const auto x = m_machine.value(operand, limit)) {
        (m_machine.*apply)(*x);
    } else {
        m_machine.fail(
            {FaultKind::BadValue, 0, what + " " + trim(operand), 1, judge(operand, limit)});
    }
}

}  // namespace controller
