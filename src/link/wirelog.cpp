#include "link/wirelog.h"

#include "files/big5.h"

namespace tql {
namespace {

constexpr char kCarriageReturn = '\r';
constexpr char kEscape = '\x1b';

// Control characters by name, so a CR or an ESC on the wire is seen, not guessed.
QString named(const QString& text) {
    QString shown;
    shown.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
            case '\r':
                shown += QStringLiteral("<CR>");
                break;
            case '\n':
                shown += QStringLiteral("<LF>");
                break;
            case 0x1b:
                shown += QStringLiteral("<ESC>");
                break;
            default:
                shown += c.unicode() < 0x20
                             ? QStringLiteral("<%1>").arg(c.unicode(), 2, 16, QChar(u'0'))
                             : QString(c);
        }
    }
    return shown;
}

}  // namespace

WireLog::WireLog(qsizetype capacity)
    : m_capacity(capacity), m_started(QDateTime::currentDateTime()) {
    m_clock.start();
}

void WireLog::append(bool sent, QByteArray bytes) {
    // A read's bytes come with the capacity of the port's read buffer, a gathered line
    // with its growth: kept as they are, 5000 entries would hold megabytes of nothing.
    bytes.squeeze();
    m_entries.push_back({m_clock.elapsed(), sent, std::move(bytes)});
    ++m_appended;
    if (qsizetype(m_entries.size()) > m_capacity) {
        m_entries.pop_front();
    }
}

void WireLog::flushSent() {
    if (!m_pending.isEmpty()) {
        append(true, std::exchange(m_pending, {}));
    }
}

void WireLog::sent(const QByteArray& bytes) {
    const QMutexLocker locked(&m_lock);
    for (const char c : bytes) {
        if (c == kEscape) {
            flushSent();
            append(true, QByteArray(1, c));
            continue;
        }
        m_pending += c;
        if (c == kCarriageReturn) {
            flushSent();
        }
    }
}

void WireLog::received(const QByteArray& bytes) {
    if (bytes.isEmpty()) {
        return;
    }
    const QMutexLocker locked(&m_lock);
    flushSent();  // keeps the order the bytes had on the wire
    append(false, bytes);
}

WireLog::Fresh WireLog::entriesAfter(quint64 seen) const {
    const QMutexLocker locked(&m_lock);
    const quint64 fresh = std::min<quint64>(m_appended - std::min(seen, m_appended),
                                            m_entries.size());
    return {{m_entries.end() - qsizetype(fresh), m_entries.end()}, m_appended};
}

quint64 WireLog::appended() const {
    const QMutexLocker locked(&m_lock);
    return m_appended;
}

qsizetype WireLog::memoryUse() const {
    const QMutexLocker locked(&m_lock);
    qsizetype bytes = sizeof(*this);
    for (const WireEntry& entry : m_entries) {
        bytes += qsizetype(sizeof(WireEntry)) + entry.bytes.capacity();
    }
    return bytes + m_pending.capacity();
}

void WireLog::clear() {
    const QMutexLocker locked(&m_lock);
    m_entries.clear();
    m_pending.clear();
}

QString WireLog::format(const WireEntry& entry, bool hex) const {
    const QString time = m_started.addMSecs(entry.ms).toString(QStringLiteral("hh:mm:ss.zzz"));
    const QString body = hex ? QString::fromLatin1(entry.bytes.toHex(' ').toUpper())
                             : named(decodeBig5(entry.bytes));
    return QStringLiteral("%1 %2 %3")
        .arg(time, entry.sent ? QStringLiteral("→") : QStringLiteral("←"), body);
}

void MonitoredLine::write(const QByteArray& bytes) {
    if (m_line.isOpen()) {
        m_log.sent(bytes);
    }
    m_line.write(bytes);
}

QByteArray MonitoredLine::readAll() {
    QByteArray bytes = m_line.readAll();
    m_log.received(bytes);
    return bytes;
}

}  // namespace tql
