#pragma once

#include <QSettings>

namespace tql {

// The operator's own settings (~/.config/tql400/tql400.conf): what the tool remembers across
// restarts beside DATA.TXT, such as 立即指令's history and the folder of the last program.
inline QSettings userSettings() {
    return QSettings(QStringLiteral("tql400"), QStringLiteral("tql400"));
}

}  // namespace tql
