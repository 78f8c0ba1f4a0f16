#include "session/runhistory.h"

#include "files/csv.h"
#include "files/programfile.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QVariant>

#include <atomic>

namespace tql {
namespace {

struct Texts {
    Q_DECLARE_TR_FUNCTIONS(RunHistory)
};

// Each schema step takes a database from the version before it to its own; the first
// creates it. Steps are never edited once released: a new version is a new step.
const std::vector<std::vector<const char*>> kSteps = {
    // 1: a run, its estimate and what was measured.
    {"CREATE TABLE runs (id INTEGER PRIMARY KEY, at TEXT NOT NULL, file TEXT NOT NULL, "
     "hash TEXT NOT NULL, port TEXT NOT NULL, estimate REAL, measured REAL, "
     "calibration TEXT NOT NULL)"},
    // 2: how the run ended, its cycles, and each move row's times.
    {"ALTER TABLE runs ADD COLUMN outcome TEXT NOT NULL DEFAULT 'ended'",
     "ALTER TABLE runs ADD COLUMN estimate_cycle REAL",
     "ALTER TABLE runs ADD COLUMN measured_cycle REAL",
     "CREATE TABLE run_rows (run INTEGER NOT NULL REFERENCES runs(id), row INTEGER NOT NULL, "
     "times INTEGER NOT NULL, model REAL NOT NULL, measured REAL NOT NULL)"},
};
static_assert(RunHistory::kSchemaVersion == 2);

// A second writer (another tool recording its run) holds the file for a moment only.
constexpr int kBusyMilliseconds = 250;

const char* outcomeKey(RunOutcome outcome) {
    switch (outcome) {
        case RunOutcome::Ended:
            return "ended";
        case RunOutcome::Stopped:
            return "stopped";
        case RunOutcome::TimedOut:
            return "timeout";
        case RunOutcome::LinkLost:
            return "lost";
    }
    return "ended";
}

RunOutcome outcomeOf(const QString& key) {
    for (const RunOutcome outcome :
         {RunOutcome::Ended, RunOutcome::Stopped, RunOutcome::TimedOut, RunOutcome::LinkLost}) {
        if (key == QLatin1String(outcomeKey(outcome))) {
            return outcome;
        }
    }
    return RunOutcome::Ended;
}

// An empty text is kept as empty, never as SQL's NULL.
QVariant text(const QString& value) {
    return QVariant(value.isNull() ? QStringLiteral("") : value);
}

QVariant nullable(const std::optional<double>& value) {
    return value ? QVariant(*value) : QVariant(QMetaType::fromType<double>());
}

std::optional<double> optionalOf(const QVariant& value) {
    return value.isNull() ? std::nullopt : std::optional(value.toDouble());
}

}  // namespace

QString programHash(const ProgramTable& table, int rowCounter) {
    const Encoded encoded = encodeProgram(table, rowCounter);
    QByteArray bytes = encoded.bytes;
    if (!encoded.error.isEmpty()) {  // rows no file can hold still have a hash of their own
        for (int row = 0; row <= rowCounter; ++row) {
            bytes += formatRow(table[size_t(row)]).toUtf8() + '\n';
        }
    }
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

RunRecord recordOf(const MeasuredRun& run, RunOutcome outcome) {
    RunRecord record;
    record.outcome = outcome;
    record.estimate = run.modelSeconds();
    if (run.ended()) {
        record.measured = run.seconds();
    }
    record.estimateCycle = run.modelCycle();
    record.measuredCycle = run.cycle();
    record.rows = run.rows();
    return record;
}

QString RunHistory::defaultPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/tql400/runs.sqlite");
}

RunHistory::RunHistory(const QString& path) {
    static std::atomic<int> opened = 0;
    m_connection = QStringLiteral("tql400-runs-%1").arg(++opened);
    m_database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    if (!m_database.isValid()) {
        m_error = Texts::tr("執行紀錄無法使用: 沒有 SQLite 的資料庫驅動程式");
        return;
    }
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        m_error =
            Texts::tr("執行紀錄無法使用: 無法建立資料夾 %1").arg(QFileInfo(path).absolutePath());
        return;
    }
    m_database.setDatabaseName(path);
    m_database.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyMilliseconds));
    if (!m_database.open()) {
        m_error = failure(m_database.lastError().text());
        return;
    }
    m_error = migrate();
}

RunHistory::~RunHistory() {
    m_database.close();
    m_database = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connection);
}

QString RunHistory::failure(const QString& what) const {
    return Texts::tr("執行紀錄 %1 無法使用: %2")
        .arg(QDir::toNativeSeparators(m_database.databaseName()), what);
}

