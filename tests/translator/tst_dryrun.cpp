#include "translator/dryrun.h"

#include "controller/controller.h"
#include "support/programrows.h"
#include "translator/translator.h"

#include <QTest>

#include <cmath>

using namespace tql;

namespace {

const Row kAccelerate100 = {"STEP", "VA=100", "", "自設", "-"};
const Row kSpeed50 = {"VM", "50", "速度", "-", "-"};

// A move of d at speed v and acceleration a: a trapezoid when v*v/a <= d, else a triangle.
double moveTime(double d, double v, double a) {
    return d >= v * v / a ? d / v + v / a : 2 * std::sqrt(d / a);
}

}  // namespace

class TestDryRun : public QObject {
    Q_OBJECT

private slots:
    void trapezoidalMove() {
        test::ProgramRows p;
        p.add(kAccelerate100).add(kSpeed50).add({"POINT", "絕對移動", "100", "-", "-"});
        const DryRunResult r = DryRun(p.table, p.rows, {});
        QCOMPARE(r.end, DryRunEnd::Finished);
        QVERIFY2(std::fabs(r.seconds - moveTime(100, 50, 100)) < 0.02,
                 qPrintable(QString::number(r.seconds)));
        QCOMPARE(r.travelled, 100.0);
        QCOMPARE(r.highest, 100.0);
        QCOMPARE(r.samples.back().second, 100.0);
        // The chart rises slowly, then steadily: at 0.25 s a quarter of the speed-up distance.
        QVERIFY(r.samples[25].second > 2.5 && r.samples[25].second < 3.5);
    }

    // 座標歸零 sets the coordinate anew: the slide does not move, so it is no travel.
    // The simulator runs a program as the dry run estimates it: the same ramps at "VA", the
    // simulator's clock stepping as its serving loop does (every 5 ms), its waits looked at
    // every millisecond all the same.
    void theSimulatorRunsAsEstimated_data() {
        QTest::addColumn<QList<Row>>("rows");
        const Row to100 = {"POINT", "絕對移動", "100", "-", "-"};
        const Row back = {"POINT", "絕對移動", "0", "-", "-"};
        QTest::newRow("trapezoid") << QList<Row>{kAccelerate100, kSpeed50, to100, back};
        QTest::newRow("triangle, fast and short")
            << QList<Row>{{"STEP", "VA=400", "", "自設", "-"},
                          {"VM", "300", "速度", "-", "-"},
                          {"MR", "相對移動", "30", "-", "-"},
                          {"MR", "相對移動", "-12.5", "-", "-"}};
        QTest::newRow("default speed and acceleration, home")
            << QList<Row>{to100, {"HOME", "回原點", "-", "-", "-"}};
        QTest::newRow("moves, delays and a loop") << QList<Row>{
            kSpeed50, {"LOOP", "3", "迴圈", "-", "-"},       to100, {"WT", "250", "延遲", "-", "-"},
            back,     {"LOOPEND", "迴圈結束", "-", "-", "-"}};
        // Each move waited on for a whole 5 ms step would add up to percents.
        QTest::newRow("short moves, one after the other") << QList<Row>{
            {"STEP", "VA=400", "", "自設", "-"}, {"VM", "300", "速度", "-", "-"},
            {"LOOP", "20", "迴圈", "-", "-"},    {"MR", "相對移動", "1", "-", "-"},
            {"MR", "相對移動", "-1", "-", "-"},  {"LOOPEND", "迴圈結束", "-", "-", "-"}};
    }

