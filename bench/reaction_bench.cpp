// Reaction benchmark, offscreen, on the controller simulator: how long the main window takes
// to answer an input while the console works, with the controller session on the window's
// own thread (as the tool once ran) and on a thread of its own (as it runs now). A second
// thread hands the window an event at random moments (every 5 to 25 ms) and the window
// notes how long it waited before it could answer; a blocked window answers late.

#include "benchsupport.h"
#include "link/qtserialline.h"
#include "program/program.h"
#include "reaction.h"
#include "window/form1.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <memory>
#include <random>
#include <thread>
#include <vector>

namespace {

using bench::Clock;
using bench::longProgram;
using bench::QuietPrompter;
using bench::Reaction;
using bench::sample;
using bench::Simulator;

void press(QWidget& window, const char* name) {
    window.findChild<QPushButton*>(QString::fromUtf8(name))->click();
}

// Until the status bar reads `state`, the events running.
void waitForState(QWidget& window, const QString& state) {
    const auto* panel = window.findChild<QLabel*>(QStringLiteral("StatusBar1(1)"));
    const Clock::time_point until = Clock::now() + std::chrono::seconds(10);
    while (panel->text() != state && Clock::now() < until) {
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    }
}

struct Conditions {
    Reaction idle, polling, uploading, teaching, connecting, debugging;
};

// Every condition with one way of running the session.
Conditions measure(bool ownThread, double seconds) {
    Conditions c;
    QTemporaryDir dir;
    qputenv("HOME", dir.path().toLocal8Bit());
    Simulator sim({"--baud", "9600"});
    QFile settings(dir.filePath("DATA.TXT"));
    settings.open(QIODevice::WriteOnly);
    settings.write(sim.device.toLocal8Bit() + "\r\n");
    settings.close();
    QThread thread;
    thread.start();
    {
        QuietPrompter prompter;
        tql::QtSerialLine line;
        tql::ThreadSleeper sleeper;
        if (ownThread) {
            line.moveToThread(&thread);
        }
        tql::FORM1 form(prompter, line, sleeper, QDir(dir.path()), ownThread ? &thread : nullptr);
        form.show();
        c.idle = sample(form, seconds);

        press(form, "連線鍵");
        waitForState(form, QStringLiteral("連線中"));
        c.polling = sample(form, seconds);

        press(form, "Command12");  // 編輯開始
        press(form, "Command19");  // the teach dialog polls as it opens
        QDialog* teach = form.findChild<QDialog*>(QStringLiteral("Form3"));
        c.teaching = sample(form, seconds);
        teach->reject();
        QApplication::processEvents();

        form.program().load(longProgram().first, longProgram().second);
        QTimer::singleShot(0, &form, [&form] { press(form, "Command3"); });
        c.uploading = sample(form, seconds);
        // The rest of the upload and its questions.
        for (int i = 0; i < 2000 && form.session().lineHeld(); ++i) {
            QApplication::processEvents(QEventLoop::AllEvents, 10);
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }

        // 連線 again and again: its probe and greeting, then 斷線.
        QTimer toggling;
        bool connectNext = false;
        QObject::connect(&toggling, &QTimer::timeout, &form, [&] {
            press(form, connectNext ? "連線鍵" : "Command22");
            connectNext = !connectNext;
        });
        toggling.start(700);
        c.connecting = sample(form, seconds);
        toggling.stop();
        waitForState(form, QStringLiteral("未連線"));

        QWidget* debugger = form.findChild<QWidget*>(QStringLiteral("DryRun"));
        debugger->show();
        auto* speed = debugger->findChild<QComboBox*>(QStringLiteral("DrySpeed"));
        speed->setCurrentIndex(speed->findData(1.0));
        form.program().load(longProgram().first, longProgram().second);
        press(*debugger, "DryRunStart");
        c.debugging = sample(form, seconds);
        debugger->hide();
        form.close();
    }
    thread.quit();
    thread.wait();
    return c;
}

void print(const char* condition, const Reaction& before, const Reaction& now) {
    std::printf("| %s | %.1f / %.1f / %.1f ms | %.1f / %.1f / %.1f ms (%zu samples) |\n", condition,
                before.median, before.p95, before.worst, now.median, now.p95, now.worst,
                now.samples);
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    constexpr double kSeconds = 4;
    const Conditions before = measure(false, kSeconds);
    const Conditions now = measure(true, kSeconds);
    std::printf(
        "| the window answering an input (median / 95th percentile / worst) | session on "
        "the window's thread | session on its own thread |\n|---|---|---|\n");
    print("not connected", before.idle, now.idle);
    print("connected, polling every 500 ms", before.polling, now.polling);
    print("the teach dialog open, polling every 200 ms", before.teaching, now.teaching);
    print("uploading 1,000 lines at 9600 baud", before.uploading, now.uploading);
    print("連線 and 斷線 in turn, every 0.7 s", before.connecting, now.connecting);
    print("the debugger playing in real time", before.debugging, now.debugging);
    return 0;
}
