#include "files/settingsfile.h"

#include "files/big5.h"

#include <QFile>
#include <QSaveFile>

namespace tql {

QString settingsFilePath(const QDir& dir) {
    return dir.filePath(QStringLiteral("DATA.TXT"));
}

QString readPortNumber(const QDir& dir) {
    QFile file(settingsFilePath(dir));
    if (!file.exists()) {
        return QStringLiteral("1");
    }
    if (!file.open(QIODevice::ReadOnly)) {
        return QStringLiteral("1");
    }
    const QList<QByteArray> lines = splitLines(file.readAll());
    return lines.isEmpty() ? QString() : decodeFileText(lines.first());
}

std::optional<QString> writePortNumber(const QDir& dir, const QString& portNumber) {
    const std::optional<QByteArray> bytes = encodeBig5(portNumber);
    if (!bytes) {
        return QStringLiteral("無法以 Big5 寫入: %1").arg(portNumber);
    }
    QSaveFile file(settingsFilePath(dir));
    if (!file.open(QIODevice::WriteOnly) || file.write(*bytes + "\r\n") < 0 || !file.commit()) {
        return file.errorString();
    }
    return std::nullopt;
}

}  // namespace tql
