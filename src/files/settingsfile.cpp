#include "files/settingsfile.h"

#include "files/atomicfile.h"
#include "files/big5.h"

#include <QFile>

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
    if (const auto failure = writeFileAtomically(settingsFilePath(dir), *bytes + "\r\n")) {
        return failure;
    }
    return std::nullopt;
}

}  // namespace tql
