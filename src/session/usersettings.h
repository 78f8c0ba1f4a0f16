#pragma once

#include <QSettings>

#include <optional>

namespace tql {

// The operator's own settings (~/.config/tql400/tql400.conf): what the tool remembers across
// restarts beside DATA.TXT, such as 立即指令's history and the folder of the last program.
// A settings file that is not a regular file, or far larger than any the tool writes, is not
// touched: the settings then start from their defaults and live until the tool exits.
QSettings userSettings();

// Why the operator's settings file is not used; nothing when it is.
std::optional<QString> userSettingsRefusal();

}  // namespace tql
