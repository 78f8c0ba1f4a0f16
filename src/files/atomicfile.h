#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace tql {

// Writes the whole file or nothing: the bytes go to a temporary file that replaces the old
// one only when every byte was written. A path that names something other than a regular
// file (a device, a FIFO, a folder) is refused. Returns the reason, naming the path, on
// failure.
std::optional<QString> writeFileAtomically(const QString& path, const QByteArray& bytes);

}  // namespace tql
