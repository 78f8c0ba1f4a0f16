// 量測執行 of the controller session: the stored program started and its run followed, a
// position at a time with its time since "G".
#include "link/commands.h"
#include "link/console.h"
#include "session/controllersession.h"
#include "session/fieldtext.h"
#include "translator/upload.h"

namespace tql {

Exchange ControllerSession::measureRun() {
    if (lineHeld()) {
        return Exchange::LineHeld;
    }
    if (!m_link.isOpen()) {
        return RS232(commands::kGo);  // " 連線錯誤 !", nothing sent: no question
    }
    const Hold hold(*this);  // the question lets events run
    if (!ask(runQuestion(), Prompter::Icon::Question)) {
        return Exchange::NotSent;
    }
    startStoredProgram(m_link);
    startMeasuring();
    return Exchange::Done;
}

// From "G", just sent.
void ControllerSession::startMeasuring() {
    m_runClock.start();
    m_measuring = true;
    if (m_fastMeasuring) {
        m_measureTimer.start();
    }
    emit runStarted();
}

void ControllerSession::stopMeasuring() {
    m_measureTimer.stop();
    if (std::exchange(m_measuring, false)) {
        emit runStopped();
    }
}

void ControllerSession::measureTick() {
    if (lineHeld()) {
        return;  // the poll's pause holds for it too
    }
    if (!m_link.isOpen() || m_link.lostReason()) {
        return;  // the console's next tick says what became of the port
    }
    // The query as Link::query makes it, timed when it has left: the controller reads the
    // slide then, not when the tick began.
    m_link.writeLine(commands::kQueryPosition);
    const double at = double(m_runClock.nsecsElapsed()) / 1e9;
    m_link.sleep(commands::kQueryWait);
    tellRunPosition(at, m_link.readAll());
}

void ControllerSession::tellRunPosition(double seconds, const QString& reply) {
    if (const std::optional<double> position = positionIn(reply)) {
        emit runPosition(seconds, *position);
    } else {
        emit runUnread(seconds, reply);
    }
}

}  // namespace tql
