#pragma once

#include "session/controllersession.h"
#include "support/polltimer.h"
#include "support/programrows.h"
#include "support/scriptedline.h"
#include "support/scriptedprompter.h"

#include <QTemporaryDir>
#include <QTest>

namespace tql::test {

// A home of its own: the upload's trace file and the user's settings land in it.
struct TemporaryHome {
    QTemporaryDir dir;
    TemporaryHome() { qputenv("HOME", dir.path().toLocal8Bit()); }
};

// A controller session without any window, with a scripted operator, on a line and with a
// sleeper of the test's choice (scripted by default), and what it told the windows to
// show, as the signals said it last.
template <typename Line = ScriptedLine, typename Sleep = RecordingSleeper>
struct SessionFixture {
    TemporaryHome home;
    ScriptedPrompter prompter;
    Line line;
    Sleep sleeper;
    ControllerSession session{prompter, line, sleeper};

    QString state = QStringLiteral("未連線");  // panel 1 of the status bar
    bool connected = false;                    // the connected console's controls enabled
    InternalValues internal;
    PollReading reading;
    QString reply;
    int cleared = 0;  // readingsCleared
    QList<int> progress;

    SessionFixture() {
        QObject::connect(&session, &ControllerSession::connectionShown,
                         [this](const QString& shown) { state = shown; });
        QObject::connect(&session, &ControllerSession::connectedChanged,
                         [this](bool on) { connected = on; });
        QObject::connect(&session, &ControllerSession::internalValuesRead,
                         [this](const InternalValues& values) { internal = values; });
        QObject::connect(&session, &ControllerSession::pollRead,
                         [this](const PollReading& read) { reading = read; });
        QObject::connect(&session, &ControllerSession::readingsCleared, [this] { ++cleared; });
        QObject::connect(&session, &ControllerSession::replyRead,
                         [this](const QString& read) { reply = read; });
        QObject::connect(&session, &ControllerSession::uploadProgress,
                         [this](int sent, int) { progress << sent; });
    }

    // One console tick, on demand, instead of every 500 ms; true when it ran.
    bool tick(int timeoutMs = 2000) {
        QTimer& timer = pollTimer(session);
        bool ticked = false;
        const auto done = QObject::connect(&timer, &QTimer::timeout, [&] { ticked = true; });
        timer.setSingleShot(true);
        timer.setInterval(0);
        timer.start();
        QElapsedTimer clock;
        clock.start();
        while (!ticked && clock.elapsed() < timeoutMs) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        }
        QObject::disconnect(done);
        return ticked;
    }

    QStringList messages() const {
        QStringList texts;
        for (const auto& m : prompter.messages) {
            texts << m.text;
        }
        return texts;
    }
};

// The scripted session connected to a controller that answered, with what connecting wrote,
// slept and said forgotten.
struct ConnectedSession : SessionFixture<> {
    ConnectedSession() {
        line.replies = {"100\r", "", "", "2000\r", "100\r"};
        session.ConnectController();
        line.written.clear();
        sleeper.sleeps.clear();
        prompter.messages.clear();
    }
};

}  // namespace tql::test
