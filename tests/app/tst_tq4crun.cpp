// tq4c --run against the controller simulator: a run measured to its end, one that does
// not end in its time, and the controllers and programs it cannot run, each with its exit
// status; every run it measured is in the run history.
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
        const QList<Row> toAndFro = {{"VM", "200", "速度", "-", "-"},
                                     {"POINT", "絕對移動", "40", "-", "-"},
                                     {"POINT", "絕對移動", "0", "-", "-"}};
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
        const QString program = home.filePath("run.tq4");
        QVERIFY(saveProgramFile(program, test::tableOf(rows), int(rows.size())).error.isEmpty());
        const Simulator sim(simulator);
        QVERIFY(!sim.device.isEmpty());
        QProcess tq4c;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("HOME", home.path());
        environment.remove("XDG_DATA_HOME");
        environment.remove("XDG_CONFIG_HOME");
        tq4c.setProcessEnvironment(environment);
        tq4c.start(TQ4C_PATH, QStringList{"--run", sim.device} + options + QStringList{program});
        QVERIFY(tq4c.waitForFinished(20000));
        const QString out = QString::fromUtf8(tq4c.readAllStandardOutput());
        const QString err = QString::fromUtf8(tq4c.readAllStandardError());
        QCOMPARE(tq4c.exitCode(), status);
        QVERIFY2(out.contains(says) || err.contains(says), qPrintable(out + err));
        const std::vector<RunRecord> runs =
            RunHistory(home.filePath(".local/share/tql400/runs.sqlite")).runs();
        QCOMPARE(int(runs.size()), kept);
        if (kept == 0) {
            return;
        }
        QCOMPARE(runs[0].outcome, status == 0 ? RunOutcome::Ended : RunOutcome::TimedOut);
        QCOMPARE(runs[0].port, sim.device);
        QCOMPARE(runs[0].file, program);
        QCOMPARE(runs[0].hash, programHash(test::tableOf(rows), int(rows.size())));
        QCOMPARE(runs[0].measured.has_value(), status == 0);
        QVERIFY(runs[0].estimate);
    }
};

QTEST_GUILESS_MAIN(TestTq4cRun)
#include "tst_tq4crun.moc"
