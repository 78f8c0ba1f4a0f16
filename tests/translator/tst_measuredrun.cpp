// A machine's run followed by its polled positions against the model's moves: the machine
// here is the model itself, its clock slowed or stopped, polled every 50 ms.
#include "translator/measuredrun.h"

#include "support/programrows.h"

#include <QTest>

#include <algorithm>
#include <cmath>

using namespace tql;

namespace {

const Row kSpeed = {"VM", "100", "速度", "-", "-"};
const Row kTo100 = {"POINT", "絕對移動", "100", "-", "-"};
const Row kTo0 = {"POINT", "絕對移動", "0", "-", "-"};

// The model's position at a moment of its run, between its samples.
double positionAt(const DryRunResult& run, double t) {
    const auto& samples = run.samples;
    const auto after = std::lower_bound(samples.begin(), samples.end(), t,
                                        [](const auto& s, double at) { return s.first < at; });
    if (after == samples.begin()) {
        return samples.front().second;
    }
    if (after == samples.end()) {
        return samples.back().second;
    }
    const auto before = after - 1;
    const double f = (t - before->first) / (after->first - before->first);
    return before->second + f * (after->second - before->second);
}

}  // namespace

Q_DECLARE_METATYPE(QList<Row>)

class TestMeasuredRun : public QObject {
    Q_OBJECT

private slots:
    void followsTheMachine_data() {
        QTest::addColumn<QList<Row>>("rows");
        QTest::addColumn<double>("slower");   // the machine's time against the model's
        QTest::addColumn<double>("stuckAt");  // the slide stops for good here; < 0: never
        QTest::addColumn<bool>("ends");
        QTest::addColumn<bool>("timed");   // each row's time within 20 ms
        QTest::addColumn<double>("poll");  // seconds between readings
        const Row loop = {"LOOP", "3", "迴圈", "-", "-"};
        const Row loopEnd = {"LOOPEND", "迴圈結束", "-", "-", "-"};
        const QList<Row> cycles = {kSpeed, loop, kTo100, kTo0, loopEnd};
        QTest::newRow("as modelled") << cycles << 1.0 << -1.0 << true << true << 0.05;
        QTest::newRow("a slower machine") << cycles << 1.2 << -1.0 << true << true << 0.05;
        QTest::newRow("a faster machine") << cycles << 0.9 << -1.0 << true << true << 0.05;
        // Readings far apart may lie on either of two moves' ways: the one the time between
        // them fits is taken.
        const QList<Row> shortMoves = {
            kSpeed, loop, {"POINT", "絕對移動", "50", "-", "-"}, kTo0, loopEnd};
        QTest::newRow("as modelled, every 500 ms")
            << shortMoves << 1.0 << -1.0 << true << true << 0.5;
        QTest::newRow("slower, every 500 ms") << shortMoves << 1.1 << -1.0 << true << true << 0.5;
        QTest::newRow("the slide blocked on its way")
            << cycles << 1.0 << 2.5 << false << false << 0.05;
        // The first move goes where the slide stands; the delay after the last move is the
        // model's: neither shows on the slide.
        QTest::newRow("moves that show nothing")
            << QList<Row>{kSpeed, kTo0, kTo100, {"WT", "500", "延遲", "-", "-"}} << 1.0 << -1.0
            << true << true << 0.05;
        QTest::newRow("homing") << QList<Row>{kSpeed,
                                              kTo100,
                                              {"HOME", "回原點", "-", "-", "-"},
                                              kTo100}
                                << 1.1 << -1.0 << true << true << 0.05;
        // A zeroing jumps the position at once: when it did shows only within a poll, and
        // the move after it is timed from there.
        QTest::newRow("zeroing") << QList<Row>{kSpeed,
                                               kTo100,
                                               {"CS", " 0,0", "座標歸零", "-", "-"},
                                               kTo100}
                                 << 1.0 << -1.0 << true << false << 0.05;
    }

