#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The TQL400 controller as software: a slide on one axis, eight inputs, four
// outputs, a stored program in the controller's text language run in real time. It knows
// nothing of the serial line: bytes in, bytes out, and the time passed in by the caller.
namespace sim {

struct Options {
    std::optional<std::string> fixedReply;  // answer every "?" query with this, nothing else
    bool silent = false;                    // answer nothing at all
    bool loopback = false;                  // outputs 1..4 show on inputs 5..8
    // Moves speed up and slow down at the "VA" acceleration (a trapezoidal profile) instead
    // of running at the "VM" speed from the start: the dry run's assumption of the motion.
    bool accelerate = false;
};

class Controller {
public:
    explicit Controller(Options options) : m_options(std::move(options)) {}

    // Bytes from the line; returns the reply bytes. now is in seconds on a steady clock.
    std::string receive(std::string_view bytes, double now);
    // Moves the slide and runs the program up to the time now.
    void advance(double now);

    void setInput(int number, bool on);  // number 1..8
    void setPosition(double x);          // the slide moved by hand (hold off)

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
    // The stored program's line (1-based) whose wait on an input holds the program now;
    // 0 when it is not waiting on an input.
    size_t waitingOnInput() const { return m_waitingOnInput; }
    // The last error: an immediate command or program statement whose value is not a
    // number in range, a call nested too deep, a line or program too long. Empty if none.
    const std::string& error() const { return m_error; }

private:
    struct Statement {
        std::string op;   // "MA", "VM=", "LABEL", "ASSIGN", ...
        std::string a;    // first operand
        std::string b;    // second operand
        size_t line = 0;  // 1-based line of the stored program it came from
    };

    std::string command(const std::string& line, double now);
    void startProgram(double now);
    void stopProgram();
    void step(double now);
    // An operand's value: a number, a variable, or a variable plus or minus an operand;
    // nothing when it is none of these or lies outside [low, high].
    std::optional<double> value(const std::string& operand, double low, double high) const;
    // One immediate setting or move; an operand that is not a number changes nothing.
    void immediate(const std::string& what, const std::string& operand,
                   void (Controller::*apply)(double), double low, double high);
    void moveTo(double target);
    void moveBy(double distance) { moveTo(m_target + distance); }
    void setSpeed(double speed) { m_speed = speed; }
    void setAcceleration(double acceleration) { m_acceleration = acceleration; }
    void switchOutput(int n, bool on);  // n 1..4
    void fail(std::string error);
    bool motionDone() const { return m_position == m_target; }
    std::optional<size_t> labelAt(const std::string& label) const;
    void move(double dt);
    static std::vector<Statement> parse(const std::vector<std::string>& lines);
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
    double m_acceleration = 2000;  // VA, kept and reported only
    double m_lastTime = -1;
    bool m_hold = true;
    int m_inputs = 0;
    int m_outputs = 0;

    bool m_running = false;
    std::vector<Statement> m_code;
    size_t m_pc = 0;
    std::vector<size_t> m_returns;
    std::map<std::string, size_t> m_labels;  // label → its statement, first one wins
    long long m_executed = 0;
    size_t m_waitingOnInput = 0;
    double m_velocity = 0;  // along the move, with accelerate
    std::map<std::string, double> m_variables;
    double m_waitUntil = 0;
    std::string m_error;
};

}  // namespace sim
