#pragma once

#include <QDir>
#include <QString>

#include <optional>

// DATA.TXT in the working directory holds the one setting kept between runs: the port.
namespace tql {

QString settingsFilePath(const QDir& dir);

// The first line of the settings file, unchanged; "1" when the file does not exist.
QString readPortNumber(const QDir& dir);

// Writes the port setting followed by CR LF; returns the reason when it cannot be written.
std::optional<QString> writePortNumber(const QDir& dir, const QString& portNumber);

}  // namespace tql