// The database brought up to this tool's schema, a step at a time, each whole or not at all.
std::optional<QString> RunHistory::migrate() {
    QSqlQuery query(m_database);
    if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next()) {
        return failure(query.lastError().text());  // not a database at all
    }
    const int version = query.value(0).toInt();
    if (version > kSchemaVersion) {
        return failure(Texts::tr("它是較新版本的工具建立的 (第 %1 版)").arg(version));
    }
    for (int step = version; step < kSchemaVersion; ++step) {
        if (!m_database.transaction()) {
            return failure(m_database.lastError().text());
        }
        for (const char* statement : kSteps[size_t(step)]) {
            if (!query.exec(QString::fromLatin1(statement))) {
                const QString why = query.lastError().text();
                m_database.rollback();
                return failure(why);
            }
        }
        if (!query.exec(QStringLiteral("PRAGMA user_version = %1").arg(step + 1)) ||
            !m_database.commit()) {
            const QString why = query.lastError().text();
            m_database.rollback();
            return failure(why);
        }
    }
    return std::nullopt;
}

std::optional<QString> RunHistory::add(const RunRecord& record) {
    if (m_error) {
        return m_error;
    }
    if (!m_database.transaction()) {
        return failure(m_database.lastError().text());
    }
    QSqlQuery query(m_database);
    query.prepare(QStringLiteral(
        "INSERT INTO runs (at, file, hash, port, estimate, measured, calibration, outcome, "
        "estimate_cycle, measured_cycle) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    for (const QVariant& value :
         {QVariant(record.when.toUTC().toString(Qt::ISODateWithMs)), text(record.file),
          text(record.hash), text(record.port), nullable(record.estimate),
          nullable(record.measured), text(record.calibration),
          QVariant(QString::fromLatin1(outcomeKey(record.outcome))), nullable(record.estimateCycle),
          nullable(record.measuredCycle)}) {
        query.addBindValue(value);
    }
    bool written = query.exec();
    const QVariant id = query.lastInsertId();
    for (const RowTiming& timing : record.rows) {
        if (!written) {
            break;
        }
        query.prepare(QStringLiteral(
            "INSERT INTO run_rows (run, row, times, model, measured) VALUES (?, ?, ?, ?, ?)"));
        for (const QVariant& value : {id, QVariant(timing.row), QVariant(timing.times),
                                      QVariant(timing.model), QVariant(timing.measured)}) {
            query.addBindValue(value);
        }
        written = query.exec();
    }
    if (!written || !m_database.commit()) {
        const QString why =
            query.lastError().isValid() ? query.lastError().text() : m_database.lastError().text();
        m_database.rollback();
        return failure(why);
    }
    return std::nullopt;
}

std::vector<RunRecord> RunHistory::runs() const {
    std::vector<RunRecord> runs;
    if (m_error) {
        return runs;
    }
    QSqlQuery query(m_database);
    if (!query.exec(QStringLiteral(
            "SELECT id, at, file, hash, port, estimate, measured, calibration, outcome, "
            "estimate_cycle, measured_cycle FROM runs ORDER BY at, id"))) {
        return runs;
    }
    while (query.next()) {
        RunRecord record;
        record.id = query.value(0).toLongLong();
        record.when = QDateTime::fromString(query.value(1).toString(), Qt::ISODateWithMs);
        record.file = query.value(2).toString();
        record.hash = query.value(3).toString();
        record.port = query.value(4).toString();
        record.estimate = optionalOf(query.value(5));
        record.measured = optionalOf(query.value(6));
        record.calibration = query.value(7).toString();
        record.outcome = outcomeOf(query.value(8).toString());
        record.estimateCycle = optionalOf(query.value(9));
        record.measuredCycle = optionalOf(query.value(10));
        runs.push_back(record);
    }
    QSqlQuery rows(m_database);
    rows.prepare(QStringLiteral(
        "SELECT row, times, model, measured FROM run_rows WHERE run = ? ORDER BY row"));
    for (RunRecord& record : runs) {
        rows.addBindValue(record.id);
        if (!rows.exec()) {
            continue;
        }
        while (rows.next()) {
            record.rows.push_back({rows.value(0).toInt(), rows.value(1).toInt(),
                                   rows.value(2).toDouble(), rows.value(3).toDouble()});
        }
    }
    return runs;
}

namespace {

QByteArray csvNumber(const std::optional<double>& value) {
    return value ? QByteArray::number(*value, 'f', 3) : QByteArray();
}

}  // namespace

QByteArray runsCsv(const std::vector<RunRecord>& runs) {
    QByteArray csv =
        "when,file,hash,port,estimate,measured,estimate_cycle,measured_cycle,calibration,"
        "outcome\n";
    for (const RunRecord& run : runs) {
        csv += csvField(run.when.toUTC().toString(Qt::ISODateWithMs)) + ',' + csvField(run.file) +
               ',' + csvField(run.hash) + ',' + csvField(run.port) + ',' + csvNumber(run.estimate) +
               ',' + csvNumber(run.measured) + ',' + csvNumber(run.estimateCycle) + ',' +
               csvNumber(run.measuredCycle) + ',' + csvField(run.calibration) + ',' +
               outcomeKey(run.outcome) + '\n';
    }
    return csv;
}

QString outcomeText(RunOutcome outcome) {
    switch (outcome) {
        case RunOutcome::Ended:
            return Texts::tr("已結束");
        case RunOutcome::Stopped:
            return Texts::tr("已停止");
        case RunOutcome::TimedOut:
            return Texts::tr("逾時");
        case RunOutcome::LinkLost:
            return Texts::tr("連線中斷");
    }
    return {};
}

}  // namespace tql
