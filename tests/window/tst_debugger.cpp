#include "session/portrecords.h"
#include "session/runhistory.h"
#include "session/usersettings.h"
#include "support/formfixture.h"
#include "support/programrows.h"
#include "support/quietoffscreen.h"
#include "window/chartpoints.h"
#include "window/rowmarks.h"

#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineSeries>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTest>

using namespace tql;
using Answer = Prompter::Answer;

namespace {

// The dry-run window of the main window, driven through its buttons.
struct Debugger : test::FormFixture {
    QWidget* window = nullptr;

    explicit Debugger(const QList<Row>& rows) {
        load(rows);
        window = form->findChild<QWidget*>("DryRun");
        window->show();
    }
    void press(const char* name) const {
        auto* button = window->findChild<QPushButton*>(name);
        QVERIFY2(button->isEnabled(), name);
        QTest::mouseClick(button, Qt::LeftButton);
    }
    bool enabled(const char* name) const {
        return window->findChild<QPushButton*>(name)->isEnabled();
    }
    QString summary() const {
        const auto* list = window->findChild<QListWidget*>("DrySummary");
        return list->count() == 0 ? QString() : list->item(0)->text();
    }
    QStringList watch() const {
        QStringList lines;
        const auto* list = window->findChild<QListWidget*>("DryWatch");
        for (int i = 0; i < list->count(); ++i) {
            lines << list->item(i)->text();
        }
        return lines;
    }
    QColor background(int row, int column) const {
        return list()->topLevelItem(row - 1)->background(column).color();
    }
    // Rows shown as executing: green, with the arrow.
    QList<int> executing() const {
        QList<int> rows;
        for (int row = 1; row <= list()->topLevelItemCount(); ++row) {
            const bool arrow = list()->topLevelItem(row - 1)->data(0, kExecutingRole).toBool();
            if (arrow != (background(row, 1) == QColor(190, 235, 190))) {
                qFatal("row %d: the arrow and the green differ", row);
            }
            if (arrow) {
                rows << row;
            }
        }
        return rows;
    }
    bool breakpointShown(int row) const {
        return list()->topLevelItem(row - 1)->data(0, kBreakpointRole).toBool();
    }
    void toggleBreakpoint(int row) const {
        clickRow(row);
        form->findChild<QAction*>("中斷點")->trigger();
    }
};

const QList<Row> kProgram = {{"VM", "50", "速度", "-", "-"},
                             {"MR", "相對移動", "10", "-", "-"},
                             {"IN+", "2", "IN+", "-", "-"},
                             {"MR", "相對移動", "10", "-", "-"},
                             {"HOME", "回原點", "-", "-", "-"}};

}  // namespace

class TestDebugger : public QObject {
    Q_OBJECT

private slots:
    // A breakpoint is marked in the list; the run pauses there, the list shows the row it
    // stands at, the watch the machine; a step moves both on.
    void breakpointsAndSteps() {
        Debugger d(kProgram);
        d.toggleBreakpoint(2);
        QVERIFY(d.breakpointShown(2) && !d.breakpointShown(1));
        d.press("DryRunStart");
        QCOMPARE(d.summary(), QString("暫停於第 2 列 (中斷點)"));
        QCOMPARE(d.executing(), QList<int>{2});
        QVERIFY(d.breakpointShown(2));
        QVERIFY(d.watch().contains("目前: 第 2 列"));
        d.press("DryStep");
        QCOMPARE(d.executing(), QList<int>{3});
        QVERIFY(d.watch().contains("位置: 10.000"));
        // Closed, the window leaves the list unmarked; opened again, the run stands there.
        d.window->close();
        QCOMPARE(d.executing(), QList<int>{});
        d.window->show();
        QCOMPARE(d.executing(), QList<int>{3});
        // Input 2 is off and nothing changes it: the step holds at the wait, a hand on the
        // input lets it go on.
        d.press("DryStep");
        QVERIFY2(d.summary().contains("等待輸入 2 變 1"), qPrintable(d.summary()));
        QCOMPARE(d.executing(), QList<int>{3});
        d.window->findChild<QCheckBox*>("DryInput(2)")->click();
        QVERIFY(d.watch().contains("輸入 1-8: 0 1 0 0 0 0 0 0"));
        d.press("DryStep");
        QCOMPARE(d.executing(), QList<int>{4});
        d.clickRow(5);
        d.press("DryToRow");
        QCOMPARE(d.executing(), QList<int>{5});
        d.press("DryRunStart");
        QVERIFY(d.summary().startsWith("程式執行完畢"));
        QCOMPARE(d.executing(), QList<int>{});
        // The input switched by hand was the run's: the next one starts as this one did.
        QVERIFY(!d.window->findChild<QCheckBox*>("DryInput(2)")->isChecked());
    }

