#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The trace file records the controller text last uploaded: one line each, Big5, CR LF.
namespace tql {

// "C:\TRY.txt" on Windows; TRY.txt in the user's home directory elsewhere. Each other
// controller of a cell has its own beside it, "TRY-壓床.txt", what a file name cannot hold
// in its name made "_".
QString traceFilePath(const QString& controller = {});

// Writes the lines atomically; the reason (naming the path or the line) when it cannot.
std::optional<QString> writeTextLines(const QString& path, const QStringList& lines);

}  // namespace tql
