// Link benchmark: how long the upload of a full 1001-line program and one console poll tick
// take beyond the fixed waits they are made of (200 ms probe and 100 ms before "G"; two
// 50 ms queries), and the period the console's 500 ms timer and the teach dialog's 200 ms
// timer really keep over 20 ticks, on the real serial line against a pseudo-terminal whose
// other end a thread serves like a quick controller; and the upload through the main window
// on an emulated 9600-baud wire whose drain waits for the wire.

#include "benchsupport.h"
#include "dialogs/form3.h"
#include "link/console.h"
#include "link/qtserialline.h"
#include "link/wirelog.h"
#include "pseudoterminal.h"
#include "translator/upload.h"
#include "window/form1.h"
#include "window/programpanel.h"
#include "window/prompter.h"
#include "window/trendchart.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

// Answers every "?" query with "0" CR and swallows everything else; with a baud rate, takes
// the bytes no faster than such a line carries them (N/10 a second).
void serve(int master, const std::atomic<bool>& stop, double baud,
           std::atomic<qint64>* received = nullptr) {
    std::string pending;
    QElapsedTimer clock;
    clock.start();
    double taken = 0;
    while (!stop) {
        pollfd fd{master, POLLIN, 0};
        if (::poll(&fd, 1, 5) <= 0) {
            continue;
        }
        char buffer[4096];
        size_t allowed = sizeof buffer;
        if (baud > 0) {
            const double carried = double(clock.nsecsElapsed()) / 1e9 * baud / 10;
            taken = std::max(taken, carried - 16);  // a UART's few bytes of buffer
            allowed = size_t(std::clamp(carried - taken, 0.0, double(sizeof buffer)));
            if (allowed == 0) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
                continue;
            }
        }
        const ssize_t n = ::read(master, buffer, allowed);
        taken += double(std::max<ssize_t>(n, 0));
        if (received != nullptr && n > 0) {
            *received += n;
        }
        for (ssize_t i = 0; i < n; ++i) {
            if (buffer[i] != '\r') {
                pending += buffer[i];
                continue;
            }
            if (!pending.empty() && pending[0] == '?') {
                (void)!::write(master, "0\r", 2);
            }
            pending.clear();
        }
    }
}

struct Stats {
    double mean = 0;
    double worst = 0;
};

Stats stats(const std::vector<double>& values) {
    Stats s;
    for (double v : values) {
        s.mean += v / double(values.size());
        s.worst = std::max(s.worst, v);
    }
    return s;
}

// The mean time between 20 ticks of the timer, in milliseconds.
double meanPeriod(QTimer& timer) {
    constexpr int kTicks = 20;
    std::vector<qint64> at;
    QElapsedTimer clock;
    clock.start();
    QEventLoop loop;
    const auto stamp = QObject::connect(&timer, &QTimer::timeout, &loop, [&] {
        at.push_back(clock.nsecsElapsed());
        if (at.size() > kTicks) {
            loop.quit();
        }
    });
    loop.exec();
    QObject::disconnect(stamp);
    return double(at.back() - at.front()) / 1e6 / kTicks;
}

// The console timer of the main window connected to the controller, its session on a thread
// of its own, then the teach dialog's timer while the console goes on polling.
std::pair<double, double> tickPeriods(const std::string& device) {
    QTemporaryDir dir;
    QFile settings(dir.filePath("DATA.TXT"));
    settings.open(QIODevice::WriteOnly);
    settings.write(QByteArray::fromStdString(device) + "\r\n");
    settings.close();
    bench::QuietPrompter prompter;
    tql::QtSerialLine line;
    tql::ThreadSleeper sleeper;
    QThread thread;
    thread.start();
    line.moveToThread(&thread);
    std::pair<double, double> periods;
    {
        tql::FORM1 form(prompter, line, sleeper, QDir(dir.path()), &thread);
        form.findChild<QPushButton*>(QStringLiteral("連線鍵"))->click();
        while (!form.session().isConnected() || form.session().lineHeld()) {
            QApplication::processEvents(QEventLoop::AllEvents, 5);
        }
        periods.first = meanPeriod(*form.session().findChild<QTimer*>("Timer1"));
        auto* teach = new tql::Form3(*form.findChild<tql::ProgramPanel*>());
        periods.second = meanPeriod(*teach->findChild<QTimer*>("Timer1"));
        form.findChild<QPushButton*>(QStringLiteral("Command22"))->click();
        form.close();
    }
    thread.quit();
    thread.wait();
    return periods;
}

