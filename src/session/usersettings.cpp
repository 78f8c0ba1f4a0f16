#include "session/usersettings.h"

#include "files/settingsfile.h"

#include <QStandardPaths>
#include <QTemporaryFile>

namespace tql {
namespace {

// Far beyond a history of 100 commands and a few paths.
constexpr qint64 kMaxUserSettingsBytes = 1024 * 1024;

// Where QSettings keeps the organisation's file; on Windows the settings are the registry's.
QString userSettingsPath() {
#ifdef Q_OS_WIN
    return {};
#else
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/tql400/tql400.conf");
#endif
}

}  // namespace

std::optional<QString> userSettingsRefusal() {
    const QString path = userSettingsPath();
    return path.isEmpty() ? std::nullopt : settingsFileRefusal(path, kMaxUserSettingsBytes);
}

QSettings userSettings() {
    if (userSettingsRefusal()) {
        // One file of this run's own, removed at exit, in place of the one refused.
        static QTemporaryFile standIn;
        standIn.open();
        return QSettings(standIn.fileName(), QSettings::IniFormat);
    }
    return QSettings(QStringLiteral("tql400"), QStringLiteral("tql400"));
}

}  // namespace tql
