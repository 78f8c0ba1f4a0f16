#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace tql {

// Writes the whole file or nothing: the bytes go to a temporary file that replaces the old
// one only when every byte was written. Returns the reason, naming the path, on failure.
std::optional<QString> writeFileAtomically(const QString& path, const QByteArray& bytes);

}  // namespace tql