    // An edit ends a paused run: no run on rows no longer shown. The breakpoint moves with
    // its row.
    void editingEndsThePausedRun() {
        Debugger d(kProgram);
        d.toggleBreakpoint(4);
        d.press("DryStep");
        QCOMPARE(d.executing(), QList<int>{1});
        d.clickRow(2);
        d.click("Command7");  // 刪除
        QCOMPARE(d.summary(), QString("程式已修改: 模擬執行已結束."));
        QCOMPARE(d.executing(), QList<int>{});
        QVERIFY(d.breakpointShown(3) && !d.breakpointShown(4));
        QVERIFY(!d.enabled("DryReset"));
    }

    // What the window shows is true: a pause's word goes when the run goes on, a run's
    // results go with its program, an empty program has nothing to run, 執行到此列 needs a
    // highlighted row, and a field going grey never hands the keyboard to the speed box.
    void theWindowSaysWhatIsTrue() {
        Debugger d(kProgram);
        d.press("DryToRow");
        QCOMPARE(d.messages(), QStringList{"請先在程式列表中選取要執行到的列."});
        QVERIFY(!d.enabled("DryReset"));

        d.toggleBreakpoint(2);
        d.press("DryRunStart");
        QCOMPARE(d.summary(), QString("暫停於第 2 列 (中斷點)"));
        d.window->findChild<QComboBox*>("DrySpeed")->setCurrentIndex(1);  // 1 倍
        d.press("DryRunStart");
        QCOMPARE(d.summary(), QString());
        d.press("DryPause");
        d.window->findChild<QComboBox*>("DrySpeed")->setCurrentIndex(0);

        d.press("DryReset");
        auto* changes = d.window->findChild<QPlainTextEdit*>("DryChanges");
        changes->setPlainText("輸入 2 在 0.5 秒時變 1");
        d.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(d.window));
        changes->setFocus();
        QVERIFY(changes->hasFocus());
        d.trigger("模擬執行");  // F8: to the breakpoint
        QVERIFY(!changes->isEnabled());
        // Not the next control either (a typed space would press 執行, a digit set the speed).
        QCOMPARE(QApplication::focusWidget(), d.window->findChild<QWidget*>("DryWatch"));

        d.toggleBreakpoint(2);
        d.press("DryRunStart");
        QVERIFY2(d.summary().startsWith("程式執行完畢"), qPrintable(d.summary()));
        d.load({kProgram[0]});  // another program
        QCOMPARE(d.summary(), QString());
        QVERIFY(d.watch().isEmpty());

