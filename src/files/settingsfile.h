#pragma once

#include <QByteArray>
#include <QDir>
#include <QString>

#include <optional>

// DATA.TXT in the working directory holds the one setting kept between runs: the port.
namespace tql {

QString settingsFilePath(const QDir& dir);

// The folder DATA.TXT is kept in: the working directory, as always, when a file can be
// made there; otherwise (an installed tool started where it cannot write) the user's
// configuration folder, made when missing.
QDir settingsFolder(const QDir& working);

// The setting in the file's bytes: the first line, read by the program files' encoding rule.
QString portNumberFromBytes(const QByteArray& bytes);

// The file's bytes for a setting, or nothing when Big5 cannot hold it.
std::optional<QByteArray> settingsBytes(const QString& portNumber);

// Why a settings file is not read: it is not a regular file (a FIFO would hold the start
// for ever, a device never end) or it is larger than maxBytes. Nothing when it may be read
// or does not exist.
std::optional<QString> settingsFileRefusal(const QString& path, qint64 maxBytes);

struct PortSetting {
    QString portNumber;  // the first line of the file, unchanged; "1" without a file
    QString refusal;     // why the file was not read (the default "1" taken); empty if read
};
// DATA.TXT's setting, read only from a regular file and only as far as a setting reaches.
PortSetting readPortNumber(const QDir& dir);

// Writes the port setting followed by CR LF; returns the reason when it cannot be written.
std::optional<QString> writePortNumber(const QDir& dir, const QString& portNumber);

}  // namespace tql
