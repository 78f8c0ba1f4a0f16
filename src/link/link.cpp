#include "link/link.h"

#include "files/big5.h"
#include "link/commands.h"
#include "link/portname.h"

#include <QCoreApplication>

namespace tql {
namespace {

// The operator's texts here, in the language the tool runs in.
struct Texts {
    Q_DECLARE_TR_FUNCTIONS(Link)
};

}  // namespace

std::optional<QString> Link::open(const QString& portNumber) {
    const QString device = portDeviceName(portNumber);
    if (device.isEmpty()) {
        return Texts::tr("沒有設定連接埠, 請由 設定 > COM_PORT 選擇.");
    }
    if (const auto reason = m_line.open(device)) {
        return Texts::tr("無法開啟連接埠 %1: %2").arg(device, *reason);
    }
    return std::nullopt;
}

bool Link::write(const QString& text) {
    const std::optional<QByteArray> bytes = encodeBig5(text);
    if (!bytes) {
        return false;
    }
    m_line.write(*bytes);
    return true;
}

void Link::writeCarriageReturn() {
    m_line.write(QByteArray(1, commands::kCarriageReturn));
}

bool Link::writeLine(const QString& text) {
    if (!write(text)) {
        return false;
    }
    writeCarriageReturn();
    return true;
}

QString Link::readAll() {
    return decodeBig5(m_line.readAll());
}

QString Link::query(const QString& command, std::chrono::milliseconds wait) {
    writeLine(command);
    sleep(wait);
    return readAll();
}

bool sendable(const QString& text) {
    return encodeBig5(text).has_value();
}

}  // namespace tql
