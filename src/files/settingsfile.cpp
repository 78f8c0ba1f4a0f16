#include "files/settingsfile.h"

#include "files/atomicfile.h"
#include "files/big5.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace tql {
namespace {

// The operator's texts here, in the language the tool runs in.
struct Texts {
    Q_DECLARE_TR_FUNCTIONS(SettingsFile)
};

}  // namespace

QString settingsFilePath(const QDir& dir) {
    return dir.filePath(QStringLiteral("DATA.TXT"));
}

QDir settingsFolder(const QDir& working) {
    QTemporaryFile probe(working.filePath(QStringLiteral("DATA.XXXXXX")));
    if (probe.open()) {
        return working;
    }
    const QString user = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(user);
    return QDir(user);
}

QString portNumberFromBytes(const QByteArray& bytes) {
    const QList<QByteArray> lines = splitLines(bytes);
    if (lines.isEmpty()) {
        return QString();
    }
    // A file that is no text of the tool still shows its first line, every byte visible:
    // the port that cannot be opened is then named in the connection message.
    const std::optional<TextEncoding> encoding = detectEncoding(bytes);
    return decodeAs(encoding.value_or(TextEncoding::Big5), lines.first())
        .value_or(decodeBig5(lines.first()));
}

std::optional<QByteArray> settingsBytes(const QString& portNumber) {
    const std::optional<QByteArray> bytes = encodeBig5(portNumber);
    if (!bytes) {
        return std::nullopt;
    }
    return *bytes + "\r\n";
}

std::optional<QString> settingsFileRefusal(const QString& path, qint64 maxBytes) {
    const QFileInfo info(path);
    if (!info.exists()) {
        return std::nullopt;
    }
    if (!info.isFile()) {
        return Texts::tr("%1 不是一般檔案, 未讀取").arg(QDir::toNativeSeparators(path));
    }
    if (info.size() > maxBytes) {
        return Texts::tr("%1 超過 %2 位元組, 不是設定檔, 未讀取")
            .arg(QDir::toNativeSeparators(path))
            .arg(maxBytes);
    }
    return std::nullopt;
}

PortSetting readPortNumber(const QDir& dir) {
    // A port's name is a line; a file longer than this holds no setting of the tool's.
    constexpr qint64 kMaxBytes = 4096;
    const QString path = settingsFilePath(dir);
    if (const std::optional<QString> refusal = settingsFileRefusal(path, kMaxBytes)) {
        return {QStringLiteral("1"), *refusal};
    }
    QFile file(path);
    if (!file.exists() || !file.open(QIODevice::ReadOnly)) {
        return {QStringLiteral("1"), {}};
    }
    return {portNumberFromBytes(file.read(kMaxBytes)), {}};
}

std::optional<QString> writePortNumber(const QDir& dir, const QString& portNumber) {
    const std::optional<QByteArray> bytes = settingsBytes(portNumber);
    if (!bytes) {
        return Texts::tr("無法以 Big5 寫入: %1").arg(portNumber);
    }
    return writeFileAtomically(settingsFilePath(dir), *bytes);
}

}  // namespace tql
