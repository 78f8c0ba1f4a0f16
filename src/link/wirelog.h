#pragma once

#include "link/serialline.h"

#include <QByteArray>
#include <QDateTime>
#include <QElapsedTimer>
#include <QString>

#include <QMutex>

#include <deque>
#include <vector>

// Every byte on the line, for the wire monitor: what the tool sent, a line at a time, and
// what each read received, with the time. Appending is a copy into a bounded queue, cheap
// enough for the console's poll; the window shows the entries later, from its own thread
// while the session's appends.
namespace tql {

struct WireEntry {
    qint64 ms = 0;      // since the log started
    bool sent = false;  // true: to the controller; false: from it
    QByteArray bytes;
};

class WireLog {
public:
    static constexpr qsizetype kDefaultCapacity = 5000;

    explicit WireLog(qsizetype capacity = kDefaultCapacity);

    // Bytes written: a line is gathered up to its CR; an ESC stands alone.
    void sent(const QByteArray& bytes);
    // Bytes a read returned (nothing for an empty read).
    void received(const QByteArray& bytes);
    void clear();

    // The entries appended after the first `seen` ones, as far as the log still holds them,
    // and how many it has appended in all.
    struct Fresh {
        std::vector<WireEntry> entries;
        quint64 appended = 0;
    };
    Fresh entriesAfter(quint64 seen) const;
    // The bytes the log holds on to: its entries and their texts' storage.
    qsizetype memoryUse() const;
    // Entries appended since the log started (the oldest are dropped past the capacity).
    quint64 appended() const;

    // One entry as the operator reads it: the time of day with milliseconds, → or ←, and
    // the text in Big5 with control characters named, or the bytes in hex.
    QString format(const WireEntry& entry, bool hex) const;

private:
    void append(bool sent, QByteArray bytes);
    void flushSent();

    mutable QMutex m_lock;
    qsizetype m_capacity;
    QDateTime m_started;
    QElapsedTimer m_clock;
    std::deque<WireEntry> m_entries;
    quint64 m_appended = 0;
    QByteArray m_pending;  // sent bytes of a line not yet ended by CR
};

// The line with every write and read recorded in a WireLog on the way.
class MonitoredLine final : public SerialLine {
public:
    MonitoredLine(SerialLine& line, WireLog& log) : m_line(line), m_log(log) {}

    std::optional<QString> open(const QString& portName) override { return m_line.open(portName); }
    void close() override { m_line.close(); }
    bool isOpen() const override { return m_line.isOpen(); }
    void write(const QByteArray& bytes) override;
    void drain() override { m_line.drain(); }
    qint64 unsentBytes() const override { return m_line.unsentBytes(); }
    QByteArray readAll() override;
    std::optional<QString> lostReason() const override { return m_line.lostReason(); }

private:
    SerialLine& m_line;
    WireLog& m_log;
};

}  // namespace tql