    void theSimulatorRunsAsEstimated() {
        QFETCH(QList<Row>, rows);
        test::ProgramRows p;
        for (const Row& r : rows) {
            p.add(r);
        }
        const DryRunResult estimate = DryRun(p.table, p.rows, {});
        QCOMPARE(estimate.end, DryRunEnd::Finished);
        controller::Options ramping;
        ramping.accelerate = true;  // as tql400-sim runs by default
        controller::Controller simulator(ramping);
        std::string download = "DL\r";
        for (const QString& line : TranslateProgram(p.table, p.rows).ControllerText) {
            download += line.toStdString() + '\r';
        }
        simulator.receive(download + "\r", 0);
        double t = 1;
        simulator.receive("G\r", t);
        while (simulator.machine().running() && t < 60) {
            t += 0.005;
            simulator.machine().advance(t);
        }
        const double ran = t - 1;
        QVERIFY2(std::fabs(ran - estimate.seconds) <= 0.01 * estimate.seconds,
                 qPrintable(QString("ran %1 s, estimated %2 s").arg(ran).arg(estimate.seconds)));
    }

    void zeroingIsNoTravel() {
        const QList<Row> rows = {{"MR", "相對移動", "9", "-", "-"},
                                 {"CS", " 0,0", "座標歸零", "-", "-"},
                                 {"MR", "相對移動", "1", "-", "-"}};
        const DryRunResult r = DryRun(test::tableOf(rows), 3, {});
        QCOMPARE(r.end, DryRunEnd::Finished);
        QCOMPARE(r.travelled, 10.0);
        QCOMPARE(r.samples.back().second, 1.0);
    }

    void loopOfThree() {
        test::ProgramRows p;
        p.add(kAccelerate100)
            .add(kSpeed50)
            .add({"LOOP", "3", "迴圈", "-", "-"})
            .add({"MR", "相對移動", "10", "-", "-"})
            .add({"WT", "500", "延遲", "-", "-"})
            .add({"LOOPEND", "迴圈結束", "-", "-", "-"});
        const DryRunResult r = DryRun(p.table, p.rows, {});
        QCOMPARE(r.end, DryRunEnd::Finished);
        QVERIFY2(std::fabs(r.seconds - 3 * (moveTime(10, 50, 100) + 0.5)) < 0.03,
                 qPrintable(QString::number(r.seconds)));
        QCOMPARE(r.highest, 30.0);
    }

    // A wait on an input runs through when the change comes, and is reported at its row.
    void scheduledInputReleasesAWait() {
        test::ProgramRows p;
        p.add(kSpeed50).add({"IN+", "3", "IN+", "-", "-"}).add({"HOME", "回原點", "-", "-", "-"});
        DryRunSetup setup;
        setup.startPosition = 5;
        setup.changes = {*parseInputChange("輸入 3 在 2.0 秒時變 1")};
        const DryRunResult r = DryRun(p.table, p.rows, setup);
        QCOMPARE(r.end, DryRunEnd::Finished);
        QCOMPARE(r.waits.size(), size_t(1));
        QCOMPARE(r.waits[0].row, 2);
        QVERIFY(std::fabs(r.waits[0].seconds - 2.0) < 0.01);
        QCOMPARE(r.lowest, 0.0);
        QCOMPARE(r.highest, 5.0);
        QCOMPARE(r.travelled, 5.0);  // homing runs backwards
    }

