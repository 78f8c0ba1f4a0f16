// The run history's store: what it keeps comes back, older databases are brought up to
// date, and a database it cannot use is said so without taking anything else down.
#include "session/runhistory.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

using namespace tql;

namespace {

RunRecord aRun(double measured) {
    RunRecord run;
    run.when = QDateTime(QDate(2026, 12, 9), QTime(8, 30, 15, 250), Qt::UTC);
    run.file = "/home/op/程式, 第二版.tq4";
    run.hash = QString(64, u'a');
    run.port = "/dev/ttyS0";
    run.estimate = 5.0;
    run.measured = measured;
    run.estimateCycle = 1.0;
    run.measuredCycle = measured / 5;
    run.calibration = "速度 × 0.950, 不加減速 (殘差 1.0 ms, 8 個移動)";
    run.rows = {{3, 5, 0.55, 0.58}, {4, 5, 0.45, 0.44}};
    return run;
}

// A second connection to the same file, by raw SQL: as another tool, or an older one.
struct RawDatabase {
    explicit RawDatabase(const QString& path) {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "raw");
        db.setDatabaseName(path);
        QVERIFY(db.open());
    }
    ~RawDatabase() {
        QSqlDatabase::database("raw").close();
        QSqlDatabase::removeDatabase("raw");
    }
    bool exec(const QString& statement) const {
        QSqlQuery query(QSqlDatabase::database("raw"));
        return query.exec(statement);
    }
    int version() const {
        QSqlQuery query(QSqlDatabase::database("raw"));
        query.exec("PRAGMA user_version");
        return query.next() ? query.value(0).toInt() : -1;
    }
};

}  // namespace

class TestRunHistory : public QObject {
    Q_OBJECT

private slots:
    void whatIsKeptComesBack() {
        QTemporaryDir dir;
        const QString path = dir.filePath("data/tql400/runs.sqlite");  // folders made
        {
            RunHistory history(path);
            QVERIFY2(!history.error(), qPrintable(history.error().value_or("")));
            QVERIFY(!history.add(aRun(5.2)));
            RunRecord endless = aRun(0);
            endless.estimate.reset();
            endless.measured.reset();
            endless.outcome = RunOutcome::Stopped;
            endless.rows.clear();
            endless.file.clear();  // a program never saved, run without calibration
            endless.calibration = QString();
            QVERIFY(!history.add(endless));
        }
        const std::vector<RunRecord> runs = RunHistory(path).runs();
        QCOMPARE(runs.size(), size_t(2));
        const RunRecord expected = aRun(5.2);
        QCOMPARE(runs[0].when, expected.when);
        QCOMPARE(runs[0].file, expected.file);
        QCOMPARE(runs[0].measured, std::optional(5.2));
        QCOMPARE(runs[0].calibration, expected.calibration);
        QCOMPARE(runs[0].rows.size(), size_t(2));
        QCOMPARE(runs[0].rows[0].measured, 0.58);
        QCOMPARE(runs[1].outcome, RunOutcome::Stopped);
        QVERIFY(!runs[1].estimate && !runs[1].measured && runs[1].rows.empty());

        const QList<QByteArray> lines = runsCsv(runs).split('\n');
        QCOMPARE(lines[0],
                 "when,file,hash,port,estimate,measured,estimate_cycle,measured_cycle,"
                 "calibration,outcome");
        QCOMPARE(lines[1], "2026-12-09T08:30:15.250Z,\"/home/op/程式, 第二版.tq4\"," +
                               QByteArray(64, 'a') +
                               ",/dev/ttyS0,5.000,5.200,1.000,1.040,\"速度 × 0.950, 不加減速 "
                               "(殘差 1.0 ms, 8 個移動)\",ended");
        QVERIFY2(lines[2].endsWith(",/dev/ttyS0,,,1.000,0.000,,stopped"), lines[2].constData());
        QVERIFY(lines[2].contains("Z,," + QByteArray(64, 'a')));
    }

