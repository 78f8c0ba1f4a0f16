// The shadow run against a controller: the controller model running what the controller
// holds, its inputs switched during its waits, polled as the console polls it.
#include "translator/shadowrun.h"

#include "files/big5.h"
#include "support/programrows.h"
#include "translator/translator.h"

#include <QTest>

#include <cmath>

using namespace tql;

namespace {

const Row kSpeed = {"VM", "100", "速度", "-", "-"};
const Row kTo100 = {"POINT", "絕對移動", "100", "-", "-"};
const Row kTo120 = {"POINT", "絕對移動", "120", "-", "-"};
const Row kTo0 = {"POINT", "絕對移動", "0", "-", "-"};
const Row kLoop = {"LOOP", "2", "迴圈", "-", "-"};
const Row kLoopEnd = {"LOOPEND", "迴圈結束", "-", "-", "-"};
const Row kWaitOn3 = {"IN+", "3", "IN+", "-", "-"};
const Row kWaitOff3 = {"IN-", "3", "IN-", "-", "-"};
const Row kCallSub = {"CALL", "SUB", "呼叫標籤", "-", "-"};
const Row kToEnd = {"GLABLE", "END", "跳至標籤", "-", "-"};
const Row kSub = {"LABLE", "SUB", "標籤", "-", "-"};
const Row kBy20 = {"MR", "相對移動", "20", "-", "-"};
const Row kDelay = {"WT", "300", "延遲", "-", "-"};
const Row kReturn = {"RET", "RETURN", "返回", "-", "-"};
const Row kEnd = {"LABLE", "END", "標籤", "-", "-"};

// Loops, calls, waits for input 3 on and off.
const QList<Row> kCell = {kSpeed, kLoop,     kTo100,   kCallSub, kWaitOn3,
                          kTo0,   kWaitOff3, kLoopEnd, kCallSub, kToEnd,
                          kSub,   kBy20,     kDelay,   kReturn,  kEnd};

ProgramTable tableOf(const QList<Row>& rows) {
    return test::tableOf(rows);
}

// The controller holding a program, started by "G" at 0 and `late` after it.
class Controller {
public:
    Controller(const QList<Row>& rows, controller::MotionScale motion, double late)
        : m_machine({.loopback = false, .accelerate = true, .scale = motion}) {
        std::vector<std::string> lines;
        for (const QString& line :
             TranslateProgram(tableOf(rows), int(rows.size())).ControllerText) {
            lines.push_back(encodeBig5(line)->toStdString());
        }
        m_machine.load(std::move(lines));
        m_machine.startProgram(late);
    }
    controller::Machine& machine() { return m_machine; }

private:
    controller::Machine m_machine;
};

struct Followed {
    ShadowState state = ShadowState::Following;
    int row = 0;
    double judgedAt = -1;  // the reading that judged it
    double machineEnd = -1;
    std::optional<double> seconds;
};

// Every millisecond the controller runs on; its waits for an input are released `hold`
// seconds after they begin, or (hold < 0) input 3 switches every -hold seconds whatever
// the program does; the slide stands still from `blockedAt` on (< 0: never). The position
// is read every `poll` seconds, the inputs every 500 ms just after one of them.
Followed follow(const QList<Row>& edited, const QList<Row>& held, controller::MotionScale motion,
                double poll, double hold, double blockedAt) {
    Controller controller(held, motion, 0.002);
    controller::Machine& machine = controller.machine();
    ShadowRun shadow(tableOf(edited), int(edited.size()), {});
    Followed followed;
    const int pollMs = int(std::lround(poll * 1000));
    std::optional<double> blockedPosition;
    double waitingSince = 0;
    size_t waitingLine = 0;
    for (int ms = 1; ms < 60000 && shadow.following(); ++ms) {
        const double t = ms / 1000.0;
        machine.advance(t);
        if (hold < 0 && ms % int(std::lround(-hold * 1000)) == 0) {
            machine.setInput(3, (machine.inputWord() & 4) == 0);
        }
        if (const auto& wait = machine.waitingOnInput(); wait && hold >= 0) {
            if (waitingLine != wait->line) {
                waitingLine = wait->line;
                waitingSince = t;
            }
            if (t >= waitingSince + hold) {
                machine.setInput(wait->input, wait->on);
                waitingLine = 0;
            }
        }
        if (!machine.running() && followed.machineEnd < 0) {
            followed.machineEnd = t;
        }
        if (blockedAt >= 0 && t >= blockedAt && !blockedPosition) {
            blockedPosition = machine.position();
        }
        // Each poll a few milliseconds into its period, as the timer's wake-up comes.
        if ((ms - 13) % pollMs == 0) {
            shadow.position(t, blockedPosition.value_or(machine.position()));
        }
        if ((ms - 13) % 500 == 50) {
            shadow.inputs(t, switchesOf<kInputs>(machine.inputWord()));
        }
        if (!shadow.following()) {
            followed.judgedAt = t;
        }
    }
    followed.state = shadow.state();
    followed.row = shadow.row();
    followed.seconds = shadow.seconds();
    return followed;
}

// When the controller's slide first stands beyond reach of the edited program's.
double divergence(const QList<Row>& edited, const QList<Row>& held) {
    DryRunSetup setup;
    setup.sampleInterval = 0.001;
    const DryRunResult model = DryRun(tableOf(edited), int(edited.size()), setup);
    Controller controller(held, {}, 0);
    for (const auto& [t, position] : model.samples) {
        controller.machine().advance(t);
        if (std::abs(controller.machine().position() - position) > ShadowTolerance::kDistance) {
            return t;
        }
    }
    return -1;
}

}  // namespace