    void followsTheMachine() {
        QFETCH(QList<Row>, rows);
        QFETCH(double, slower);
        QFETCH(double, stuckAt);
        QFETCH(bool, ends);
        QFETCH(bool, timed);
        QFETCH(double, poll);
        test::ProgramRows p;
        for (const Row& r : rows) {
            p.add(r);
        }
        DryRunSetup setup;
        setup.trace = true;
        DryRunner model(p.table, p.rows, setup);
        model.run();
        const DryRunResult& run = model.result();
        QCOMPARE(run.end, DryRunEnd::Finished);
        MeasuredRun measured = MeasuredRun::following(p.table, model);
        for (double t = 0.27 * poll; t < run.seconds * slower + 2 && !measured.ended(); t += poll) {
            const double machine = stuckAt >= 0 ? std::min(t, stuckAt) : t;
            measured.add(t, positionAt(run, machine / slower));
        }
        QCOMPARE(measured.ended(), ends);
        if (!ends) {
            QVERIFY(measured.reached() < measured.moves());
            QVERIFY(measured.summary(true).front().startsWith("量測已停止"));
            const QString beyond =
                "已超過模擬執行時間的 10 倍仍未結束: 滑台是否受阻, 或程式在等待輸入?";
            QVERIFY(!measured.summary(false).contains(beyond));
            measured.add(run.seconds * 10 + 0.1, positionAt(run, stuckAt));
            QVERIFY(measured.summary(false).contains(beyond));
            return;
        }
        // Within 2 ms of the machine's own time when it moves as modelled, within 20 ms when
        // slower or faster, polled every 50 ms; polled seldom, a machine other than the
        // model is timed by the model between the polls.
        const double within = slower == 1 ? 0.002 : 0.02 + std::fabs(slower - 1) * (poll - 0.05);
        const double machineSeconds = run.seconds * slower;
        QVERIFY2(
            std::fabs(*measured.seconds() - machineSeconds) <= within,
            qPrintable(
                QString("measured %1 s, ran %2 s").arg(*measured.seconds()).arg(machineSeconds)));
        for (const double period : measured.periods()) {
            QVERIFY2(std::fabs(period - *measured.modelCycle() * slower) <= within,
                     qPrintable(QString("a cycle of %1 s").arg(period)));
        }
        for (const RowTiming& timing : measured.rows()) {
            QVERIFY(timing.times >= 1);
            if (!timed) {
                continue;
            }
            QVERIFY2(std::fabs(timing.measured - timing.model * slower) <= within,
                     qPrintable(QString("row %1: measured %2 s, modelled %3 s")
                                    .arg(timing.row)
                                    .arg(timing.measured)
                                    .arg(timing.model)));
        }
        QVERIFY(measured.summary(false).front().startsWith("實測執行時間"));
    }

    // A run the model never ends is followed until it is stopped, its cycles counted.
    void anEndlessRunIsFollowedUntilStopped() {
        test::ProgramRows p;
        p.add(kSpeed)
            .add({"LABLE", "A", "標籤", "-", "-"})
            .add(kTo100)
            .add(kTo0)
            .add({"GLABLE", "A", "跳至標籤", "-", "-"});
        DryRunSetup setup;
        setup.trace = true;
        setup.timeLimit = 20;
        DryRunner model(p.table, p.rows, setup);
        model.run();
        QCOMPARE(model.result().end, DryRunEnd::TimeLimit);
        MeasuredRun measured = MeasuredRun::following(p.table, model);
        for (double t = 0; t < 10; t += 0.05) {
            measured.add(t, positionAt(model.result(), t));
        }
        QVERIFY(!measured.ended());
        QVERIFY(measured.cycle());
        QVERIFY(std::fabs(*measured.cycle() - *measured.modelCycle()) <= 0.02);
        QVERIFY(measured.summary(false).contains("模擬執行沒有跑完: 量測到按下停止為止"));
        measured.unread(10.05, "");
        QVERIFY(measured.summary(false).contains("控制器沒有回答位置 (?PE), 1 次"));
        measured.unread(10.1, "ERR\r");
        QVERIFY(
            measured.summary(true).contains("控制器對位置 (?PE) 的回答不是數字: 「ERR」, 2 次"));
        QVERIFY(measured.summary(true).front().endsWith("經過 10.100 秒"));
    }

