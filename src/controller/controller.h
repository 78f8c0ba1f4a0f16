#pragma once

#include "controller/machine.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The TQL400 as it answers on its serial line: bytes in, reply bytes out. It reads lines
// ended by CR, answers the queries, takes a download ("DL" ... an empty line) and the
// immediate commands, and hands everything else to its Machine.
namespace controller {

struct Options {
    std::optional<std::string> fixedReply;  // answer every "?" query with this, nothing else
    bool silent = false;                    // answer nothing at all
    bool loopback = false;                  // outputs 1..4 show on inputs 5..8
    bool accelerate = false;                // see MachineOptions
};

class Controller {
public:
    explicit Controller(Options options)
        : m_options(std::move(options)),
          m_machine(
              {.loopback = m_options.loopback, .accelerate = m_options.accelerate, .scale = {}}) {}

    // Bytes from the line; returns the reply bytes. now is in seconds on a steady clock.
    std::string receive(std::string_view bytes, double now);

    Machine& machine() { return m_machine; }
    const Machine& machine() const { return m_machine; }

private:
    std::string command(const std::string& line, double now);
    void takeDownloadLine(const std::string& line);
    std::string answer(const std::string& query) const;
    void act(const std::string& text, double now);
    // One immediate setting or move; an operand that is not a number changes nothing.
    void immediate(const std::string& what, const std::string& operand,
                   void (Machine::*apply)(double), const Limit& limit);
    static std::string number(double x);

    Options m_options;
    Machine m_machine;
    std::string m_pending;    // a line not yet ended by CR
    bool m_overlong = false;  // the pending line passed its bound: dropped up to its CR
    bool m_downloading = false;
    std::vector<std::string> m_incoming;
};

}  // namespace controller
