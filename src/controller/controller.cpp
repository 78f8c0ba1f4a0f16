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
        takeDownloadLine(line);
        return {};
    }
    const std::string text = trim(line);
    if (startsWith(text, "?")) {
        return answer(text);
    }
    act(text, now);
    return {};
}

// The download ends with its empty line: the lines become the stored program, unsaved.
void Controller::takeDownloadLine(const std::string& line) {
    if (line.empty()) {
        m_downloading = false;
        m_machine.load(m_incoming);
    } else if (m_incoming.size() < kMaxProgramLines) {
        m_incoming.push_back(line);
    } else {
        m_machine.fail({FaultKind::ProgramTooLong, 0, {}, 0, Verdict::Accepted});
    }
}

// Every query is answered, an unknown one with 0.
std::string Controller::answer(const std::string& query) const {
    if (m_options.fixedReply) {
        return *m_options.fixedReply + kCR;
    }
    if (query == "?VM") {
        return number(m_machine.speed()) + kCR;
    }
    if (query == "?VA") {
        return number(m_machine.acceleration()) + kCR;
    }
    if (query == "?PE") {
        return number(m_machine.position()) + kCR;
    }
    if (query == "?INP") {
        return std::to_string(m_machine.inputWord()) + kCR;
    }
    return std::string{'0', kCR};
}

// EC=0, EC 1, SAVE C and anything unknown are accepted silently.
void Controller::act(const std::string& text, double now) {
    if (m_options.fixedReply) {
        return;
    }
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
        immediate("MA", text.substr(3), &Machine::moveTo, kSafePositionLimit);
    } else if (startsWith(text, "MR ")) {
        immediate("MR", text.substr(3), &Machine::moveBy, kSafePositionLimit);
    } else if (startsWith(text, "VM=")) {
        immediate("VM=", text.substr(3), &Machine::setSpeed, kSafeSpeedLimit);
    } else if (startsWith(text, "VA=")) {
        immediate("VA=", text.substr(3), &Machine::setAcceleration, kSafeAccelerationLimit);
    } else if (startsWith(text, "SET P") || startsWith(text, "CLR P")) {
        if (const auto n = m_machine.value(text.substr(5), kOutputLimit)) {
            m_machine.switchOutput(int(*n), startsWith(text, "SET P"));
        } else {
            m_machine.fail({FaultKind::BadValue, 0, text, 1, judge(text.substr(5), kOutputLimit)});
        }
    }
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
