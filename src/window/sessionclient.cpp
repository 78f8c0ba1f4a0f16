#include "window/sessionclient.h"

#include <QCoreApplication>
#include <QThread>

#include <atomic>
#include <thread>

namespace tql {

SessionClient::SessionClient(std::unique_ptr<ControllerSession> session, QThread* thread,
                             QObject* parent)
    : QObject(parent), m_session(std::move(session)), m_threaded(thread != nullptr) {
    if (m_threaded) {
        m_session->moveToThread(thread);
    }
}

// A box the session asks for on its way out is still shown: the window's events run while
// the session thread ends its last exchange.
SessionClient::~SessionClient() {
    if (!m_threaded) {
        return;
    }
    std::atomic<bool> gone = false;
    ControllerSession* session = m_session.release();
    QMetaObject::invokeMethod(session, [session, &gone] {
        delete session;
        gone = true;
    });
    while (!gone) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        std::this_thread::yield();
    }
}

void SessionClient::perform(std::function<Exchange(ControllerSession&)> verb,
                            std::function<void(Exchange)> done) {
    ControllerSession* session = m_session.get();
    if (session == nullptr) {
        return;
    }
    QMetaObject::invokeMethod(
        session, [this, session, verb = std::move(verb), done = std::move(done)] {
            const Exchange exchange = verb(*session);
            if (done) {
                QMetaObject::invokeMethod(this, [done, exchange] { done(exchange); });
            }
        });
}

void SessionClient::post(std::function<void(ControllerSession&)> action) {
    ControllerSession* session = m_session.get();
    if (session == nullptr) {
        return;
    }
    QMetaObject::invokeMethod(session, [session, action = std::move(action)] { action(*session); });
}

Exchange SessionClient::refusalNow() const {
    return lineHeld() ? Exchange::LineHeld : !isConnected() ? Exchange::NotSent : Exchange::Done;
}

Exchange SessionClient::holdSlide(bool held) {
    const Exchange now = refusalNow();
    if (now == Exchange::Done) {
        perform([held](ControllerSession& s) { return s.holdSlide(held); });
    }
    return now;
}

Exchange SessionClient::moveTo(const QString& target) {
    const Exchange now = refusalNow();
    if (now == Exchange::Done) {
        perform([target](ControllerSession& s) { return s.moveTo(target); });
    }
    return now;
}

// The readings come back in the order they were asked, each to whoever asked it.
void SessionClient::readPosition(std::function<void(const std::optional<QString>&)> read) {
    ControllerSession* session = m_session.get();
    if (session == nullptr) {
        return;
    }
    m_teachReads.push_back(std::move(read));
    QMetaObject::invokeMethod(session, [this, session] {
        const std::optional<QString> text = session->readPosition();
        QMetaObject::invokeMethod(this, [this, text] {
            const auto read = std::move(m_teachReads.front());
            m_teachReads.pop_front();
            read(text);
        });
    });
}

}  // namespace tql
