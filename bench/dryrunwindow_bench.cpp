// Dry-run window benchmark, offscreen: how long after a 600 s run the chart is ready (F8 at
// the fastest, against the run alone), what the window is busy for in each event while
// it plays a run back at twice real time from 590 s on, its chart holding 59,000 points,
// and what one 單步 costs in the main window with 40, 100 and 500 rows in its list.

#include "link/qtserialline.h"
#include "program/program.h"
#include "translator/dryrun.h"
#include "window/dryrunwindow.h"
#include "window/form1.h"
#include "window/prompter.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double milliseconds(const QElapsedTimer& clock) {
    return double(clock.nsecsElapsed()) / 1e6;
}

// The slide goes to and fro for ever; with a delay first, the playback starts late.
void loadPingPong(tql::Program& program, bool delayFirst) {
    tql::ProgramTable table{};
    table[0] = tql::headerRow();
    int n = 0;
    table[++n] = {"VM", "100", "速度", "-", "-"};
    if (delayFirst) {
        table[++n] = {"WT", "590000", "延遲", "-", "-"};
    }
    table[++n] = {"LABLE", "A", "標籤", "-", "-"};
    table[++n] = {"POINT", "絕對移動", "10", "-", "-"};
    table[++n] = {"POINT", "絕對移動", "0", "-", "-"};
    table[++n] = {"GLABLE", "A", "跳至標籤", "-", "-"};
    program.load(table, n);
}

// 單步 through the first rows of a program of `rows` rows in the main window, its dry run at
// the fastest: the median of one step, from the press until its events are done and the
// list painted. The same 30 steps whatever the length, so only the list's length differs
// (further in, the dry run's own chart rescales its time axis at every step).
double stepMilliseconds(int rows) {
    QTemporaryDir dir;
    tql::WidgetPrompter prompter;
    tql::QtSerialLine line;
    tql::ThreadSleeper sleeper;
    tql::FORM1 form(prompter, line, sleeper, QDir(dir.path()));
    form.show();
    tql::ProgramTable table{};
    table[0] = tql::headerRow();
    table[1] = {"VM", "100", "速度", "-", "-"};
    for (int n = 2; n <= rows; ++n) {
        table[n] = {"CS", " 0,0", "座標歸零", "-", "-"};
    }
    form.program().load(table, rows);
    auto* window = form.findChild<tql::DryRunWindow*>();
    window->show();
    auto* speed = window->findChild<QComboBox*>(QStringLiteral("DrySpeed"));
    speed->setCurrentIndex(speed->findData(0.0));
    auto* step = window->findChild<QPushButton*>(QStringLiteral("DryStep"));
    QApplication::processEvents();
    std::vector<double> steps;
    QElapsedTimer clock;
    for (int i = 0; i < 30; ++i) {
        clock.restart();
        step->click();
        QApplication::processEvents();
        steps.push_back(milliseconds(clock));
    }
    std::sort(steps.begin(), steps.end());
    return steps[steps.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    tql::WidgetPrompter prompter;
    QWidget main;
    main.resize(646, 570);
    main.show();

    tql::Program program;
    loadPingPong(program, false);
    tql::DryRunWindow window(
        program, prompter,
        {[] { return std::nullopt; }, [] { return 0; }, [] { return QString(); }, QString()},
        nullptr, &main);
    window.show();
    QElapsedTimer clock;
    tql::DryRunResult alone;
    double runAlone = 0;
    for (int i = 0; i < 2; ++i) {  // the second, warm
        clock.restart();
        alone = tql::DryRun(program.table(), program.RowCounter(), {});
        runAlone = milliseconds(clock);
    }
    clock.restart();
    window.run();
    QApplication::processEvents();  // the chart drawn
    const double f8 = milliseconds(clock);
    const auto* summary = window.findChild<QListWidget*>(QStringLiteral("DrySummary"));
    std::printf(
        "F8 on a %.0f s run (%zu samples, \"%s\"): %.1f ms, the run alone %.1f ms: the chart "
        "ready %.1f ms after the run's end\n",
        alone.seconds, alone.samples.size(),
        summary->count() > 0 ? summary->item(0)->text().toUtf8().constData() : "", f8, runAlone,
        f8 - runAlone);

    loadPingPong(program, true);
    program.toggleBreakpoint(4);
    window.run();  // at the fastest to the breakpoint, 590 s in
    QApplication::processEvents();
    auto* speed = window.findChild<QComboBox*>(QStringLiteral("DrySpeed"));
    speed->setCurrentIndex(speed->findData(2.0));
    program.toggleBreakpoint(4);
    window.findChild<QPushButton*>(QStringLiteral("DryRunStart"))->click();
    std::vector<double> events;
    QElapsedTimer playing;
    playing.start();
    while (playing.elapsed() < 3000) {
        clock.restart();
        QApplication::processEvents();
        events.push_back(milliseconds(clock));
    }
    std::sort(events.begin(), events.end());
    const auto* watch = window.findChild<QListWidget*>(QStringLiteral("DryWatch"));
    const auto beyondAFrame =
        std::count_if(events.begin(), events.end(), [](double ms) { return ms > 16; });
    std::printf(
        "real-time playback (2x) from 590 s, at \"%s\" after 3 s: the window busy %.2f ms at "
        "worst in one pass of its events, %td passes beyond 16 ms\n",
        watch->count() > 0 ? watch->item(0)->text().toUtf8().constData() : "", events.back(),
        beyondAFrame);

    std::printf("單步 in the main window (the median step, its list painted):");
    for (const int rows : {40, 100, 500}) {
        std::printf(" %d rows %.3f ms%s", rows, stepMilliseconds(rows), rows == 500 ? "\n" : ",");
    }
    return 0;
}
