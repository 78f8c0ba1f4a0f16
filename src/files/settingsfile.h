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

// The first line of the settings file, unchanged; "1" when the file does not exist.
QString readPortNumber(const QDir& dir);

// Writes the port setting followed by CR LF; returns the reason when it cannot be written.
std::optional<QString> writePortNumber(const QDir& dir, const QString& portNumber);

}  // namespace tql