// A line of 9600 baud as a UART is: the bytes leave the port's queue at 960 a second, the
// drain waits until they have, and the queue says what still waits in it. A controller
// behind it answers each "?" query with "0" CR. Only the session's thread uses it, but for
// when the wire falls idle, which the benchmark reads at the end.
class EmulatedWire final : public tql::SerialLine, public tql::Sleeper {
public:
    std::optional<QString> open(const QString&) override {
        m_open = true;
        return std::nullopt;
    }
    void close() override { m_open = false; }
    bool isOpen() const override { return m_open; }
    void write(const QByteArray& bytes) override {
        const std::lock_guard locked(m_lock);
        const double now = seconds();
        m_idleAt = std::max(now, m_idleAt) + double(bytes.size()) / kBytesPerSecond;
        m_bytes += bytes.size();
        for (const char c : bytes) {
            if (c != '\r') {
                m_pending += c;
                continue;
            }
            if (m_pending.startsWith('?')) {
                m_replies += "0\r";
            }
            m_pending.clear();
        }
    }
    void drain() override {
        const double wait = idleAt() - seconds();
        if (wait > 0) {
            std::this_thread::sleep_for(std::chrono::duration<double>(wait));
        }
    }
    qint64 unsentBytes() const override {
        return qint64(std::max(0.0, idleAt() - seconds()) * kBytesPerSecond);
    }
    QByteArray readAll() override {
        const std::lock_guard locked(m_lock);
        return std::exchange(m_replies, {});
    }
    std::optional<QString> lostReason() const override { return std::nullopt; }
    void sleep(std::chrono::milliseconds duration) override {
        std::this_thread::sleep_for(duration);
    }

    // Seconds since the wire was made, when it has carried all it was given.
    double idleAt() const {
        const std::lock_guard locked(m_lock);
        return m_idleAt;
    }
    double seconds() const { return double(m_clock.nsecsElapsed()) / 1e9; }
    qint64 bytes() const {
        const std::lock_guard locked(m_lock);
        return m_bytes;
    }

private:
    static constexpr double kBytesPerSecond = 960;
    mutable std::mutex m_lock;
    QElapsedTimer m_clock = [] {
        QElapsedTimer clock;
        clock.start();
        return clock;
    }();
    double m_idleAt = 0;
    qint64 m_bytes = 0;
    QByteArray m_pending;
    QByteArray m_replies;
    std::atomic<bool> m_open = false;
};

struct PacedUpload {
    double seconds = 0;  // from 上傳 until the wire has carried its last byte
    double wire = 0;     // what its bytes need on the wire
    double waits = 0.3;  // the probe's 200 ms and the 100 ms before "G"
};

// 上傳 of the program, connected, in the main window with its session on a thread of its
// own (as the tool runs) and its progress window, on the emulated wire.
PacedUpload pacedUpload(const QStringList& program) {
    QTemporaryDir dir;
    qputenv("HOME", dir.path().toLocal8Bit());
    EmulatedWire wire;
    bench::QuietPrompter prompter;
    QThread thread;
    thread.start();
    PacedUpload result;
    {
        tql::FORM1 form(prompter, wire, wire, QDir(dir.path()), &thread);
        form.show();
        form.findChild<QPushButton*>(QStringLiteral("連線鍵"))->click();
        while (!form.session().isConnected() || form.session().lineHeld()) {
            QApplication::processEvents(QEventLoop::AllEvents, 5);
        }
        tql::ProgramTable table{};
        table[0] = tql::headerRow();
        // The program's own moves, each a row of two lines.
        int rows = 0;
        for (qsizetype n = 2; n + 2 < program.size() && rows < tql::kMaxProgramRows; n += 2) {
            table[++rows] = {"POINT", "絕對移動", QString::number(double(n) / 4), "-", "-"};
        }
        form.program().load(table, rows);
        bool ended = false;
        QObject::connect(&form.session(), &tql::ControllerSession::uploadEnded, &form,
                         [&ended] { ended = true; });
        const qint64 before = wire.bytes();
        const double start = wire.seconds();
        form.findChild<QPushButton*>(QStringLiteral("Command3"))->click();
        while (!ended || form.session().lineHeld()) {
            QApplication::processEvents(QEventLoop::AllEvents, 5);
        }
        result.seconds = wire.idleAt() - start;
        result.wire = double(wire.bytes() - before) / 960;
        form.close();
    }
    thread.quit();
    thread.wait();
    return result;
}

// What the wire monitor adds to the poll: recording one command line and one reply.
double monitorCostPerLine() {
    constexpr int kLines = 200000;
    tql::WireLog log;
    const QByteArray query = "?PE";
    const QByteArray reply = "123.45\r";
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < kLines; ++i) {
        log.sent(query);
        log.sent("\r");
        log.received(reply);
    }
    return double(clock.nsecsElapsed()) / 1e3 / kLines;
}

// The resident memory of this process, in bytes (Linux).
qint64 residentBytes() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly)) {
        return 0;
    }
    return statm.readAll().split(' ').value(1).toLongLong() * ::sysconf(_SC_PAGESIZE);
}

struct LogMemory {
    qsizetype full = 0;         // the log's memory holding its 5000 entries
    qsizetype soaked = 0;       // the same after four times as many more
    qint64 residentGrowth = 0;  // what the process grew by meanwhile
};

