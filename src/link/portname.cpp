#include "link/portname.h"

#include <algorithm>

namespace tql {
namespace {

bool isWholeNumber(const QString& text, int* value) {
    if (text.isEmpty() ||
        !std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; })) {
        return false;
    }
    bool ok = false;
    *value = text.toInt(&ok);
    return ok;
}

}  // namespace

QString portDeviceName(const QString& portNumber) {
    int n = 0;
    if (!isWholeNumber(portNumber, &n) || n < 1) {
        return portNumber;
    }
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(n);
#else
    return QStringLiteral("/dev/ttyS%1").arg(n - 1);
#endif
}

bool samePort(const QString& a, const QString& b) {
    return portDeviceName(a) == portDeviceName(b);
}

QString portDisplayName(const QString& portNumber) {
    int n = 0;
    if (portNumber.isEmpty() || isWholeNumber(portNumber, &n)) {
        return QStringLiteral("COM") + portNumber;
    }
    return portNumber;
}

}  // namespace tql