    // Every way a run can end, each named at the row it stopped at; only a finished run
    // claims a time of one run.
    void endsAtItsBounds_data() {
        QTest::addColumn<QList<Row>>("rows");
        QTest::addColumn<int>("end");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("says");
        const Row label = {"LABLE", "A", "標籤", "-", "-"};
        QTest::newRow("endless loop")
            << QList<Row>{label, {"GLABLE", "A", "跳至標籤", "-", "-"}} << int(DryRunEnd::TimeLimit)
            << 1 << "模擬 3 秒後停止: 程式仍在執行";
        QTest::newRow("slow but finite") << QList<Row>{kSpeed50, {"WT", "5000", "延遲", "-", "-"}}
                                         << int(DryRunEnd::TimeLimit) << 2 << "模擬 3 秒後停止";
        QTest::newRow("wait nothing releases")
            << QList<Row>{kSpeed50, {"IN+", "7", "IN+", "-", "-"}} << int(DryRunEnd::WaitsForever)
            << 2 << "第 2 列: 等待輸入 7, 沒有排定的變化";
        QTest::newRow("wait past the time")
            << QList<Row>{kSpeed50, {"IN+", "8", "IN+", "-", "-"}} << int(DryRunEnd::TimeLimit) << 2
            << "第 2 列: 模擬 3 秒後停止: 仍在等待輸入 8 變 1";
        // Input 3 goes on, then off again: a wait for it off is released by the second.
        QTest::newRow("second change releases")
            << QList<Row>{{"IN+", "3", "IN+", "-", "-"}, {"IN-", "3", "IN-", "-", "-"}}
            << int(DryRunEnd::Finished) << 0 << "";
        QTest::newRow("jump to a missing label")
            << QList<Row>{kSpeed50, {"GLABLE", "B", "跳至標籤", "-", "-"}}
            << int(DryRunEnd::ProgramError) << 2 << "錯誤, 停止: 標籤 \"B\" 不存在";
        QTest::newRow("value the controller refuses")
            << QList<Row>{kSpeed50, {"WT", "100", "延遲", "-", "-"}, {"VM", "-5", "速度", "-", "-"}}
            << int(DryRunEnd::ProgramError) << 3 << "第 3 列: 錯誤, 停止: ";
        QTest::newRow("text Big5 cannot hold")
            << QList<Row>{{"PULSE", "\U0001F600", "3", "ON-P", "-"}, kSpeed50}
            << int(DryRunEnd::ProgramError) << 1 << "第 1 列: 錯誤, 停止: 有 Big5 無法表示的字元";
        // The same words as the checks give the fault they foresee.
        QTest::newRow("calls too deep")
            << QList<Row>{{"IN+", "3", "IN+", "-", "-"}, label, {"IN+C", "3", "A", "IN+CALL", "-"}}
            << int(DryRunEnd::ProgramError) << 3
            << "第 3 列: 錯誤, 停止: 呼叫超過 64 層, 控制器在這裡停止";
        QTest::newRow("unpaired loop") << QList<Row>{{"LOOP", "2", "迴圈", "-", "-"}}
                                       << int(DryRunEnd::NotTranslated) << 1 << "無法模擬";
    }
    void endsAtItsBounds() {
        QFETCH(QList<Row>, rows);
        QFETCH(int, end);
        QFETCH(int, row);
        QFETCH(QString, says);
        test::ProgramRows p;
        for (const Row& r : rows) {
            p.add(r);
        }
        DryRunSetup setup;
        setup.timeLimit = 3;
        setup.changes = {{3, 1.0, true}, {3, 2.0, false}, {8, 10.0, true}};
        const DryRunResult r = DryRun(p.table, p.rows, setup);
        QCOMPARE(int(r.end), end);
        QCOMPARE(r.row, row);
        const QString summary = dryRunSummary(r).join('\n');
        QVERIFY2(summary.contains(says), qPrintable(summary));
        QCOMPARE(summary.contains("一次執行時間:"), r.end == DryRunEnd::Finished);
        if (r.end == DryRunEnd::ProgramError) {
            QVERIFY(r.message.startsWith(QString("第 %1 列: ").arg(row)));
        }
    }

    // Where a run in steps pauses: the rows of its pauses, in order, until its end.
    void stepping_data() {
        QTest::addColumn<QList<Row>>("rows");
        QTest::addColumn<QString>("how");
        QTest::addColumn<QList<int>>("pauses");
        const Row loop = {"LOOP", "3", "迴圈", "-", "-"};
        const Row move = {"MR", "相對移動", "10", "-", "-"};
        const Row end = {"LOOPEND", "迴圈結束", "-", "-", "-"};
        const Row home = {"HOME", "回原點", "-", "-", "-"};
        const QList<Row> looped = {kSpeed50, loop, move, end, home};
        // A step after LOOPEND goes back into the loop's body, not to its LOOP row.
        QTest::newRow("step") << looped << "step" << QList<int>{2, 3, 4, 3, 4, 3, 4, 5};
        QTest::newRow("breakpoint in a loop") << looped << "break 3" << QList<int>{3, 3, 3};
        QTest::newRow("breakpoints") << looped << "break 2 5" << QList<int>{2, 5};
        QTest::newRow("to a row") << looped << "to 5" << QList<int>{5};
        QTest::newRow("to the row it stands at: once round") << looped << "to 1" << QList<int>{};
        const QList<Row> called = {
            {"CALL", "S", "呼叫標籤", "-", "-"}, home, {"GLABLE", "E", "跳至標籤", "-", "-"},
            {"LABLE", "S", "標籤", "-", "-"},    move, {"RET", "RETURN", "返回", "-", "-"},
            {"LABLE", "E", "標籤", "-", "-"}};
        QTest::newRow("into a call and back") << called << "step" << QList<int>{4, 5, 6, 2, 3, 7};
        // A row the checks find in error: the pause comes first, then the run stops there.
        QTest::newRow("before an error")
            << QList<Row>{kSpeed50, {"GLABLE", "X", "跳至標籤", "-", "-"}} << "break 2"
            << QList<int>{2};
    }

