#pragma once

#include "session/controllersession.h"

#include <QTimer>

namespace tql::test {

// The session's Timer1, found by its name as a window's control is: only the session's
// verbs start and stop it; a test watches it and, to tick on demand, runs it at once.
inline QTimer& pollTimer(ControllerSession& session) {
    return *session.findChild<QTimer*>(QStringLiteral("Timer1"));
}

}  // namespace tql::test
