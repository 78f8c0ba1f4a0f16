#pragma once

#include "link/serialline.h"

#include <QSerialPort>
#include <QSerialPortInfo>

namespace tql {

// The real line. QSerialPort only moves bytes between the system and its own buffers when
// the event loop or a waitFor call lets it, and the console reads after blocking sleeps
// with no event loop running: so writes wait until the bytes have left, and reads first
// pull in everything the system already holds.
class QtSerialLine final : public SerialLine {
public:
    std::optional<QString> open(const QString& portName) override;
    void close() override;
    bool isOpen() const override;
    void write(const QByteArray& bytes) override;
    void drain() override;
    qint64 unsentBytes() const override;
    QByteArray readAll() override;
    std::optional<QString> lostReason() const override;
    // The port's events are handled on the thread that uses the line.
    void moveToThread(QThread* thread) { m_port.moveToThread(thread); }

private:
    QString writeFailure() const;

    QSerialPort m_port;
    std::optional<QString> m_writeFailure;  // why a write could not leave, until closed
};

// What went wrong with the port, in the operator's words; the system's own words, when it
// gave any, follow in parentheses as a detail.
QString serialErrorText(QSerialPort::SerialPortError error, const QString& systemDetail);

// The name a system port is opened by: "COM3" on Windows, its device path elsewhere.
QString systemPortName(const QSerialPortInfo& port);

class ThreadSleeper final : public Sleeper {
public:
    void sleep(std::chrono::milliseconds duration) override;
};

}  // namespace tql