    // The machine is the model with a motion of its own; its run, polled every 50 ms and
    // followed by the model as set, calibrates the model to it.
    void calibrationBringsTheModelToTheMachine_data() {
        QTest::addColumn<double>("speed");
        QTest::addColumn<double>("ramp");
        QTest::addColumn<int>("timed");  // moves timed by readings on their ways
        QTest::newRow("as set") << 1.0 << 1.0 << 8;
        QTest::newRow("slower, ramping longer") << 0.9 << 1.5 << 8;
        QTest::newRow("faster, ramping sooner") << 1.1 << 0.6 << 8;
        // The short move is over between two polls, and the move after it starts from there.
        QTest::newRow("at speed at once") << 1.0 << 0.0 << 4;
    }

    void calibrationBringsTheModelToTheMachine() {
        QFETCH(double, speed);
        QFETCH(double, ramp);
        QFETCH(int, timed);
        // Long moves and short ones, slow and fast: the speed and the ramp part.
        test::ProgramRows p;
        p.add(kSpeed)
            .add({"LOOP", "2", "迴圈", "-", "-"})
            .add(kTo100)
            .add({"VM", "400", "速度", "-", "-"})
            .add(kTo0)
            .add({"POINT", "絕對移動", "15", "-", "-"})
            .add({"WT", "200", "延遲", "-", "-"})
            .add({"VM", "50", "速度", "-", "-"})
            .add(kTo0)
            .add({"LOOPEND", "迴圈結束", "-", "-", "-"});
        DryRunSetup setup;
        setup.trace = true;
        DryRunSetup machineSetup = setup;
        machineSetup.motion = {speed, ramp};
        const DryRunResult machine = DryRun(p.table, p.rows, machineSetup);
        DryRunner model(p.table, p.rows, setup);
        model.run();
        MeasuredRun measured = MeasuredRun::following(p.table, model);
        for (double t = 0; t < machine.seconds + 2 && !measured.ended(); t += 0.05) {
            measured.add(t, positionAt(machine, t));
        }
        QVERIFY(measured.ended());
        const std::optional<Calibration> fitted =
            calibrate(p.table, p.rows, setup, measured.readings());
        QVERIFY(fitted);
        QCOMPARE(fitted->moves, timed);
        QVERIFY2(std::fabs(fitted->motion.speed - speed) <= 0.01 * speed &&
                     std::fabs(fitted->motion.ramp - ramp) <= 0.05,
                 qPrintable(calibrationText(*fitted)));
        QVERIFY(fitted->residual < 0.01);
        DryRunSetup calibrated = setup;
        calibrated.motion = fitted->motion;
        const double estimate = DryRun(p.table, p.rows, calibrated).seconds;
        QVERIFY2(
            std::fabs(estimate - machine.seconds) <= 0.01 * machine.seconds,
            qPrintable(
                QString("calibrated %1 s, the machine %2 s").arg(estimate).arg(machine.seconds)));
    }

    // One move cannot tell the speed from the ramp; moves that did not move tell nothing.
    void aCalibrationNeedsTwoMoves() {
        QVERIFY(!fitCalibration({{100, 100, 2000, 1.05}}));
        QVERIFY(!fitCalibration({{100, 100, 2000, 1.05}, {0, 100, 2000, 0.01}}));
        QVERIFY(fitCalibration({{100, 100, 2000, 1.05}, {10, 100, 2000, 0.15}}));
    }
};

QTEST_APPLESS_MAIN(TestMeasuredRun)
#include "tst_measuredrun.moc"
