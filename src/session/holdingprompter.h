#pragma once

// The session's prompter, private to the session's own files.

#include "session/controllersession.h"

#include <QCoreApplication>
#include <QThread>

#include <type_traits>

namespace tql {

// Every box holds the line while it is up: its event loop must not let a tick talk. The
// boxes are the window's: asked from the session's own thread, the window's thread shows
// them while the session waits for the answer.
class ControllerSession::HoldingPrompter final : public Prompter {
public:
    HoldingPrompter(Prompter& boxes, ControllerSession& session)
        : m_boxes(boxes), m_session(session) {}

    Answer message(QWidget* parent, const QString& text, const QString& title, Buttons buttons,
                   Icon icon) override {
        return shown([&] { return m_boxes.message(parent, text, named(title), buttons, icon); });
    }
    QString inputBox(QWidget* parent, const QString& prompt, const QString& title,
                     const QString& defaultText) override {
        return shown([&] { return m_boxes.inputBox(parent, prompt, named(title), defaultText); });
    }
    QString saveFileName(QWidget* parent, const QString& filter, const QString& start) override {
        return shown([&] { return m_boxes.saveFileName(parent, filter, start); });
    }
    QString openFileName(QWidget* parent, const QString& filter, const QString& start) override {
        return shown([&] { return m_boxes.openFileName(parent, filter, start); });
    }

private:
    // In a cell several controllers may ask at once: each box names the one asking.
    QString named(const QString& title) const {
        const QString name = m_session.objectName();
        return name.isEmpty() ? title : QStringLiteral("%1 - %2").arg(title, name);
    }

    template <typename Box>
    std::invoke_result_t<Box> shown(Box box) {
        const Hold hold(m_session);
        QObject* windows = QCoreApplication::instance();
        if (windows == nullptr || windows->thread() == QThread::currentThread()) {
            return box();
        }
        std::invoke_result_t<Box> answer{};
        QMetaObject::invokeMethod(
            windows, [&] { answer = box(); }, Qt::BlockingQueuedConnection);
        return answer;
    }

    Prompter& m_boxes;
    ControllerSession& m_session;
};

}  // namespace tql
