#include "translator/dryrun.h"

#include "support/programrows.h"

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
        QTest::newRow("endless loop") << QList<Row>{label, {"GLABLE", "A", "跳至標籤", "-", "-"}}
                                      << int(DryRunEnd::LineLimit) << 2 << "無窮迴圈";
        QTest::newRow("slow but finite") << QList<Row>{kSpeed50, {"WT", "5000", "延遲", "-", "-"}}
                                         << int(DryRunEnd::TimeLimit) << 2 << "模擬 3 秒後停止";
        QTest::newRow("wait nothing releases")
            << QList<Row>{kSpeed50, {"IN+", "7", "IN+", "-", "-"}} << int(DryRunEnd::WaitsForever)
            << 2 << "第 2 列: 等待輸入 7, 沒有排定的變化";
        QTest::newRow("wait past the time")
            << QList<Row>{kSpeed50, {"IN+", "8", "IN+", "-", "-"}} << int(DryRunEnd::TimeLimit) << 2
            << "第 2 列等待輸入 3.000 秒";
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

    void inputChanges() {
        QCOMPARE(parseInputChange("3 2.5 0")->at, 2.5);
        QVERIFY(!parseInputChange("輸入 9 在 1 秒時變 1"));
        // As the English placeholder writes it.
        QCOMPARE(parseInputChange("Input 5 at 0.5 s becomes 1")->input, 5);
        QVERIFY(parseInputChange("input 5 at 0.5 s becomes 1")->on);
        QCOMPARE(formatInputChange(*parseInputChange(" 輸入 4 在 1 秒時變 0")),
                 QString("輸入 4 在 1.0 秒時變 0"));
    }
};

QTEST_APPLESS_MAIN(TestDryRun)
#include "tst_dryrun.moc"
