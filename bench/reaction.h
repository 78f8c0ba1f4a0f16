#pragma once

// How long a window waits before it answers the operator, sampled by a thread that hands
// it an event at random moments (every 5 to 25 ms): a blocked window answers late.

#include <QApplication>
#include <QWidget>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <random>
#include <thread>
#include <vector>

namespace bench {

using Clock = std::chrono::steady_clock;

struct Reaction {
    double median = 0;
    double p95 = 0;
    double worst = 0;
    size_t samples = 0;
};

// Until `done` (asked between events) or for `seconds`, the window's waits before it
// answered an event handed to it at a random moment, in milliseconds.
inline Reaction sample(QWidget& window, const std::function<bool()>& done, double seconds) {
    std::vector<double> waits;
    std::atomic<bool> stop = false;
    std::thread prober([&] {
        std::mt19937 random(7);
        std::uniform_int_distribution<int> pause(5, 25);
        while (!stop) {
            std::this_thread::sleep_for(std::chrono::milliseconds(pause(random)));
            const Clock::time_point handed = Clock::now();
            QMetaObject::invokeMethod(&window, [&waits, handed] {
                waits.push_back(
                    std::chrono::duration<double, std::milli>(Clock::now() - handed).count());
            });
        }
    });
    const Clock::time_point until = Clock::now() + std::chrono::milliseconds(int(seconds * 1000));
    while (Clock::now() < until && !done()) {
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    stop = true;
    prober.join();
    QApplication::processEvents();
    std::sort(waits.begin(), waits.end());
    Reaction r;
    r.samples = waits.size();
    if (!waits.empty()) {
        r.median = waits[waits.size() / 2];
        r.p95 = waits[waits.size() * 95 / 100];
        r.worst = waits.back();
    }
    return r;
}

// For `seconds`.
inline Reaction sample(QWidget& window, double seconds) {
    return sample(
        window, [] { return false; }, seconds);
}

}  // namespace bench
