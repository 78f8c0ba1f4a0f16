// tq4c --run against the controller simulator: a run measured to its end, one that does
// not end in its time, and the controllers and programs it cannot run, each with its exit
// status; every run it measured is in the run history. tq4c --watch following what the
// controller holds with a program's model.
#include "files/programfile.h"
#include "session/runhistory.h"
#include "simulatorprocess.h"
#include "support/programrows.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace tql;

namespace {

using Simulator = sim::SimulatorProcess;

const QList<Row> kToAndFro = {{"VM", "200", "速度", "-", "-"},
                              {"POINT", "絕對移動", "40", "-", "-"},
                              {"POINT", "絕對移動", "0", "-", "-"}};

struct Tq4c {
    int status = -1;
    QString out;
    QString err;
};

// tq4c with the options and a program file of the rows, its settings and history in home.
Tq4c tq4c(const QTemporaryDir& home, const QStringList& options, const QList<Row>& rows) {
    const QString program = home.filePath("run.tq4");
    if (!saveProgramFile(program, test::tableOf(rows), int(rows.size())).error.isEmpty()) {
        return {};
    }
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("HOME", home.path());
    for (const char* name :
         {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "LANGUAGE", "LC_ALL", "LC_MESSAGES"}) {
        environment.remove(name);
    }
    environment.insert("LANG", "C.UTF-8");  // its messages in Chinese
    process.setProcessEnvironment(environment);
    process.start(TQ4C_PATH, options + QStringList{program});
    if (!process.waitForFinished(20000)) {
        return {};
    }
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

}  // namespace

Q_DECLARE_METATYPE(QList<Row>)

class TestTq4cRun : public QObject {
    Q_OBJECT

private slots:
    void aRunOnTheSimulator_data() {
        QTest::addColumn<QStringList>("simulator");
        QTest::addColumn<QList<Row>>("rows");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("says");  // on standard output, or else on standard error
        QTest::addColumn<int>("kept");      // runs in the history
        const QList<Row>& toAndFro = kToAndFro;
        QTest::newRow("ended") << QStringList{} << toAndFro << QStringList{} << 0
                               << "實測執行時間: " << 1;
        QTest::newRow("not ended in time")
            << QStringList{} << toAndFro << QStringList{"--timeout", "0.2"} << 3
            << "執行 0.2 秒仍未結束, 已停止程式" << 1;
        QTest::newRow("a program the translator refuses")
            << QStringList{} << QList<Row>{{"LOOP", "3", "迴圈", "-", "-"}} << QStringList{} << 1
            << "迴圈" << 0;
        QTest::newRow("a controller that is off")
            << QStringList{"--silent"} << toAndFro << QStringList{} << 1 << "通訊有誤" << 0;
        QTest::newRow("no calibration kept")
            << QStringList{} << toAndFro << QStringList{"--calibration", "COM9"} << 1
            << "no calibration is kept for COM9" << 0;
    }

    void aRunOnTheSimulator() {
        QFETCH(QStringList, simulator);
        QFETCH(QList<Row>, rows);
        QFETCH(QStringList, options);
        QFETCH(int, status);
        QFETCH(QString, says);
        QFETCH(int, kept);
        QTemporaryDir home;
        const Simulator sim(simulator);
        QVERIFY(!sim.device.isEmpty());
        const Tq4c run = tq4c(home, QStringList{"--run", sim.device} + options, rows);
        QCOMPARE(run.status, status);
        QVERIFY2(run.out.contains(says) || run.err.contains(says), qPrintable(run.out + run.err));
        const std::vector<RunRecord> runs =
            RunHistory(home.filePath(".local/share/tql400/runs.sqlite")).runs();
        QCOMPARE(int(runs.size()), kept);
        if (kept == 0) {
            return;
        }
        QCOMPARE(runs[0].outcome, status == 0 ? RunOutcome::Ended : RunOutcome::TimedOut);
        QCOMPARE(runs[0].port, sim.device);
        QCOMPARE(runs[0].file, home.filePath("run.tq4"));
        QCOMPARE(runs[0].hash, programHash(test::tableOf(rows), int(rows.size())));
        QCOMPARE(runs[0].measured.has_value(), status == 0);
        QVERIFY(runs[0].estimate);
    }

    // The controller runs what --run left on it; --watch follows it with a program's model.
    void aWatchOfWhatTheControllerHolds_data() {
        QTest::addColumn<QList<Row>>("watched");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("says");
        QTest::newRow("the program it holds") << kToAndFro << 0 << "執行完畢 (實測 ";
        QList<Row> further = kToAndFro;
        further[1][2] = "60";
        QTest::newRow("a move further") << further << 4 << "實機與程式不符, 約在第 2 列";
    }

    void aWatchOfWhatTheControllerHolds() {
        QFETCH(QList<Row>, watched);
        QFETCH(int, status);
        QFETCH(QString, says);
        QTemporaryDir home;
        const Simulator sim({});
        QCOMPARE(tq4c(home, {"--run", sim.device}, kToAndFro).status, 0);
        const Tq4c watch = tq4c(home, {"--watch", sim.device}, watched);
        QCOMPARE(watch.status, status);
        QVERIFY2(watch.out.contains(says), qPrintable(watch.out + watch.err));
        QVERIFY2(watch.out.contains(" 第 1 列 VM"), qPrintable(watch.out));  // as the model ran it
    }
};

QTEST_GUILESS_MAIN(TestTq4cRun)
#include "tst_tq4crun.moc"