    void stepping() {
        QFETCH(QList<Row>, rows);
        QFETCH(QString, how);
        QFETCH(QList<int>, pauses);
        const ProgramTable table = test::tableOf(rows);
        DryRunner runner(table, int(rows.size()), {});
        QCOMPARE(runner.watch().row, 1);  // ready at the first row
        RunLimits limits;
        const QStringList words = how.split(' ');
        limits.step = words[0] == "step";
        if (words[0] == "break") {
            for (const QString& row : words.mid(1)) {
                limits.breakpoints.insert(row.toInt());
            }
        }
        limits.toRow = words[0] == "to" ? words[1].toInt() : 0;
        QList<int> seen;
        while (runner.run(limits) != Pause::Ended) {
            seen << runner.watch().row;
            QVERIFY(seen.size() < 20);
        }
        QCOMPARE(seen, pauses);
        QVERIFY(runner.watch().ended);
        QCOMPARE(runner.watch().row, runner.result().row);  // 0 at the end, or where it stopped
        // The pauses change nothing of the run.
        const DryRunResult once = DryRun(table, int(rows.size()), {});
        QCOMPARE(runner.result().end, once.end);
        QCOMPARE(runner.result().row, once.row);
        QCOMPARE(runner.result().seconds, once.seconds);
        QCOMPARE(runner.result().travelled, once.travelled);
    }

