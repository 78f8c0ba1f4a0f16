#pragma once

#include <QString>
#include <QtGlobal>

// The offscreen platform warns on every window with a fixed size that it cannot pass size
// hints on; that says nothing about the code under test, so it is kept out of the log.
namespace tql::test {

inline QtMessageHandler previousHandler = nullptr;

inline void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& msg) {
    if (msg.contains(QLatin1String("does not support propagateSizeHints"))) {
        return;
    }
    previousHandler(type, context, msg);
}

inline void installQuietHandler() {
    previousHandler = qInstallMessageHandler(quietHandler);
}

Q_CONSTRUCTOR_FUNCTION(installQuietHandler)

}  // namespace tql::test
