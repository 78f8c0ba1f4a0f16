#pragma once

#include "session/controllersession.h"
#include "session/teachline.h"

#include <QObject>

#include <deque>
#include <functional>
#include <memory>

class QThread;

namespace tql {

// The windows' side of a controller session that runs on a thread of its own: the verbs
// are posted to the session's thread and what they did comes back on the window's, so no
// blocking wait of an exchange ever stops the window. The teach dialog's exchanges go the
// same way. With no thread given the session stays on the window's own thread (the
// tests), and every verb is done when perform() returns.
class SessionClient final : public QObject, public TeachLine {
    Q_OBJECT

public:
    SessionClient(std::unique_ptr<ControllerSession> session, QThread* thread, QObject* parent);
    // The session is gone, on its own thread, before this returns.
    ~SessionClient() override;

    // Its signals, and what it lets any thread read.
    ControllerSession& session() { return *m_session; }

    // verb(session) on the session's thread; `done` hears what it did, on this thread.
    void perform(std::function<Exchange(ControllerSession&)> verb,
                 std::function<void(Exchange)> done = {});
    // What writes nothing (an output wanted, the poll restarted), on the session's thread.
    void post(std::function<void(ControllerSession&)> action);

    // While the session goes (at exit), a window still about, such as a teach dialog's
    // timer, finds it closed and asks nothing of it.
    bool isConnected() const override { return m_session && m_session->isConnected(); }
    bool lineHeld() const override { return m_session && m_session->lineHeld(); }
    bool slideFree() const override { return m_session && m_session->slideFree(); }
    // Refused at once while held or closed; otherwise on its way.
    Exchange holdSlide(bool held) override;
    void readPosition(std::function<void(const std::optional<QString>&)> read) override;
    Exchange moveTo(const QString& target) override;

private:
    // What a posted verb may be told now, before it runs.
    Exchange refusalNow() const;

    std::unique_ptr<ControllerSession> m_session;
    bool m_threaded = false;
    std::deque<std::function<void(const std::optional<QString>&)>> m_teachReads;
};

}  // namespace tql