    // What a pause shows: the time, the place, the loop counter with its row, the calls
    // waiting for their return, what the row waits for.
    void watchAtAPause() {
        const QList<Row> rows = {kSpeed50,
                                 {"LOOP", "2", "迴圈", "-", "-"},
                                 {"CALL", "S", "呼叫標籤", "-", "-"},
                                 {"LOOPEND", "迴圈結束", "-", "-", "-"},
                                 {"GLABLE", "E", "跳至標籤", "-", "-"},
                                 {"LABLE", "S", "標籤", "-", "-"},
                                 {"IN+", "3", "IN+", "-", "-"},
                                 {"OUTP", "5", "輸出", "-", "-"},
                                 {"MR", "相對移動", "10", "-", "-"},
                                 {"RET", "RETURN", "返回", "-", "-"},
                                 {"LABLE", "E", "標籤", "-", "-"}};
        DryRunSetup setup;
        setup.inputs[2] = true;
        DryRunner runner(test::tableOf(rows), int(rows.size()), setup);
        QVERIFY(runner.watch().loops.empty());  // no loop entered yet
        RunLimits toTheReturn;
        toTheReturn.breakpoints = {10};
        QCOMPARE(runner.run(toTheReturn), Pause::Breakpoint);
        Watch watch = runner.watch();
        QCOMPARE(watch.row, 10);
        // The move, and the rows' statements before it at 1 ms each.
        QVERIFY(watch.seconds >= moveTime(10, 50, 2000) &&
                watch.seconds < moveTime(10, 50, 2000) + 0.02);
        QCOMPARE(watch.position, 10.0);
        QCOMPARE(watch.loops.size(), size_t(1));
        QCOMPARE(watch.loops[0].row, 2);
        QCOMPARE(watch.loops[0].count, 2.0);
        QCOMPARE(watch.loops[0].total, 2.0);
        QCOMPARE(watch.speed, 0.0);  // at the move's end, while VM 50 and VA 2000 are in force
        QCOMPARE(watch.speedSetting, 50.0);
        QCOMPARE(watch.acceleration, 2000.0);
        QVERIFY(watchText(watch).contains("設定: VM 50, VA 2000"));
        QCOMPARE(watch.calls, std::vector<int>{3});
        QCOMPARE(watch.outputs, (OutputStates{true, false, true, false}));
        QVERIFY(watch.inputs[2]);
        QVERIFY(watch.waitsFor.isEmpty());
        // The second round finds input 3 off: the row waits, and a hand on the input lets it
        // go on.
        runner.setInput(3, false);
        RunLimits byHand;
        byHand.holdEndlessWaits = true;
        byHand.step = true;
        QCOMPARE(runner.run(byHand), Pause::Step);
        QCOMPARE(runner.watch().row, 4);
        QCOMPARE(runner.watch().calls, std::vector<int>{});
        byHand.step = false;
        QCOMPARE(runner.run(byHand), Pause::Waiting);
        watch = runner.watch();
        QCOMPARE(watch.row, 7);
        QCOMPARE(watch.waitsFor, QString("等待輸入 3 變 1"));
        QCOMPARE(watch.loops[0].count, 1.0);
        QVERIFY(watchText(watch).contains("迴圈 (第 2 列): 第 2 次, 共 2 次"));
        runner.setInput(3, true);
        QCOMPARE(runner.run(), Pause::Ended);
        QCOMPARE(runner.result().end, DryRunEnd::Finished);
        QVERIFY(runner.watch().loops.empty());  // the loop was left
        QVERIFY(watchText(runner.watch()).contains("程式已結束"));
    }

    // A run that ended on a wait nothing releases says where it stands and what it waits
    // for, not that the program ended.
    void watchOfARunEndedWaiting() {
        const QList<Row> rows = {kSpeed50, {"IN+", "3", "IN+", "-", "-"}};
        DryRunner runner(test::tableOf(rows), 2, {});
        QCOMPARE(runner.run(), Pause::Ended);
        QCOMPARE(runner.result().end, DryRunEnd::WaitsForever);
        const QStringList text = watchText(runner.watch());
        QVERIFY(text.contains("停止於第 2 列"));
        QVERIFY(text.contains("等待輸入 3 變 1"));
        QVERIFY(!text.contains("程式已結束"));
    }

    // Every line takes its time: a program that waits by polling an input keeps the clock
    // going, and walking a run with breakpoints, even in a loop of nothing but jumps, ends it
    // exactly as the run at once; a breakpoint on row 1 holds the run there first.
    void breakpointsChangeNothing_data() {
        QTest::addColumn<QList<Row>>("rows");
        QTest::addColumn<int>("breakpoint");
        QTest::addColumn<int>("end");
        const Row label = {"LABLE", "A", "標籤", "-", "-"};
        const Row again = {"GLABLE", "A", "跳至標籤", "-", "-"};
        QTest::newRow("polling an input") << QList<Row>{kSpeed50,
                                                        label,
                                                        {"IN+J", "3", "B", "IN+JUMP", "-"},
                                                        again,
                                                        {"LABLE", "B", "標籤", "-", "-"},
                                                        {"POINT", "絕對移動", "50", "-", "-"}}
                                          << 3 << int(DryRunEnd::Finished);
        QTest::newRow("a loop of jumps")
            << QList<Row>{label, again} << 2 << int(DryRunEnd::TimeLimit);
        QTest::newRow("outputs in a long loop")
            << QList<Row>{{"LOOP", "300", "迴圈", "-", "-"},
                          {"SETP", "1", "輸出", "-", "-"},
                          {"CLRP", "1", "輸出", "-", "-"},
                          {"LOOPEND", "迴圈結束", "-", "-", "-"}}
            << 2 << int(DryRunEnd::Finished);
        QTest::newRow("on row 1") << QList<Row>{kSpeed50, {"MR", "相對移動", "10", "-", "-"}} << 1
                                  << int(DryRunEnd::Finished);
    }

