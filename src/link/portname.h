#pragma once

#include <QString>

namespace tql {

// A whole number n names the n-th port: COMn on Windows, /dev/ttyS(n-1) elsewhere. Any other
// setting is the port's own name or device path, taken as it stands.
QString portDeviceName(const QString& portNumber);

// Whether two settings name the same port ("1" and "/dev/ttyS0" do, on Linux).
bool samePort(const QString& a, const QString& b);

// What the status bar shows for the setting: "COM" + number, or the port's own name.
QString portDisplayName(const QString& portNumber);

}  // namespace tql
