#pragma once

#include <QByteArray>
#include <QString>

#include <chrono>
#include <optional>

namespace tql {

// The one serial line to the controller, as the console and the upload use it: writes
// leave for the line before write() returns, and readAll() returns every byte that has
// arrived so far, without waiting for more.
class SerialLine {
public:
    virtual ~SerialLine() = default;

    // Opens the port (9600 baud, 8N1, no flow control); the system's reason when it cannot.
    virtual std::optional<QString> open(const QString& portName) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    virtual void write(const QByteArray& bytes) = 0;
    // Waits until every byte written has gone out on the wire, not just to the system's
    // buffer.
    virtual void drain() {}
    // The bytes written that have not yet left the system's output queue for the wire, so
    // the upload's progress shows what the controller has received and the port is kept
    // busy without running far ahead. 0 where nothing waits, or the system cannot say (a
    // pseudo-terminal hands everything to its other end at once).
    virtual qint64 unsentBytes() const { return 0; }
    virtual QByteArray readAll() = 0;
    // Set when the system has taken the open port away (an adapter pulled out, the other
    // end of a pseudo-terminal gone) or a write could not leave; later writes send nothing.
    // A merely silent controller sets nothing.
    virtual std::optional<QString> lostReason() const = 0;
};

// The fixed waits for the controller block the session's thread on purpose: nothing else may
// talk on the line meanwhile, and no event may run between a query and its read.
class Sleeper {
public:
    virtual ~Sleeper() = default;
    virtual void sleep(std::chrono::milliseconds duration) = 0;
};

}  // namespace tql
