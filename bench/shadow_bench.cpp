// Shadow-run benchmark, on the controller simulator: a program with a loop, calls and
// waits for an input, run 20 times (half with the 50 ms "?PE" polls, half with the
// console's 500 ms poll alone) while the simulator's standard input switches the input at
// random moments, each run followed by the program's model: how many runs it followed to
// their end and how many it called different. Then the controller holds the program with
// one move changed (MA 100 → MA 120) and is followed with the model of the program as it
// was: the row named, and from the moment the slide stands beyond what a reading may differ
// from the model to the alarm, in readings and in time.

#include "benchsupport.h"
#include "link/qtserialline.h"
#include "program/programtable.h"
#include "session/controllersession.h"
#include "translator/dryrun.h"
#include "translator/shadowrun.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>

namespace {

using tql::Row;

const QList<Row> kProgram = {
    {"VM", "100", "速度", "-", "-"},        {"LOOP", "2", "迴圈", "-", "-"},
    {"POINT", "絕對移動", "100", "-", "-"}, {"WT", "200", "延遲", "-", "-"},
    {"CALL", "SUB", "呼叫標籤", "-", "-"},  {"IN+", "3", "IN+", "-", "-"},
    {"POINT", "絕對移動", "0", "-", "-"},   {"IN-", "3", "IN-", "-", "-"},
    {"LOOPEND", "迴圈結束", "-", "-", "-"}, {"GLABLE", "END", "跳至標籤", "-", "-"},
    {"LABLE", "SUB", "標籤", "-", "-"},     {"MR", "相對移動", "20", "-", "-"},
    {"WT", "300", "延遲", "-", "-"},        {"RET", "RETURN", "返回", "-", "-"},
    {"LABLE", "END", "標籤", "-", "-"}};

tql::ProgramTable tableOf(const QList<Row>& rows) {
    tql::ProgramTable table{};
    table[0] = tql::headerRow();
    std::copy(rows.begin(), rows.end(), table.begin() + 1);
    return table;
}

void waitFor(int ms) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
}

struct Followed {
    double start = 0;  // the slide at "G"
    tql::ShadowState state = tql::ShadowState::Following;
    int row = 0;
    double judgedAt = 0;  // seconds after it
    std::vector<double> readings;
};

// One controller on the simulator; each follow() starts what it holds and follows it.
class Cell {
public:
    explicit Cell(const QString& device) : m_session(m_prompter, m_line, m_sleeper) {
        m_session.setPortNumber(device);
        QObject::connect(&m_session, &tql::ControllerSession::pollRead,
                         [this](const tql::PollReading& reading) { m_inputs = reading.inputs; });
        m_session.ConnectController();
        waitFor(700);  // a poll or so: the position and the inputs
    }
    ~Cell() { m_session.signOff(); }

    // 定位 there, and the slide given the time to get there.
    void moveTo(double position) {
        m_session.positionSlide(QString::number(position));
        waitFor(2500);
    }

    void upload(const QList<Row>& rows) {
        m_session.upload(tableOf(rows), int(rows.size()));
        m_session.stopProgram();
        m_session.stopMeasuring();
        waitFor(600);
    }

