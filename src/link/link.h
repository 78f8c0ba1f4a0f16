#pragma once

#include "link/serialline.h"

#include <QString>

#include <chrono>
#include <optional>

namespace tql {

// The line as the console, the upload and the teach dialog use it: text goes out in Big5,
// replies come back as text, and the fixed waits block on purpose.
class Link {
public:
    Link(SerialLine& line, Sleeper& sleeper) : m_line(line), m_sleeper(sleeper) {}

    // Opens the port the setting names; the reason, naming the port, when it cannot.
    std::optional<QString> open(const QString& portNumber);
    void close() { m_line.close(); }
    bool isOpen() const { return m_line.isOpen(); }
    // Why the system took the port away while it was open, if it did.
    std::optional<QString> lostReason() const { return m_line.lostReason(); }

    // One write of the text as it stands; false (nothing sent) when Big5 cannot hold it.
    bool write(const QString& text);
    void writeCarriageReturn();
    // Waits until what was written has gone out on the wire.
    void drain() { m_line.drain(); }
    qint64 unsentBytes() const { return m_line.unsentBytes(); }
    // A command line as two writes: the text, then CR.
    bool writeLine(const QString& text);
    // Everything that has arrived so far, as text: no received byte is dropped.
    QString readAll();
    // Everything that has arrived so far, as bytes (the probe counts bytes, not text).
    QByteArray readBytes() { return m_line.readAll(); }
    void sleep(std::chrono::milliseconds duration) { m_sleeper.sleep(duration); }
    // Send a line, wait the fixed time, and take whatever has arrived.
    QString query(const QString& command, std::chrono::milliseconds wait);

private:
    SerialLine& m_line;
    Sleeper& m_sleeper;
};

// Whether the text can go out on the line at all (Big5 holds every character).
bool sendable(const QString& text);

}  // namespace tql