    void breakpointsChangeNothing() {
        QFETCH(QList<Row>, rows);
        QFETCH(int, breakpoint);
        QFETCH(int, end);
        DryRunSetup setup;
        setup.timeLimit = 5;
        setup.changes = {*parseInputChange("輸入 3 在 2.0 秒時變 1")};
        const ProgramTable table = test::tableOf(rows);
        const DryRunResult once = DryRun(table, int(rows.size()), setup);
        QCOMPARE(int(once.end), end);
        QVERIFY(once.seconds > 0.001);  // time went on
        DryRunner walked(table, int(rows.size()), setup);
        RunLimits limits;
        limits.breakpoints = {breakpoint};
        int pauses = 0;
        int firstRow = 0;
        for (; walked.run(limits) == Pause::Breakpoint; ++pauses) {
            firstRow = firstRow == 0 ? walked.watch().row : firstRow;
        }
        QVERIFY(pauses > 0);
        QCOMPARE(firstRow, breakpoint);
        QCOMPARE(walked.result().end, once.end);
        QCOMPARE(walked.result().seconds, once.seconds);
        QCOMPARE(walked.result().travelled, once.travelled);
        if (QTest::currentDataTag() == QByteArray("polling an input")) {
            // Input 3 at 2 s, then the move of 50 at VM 50.
            QVERIFY2(std::fabs(once.seconds - 3.025) < 0.01,
                     qPrintable(QString::number(once.seconds)));
        }
    }

    void pausesInTime() {
        const QList<Row> rows = {kSpeed50, {"MR", "相對移動", "100", "-", "-"}};
        DryRunner runner(test::tableOf(rows), 2, {});
        RunLimits aSecond;
        aSecond.until = 1.0;
        QCOMPARE(runner.run(aSecond), Pause::Time);
        QVERIFY(std::fabs(runner.watch().seconds - 1.0) < 1e-9);
        QCOMPARE(runner.watch().row, 2);
        QCOMPARE(runner.watch().waitsFor, QString("移動到 100.000"));
        QVERIFY(runner.result().samples.size() > 90);  // the chart grows as the run goes
        runner.run();
        QCOMPARE(runner.result().end, DryRunEnd::Finished);

        DryRunSetup setup;
        setup.changes = {{4, 0.5, true}};
        DryRunner changing(test::tableOf(rows), 2, setup);
        RunLimits change;
        change.inputChange = true;
        QCOMPARE(changing.run(change), Pause::InputChange);
        QVERIFY(std::fabs(changing.watch().seconds - 0.5) < 0.002);
        QVERIFY(changing.watch().inputs[3]);
        QCOMPARE(changing.run(change), Pause::Ended);
    }

    // Every executed row once it is done, every repetition of a loop too, as tq4c --trace
    // prints them.
    void traceOfTheRows() {
        const QList<Row> rows = {kSpeed50,
                                 {"LOOP", "2", "迴圈", "-", "-"},
                                 {"MR", "相對移動", "30", "-", "-"},
                                 {"LOOPEND", "迴圈結束", "-", "-", "-"}};
        DryRunSetup setup;
        setup.trace = true;
        DryRunner runner(test::tableOf(rows), 4, setup);
        runner.run();
        QStringList lines;
        for (const TracedRow& traced : runner.trace()) {
            lines << traceLine(traced).section(' ', 1);
        }
        QCOMPARE(lines, (QStringList{"第 1 列 VM 0.000", "第 2 列 LOOP 0.000", "第 3 列 MR 30.000",
                                     "第 4 列 LOOPEND 30.000", "第 3 列 MR 60.000",
                                     "第 4 列 LOOPEND 60.000"}));
        const double move = moveTime(30, 50, 2000);
        // The moves, and the statements about them at 1 ms each.
        QVERIFY(runner.trace()[2].seconds >= move && runner.trace()[2].seconds < move + 0.02);
        QVERIFY(runner.trace()[5].seconds >= 2 * move &&
                runner.trace()[5].seconds < 2 * move + 0.02);
        QCOMPARE(traceLine(runner.trace()[2]).section(' ', 0, 0),
                 QString::number(runner.trace()[2].seconds, 'f', 3));
    }