        d.trigger("建立新檔");
        d.press("DryRunStart");
        QCOMPARE(d.summary(), QString("程式沒有任何列, 沒有可模擬執行的內容."));
    }

    // The chart keeps, per pixel column, the first, lowest, highest and last sample: every
    // peak stays, in time order, and a long run gives a few points a column.
    void thinnedPointsKeepEveryPeak() {
        std::vector<std::pair<double, double>> samples;
        for (int i = 0; i <= 60000; ++i) {
            samples.emplace_back(i * 0.01, i % 1000 == 500 ? 100.0 : (i % 7) * 0.1);
        }
        const QList<QPointF> points = thinnedPoints(samples, 500);
        QVERIFY(points.size() <= 4 * 500 + 4);
        QCOMPARE(points.front(), QPointF(0, 0));
        QCOMPARE(points.back(), QPointF(600, samples.back().second));
        QCOMPARE(std::count_if(points.begin(), points.end(),
                               [](const QPointF& p) { return p.y() == 100.0; }),
                 60);
        QVERIFY(std::is_sorted(points.begin(), points.end(),
                               [](const QPointF& a, const QPointF& b) { return a.x() < b.x(); }));
        const std::vector<std::pair<double, double>> few = {{0, 1}, {1, 2}, {2, 0}};
        QCOMPARE(thinnedPoints(few, 500), (QList<QPointF>{{0, 1}, {1, 2}, {2, 0}}));
    }

    void besideTheMainWindow_data() {
        QTest::addColumn<QRect>("main");
        QTest::addColumn<QPoint>("placed");
        const QRect screen(0, 0, 1920, 1080);
        QTest::newRow("to its right") << QRect(0, 10, 660, 600) << QPoint(668, 10);
        QTest::newRow("to its left") << QRect(1200, 10, 660, 600) << QPoint(392, 10);
        QTest::newRow("no room either side") << QRect(500, 10, 900, 600) << QPoint(1120, 10);
        QTest::newRow("kept on the screen") << QRect(0, 900, 660, 600) << QPoint(668, 280);
    }

    void besideTheMainWindow() {
        QFETCH(QRect, main);
        QFETCH(QPoint, placed);
        QCOMPARE(besideWindow(main, QSize(800, 800), QRect(0, 0, 1920, 1080)), placed);
    }

    // In real time the run plays on by itself; only 暫停 and 重設 can be pressed meanwhile.
    void realTimePlayback() {
        Debugger d({{"VM", "50", "速度", "-", "-"}, {"MR", "相對移動", "20", "-", "-"}});
        d.window->findChild<QComboBox*>("DrySpeed")->setCurrentIndex(1);  // 1 倍
        d.press("DryRunStart");
        QVERIFY(d.enabled("DryPause") && !d.enabled("DryStep") && !d.enabled("DryRunStart"));
        QTRY_COMPARE(d.executing(), QList<int>{2});
        d.press("DryPause");
        QVERIFY(!d.enabled("DryPause") && d.enabled("DryStep"));
        QVERIFY(d.summary().startsWith("暫停於第 2 列"));
        d.press("DryReset");
        QCOMPARE(d.executing(), QList<int>{});
        QVERIFY(!d.enabled("DryReset"));
    }

    // 量測執行 from the menu: the controller asked, the model drawn, the slide's positions
    // over it as the session reads them, and the measured time beside the model's once
    // the run has ended; then the session is told to stop measuring.
    // A run history it cannot keep the run in is said beside the measurement, which stands.
    void aMeasuredRunIsShownOverTheModel() {
        Debugger d({{"VM", "100", "速度", "-", "-"}, {"POINT", "絕對移動", "50", "-", "-"}});
        QVERIFY(QDir().mkpath(QFileInfo(RunHistory::defaultPath()).path()));
        QFile damaged(RunHistory::defaultPath());
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        damaged.write(QByteArray(4096, 'x'));
        damaged.close();
        d.window->hide();
        d.line.replies = {"100\r", "", "", "2000\r", "100\r"};
        d.click("連線鍵");
        d.prompter.answers = {Answer::Yes};
        d.line.written.clear();
        d.trigger("量測執行");
        QVERIFY(d.line.written.endsWith("HON\rG\r"));
        QVERIFY(d.window->isVisible());
        QVERIFY(d.form->session().measuring());
        QLineSeries* polled = nullptr;
        for (QAbstractSeries* series :
             d.window->findChild<QChartView*>("DryChart")->chart()->series()) {
            if (series->objectName() == "DryPolled") {
                polled = qobject_cast<QLineSeries*>(series);
            }
        }
        QVERIFY(polled != nullptr);
        ControllerSession& session = d.form->session();
        for (const auto& [at, position] :
             {std::pair{0.2, 10.0}, {0.4, 30.0}, {0.55, 49.0}, {0.6, 50.0}, {0.65, 50.0}}) {
            emit session.runPosition(at, position);
        }
        QCOMPARE(polled->count(), 5);
        const auto* summary = d.window->findChild<QListWidget*>("DrySummary");
        QVERIFY(!summary->findItems("實測執行時間", Qt::MatchStartsWith).isEmpty());
        QVERIFY(!session.measuring());
        QCOMPARE(summary->item(summary->count() - 1)->text().left(5), QString("執行紀錄 "));
    }

    // A machine slower than its settings: the measured run calibrates the model for the
    // port, and a dry run chosen to use the calibration runs as long as the machine did.
    void aMeasuredRunCalibratesThePort() {
        const QList<Row> rows = {{"VM", "100", "速度", "-", "-"},
                                 {"POINT", "絕對移動", "50", "-", "-"},
                                 {"VM", "300", "速度", "-", "-"},
                                 {"POINT", "絕對移動", "0", "-", "-"},
                                 {"POINT", "絕對移動", "10", "-", "-"}};
        Debugger d(rows);
        d.window->hide();
        d.line.replies = {"100\r", "", "", "2000\r", "100\r"};
        d.click("連線鍵");
        d.prompter.answers = {Answer::Yes};
        d.trigger("量測執行");
        QVERIFY(!d.enabled("DryCalibrate"));
        DryRunSetup slower;
        slower.motion = {0.8, 1.0};
        const DryRunResult machine = DryRun(test::tableOf(rows), int(rows.size()), slower);
        ControllerSession& session = d.form->session();
        for (const auto& [at, position] : machine.samples) {
            if (std::lround(at * 1000) % 50 == 0) {
                emit session.runPosition(at, position);
            }
        }
        for (const double after : {0.05, 0.1}) {  // the slide stands
            emit session.runPosition(machine.seconds + after, 10);
        }
        QVERIFY(!session.measuring());
        const std::vector<RunRecord> kept = RunHistory().runs();
        QCOMPARE(kept.size(), size_t(1));
        QCOMPARE(kept[0].hash, programHash(test::tableOf(rows), int(rows.size())));
        QCOMPARE(kept[0].port, session.portNumber());
        QVERIFY(kept[0].measured && std::fabs(*kept[0].measured - machine.seconds) < 0.02);
        d.press("DryCalibrate");
        const std::optional<Calibration> calibration =
            storedCalibration(userSettings(), session.portNumber());
        QVERIFY(calibration);
        QVERIFY2(std::fabs(calibration->motion.speed - 0.8) < 0.008,
                 qPrintable(calibrationText(*calibration)));
        const auto* summary = d.window->findChild<QListWidget*>("DrySummary");
        QCOMPARE(summary->findItems("校正: 速度 × 0.8", Qt::MatchStartsWith).size(), 1);
        QVERIFY(!d.enabled("DryCalibrate"));  // once for the run

        d.window->findChild<QCheckBox*>("DryUseCalibration")->setChecked(true);
        d.press("DryRunStart");
        QCOMPARE(summary->findItems("使用校正: 速度 × 0.8", Qt::MatchStartsWith).size(), 1);
        const QList<QListWidgetItem*> time =
            summary->findItems("一次執行時間", Qt::MatchStartsWith);
        QCOMPARE(time.size(), 1);
        const double estimate = time.front()->text().section(' ', 1, 1).toDouble();
        QVERIFY2(std::fabs(estimate - machine.seconds) <= 0.01 * machine.seconds,
                 qPrintable(time.front()->text()));
    }

    // While a run is measured the list marks the row the shadow run says the machine runs;
    // a slide that stops early is said in the status bar and under the measurement, its row
    // marked red, and 停止 offered, or sent at once when the operator chose that.
    void theShadowRunMarksTheMachinesRow_data() {
        QTest::addColumn<bool>("stopAtOnce");
        QTest::newRow("offered") << false;
        QTest::newRow("at once") << true;
    }

    void theShadowRunMarksTheMachinesRow() {
        QFETCH(bool, stopAtOnce);
        userSettings().setValue("shadow/stopOnDifference", stopAtOnce);
        const QList<Row> rows = {{"VM", "100", "速度", "-", "-"},
                                 {"POINT", "絕對移動", "50", "-", "-"},
                                 {"POINT", "絕對移動", "0", "-", "-"}};
        Debugger d(rows);
        d.line.replies = {"100\r", "", "", "2000\r", "100\r"};
        d.click("連線鍵");
        d.prompter.answers = {Answer::Yes};
        d.trigger("量測執行");
        DryRunSetup setup;
        setup.sampleInterval = 0.05;
        const DryRunResult machine = DryRun(test::tableOf(rows), int(rows.size()), setup);
        ControllerSession& session = d.form->session();
        for (const auto& [at, position] : machine.samples) {
            if (at > 0.3) {
                break;
            }
            emit session.runPosition(at, position);
        }
        const auto marked = [&](int row) {
            return MachineMark(d.list()->topLevelItem(row - 1)->data(0, kMachineRole).toInt());
        };
        QCOMPARE(marked(2), MachineMark::Running);
        QCOMPARE(d.background(2, 1), QColor(200, 220, 250));
        QVERIFY(d.watch().value(0).startsWith("實機位置: "));
        d.prompter.answers = {Answer::Yes};
        d.line.written.clear();
        for (const double at : {0.35, 0.4, 0.45}) {
            emit session.runPosition(at, 28);  // the slide stands
        }
        QCOMPARE(marked(2), MachineMark::Parted);
        QCOMPARE(d.form->statusBar()->currentMessage(), QString("實機提前停止, 約在第 2 列"));
        const auto* summary = d.window->findChild<QListWidget*>("DrySummary");
        const QList<QListWidgetItem*> said =
            summary->findItems("實機提前停止, 約在第 2 列", Qt::MatchStartsWith);
        QCOMPARE(said.size(), 1);
        QCOMPARE(said[0]->foreground().color(), kErrorColour);
        QCOMPARE(said[0]->text().endsWith(": 已停止控制器的程式"), stopAtOnce);
        QCoreApplication::processEvents();
        QCOMPARE(d.messages().filter("停止控制器的程式?").size(), stopAtOnce ? 0 : 1);
        QCOMPARE(d.line.written, QByteArray("\x1b\x1b"));
        userSettings().remove("shadow");
    }

    // 量測執行 of a program other than the one this tool last uploaded on the port: asked.
    void aProgramOtherThanTheUploadedOneIsSaid() {
        Debugger d({{"VM", "100", "速度", "-", "-"}});
        d.line.replies = {"100\r", "", "", "2000\r", "100\r"};
        d.click("連線鍵");
        d.prompter.messages.clear();
        QSettings settings = userSettings();
        recordUpload(settings, d.form->session().portNumber(),
                     {"another", true, QDateTime::currentDateTimeUtc()});
        d.prompter.answers = {Answer::No};
        d.line.written.clear();
        d.trigger("量測執行");
        QCOMPARE(d.messages().size(), 1);
        QVERIFY(d.messages().last().startsWith("控制器中的程式與編輯中的不同 (上次上傳: "));
        QVERIFY(d.line.written.isEmpty());
        settings.remove("upload");
    }
};

QTEST_MAIN(TestDebugger)
#include "tst_debugger.moc"
