#pragma once

#include "program/programtable.h"
#include "translator/calibration.h"
#include "translator/dryrun.h"

#include <QStringList>

#include <optional>
#include <vector>

// 量測執行: a run of the machine, followed by its polled positions against the model's
// moves. The machine says nothing of the row it runs; the model says where each move ends
// and when, and the polls show when the slide got there.
namespace tql {

// A move the model makes: its row, the position it ends at, and when (seconds after "G").
struct ModelMoveEnd {
    int row = 0;
    double position = 0;
    double at = 0;
    // A move under the slide's power (not a zeroing), at these settings.
    bool powered = true;
    double speedSetting = 0;
    double acceleration = 0;
};

// The move ends of a run the model made with its trace kept (DryRunSetup::trace): the rows
// that move the slide (absolute and relative moves, homing), in the order they ran.
std::vector<ModelMoveEnd> modelMoveEnds(const ProgramTable& table,
                                        const std::vector<TracedRow>& trace);

// What one move row took, on the average of the times it ran: in the model and measured.
struct RowTiming {
    int row = 0;
    int times = 0;
    double model = 0;
    double measured = 0;
};

// The readings matched to the model's move ends, in order. A move has ended once a reading
// stands on its target, lies beyond it, or shows the slide turned back; when it ended is
// told by the last reading on its way there, and the time the model needed from that
// position to the end. A move to where the slide already stands shows nothing, and is taken
// to last as modelled. The run has ended when every move has, the slide stands still, and
// the time the model spends after its last move has passed.
class MeasuredRun {
public:
    // The model's run: its move ends, its positions over time (DryRunResult::samples), its
    // run time: nothing when it does not end (an endless loop, a wait nothing releases),
    // and the run is followed until it is stopped.
    // modelled: the motion the model ran with.
    MeasuredRun(std::vector<ModelMoveEnd> model, std::vector<std::pair<double, double>> samples,
                std::optional<double> modelSeconds, double tolerance = 0.01,
                controller::MotionScale modelled = {});
    // From a model run in steps that kept its trace and has ended.
    static MeasuredRun following(const ProgramTable& table, const DryRunner& model);

    // A polled position, `at` seconds after "G"; readings come in time order.
    void add(double at, double position);
    // A poll whose reply was no position: none at all (reply empty) or text.
    void unread(double at, const QString& reply);
    // The readings added until the run ended.
    const std::vector<std::pair<double, double>>& readings() const { return m_readings; }

    bool ended() const { return m_ended; }
    // The move ends reached so far, of how many.
    int reached() const { return int(m_measured.size()); }
    int moves() const { return int(m_model.size()); }
    // The machine's run time, once ended: its last move's end, and what the model spends
    // after it.
    std::optional<double> seconds() const;
    // The model's run time; nothing when the model does not end.
    std::optional<double> modelSeconds() const { return m_modelSeconds; }
    // The periods of the first move row, from one end of it to the next, as measured; their
    // mean, and the model's; nothing before that row has ended twice.
    std::vector<double> periods() const;
    std::optional<double> cycle() const;
    std::optional<double> modelCycle() const;
    // Every move row that ended, in row order.
    std::vector<RowTiming> rows() const;
    // The powered moves that ended, each as long as measured less what the model spends
    // besides moving between the move before and its end: what a calibration fits. Only
    // moves whose start and end readings on their ways timed are told: a move over between
    // two polls is known only to within a poll.
    std::vector<MeasuredMove> measuredMoves() const;

    // "實測執行時間: 5.120 秒 (模擬 5.000 秒)", the cycle, then a line per move row, as the
    // dry-run window shows them. `stopped`: the operator stopped it before its end.
    QStringList summary(bool stopped) const;

private:
    struct Reading {
        double at = 0;
        double position = 0;
    };

    void matchWhatCannotBeSeen();
    // Where move k starts, and which way it goes (+1, -1).
    double from(size_t k) const;
    // Whether the reading is on the way back of the move after k rather than still on k's.
    bool onTheWayBack(size_t k, double at, double position) const;
    // When the model's move k passes `position`.
    double modelPassing(size_t k, double position) const;
    // The model's time from the last moment of move k at `position` to its end.
    double modelTimeLeft(size_t k, double position) const;
    // The model's time from the end of the move before k to move k reaching `position`.
    double modelTimeOut(size_t k, double position) const;

    std::vector<ModelMoveEnd> m_model;
    std::vector<std::pair<double, double>> m_samples;
    std::optional<double> m_modelSeconds;
    double m_tolerance;
    controller::MotionScale m_modelled;
    std::vector<std::pair<double, double>> m_readings;
    std::vector<double> m_measured;  // when each move ended, in order
    // Whether readings on its way timed it, or only the reading that found it ended.
    std::vector<bool> m_timed;
    std::optional<Reading> m_last;       // the last reading
    std::optional<Reading> m_approach;   // the last reading on the next move's way
    std::optional<Reading> m_wayBefore;  // the one before it
    bool m_still = false;                // the last two readings stood on one position
    double m_now = 0;
    bool m_ended = false;
    int m_unread = 0;  // polls answered with no position
    QString m_lastUnread;
};

}  // namespace tql