    // An assumed wait: each time the program waits for input 3, it comes 0.5 s later, and
    // the summary says so.
    void assumedWaits() {
        const QList<Row> rows = {{"LOOP", "2", "迴圈", "-", "-"},
                                 {"IN+", "3", "IN+", "-", "-"},
                                 {"IN-", "3", "IN-", "-", "-"},
                                 {"LOOPEND", "迴圈結束", "-", "-", "-"}};
        DryRunSetup setup;
        setup.changes = {*parseInputChange("輸入 3 在等待 0.5 秒後變 1"),
                         *parseInputChange("輸入 3 在等待 0.2 秒後變 0")};
        const DryRunResult r = DryRun(test::tableOf(rows), 4, setup);
        QCOMPARE(r.end, DryRunEnd::Finished);
        // The lines take their time too: a dozen of them.
        QVERIFY2(std::fabs(r.seconds - 2 * (0.5 + 0.2)) < 0.02,
                 qPrintable(QString::number(r.seconds)));
        QCOMPARE(r.assumed.size(), size_t(2));
        QCOMPARE(r.assumed[0].row, 2);
        QCOMPARE(r.assumed[0].times, 2);
        QVERIFY(dryRunSummary(r).contains("假設: 第 2 列等待輸入 3 變 1 0.500 秒, 2 次"));
        QVERIFY(dryRunSummary(r).contains("假設: 第 3 列等待輸入 3 變 0 0.200 秒, 2 次"));
    }

    // The summary counts what happened: one wait is answered once, by the assumption that
    // comes first, and a time that is no number is refused.
    void assumedWaitsCountWhatHappened() {
        const QList<Row> rows = {{"IN+", "3", "IN+", "-", "-"}};
        DryRunSetup twice;
        twice.changes = {*parseInputChange("輸入 3 在等待 0.5 秒後變 1"),
                         *parseInputChange("輸入 3 在等待 0.5 秒後變 1")};
        DryRunResult r = DryRun(test::tableOf(rows), 1, twice);
        QCOMPARE(r.assumed.size(), size_t(1));
        QCOMPARE(r.assumed[0].times, 1);
        DryRunSetup two;
        two.changes = {*parseInputChange("輸入 3 在等待 0.5 秒後變 1"),
                       *parseInputChange("輸入 3 在等待 0.2 秒後變 1")};
        r = DryRun(test::tableOf(rows), 1, two);
        QCOMPARE(r.assumed.size(), size_t(1));
        QCOMPARE(r.assumed[0].seconds, 0.2);
        QVERIFY(!parseInputChange("輸入 3 在 1" + QString(400, '0') + " 秒時變 1"));
        QVERIFY(!parseInputChange("311"));
        QVERIFY(!parseInputChange("3 101"));
    }

    void inputChanges() {
        QCOMPARE(parseInputChange("3 2.5 0")->at, 2.5);
        QVERIFY(!parseInputChange("輸入 9 在 1 秒時變 1"));
        // As the English placeholder writes it.
        QCOMPARE(parseInputChange("Input 5 at 0.5 s becomes 1")->input, 5);
        QVERIFY(parseInputChange("input 5 at 0.5 s becomes 1")->on);
        QCOMPARE(parseInputChange(" 輸入 4 在 1 秒時變 0")->on, false);
        QVERIFY(parseInputChange("input 3 0.5 s into a wait becomes 1")->afterWait);
        QVERIFY(!parseInputChange("輸入 3 在 0.5 秒時變 1")->afterWait);
    }
};

QTEST_APPLESS_MAIN(TestDryRun)
#include "tst_dryrun.moc"
