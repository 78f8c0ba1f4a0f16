#pragma once

#include "program/programtable.h"
#include "program/switches.h"
#include "translator/dryrun.h"

#include <QString>

#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <utility>
#include <vector>

// The shadow run: the controller says neither which row it runs nor whether it runs, so the
// model runs the program beside it in step with the clock, from "G", fed the inputs the poll
// reads, and every polled position is held against the model's. It tells the row the
// machine is running as far as the model can tell, the moment the two part, and the end.
namespace tql {

struct ShadowSetup {
    double startPosition = 0;  // the slide when "G" went out
    InputStates inputs{};      // the inputs last read before it
    controller::MotionScale motion;
    // The calibration's residual: how far the model's moves are off the machine's, in
    // seconds; it widens the moment a reading may belong to.
    double residual = 0;
};

enum class ShadowState {
    Following,
    Ended,         // the model ended and the slide stands where it left it
    StoppedEarly,  // the slide stands still while the model still moves
    Differs,       // two readings in a row where the model's slide never was
    CannotFollow,  // a row the model does not know, a reading that is no position
};

// What the comparison allows: a reading belongs to the model if the model's slide was
// within kDistance of it at some moment within kTiming (and the residual) of the reading.
// The poll's own timing (the query's way, the thread's wake-up) takes a few milliseconds.
struct ShadowTolerance {
    static constexpr double kDistance = 1.0;
    static constexpr double kTiming = 0.025;
};

class ShadowRun {
public:
    ShadowRun(const ProgramTable& table, int RowCounter, const ShadowSetup& setup);
    ~ShadowRun();
    ShadowRun(const ShadowRun&) = delete;
    ShadowRun& operator=(const ShadowRun&) = delete;

    // A polled position `at` seconds after "G"; readings come in time order.
    void position(double at, double position);
    // A poll whose "?PE" was answered with text or silence: the run is no longer followed.
    void unread(double at, const QString& reply);
    // The inputs as "?INP" read them `at` seconds after "G".
    void inputs(double at, const InputStates& inputs);
    // The port is gone: nothing more will be read.
    void lost();

    ShadowState state() const { return m_state; }
    bool following() const { return m_state == ShadowState::Following; }
    // The row the model says the machine is running; once judged, the row the judgement
    // names (where the two parted, where the model stopped following, 0 when it ended).
    int row() const { return m_row; }
    // The model as it stands, for the watch panel, its time on the run's clock.
    Watch model() const;
    // The last polled position.
    std::optional<double> machinePosition() const;
    // "實機與程式不符, 約在第 N 列", "執行完畢 (實測 5.120 秒)", ...; empty while following.
    QString verdict() const { return m_verdict; }
    // What may have caused a difference, a line each; empty for anything else.
    QStringList causes() const;
    // The machine's run time, once ended.
    std::optional<double> seconds() const { return m_seconds; }
    // The rows the model ran since the last take, in order, with their times after "G".
    std::vector<TracedRow> takeRows() { return std::exchange(m_rows, {}); }

private:
    // The machine's own step: at the slide's top speed it moves half a millimetre in one,
    // so a reading cannot fall between two samples.
    static constexpr double kStep = 0.001;

    // The model's slide at a moment of the clock since "G".
    struct Sample {
        double at = 0;
        double position = 0;
        bool moving = false;
        int row = 0;
    };
    struct Match {
        bool found = false;
        bool telling = false;  // the moment is narrow enough to set the model's clock by
        double at = 0;         // the moment nearest the reading
        double from = 0;       // the first and the last moment within reach
        double to = 0;
    };
    // How far the machine may be ahead of the model, in seconds.
    struct Lead {
        double lo = 0;
        double hi = 0;
    };
    // One account of what the machine does: the model on a clock of its own. There is one,
    // and a second while an input the program decided on may have changed unseen.
    struct Follower {
        explicit Follower(const DryRunner& run) : model(run) {}
        DryRunner model;
        // The run's clock less the model's: it grows while the model waits for an input it
        // has not seen change, and is set by the readings.
        double offset = 0;
        double modelAt = 0;  // the model's own clock
        bool stuck = false;  // the model waits on an input it has not seen change
        double stuckSince = 0;
        std::optional<double> modelEnd;  // on the model's clock, once it ran to its end
        // After a wait released by an input the poll saw change, until a reading tells
        // when the machine went on.
        Lead lead;
        std::deque<Sample> samples;  // the last seconds of the model
        std::vector<TracedRow> rows;
    };
    // A decision of the program on an input (a wait, a jump or a call on it), taken on the
    // input as last read: the machine may have found it otherwise.
    struct Doubt {
        std::unique_ptr<Follower> otherwise;
        int input = 0;
        bool taken = false;      // the input as the model took it
        bool confirmed = false;  // and read otherwise since
    };

    // The follower run on to `at` on the clock, every millisecond sampled; the main one
    // stops at each decision on an input and doubts it.
    void advance(Follower& follower, double at, bool main);
    void sample(Follower& follower);
    void doubt(const Follower& follower);
    // The main follower's rows as they came: one the model does not know, its end.
    void review();
    // Whether the reading belongs to the follower; a wait it stands at may be released.
    Match belongs(Follower& follower, double at, double position, bool mayRelease) const;
    // model: the follower's, or as it would stand had a wait been released now; lead: how
    // far ahead the machine may be.
    Match match(const Follower& follower, double at, double position, const DryRunner& model,
                Lead lead) const;
    // The clock set by a reading that belonged.
    void settle(Follower& follower, const Match& found, double at, bool main);
    void takeInputs(Follower& follower, double at, const InputStates& inputs) const;
    Lead releasedSince(const Follower& follower, double at) const;
    void judge(ShadowState state, int row, const QString& verdict);
    // still: the last two readings found the slide standing.
    void judgeDifference(bool still);

    std::unique_ptr<Follower> m_main;
    std::optional<Doubt> m_doubt;
    double m_timing;
    std::set<int> m_unknownRows;  // rows whose controller text the model does not know
    struct Decision {
        int input = 0;
        bool waits = false;     // a wait, not a jump or a call
        bool waitsFor = false;  // the state a wait waits for
    };
    std::map<int, Decision> m_decisions;  // rows that decide on an input
    double m_inputsAt = 0;                // when the inputs were last read
    std::optional<double> m_lastReading;  // the last position read
    double m_lastGood = 0;                // when a reading last belonged to the model
    double m_firstMiss = 0;               // the first of the readings in a row that did not
    double m_firstMissPosition = 0;
    int m_misses = 0;
    std::vector<TracedRow> m_rows;
    ShadowState m_state = ShadowState::Following;
    int m_row = 0;
    QString m_verdict;
    std::optional<double> m_seconds;
};

}  // namespace tql
