#pragma once

#include "controller/limits.h"

#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

// The TQL400 controller as software: a slide on one axis, eight inputs, four
// outputs, a stored program in the controller's text language run in real time. It knows
// nothing of the serial line: bytes in, bytes out, and the time passed in by the caller.
namespace sim {

namespace detail {
// One statement of a stored program, as the controller parses its lines.
struct Statement {
    std::string op;        // "MA", "VM=", "LABEL", "ASSIGN", ...
    std::string a;         // first operand
    std::string b;         // second operand
    std::size_t line = 0;  // 1-based line of the stored program it came from
};
}  // namespace detail

struct Options {
    std::optional<std::string> fixedReply;  // answer every "?" query with this, nothing else
    bool silent = false;                    // answer nothing at all
    bool loopback = false;                  // outputs 1..4 show on inputs 5..8
    // Moves speed up and slow down at the "VA" acceleration (a trapezoidal profile) instead
    // of running at the "VM" speed from the start: the dry run's assumption of the motion.
    bool accelerate = false;
};

enum class FaultKind {
    BadValue,        // a value that is not a number within its limit
    NoSuchLabel,     // a jump or call to a label no line defines
    CallsTooDeep,    // more than kMaxCallDepth calls waiting for their return
    Recursion,       // a call its own callee can reach again: too deep if it comes too often
    LineTooLong,     // a line beyond kMaxLineLength bytes, dropped
    ProgramTooLong,  // a download beyond kMaxProgramLines lines
    Unknown,         // a statement the model does not know: passed over, not a fault at run
};

struct Fault {
    FaultKind kind = FaultKind::BadValue;
    std::size_t line = 0;   // 1-based line of the stored program; 0 for the line itself
    std::string statement;  // as the controller read it, such as "OUTP 1e99"
    int operand = 0;        // BadValue: 1 the first operand, 2 the second
    Verdict verdict = Verdict::Accepted;  // BadValue: why the value is refused
};

// What a program holds that fails whatever happens while it runs: values outside their
// limits, jumps and calls to no label, calls that pile up without returning, lines too
// long; and what may fail or is not run: a recursive call (FaultKind::Recursion), the
// statements the model passes over (FaultKind::Unknown). lines as downloaded, "{" to "}".
std::vector<Fault> staticFaults(const std::vector<std::string>& lines);

class Controller {
public:
    explicit Controller(Options options) : m_options(std::move(options)) {}

    // Bytes from the line; returns the reply bytes. now is in seconds on a steady clock.
    std::string receive(std::string_view bytes, double now);
    // Moves the slide and runs the program up to the time now.
    void advance(double now);

    void setInput(int number, bool on);  // number 1..8
    void setPosition(double x);          // the slide moved by hand (hold off)
    // The program halts before it executes a statement of one of these lines (1-based), as
    // at a breakpoint; haltedAt() then names the line.
    void setHaltLines(std::set<std::size_t> lines) { m_haltLines = std::move(lines); }

    double position() const { return m_position; }
    int outputs() const { return m_outputs; }
    int inputWord() const;
    bool running() const { return m_running; }
    bool holding() const { return m_hold; }
    const std::vector<std::string>& storedProgram() const { return m_program; }
    bool programSaved() const { return m_programSaved; }
    double speed() const { return m_speed; }
    double acceleration() const { return m_acceleration; }
    // Statements the stored program has executed since it started.
    long long executed() const { return m_executed; }
    // The line (1-based) of the statement the program executes next; 0 when not running.
    std::size_t currentLine() const;
    struct InputWait {
        std::size_t line = 0;  // 1-based
        int input = 0;         // 1..8
        bool on = true;        // the state it waits for
    };
    // The wait on an input that holds the program now, if any.
    const std::optional<InputWait>& waitingOnInput() const { return m_waiting; }
    std::size_t haltedAt() const { return m_haltedAt; }
    // The last fault that stopped a statement or a command, if any.
    const std::optional<Fault>& fault() const { return m_fault; }
    // The same as text: "line 4: OUTP 1e99: not a number in range", "line too long", ...
    // Empty if none.
    const std::string& error() const { return m_error; }

private:
    std::string command(const std::string& line, double now);
    void startProgram(double now);
    void stopProgram();
    void step(double now);
    // An operand's value: a number, a variable, or a variable plus or minus an operand;
    // nothing when it is none of these or breaks the limit.
    std::optional<double> value(const std::string& operand, const Limit& limit) const;
    // One immediate setting or move; an operand that is not a number changes nothing.
    void immediate(const std::string& what, const std::string& operand,
                   void (Controller::*apply)(double), const Limit& limit);
    void moveTo(double target);
    void moveBy(double distance) { moveTo(m_target + distance); }
    void setSpeed(double speed) { m_speed = speed; }
    void setAcceleration(double acceleration) { m_acceleration = acceleration; }
    void switchOutput(int n, bool on);  // n 1..8; outputs beyond the wired four change nothing
    void fail(Fault fault);
    bool motionDone() const { return m_position == m_target; }
    void move(double dt);
    static std::string number(double x);

    Options m_options;
    std::string m_pending;    // a line not yet ended by CR
    bool m_overlong = false;  // the pending line passed its bound: dropped up to its CR
    bool m_downloading = false;
    std::vector<std::string> m_incoming;
    std::vector<std::string> m_program;
    bool m_programSaved = false;

    double m_position = 0;
    double m_target = 0;
    double m_speed = 100;          // VM, units per second
    double m_acceleration = 2000;  // VA
    double m_lastTime = -1;
    bool m_hold = true;
    int m_inputs = 0;
    int m_outputs = 0;

    bool m_running = false;
    std::vector<detail::Statement> m_code;
    std::size_t m_pc = 0;
    std::vector<std::size_t> m_returns;
    std::map<std::string, std::size_t> m_labels;  // label → its statement, first one wins
    long long m_executed = 0;
    std::optional<InputWait> m_waiting;
    std::set<std::size_t> m_haltLines;
    std::size_t m_haltedAt = 0;
    double m_velocity = 0;  // along the move, with accelerate
    std::map<std::string, double> m_variables;
    double m_waitUntil = 0;
    std::optional<Fault> m_fault;
    std::string m_error;
};

}  // namespace sim
