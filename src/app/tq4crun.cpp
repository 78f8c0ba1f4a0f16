#include "app/tq4crun.h"

#include "link/qtserialline.h"
#include "session/controllersession.h"
#include "session/runhistory.h"
#include "translator/dryrun.h"
#include "translator/measuredrun.h"
#include "translator/shadowrun.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QEventLoop>
#include <QFileInfo>
#include <QTimer>

#include <algorithm>
#include <cstdio>

namespace tql {
namespace {

void say(const QString& text) {
    std::fputs(("tq4c: " + text + u'\n').toUtf8().constData(), stderr);
}

void print(const QString& line) {
    std::fputs((line + u'\n').toUtf8().constData(), stdout);
}

// The operator at the keyboard, as tq4c --run answers for them: the upload's questions (store
// it, run it) 是, a warning that asks whether to go on despite errors 否, every message on
// standard error.
class AnsweringPrompter final : public Prompter {
public:
    Answer message(QWidget*, const QString& text, const QString&, Buttons buttons,
                   Icon icon) override {
        if (buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel) {
            const bool yes = icon != Icon::Warning;
            say(text + (yes ? QStringLiteral(" 是") : QStringLiteral(" 否")));
            return yes ? Answer::Yes : Answer::No;
        }
        say(text);
        return buttons == Buttons::OkCancel ? Answer::Cancel : Answer::Ok;
    }
    QString inputBox(QWidget*, const QString&, const QString&, const QString&) override {
        return {};
    }
    QString saveFileName(QWidget*, const QString&, const QString&) override { return {}; }
    QString openFileName(QWidget*, const QString&, const QString&) override { return {}; }
};

// The slide's position as the poll reads it after connecting: where the model starts.
std::optional<double> positionAfterConnecting(const ControllerSession& session) {
    QEventLoop loop;
    QTimer check;
    QTimer giveUp;
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (session.lastPosition() || !session.isConnected()) {
            loop.quit();
        }
    });
    QObject::connect(&giveUp, &QTimer::timeout, &loop, &QEventLoop::quit);
    check.start(10);
    giveUp.start(2000);
    loop.exec();
    return session.lastPosition();
}

// Connected, the slide's position read: where the model starts; nothing (said) when the
// port or the controller failed.
std::optional<double> connectForRun(ControllerSession& session, const QString& port) {
    session.setPortNumber(port);
    session.ConnectController();
    if (!session.isConnected()) {
        return std::nullopt;  // said: the port, or a silent controller
    }
    const std::optional<double> start = positionAfterConnecting(session);
    if (!start) {
        say(QCoreApplication::translate("MeasuredRun", "控制器沒有回答位置 (?PE)"));
        session.signOff();
    }
    return start;
}

// The run followed until its measurement stops; true when it did not within the timeout.
// A run beyond its time is not left running unwatched: 停止, as the operator would.
bool followUntilStopped(ControllerSession& session, double timeout) {
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    bool timedOut = false;
    QObject::connect(&session, &ControllerSession::runStopped, &loop, &QEventLoop::quit);
    QObject::connect(&deadline, &QTimer::timeout, &loop, [&] {
        timedOut = true;
        session.stopProgram();
        session.stopMeasuring();
    });
    deadline.start(int(std::min(timeout * 1000, 2e9)));
    loop.exec();
    if (timedOut) {
        say(QCoreApplication::translate("MeasuredRun", "執行 %1 秒仍未結束, 已停止程式")
                .arg(timeout, 0, 'f', 1));
    }
    return timedOut;
}

// The controller on the real port, answered as tq4c answers.
struct PortSession {
    AnsweringPrompter prompter;
    QtSerialLine line;
    ThreadSleeper sleeper;
    ControllerSession session{prompter, line, sleeper};
};

}  // namespace

