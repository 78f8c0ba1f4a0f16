// Cell benchmark, offscreen, on four controller simulators that take their bytes at 9600
// baud: the main window with four controllers, each session on a thread of its own, all
// polling. It measures
//   - each controller's poll period (the time between two of its polls; 500 ms is the
//     console's tick) while all four poll,
//   - the window's answer to an input (see reaction.h) while the four poll, and while the
//     program uploads to all four at once,
//   - an upload of 1,000 lines and more to all four at once beside one upload alone, from
//     the press until the simulator has taken the program's last line "}" off the wire
//     (its log shows what it has read, when it read it): the tool's writes end long
//     before, in the pseudo-terminal's buffer.

#include "benchsupport.h"
#include "reaction.h"
#include "window/form1.h"
#include "window/sessionclient.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QTemporaryDir>

#include <array>
#include <cmath>
#include <cstdio>
#include <mutex>
#include <optional>
#include <vector>

namespace {

using bench::Clock;
using bench::Reaction;
using bench::Simulator;
using Answer = tql::Prompter::Answer;

constexpr int kControllers = 4;

// Connects; the upload asks whether to save and to run, and is told no, so every upload
// finds its controller as the last one left it.
class CellPrompter final : public tql::Prompter {
public:
    Answer message(QWidget*, const QString&, const QString&, Buttons buttons, Icon) override {
        return buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel ? Answer::No
                                                                            : Answer::Ok;
    }
    QString inputBox(QWidget*, const QString&, const QString&, const QString&) override {
        return {};
    }
    QString saveFileName(QWidget*, const QString&, const QString&) override { return {}; }
    QString openFileName(QWidget*, const QString&, const QString&) override { return {}; }
};

// The polls, as the sessions report them on their own threads.
struct Polls {
    std::mutex lock;
    std::array<std::vector<Clock::time_point>, kControllers> times;
};

void waitUntil(const std::function<bool()>& done, int seconds) {
    const Clock::time_point until = Clock::now() + std::chrono::seconds(seconds);
    while (!done() && Clock::now() < until) {
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    }
}

double milliseconds(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

void printReaction(const char* condition, const Reaction& r) {
    std::printf("| %s | %.1f ms | %.1f ms | %.1f ms | %zu |\n", condition, r.median, r.p95, r.worst,
                r.samples);
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    qputenv("HOME", dir.path().toLocal8Bit());
    std::vector<std::unique_ptr<Simulator>> sims;
    std::vector<QString> logs;
    for (int k = 0; k < kControllers; ++k) {
        logs.push_back(dir.filePath(QStringLiteral("wire%1.log").arg(k)));
        sims.push_back(
            std::make_unique<Simulator>(QStringList{"--baud", "9600", "--log", logs.back()}));
        if (sims.back()->device.isEmpty()) {
            std::fprintf(stderr, "the simulator did not start\n");
            return 1;
        }
    }
    QFile settings(dir.filePath("DATA.TXT"));
    settings.open(QIODevice::WriteOnly);
    settings.write(sims[0]->device.toLocal8Bit() + "\r\n");
    settings.close();

    CellPrompter prompter;
    const std::unique_ptr<tql::ControllerMeans> first = tql::threadedMeans();
    tql::FORM1 form(prompter, first->line(), first->sleeper(), QDir(dir.path()), first->thread(),
                    tql::threadedMeans);
    form.show();
    tql::Cell cell(sims[0]->device, QStringLiteral("1"));
    for (int k = 1; k < kControllers; ++k) {
        cell.add({QString::number(k + 1), sims[size_t(k)]->device});
    }
    form.useCellForThisRun(cell);

    std::vector<tql::SessionClient*> clients{&form.sessionClient()};
    // The first controller's console is in the client area; the others in their docks.
    std::vector<QWidget*> consoles{form.centralWidget()};
    for (tql::CellConsole* console : form.cellConsoles()) {
        clients.push_back(&console->client());
        consoles.push_back(console);
    }
    Polls polls;
    for (int k = 0; k < kControllers; ++k) {
        tql::ControllerSession& session = clients[size_t(k)]->session();
        QObject::connect(
            &session, &tql::ControllerSession::pollRead, &session,
            [&polls, k] {
                const std::lock_guard locked(polls.lock);
                polls.times[size_t(k)].push_back(Clock::now());
            },
            Qt::DirectConnection);
        consoles[size_t(k)]->findChild<QPushButton*>(QStringLiteral("連線鍵"))->click();
    }
    waitUntil(
        [&] {
            return std::all_of(clients.begin(), clients.end(),
                               [](const tql::SessionClient* c) { return c->isConnected(); });
        },
        20);
    {
        const std::lock_guard locked(polls.lock);
        for (auto& times : polls.times) {
            times.clear();
        }
    }
    const Reaction polling = bench::sample(form, 12);

    // Each period between two polls of one controller.
    std::vector<double> periods;
    {
        const std::lock_guard locked(polls.lock);
        for (const auto& times : polls.times) {
            for (size_t i = 1; i < times.size(); ++i) {
                periods.push_back(milliseconds(times[i] - times[i - 1]));
            }
        }
    }
    std::sort(periods.begin(), periods.end());

    const auto [table, rows] = bench::longProgram();
    form.program().load(table, rows);
    // From the press until each chosen simulator's log holds the program's "}" beyond
    // where it stood, sampling the window's answers meanwhile.
    const auto uploadTime = [&](const std::function<void()>& start, size_t uploads) {
        std::vector<qint64> from;
        for (const QString& log : logs) {
            from.push_back(QFileInfo(log).size());
        }
        const Clock::time_point pressed = Clock::now();
        start();
        std::vector<std::optional<Clock::time_point>> taken(uploads);
        const auto allTaken = [&] {
            for (size_t k = 0; k < uploads; ++k) {
                if (!taken[k]) {
                    QFile log(logs[k]);
                    log.open(QIODevice::ReadOnly);
                    log.seek(from[k]);
                    if (log.readAll().contains("}\r")) {
                        taken[k] = Clock::now();
                    }
                }
            }
            return std::all_of(taken.begin(), taken.end(), [](const auto& t) { return bool(t); });
        };
        const Reaction reaction = bench::sample(form, allTaken, 120);
        waitUntil(
            [&] {
                return std::none_of(clients.begin(), clients.end(),
                                    [](auto* c) { return c->lineHeld(); });
            },
            10);
        Clock::time_point last = pressed;
        for (const auto& t : taken) {
            last = std::max(last, t.value_or(pressed));
        }
        return std::pair{milliseconds(last - pressed), reaction};
    };
    const double one =
        uploadTime(
            [&] { consoles[0]->findChild<QPushButton*>(QStringLiteral("Command3"))->click(); }, 1)
            .first;
    const auto [four, uploading] = uploadTime(
        [&] {
            form.findChild<QAction*>(QStringLiteral("UploadToSeveral"))->trigger();
            form.findChild<QDialog*>(QStringLiteral("UploadChoice"))->accept();
        },
        kControllers);

    std::printf("| four controllers polling | |\n|---|---|\n");
    if (!periods.empty()) {
        std::printf("| poll period (%zu periods) | %.1f .. %.1f ms, median %.1f ms |\n",
                    periods.size(), periods.front(), periods.back(), periods[periods.size() / 2]);
    }
    std::printf(
        "\n| the window answering an input | median | 95th percentile | worst | samples "
        "|\n|---|---|---|---|---|\n");
    printReaction("four controllers polling", polling);
    printReaction("uploading 1,000 lines to all four at 9600 baud", uploading);
    std::printf("\n| upload of 1,000 lines at 9600 baud | wire time |\n|---|---|\n");
    std::printf("| to one controller | %.0f ms |\n", one);
    std::printf("| to four at once | %.0f ms (%.3f x one) |\n", four, four / one);
    form.close();
    return 0;
}