Q_DECLARE_METATYPE(QList<Row>)
Q_DECLARE_METATYPE(tql::ShadowState)

class TestShadowRun : public QObject {
    Q_OBJECT

private slots:
    void followsTheController_data() {
        QTest::addColumn<QList<Row>>("edited");
        QTest::addColumn<QList<Row>>("held");  // what the controller runs
        QTest::addColumn<double>("speed");     // the controller's motion against the model's
        QTest::addColumn<double>("poll");
        QTest::addColumn<double>("hold");       // each input wait lasts this long
        QTest::addColumn<double>("blockedAt");  // < 0: never
        QTest::addColumn<ShadowState>("state");
        QTest::addColumn<int>("row");

        for (const double poll : {0.05, 0.5}) {
            const QByteArray every = QByteArray::number(int(poll * 1000)) + " ms";
            // A wait released between two polls: the model goes on late, and the readings
            // after it set its clock.
            QTest::newRow("the program, " + every)
                << kCell << kCell << 1.0 << poll << 0.37 << -1.0 << ShadowState::Ended << 0;
            QTest::newRow("a controller 0.5 % slower, " + every)
                << kCell << kCell << 0.995 << poll << 0.61 << -1.0 << ShadowState::Ended << 0;
            // The input may change between a poll and the program's decision on it, and
            // change back before the next: the controller may have gone either way.
            for (const double period : {0.576, 0.933}) {
                QTest::newRow(QByteArray("input 3 switched every ") + QByteArray::number(period) +
                              " s, " + QByteArray::number(int(poll * 1000)) + " ms")
                    << kCell << kCell << 1.0 << poll << -period << -1.0 << ShadowState::Ended << 0;
            }
            QList<Row> other = kCell;
            other[2] = kTo120;
            QTest::newRow("a move of another program, " + every)
                << kCell << other << 1.0 << poll << 0.37 << -1.0 << ShadowState::Differs << 3;
            QTest::newRow("the slide blocked, " + every)
                << kCell << kCell << 1.0 << poll << 0.37 << 0.6 << ShadowState::StoppedEarly << 3;
        }
        // Input 3 on at once, off at once: waits that take no time.
        QTest::newRow("waits already answered")
            << kCell << kCell << 1.0 << 0.5 << 0.0 << -1.0 << ShadowState::Ended << 0;
        // The controller passes over a statement the model does not know: so might it not.
        QList<Row> unknown = kCell;
        unknown[11] = {"STEP", "XYZ 1", "", "自設", "-"};
        QTest::newRow("a custom step the model does not know")
            << unknown << unknown << 1.0 << 0.5 << 0.37 << -1.0 << ShadowState::CannotFollow << 12;
        // A row the checks find in error stops the model, not necessarily the controller.
        QList<Row> wrong = kCell;
        wrong[5] = {"POINT", "絕對移動", "abc", "-", "-"};
        QTest::newRow("a row in error")
            << wrong << kCell << 1.0 << 0.5 << 0.37 << -1.0 << ShadowState::CannotFollow << 6;
        // The controller's program ends where the edited one goes on.
        QTest::newRow("a shorter program held")
            << QList<Row>{kSpeed, kTo100, kTo0} << QList<Row>{kSpeed, kTo100} << 1.0 << 0.5 << -1.0
            << -1.0 << ShadowState::StoppedEarly << 3;
    }

    void followsTheController() {
        QFETCH(QList<Row>, edited);
        QFETCH(QList<Row>, held);
        QFETCH(double, speed);
        QFETCH(double, poll);
        QFETCH(double, hold);
        QFETCH(double, blockedAt);
        QFETCH(ShadowState, state);
        QFETCH(int, row);
        const Followed followed = follow(edited, held, {speed, 1}, poll, hold, blockedAt);
        QCOMPARE(followed.state, state);
        QCOMPARE(followed.row, row);
        if (state == ShadowState::Ended) {
            // The end the model says, on the clock the readings set: the last moves over
            // between two slow polls are timed only within what they tell.
            QVERIFY2(std::abs(*followed.seconds - followed.machineEnd) <= std::max(0.01, poll / 2),
                     qPrintable(QString("ended %1 s, the controller at %2 s")
                                    .arg(*followed.seconds)
                                    .arg(followed.machineEnd)));
        }
        if (state == ShadowState::Differs) {
            // Said by the second reading after the slides parted.
            const double parted = divergence(edited, held);
            QVERIFY(parted > 0);
            QVERIFY2(
                followed.judgedAt <= parted + 2 * poll + ShadowTolerance::kTiming,
                qPrintable(
                    QString("parted at %1 s, said at %2 s").arg(parted).arg(followed.judgedAt)));
        }
    }

    // One stray reading is not a difference; a reading that is no position ends the
    // following where the model stands.
    void oneStrayReadingAndAReplyThatIsNoPosition() {
        ShadowRun shadow(tableOf(kCell), int(kCell.size()), {});
        shadow.position(0.25, 25);
        shadow.position(0.3, 90);
        shadow.position(0.5, 50);
        QVERIFY(shadow.following());
        shadow.unread(1.0, "ERR\r");
        QCOMPARE(shadow.state(), ShadowState::CannotFollow);
        QCOMPARE(shadow.verdict(),
                 "從第 3 列起無法跟隨實機: 控制器對位置 (?PE) 的回答不是數字: 「ERR」");
        shadow.position(1.5, 100);
        QCOMPARE(shadow.machinePosition(), 50.0);  // no longer followed
    }
};

QTEST_APPLESS_MAIN(TestShadowRun)
#include "tst_shadowrun.moc"
