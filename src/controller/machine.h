#pragma once

#include "controller/limits.h"
#include "controller/statements.h"

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

// The TQL400 as a machine: a slide on one axis, eight inputs, four outputs, and a stored
// program in the controller's text language run in the time the caller passes in. It
// knows nothing of the line; the Controller (controller.h) speaks the line protocol to it,
// and the dry run loads and runs a program on it directly.
namespace controller {

enum class FaultKind {
    BadValue,          // a value that is not a number within its limit
    NoSuchLabel,       // a jump or call to a label no line defines
    CallsTooDeep,      // more than kMaxCallDepth calls waiting for their return
    Recursion,         // a call its own callee can reach again: too deep if it comes too often
    CallChainTooDeep,  // calls within calls, none recursive, that nest beyond kMaxCallDepth
    LineTooLong,       // a line beyond kMaxLineLength bytes, dropped
    ProgramTooLong,    // a download beyond kMaxProgramLines lines
    Unknown,           // a statement the model does not know: passed over, not a fault at run
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

// The time one statement of the stored program takes on the controller: an assumption of
// the model (the real controller's speed is to be measured), which lets time pass in a
// program that loops without waiting, such as one polling an input. At 1 ms a line, ten
// minutes are 600 000 lines: the time bound, not the line bound, ends an endless loop.
inline constexpr double kStatementSeconds = 0.001;
// Times closer than this are one moment: steps of simulated time add up in binary fractions.
inline constexpr double kTimeTolerance = 1e-9;

// How a real slide moves against its settings, as a calibration found it: at speed × "VM",
// speeding up and slowing down at "VA" / ramp; a ramp of 0 is at speed at once.
struct MotionScale {
    double speed = 1;
    double ramp = 1;

    bool operator==(const MotionScale&) const = default;
};

struct MachineOptions {
    bool loopback = false;  // outputs 1..4 show on inputs 5..8
    // Moves speed up and slow down at the "VA" acceleration (a trapezoidal profile) instead
    // of running at the "VM" speed from the start: the dry run's assumption of the motion.
    bool accelerate = false;
    MotionScale scale;
};

// How long a move of `distance` takes from standing to standing at the speed and the
// acceleration given, scaled: the trapezoid, or the triangle of a move too short to reach
// its speed.
double moveSeconds(double distance, double speed, double acceleration, MotionScale scale = {});

class Machine {
public:
    explicit Machine(MachineOptions options = {}) : m_options(options) {}

    // Moves the slide and runs the program up to the time now (seconds, a steady clock).
    void advance(double now);

    // The stored program: as downloaded, not yet saved; started and stopped.
    void load(std::vector<std::string> lines);
    void saveProgram() { m_programSaved = true; }
    void startProgram(double now);
    void stopProgram();
    // The program halts before it executes a statement of one of these lines (1-based), as
    // at a breakpoint; haltedAt() then names the line.
    void setHaltLines(std::set<std::size_t> lines) { m_haltLines = std::move(lines); }
    // Asked as the program comes to a line (1-based), before its first statement runs, once
    // for each arrival (not again while a wait there holds it): true pauses the program
    // there. A paused program keeps its place, its waits and its calls, and goes on from
    // the same statement, unasked, after resume().
    void setPauseCheck(std::function<bool(std::size_t line)> check) {
        m_pauseCheck = std::move(check);
    }
    void resume() { m_paused = false; }
    bool paused() const { return m_paused; }

    // Immediate settings and moves.
    void moveTo(double target) { m_target = target; }
    void moveBy(double distance) { moveTo(m_target + distance); }
    void setSpeed(double speed) { m_speed = speed; }
    void setAcceleration(double acceleration) { m_acceleration = acceleration; }
    // Hold on keeps the slide where it is and lets it move; hold off lets it be pushed.
    void setHold(bool on);
    void switchOutput(int n, bool on);   // n 1..8; outputs beyond the wired four change nothing
    void setInput(int number, bool on);  // number 1..8
    void setPosition(double x);          // the slide moved by hand (hold off)
    // An operand's value: a number, a variable, or a variable plus or minus an operand;
    // nothing when it is none of these or breaks the limit.
    std::optional<double> value(const std::string& operand, const Limit& limit) const;
    // Records a fault that stopped a statement or a command.
    void fail(Fault fault);

    double position() const { return m_position; }
    double target() const { return m_target; }
    // How far the slide has moved under its own power: a coordinate set anew (CS) or a push
    // by hand is no travel.
    double travelled() const { return m_travelled; }
    // Until when (seconds) the program's last delay holds it.
    double delayUntil() const { return m_waitUntil; }
    int outputs() const { return m_outputs; }
    int inputWord() const;
    bool running() const { return m_running; }
    bool holding() const { return m_hold; }
    const std::vector<std::string>& storedProgram() const { return m_program; }
    bool programSaved() const { return m_programSaved; }
    double speed() const { return m_speed; }
    // How fast the slide moves now (with accelerate: along its ramp).
    double velocity() const { return m_velocity; }
    // A variable of the program ("#L1"), if the program has set it.
    std::optional<double> variable(const std::string& name) const;
    // The lines (1-based) of the calls waiting for their return, the first call first.
    std::vector<std::size_t> callLines() const;
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
    void advanceTo(double now);
    void step(double now);
    // One statement whose operands are read: false when it stops the program's steps for
    // now (a wait, a halt, a fault).
    bool execute(const Statement& s, std::optional<double> a, std::optional<double> b, double now);
    std::optional<bool> flow(const Statement& s, std::optional<double> a);
    void perform(const Statement& s, std::optional<double> a, std::optional<double> b);
    bool jump(const Statement& s, const std::string& label);
    void call(const Statement& s, const std::string& label);
    bool input(double number) const;
    bool motionDone() const { return m_position == m_target; }
    void move(double dt);

    MachineOptions m_options;
    std::vector<std::string> m_program;
    bool m_programSaved = false;

    double m_position = 0;
    double m_target = 0;
    double m_speed = 100;          // VM, units per second
    double m_acceleration = 2000;  // VA
    double m_lastTime = -1;
    double m_travelled = 0;
    bool m_hold = true;
    int m_inputs = 0;
    int m_outputs = 0;

    bool m_running = false;
    std::vector<Statement> m_code;
    std::size_t m_pc = 0;
    std::vector<std::size_t> m_returns;
    std::map<std::string, std::size_t> m_labels;  // label → its statement, first one wins
    long long m_executed = 0;
    std::optional<InputWait> m_waiting;
    std::set<std::size_t> m_haltLines;
    std::function<bool(std::size_t)> m_pauseCheck;
    std::size_t m_askedLine = 0;
    bool m_paused = false;
    std::size_t m_haltedAt = 0;
    // When the next statement may start: each takes kStatementSeconds; a wait that held the
    // program brings it up to the moment the wait is looked at again.
    double m_programClock = 0;
    bool m_standing = false;  // the last statement looked at waits
    double m_velocity = 0;    // along the move, with accelerate
    std::map<std::string, double> m_variables;
    double m_waitUntil = 0;
    std::optional<Fault> m_fault;
    std::string m_error;
};

}  // namespace controller