// The wire log fed by polls ("?PE" and its reply, "?INP" and its reply), each read arriving
// in a buffer with the capacity of the port's read buffer, as QSerialPort hands it over.
LogMemory wireLogMemory() {
    tql::WireLog log;
    const auto poll = [&log] {
        for (const char* query : {"?PE\r", "?INP\r"}) {
            log.sent(query);
            QByteArray read = "123.45\r";
            read.reserve(16 * 1024);
            log.received(read);
        }
    };
    const int pollsToFill = int(tql::WireLog::kDefaultCapacity / 4);
    for (int i = 0; i < pollsToFill; ++i) {
        poll();
    }
    LogMemory memory;
    memory.full = log.memoryUse();
    const qint64 resident = residentBytes();
    for (int i = 0; i < 4 * pollsToFill; ++i) {
        poll();
    }
    memory.soaked = log.memoryUse();
    memory.residentGrowth = residentBytes() - resident;
    return memory;
}

// What the 趨勢 tab adds to a poll tick: one point, two minutes of them already there.
double trendCostPerPoint() {
    tql::TrendChart trend;
    trend.resize(400, 300);
    constexpr int kPoints = 2000;
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < kPoints; ++i) {
        trend.addPosition(i % 200);
    }
    return double(clock.nsecsElapsed()) / 1e3 / kPoints;
}

// The longest program the controller takes: "{", "CLR VAR;", 998 moves, "}".
QStringList longestProgram() {
    QStringList program = {"{", "CLR VAR;"};
    while (program.size() < tql::kMaxControllerLines - 1) {
        program << QStringLiteral("MA %1;").arg(program.size() * 0.5);
    }
    program << "}";
    return program;
}

struct ExchangeTimes {
    Stats upload;  // beyond its 300 ms of waits
    Stats tick;    // beyond its 100 ms of waits
};

// The upload and the poll on an unpaced pseudo-terminal, beyond their fixed waits.
ExchangeTimes exchangeTimes(const sim::Pty& pty, const QStringList& program, int runs) {
    tql::QtSerialLine line;
    tql::ThreadSleeper sleeper;
    if (const auto failure = line.open(QString::fromStdString(pty.device()))) {
        std::fprintf(stderr, "%s\n", qPrintable(*failure));
        std::exit(1);
    }
    tql::Link link(line, sleeper);
    std::vector<double> upload;
    std::vector<double> tick;
    QElapsedTimer clock;
    for (int i = 0; i < runs; ++i) {
        clock.start();
        tql::downloadProgram(link, program, [](const QString&) { return true; });
        upload.push_back(double(clock.nsecsElapsed()) / 1e6 - 300.0);
        line.readAll();
    }
    tql::OutputStates sent{};
    for (int i = 0; i < 5 * runs; ++i) {
        clock.start();
        tql::pollPositionAndInputs(link);
        tql::syncOutputs(link, {i % 2 == 0, false, false, false}, sent);
        tick.push_back(double(clock.nsecsElapsed()) / 1e6 - 100.0);
    }
    line.close();
    return {stats(upload), stats(tick)};
}

}  // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    const std::optional<sim::Pty> pty = sim::Pty::open();
    if (!pty) {
        std::perror("openpty");
        return 1;
    }
    std::atomic<bool> stop{false};
    std::thread controller(serve, pty->master(), std::cref(stop), 0.0, nullptr);
    constexpr int kRuns = 10;
    const QStringList program = longestProgram();
    const ExchangeTimes times = exchangeTimes(*pty, program, kRuns);
    const auto [console, teaching] = tickPeriods(pty->device());
    const PacedUpload paced = pacedUpload(program);
    const double monitor = monitorCostPerLine();
    const double trend = trendCostPerPoint();
    const LogMemory logMemory = wireLogMemory();
    stop = true;
    controller.join();

    std::printf(
        "upload of %lld lines, beyond its 300 ms of waits: mean %.2f ms, worst %.2f ms"
        " (%d runs)\n",
        static_cast<long long>(program.size()), times.upload.mean, times.upload.worst, kRuns);
    std::printf("poll tick, beyond its 100 ms of waits: mean %.2f ms, worst %.2f ms (%d runs)\n",
                times.tick.mean, times.tick.worst, 5 * kRuns);
    std::printf("console timer (500 ms): mean period %.1f ms over 20 ticks\n", console);
    std::printf("teach timer (200 ms), console polling too: mean period %.1f ms over 20 ticks\n",
                teaching);
    std::printf(
        "上傳 of 1,000 lines on an emulated 9600-baud wire, the session on its own thread: %.2f "
        "s, its bytes need %.2f s on the wire and its waits %.1f s: %.1f %% of wire and waits\n",
        paced.seconds, paced.wire, paced.waits, 100 * paced.seconds / (paced.wire + paced.waits));
    std::printf("wire monitor: %.2f us per command and reply recorded\n", monitor);
    std::printf("trend chart: %.2f us per polled position\n", trend);
    std::printf(
        "wire log of 5000 poll lines: %.0f KB; after 20000 more %.0f KB, process grew %.0f KB\n",
        double(logMemory.full) / 1024, double(logMemory.soaked) / 1024,
        double(logMemory.residentGrowth) / 1024);
    return 0;
}