int measureRunOnController(const ProgramTable& table, int rowCounter,
                           const MeasuredRunOptions& options) {
    PortSession port;
    ControllerSession& session = port.session;
    const std::optional<double> start = connectForRun(session, options.port);
    if (!start) {
        return 1;
    }
    DryRunSetup setup;
    setup.trace = true;
    setup.startPosition = *start;
    if (options.calibration) {
        setup.motion = options.calibration->motion;
    }
    DryRunner model(table, rowCounter, setup);
    model.run();
    MeasuredRun run = MeasuredRun::following(table, model);
    const std::optional<double> estimate = run.modelSeconds();

    QDateTime startedAt;
    QObject::connect(&session, &ControllerSession::runStarted, &session,
                     [&] { startedAt = QDateTime::currentDateTimeUtc(); });
    QObject::connect(&session, &ControllerSession::runPosition, &session,
                     [&](double at, double position) {
                         run.add(at, position);
                         if (run.ended()) {
                             session.stopMeasuring();
                         }
                     });
    QObject::connect(&session, &ControllerSession::runUnread, &session,
                     [&](double at, const QString& reply) { run.unread(at, reply); });
    session.upload(table, rowCounter);
    if (!session.measuring()) {
        session.signOff();
        return 1;  // refused, or the upload went wrong: said
    }
    const bool timedOut =
        followUntilStopped(session, options.timeout.value_or(estimate ? 10 * *estimate : 600));

    for (const QString& text : run.summary(!run.ended())) {
        print(text);
    }
    const RunOutcome outcome = run.ended() ? RunOutcome::Ended
                               : timedOut  ? RunOutcome::TimedOut
                                           : RunOutcome::LinkLost;
    RunRecord record = recordOf(run, outcome);
    record.when = startedAt;
    record.file = QFileInfo(options.file).absoluteFilePath();
    record.hash = programHash(table, rowCounter);
    record.port = session.portNumber();
    if (options.calibration) {
        record.calibration = calibrationText(*options.calibration);
    }
    if (const std::optional<QString> failure = RunHistory().add(record)) {
        say(*failure);  // a record only: the run is what it was
    }
    if (session.isConnected()) {
        session.signOff();
    }
    switch (outcome) {
        case RunOutcome::Ended:
            return 0;
        case RunOutcome::TimedOut:
            return 3;
        case RunOutcome::Stopped:
        case RunOutcome::LinkLost:
            break;
    }
    return 1;
}

int watchRunOnController(const ProgramTable& table, int rowCounter,
                         const MeasuredRunOptions& options) {
    PortSession port;
    ControllerSession& session = port.session;
    InputStates inputs{};
    QObject::connect(&session, &ControllerSession::pollRead, &session,
                     [&](const PollReading& reading) { inputs = reading.inputs; });
    const std::optional<double> start = connectForRun(session, options.port);
    if (!start) {
        return 1;
    }
    ShadowSetup setup{*start, inputs, {}, 0};
    if (options.calibration) {
        setup.motion = options.calibration->motion;
        setup.residual = options.calibration->residual;
    }
    ShadowRun shadow(table, rowCounter, setup);
    // Each reading: the rows the model ran meanwhile, and the verdict once there is one.
    const auto followed = [&] {
        for (const TracedRow& row : shadow.takeRows()) {
            print(traceLine(row));
        }
        if (!shadow.following()) {
            session.stopMeasuring();
        }
    };
    QObject::connect(&session, &ControllerSession::runPosition, &session,
                     [&](double at, double position) {
                         shadow.position(at, position);
                         followed();
                     });
    QObject::connect(&session, &ControllerSession::runInputs, &session,
                     [&](double at, const InputStates& read) {
                         shadow.inputs(at, read);
                         followed();
                     });
    QObject::connect(&session, &ControllerSession::runUnread, &session,
                     [&](double at, const QString& reply) {
                         shadow.unread(at, reply);
                         followed();
                     });
    session.measureRun();
    if (!session.measuring()) {
        session.signOff();
        return 1;
    }
    DryRunSetup estimated;
    estimated.startPosition = setup.startPosition;
    estimated.inputs = inputs;
    estimated.motion = setup.motion;
    const DryRunResult model = DryRun(table, rowCounter, estimated);
    const double timeout = options.timeout.value_or(
        model.end == DryRunEnd::Finished ? std::max(10 * model.seconds, 10.0) : 600);
    const bool timedOut = followUntilStopped(session, timeout);
    if (shadow.following() && !timedOut) {
        shadow.lost();
    }
    if (!shadow.following()) {
        print(shadow.verdict());
        for (const QString& cause : shadow.causes()) {
            print(QCoreApplication::translate("ShadowRun", "  可能: %1").arg(cause));
        }
    }
    if (session.isConnected()) {
        session.signOff();
    }
    switch (shadow.state()) {
        case ShadowState::Ended:
            return 0;
        case ShadowState::Differs:
        case ShadowState::StoppedEarly:
            return 4;
        case ShadowState::Following:
            return 3;
        case ShadowState::CannotFollow:
            break;
    }
    return 1;
}

}  // namespace tql