    // A database of the first schema keeps its runs and takes the new ones whole.
    void aFirstSchemaDatabaseIsBroughtUpToDate() {
        QTemporaryDir dir;
        const QString path = dir.filePath("runs.sqlite");
        {
            const RawDatabase old(path);
            QVERIFY(
                old.exec("CREATE TABLE runs (id INTEGER PRIMARY KEY, at TEXT NOT NULL, "
                         "file TEXT NOT NULL, hash TEXT NOT NULL, port TEXT NOT NULL, "
                         "estimate REAL, measured REAL, calibration TEXT NOT NULL)"));
            QVERIFY(
                old.exec("INSERT INTO runs (at, file, hash, port, estimate, measured, "
                         "calibration) VALUES ('2026-01-02T03:04:05.000Z', 'a.tq4', 'h', "
                         "'1', 2.5, 2.6, '')"));
            QVERIFY(old.exec("PRAGMA user_version = 1"));
        }
        {
            RunHistory history(path);
            QVERIFY2(!history.error(), qPrintable(history.error().value_or("")));
            QVERIFY(!history.add(aRun(5.1)));
            const std::vector<RunRecord> runs = history.runs();
            QCOMPARE(runs.size(), size_t(2));
            QCOMPARE(runs[0].file, QString("a.tq4"));
            QCOMPARE(runs[0].measured, std::optional(2.6));
            QCOMPARE(runs[0].outcome, RunOutcome::Ended);
            QVERIFY(runs[0].rows.empty() && !runs[0].measuredCycle);
            QCOMPARE(runs[1].rows.size(), size_t(2));
        }
        QCOMPARE(RawDatabase(path).version(), RunHistory::kSchemaVersion);
    }

    // Damaged, of a newer tool, or in a place no folder can be made: said, nothing kept,
    // the file left as it was.
    void aDatabaseItCannotUseIsSaid_data() {
        QTest::addColumn<QByteArray>("content");  // the file's bytes; empty: a newer schema
        QTest::addColumn<QString>("said");
        QTest::newRow("damaged") << QByteArray(4096, '\x5a') << "";
        QTest::newRow("of a newer tool") << QByteArray() << "第 9 版";
    }

    void aDatabaseItCannotUseIsSaid() {
        QFETCH(QByteArray, content);
        QFETCH(QString, said);
        QTemporaryDir dir;
        const QString path = dir.filePath("runs.sqlite");
        if (content.isEmpty()) {
            const RawDatabase newer(path);
            QVERIFY(newer.exec("CREATE TABLE future (x)"));
            QVERIFY(newer.exec("PRAGMA user_version = 9"));
        } else {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        QFile before(path);
        QVERIFY(before.open(QIODevice::ReadOnly));
        const QByteArray bytes = before.readAll();
        {
            RunHistory history(path);
            QVERIFY(history.error());
            QVERIFY2(history.error()->startsWith("執行紀錄 ") && history.error()->contains(said),
                     qPrintable(*history.error()));
            QCOMPARE(history.add(aRun(5)), history.error());
            QVERIFY(history.runs().empty());
        }
        QFile after(path);
        QVERIFY(after.open(QIODevice::ReadOnly));
        QCOMPARE(after.readAll(), bytes);

        QVERIFY(RunHistory(dir.filePath("runs.sqlite/below/runs.sqlite")).error());
    }

    // Another writer holding the file: the run is not kept and that is said, after a
    // moment's wait, not a hang; once it lets go, the next run is kept.
    void aLockedDatabaseIsSaid() {
        QTemporaryDir dir;
        const QString path = dir.filePath("runs.sqlite");
        RunHistory history(path);
        QVERIFY(!history.error());
        {
            const RawDatabase other(path);
            QVERIFY(other.exec("BEGIN EXCLUSIVE"));
            const std::optional<QString> refused = history.add(aRun(5));
            QVERIFY(refused);
            QVERIFY2(refused->startsWith("執行紀錄 "), qPrintable(*refused));
            QVERIFY(other.exec("ROLLBACK"));
        }
        QVERIFY(!history.add(aRun(5)));
        QCOMPARE(history.runs().size(), size_t(1));
    }
};

QTEST_GUILESS_MAIN(TestRunHistory)
#include "tst_runhistory.moc"