    Followed follow(const QList<Row>& rows, bool fast) {
        Followed followed;
        followed.start = m_session.lastPosition().value_or(0);
        tql::ShadowRun shadow(tableOf(rows), int(rows.size()), {followed.start, m_inputs, {}, 0});
        const auto judged = [&](double at) {
            if (!shadow.following() && followed.state == tql::ShadowState::Following) {
                followed.state = shadow.state();
                followed.row = shadow.row();
                followed.judgedAt = at;
                m_session.stopMeasuring();
            }
        };
        const QMetaObject::Connection position = QObject::connect(
            &m_session, &tql::ControllerSession::runPosition, [&](double at, double p) {
                shadow.position(at, p);
                followed.readings.push_back(at);
                judged(at);
            });
        const QMetaObject::Connection inputs =
            QObject::connect(&m_session, &tql::ControllerSession::runInputs,
                             [&](double at, const tql::InputStates& read) {
                                 shadow.inputs(at, read);
                                 judged(at);
                             });
        m_session.setFastMeasuring(fast);
        m_session.measureRun();
        QElapsedTimer clock;
        clock.start();
        while (m_session.measuring() && clock.elapsed() < 60000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
        m_session.stopProgram();
        m_session.stopMeasuring();
        QObject::disconnect(position);
        QObject::disconnect(inputs);
        waitFor(600);
        return followed;
    }

private:
    bench::QuietPrompter m_prompter;
    tql::QtSerialLine m_line;
    tql::ThreadSleeper m_sleeper;
    tql::ControllerSession m_session;
    tql::InputStates m_inputs{};
};

// When the slide of a controller holding `held` first stands beyond what a reading may
// differ from the program's model (kDistance from wherever the model stood within kTiming),
// both from `start`.
double parting(const QList<Row>& program, const QList<Row>& held, double start) {
    tql::DryRunSetup setup;
    setup.sampleInterval = 0.001;
    setup.startPosition = start;
    setup.timeLimit = 5;
    const tql::DryRunResult model = tql::DryRun(tableOf(program), int(program.size()), setup);
    const tql::DryRunResult machine = tql::DryRun(tableOf(held), int(held.size()), setup);
    const auto reach = std::ptrdiff_t(tql::ShadowTolerance::kTiming / setup.sampleInterval);
    const auto n = std::ptrdiff_t(std::min(model.samples.size(), machine.samples.size()));
    for (std::ptrdiff_t k = 0; k < n; ++k) {
        bool near = false;
        for (std::ptrdiff_t j = std::max<std::ptrdiff_t>(0, k - reach);
             j < std::min(n, k + reach + 1) && !near; ++j) {
            near = std::abs(model.samples[size_t(j)].second - machine.samples[size_t(k)].second) <=
                   tql::ShadowTolerance::kDistance;
        }
        if (!near) {
            return model.samples[size_t(k)].first;
        }
    }
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    bench::Simulator sim({});
    if (sim.device.isEmpty()) {
        std::fprintf(stderr, "no simulator\n");
        return 1;
    }
    // Input 3 switched at random, each state held 0.6 to 1.6 s: longer than a poll, so the
    // console sees every change.
    bool on = false;
    QTimer switcher;
    switcher.setSingleShot(true);
    QObject::connect(&switcher, &QTimer::timeout, [&] {
        on = !on;
        sim.process.write(on ? "in 3 1\n" : "in 3 0\n");
        switcher.start(600 + int(QRandomGenerator::global()->bounded(1000)));
    });
    switcher.start(300);

    Cell cell(sim.device);
    cell.upload(kProgram);
    int followedToTheEnd[2] = {0, 0};
    int differed[2] = {0, 0};
    for (int run = 0; run < 20; ++run) {
        const bool fast = run % 2 == 0;
        const Followed followed = cell.follow(kProgram, fast);
        if (followed.state == tql::ShadowState::Ended) {
            ++followedToTheEnd[fast];
        } else {
            ++differed[fast];
            std::fprintf(stderr, "run %d: state %d at row %d, %.3f s\n", run + 1,
                         int(followed.state), followed.row, followed.judgedAt);
        }
    }
    switcher.stop();
    for (const bool fast : {true, false}) {
        std::printf(
            "the program as the controller holds it, %s: %d of 10 runs followed to "
            "their end, %d called different\n",
            fast ? "\"?PE\" every 50 ms" : "the console's poll every 500 ms",
            followedToTheEnd[fast], differed[fast]);
    }

    QList<Row> changed = kProgram;
    changed[2][2] = "120";
    cell.upload(changed);
    for (const bool fast : {true, false}) {
        double worst = 0;
        double sum = 0;
        int named = 0;
        long latest = 0;  // readings from the parting to the alarm, at most
        constexpr int kRuns = 5;
        for (int run = 0; run < kRuns; ++run) {
            cell.moveTo(0);
            const Followed followed = cell.follow(kProgram, fast);
            const double parted = parting(kProgram, changed, followed.start);
            const double latency = followed.judgedAt - parted;
            worst = std::max(worst, latency);
            sum += latency;
            latest = std::max(
                latest,
                std::count_if(followed.readings.begin(), followed.readings.end(),
                              [&](double at) { return at > parted && at <= followed.judgedAt; }));
            const bool alarm = followed.state == tql::ShadowState::Differs ||
                               followed.state == tql::ShadowState::StoppedEarly;
            named += alarm && followed.row == 3 ? 1 : 0;
        }
        std::printf(
            "MA 100 → MA 120, %s: row 3 named in %d of %d runs; the alarm at the "
            "reading %ld after the slide went beyond reach at most, %.0f ms after it on "
            "average, %.0f ms at most\n",
            fast ? "\"?PE\" every 50 ms" : "the console's poll every 500 ms", named, kRuns, latest,
            1000 * sum / kRuns, 1000 * worst);
    }
    return 0;
}
