#pragma once

#include "program/programtable.h"
#include "translator/measuredrun.h"

#include <QByteArray>
#include <QDateTime>
#include <QSqlDatabase>
#include <QString>

#include <optional>
#include <vector>

// 執行紀錄: every measured run, kept in an SQLite database under the operator's data folder
// beside the estimate it was measured against, to see over weeks how the machine and the
// model agree. The database is a record only: one that cannot be opened, is damaged, locked
// or of a newer tool is said so, and the run it was to record is not the worse for it.
namespace tql {

enum class RunOutcome {
    Ended,     // the run seen to its end
    Stopped,   // 停止, before its end
    TimedOut,  // not ended within its time
    LinkLost,  // the port went, or the controller fell silent
};

struct RunRecord {
    qint64 id = 0;                   // given by the history
    QDateTime when;                  // when "G" went out
    QString file;                    // the program file; empty for a program never saved
    QString hash;                    // SHA-256 of the program as a .tq4 file holds it, hexadecimal
    QString port;                    // as the session names it
    std::optional<double> estimate;  // the model's run time; none for a run without end
    std::optional<double> measured;  // the machine's; none when it did not end
    std::optional<double> estimateCycle;
    std::optional<double> measuredCycle;
    QString calibration;  // the calibration the model ran with (calibrationText); empty: none
    RunOutcome outcome = RunOutcome::Ended;
    std::vector<RowTiming> rows;
};

// The program's hash as RunRecord keeps it: the same rows, the same hash, saved or not.
QString programHash(const ProgramTable& table, int rowCounter);

// A record of a measurement as it stands.
RunRecord recordOf(const MeasuredRun& run, RunOutcome outcome);

class RunHistory {
public:
    // ~/.local/share/tql400/runs.sqlite (the system's data folder for the tool).
    static QString defaultPath();
    // The schema this tool writes; older databases are brought up to it when opened.
    static constexpr int kSchemaVersion = 2;

    explicit RunHistory(const QString& path = defaultPath());
    ~RunHistory();
    RunHistory(const RunHistory&) = delete;
    RunHistory& operator=(const RunHistory&) = delete;

    // Why the history cannot be used, in the operator's words; nothing when it can.
    const std::optional<QString>& error() const { return m_error; }
    // Keeps the record (its id is the history's); why not, when it could not.
    std::optional<QString> add(const RunRecord& record);
    // Every run kept, the oldest first; nothing when the history cannot be read.
    std::vector<RunRecord> runs() const;

private:
    std::optional<QString> migrate();
    QString failure(const QString& what) const;

    QString m_connection;
    QSqlDatabase m_database;
    std::optional<QString> m_error;
};

// "when,file,hash,port,estimate,measured,estimate_cycle,measured_cycle,calibration,outcome",
// a line a run, UTF-8, for a spreadsheet.
QByteArray runsCsv(const std::vector<RunRecord>& runs);
// "已結束", "已停止", "逾時", "連線中斷".
QString outcomeText(RunOutcome outcome);

}  // namespace tql
