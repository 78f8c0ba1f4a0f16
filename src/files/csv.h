#pragma once

#include <QByteArray>
#include <QString>

namespace tql {

// One field of a CSV line (RFC 4180), UTF-8: quoted when it holds a comma, a quote or a line
// break, its quotes doubled.
QByteArray csvField(const QString& text);

}  // namespace tql
