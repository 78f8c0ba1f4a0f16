#include "link/qtserialline.h"

#include <QCoreApplication>
#include <QThread>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <sys/ioctl.h>
#include <termios.h>
#endif

namespace tql {
namespace {

// The operator's texts here, in the language the tool runs in.
struct Texts {
    Q_DECLARE_TR_FUNCTIONS(SerialPort)
};

constexpr int kWriteTimeoutMs = 2000;
constexpr qint64 kMaxReadBytes = 16 * 1024;

QString errorKindText(QSerialPort::SerialPortError error) {
    switch (error) {
        case QSerialPort::DeviceNotFoundError:
            return Texts::tr("找不到這個連接埠");
        case QSerialPort::PermissionError:
            return Texts::tr("沒有權限使用這個連接埠, 或它正被其他程式使用");
        case QSerialPort::OpenError:
            return Texts::tr("連接埠已經開啟");
        case QSerialPort::NotOpenError:
            return Texts::tr("連接埠沒有開啟");
        case QSerialPort::WriteError:
            return Texts::tr("無法寫入連接埠");
        case QSerialPort::ReadError:
            return Texts::tr("無法讀取連接埠");
        case QSerialPort::ResourceError:
            return Texts::tr("連接埠已無法使用 (裝置被拔除或被關閉)");
        case QSerialPort::UnsupportedOperationError:
            return Texts::tr("連接埠不支援這項操作");
        case QSerialPort::TimeoutError:
            return Texts::tr("連接埠逾時");
        case QSerialPort::NoError:
        case QSerialPort::UnknownError:
            break;
    }
    return Texts::tr("連接埠發生不明的錯誤");
}

}  // namespace

QString serialErrorText(QSerialPort::SerialPortError error, const QString& systemDetail) {
    const QString text = errorKindText(error);
    return systemDetail.isEmpty() ? text : Texts::tr("%1 (系統訊息: %2)").arg(text, systemDetail);
}

std::optional<QString> QtSerialLine::open(const QString& portName) {
    close();
    m_port.setPortName(portName);
    if (!m_port.open(QIODevice::ReadWrite)) {
        QString reason = serialErrorText(m_port.error(), m_port.errorString());
#ifdef Q_OS_LINUX
        if (m_port.error() == QSerialPort::PermissionError) {
            reason += Texts::tr(
                " (沒有權限: 請將使用者加入擁有該裝置的群組, 通常是 dialout, "
                "再重新登入)");
        }
#endif
        m_port.clearError();
        return reason;
    }
    m_port.setBaudRate(QSerialPort::Baud9600);
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setParity(QSerialPort::NoParity);
    m_port.setStopBits(QSerialPort::OneStop);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    return std::nullopt;
}

void QtSerialLine::close() {
    if (m_port.isOpen()) {
        m_port.close();
    }
    m_writeFailure.reset();
}

bool QtSerialLine::isOpen() const {
    return m_port.isOpen();
}

void QtSerialLine::write(const QByteArray& bytes) {
    if (!m_port.isOpen() || bytes.isEmpty() || m_writeFailure) {
        return;
    }
    if (m_port.write(bytes) < 0) {
        m_writeFailure = writeFailure();
        return;
    }
    while (m_port.bytesToWrite() > 0 && m_port.waitForBytesWritten(kWriteTimeoutMs)) {
    }
    // Bytes that could not leave mean the line is gone (an adapter pulled out): the
    // caller learns it from lostReason() and stops writing.
    if (m_port.bytesToWrite() > 0) {
        m_writeFailure = writeFailure();
    }
}

// Bytes that would not leave are a write error even when the port names no error kind;
// then the port's words are those of some earlier failure, and are left out.
QString QtSerialLine::writeFailure() const {
    if (m_port.error() == QSerialPort::NoError) {
        return serialErrorText(QSerialPort::WriteError, {});
    }
    return serialErrorText(m_port.error(), m_port.errorString());
}

void QtSerialLine::drain() {
    if (!m_port.isOpen() || m_writeFailure) {
        return;
    }
#ifdef Q_OS_WIN
    FlushFileBuffers(m_port.handle());
#else
    tcdrain(m_port.handle());
#endif
}

qint64 QtSerialLine::unsentBytes() const {
    if (!m_port.isOpen() || m_writeFailure) {
        return 0;
    }
    qint64 queued = m_port.bytesToWrite();
#ifdef Q_OS_WIN
    COMSTAT status{};
    DWORD errors = 0;
    if (ClearCommError(m_port.handle(), &errors, &status)) {
        queued += qint64(status.cbOutQue);
    }
#else
    int waiting = 0;
    if (::ioctl(m_port.handle(), TIOCOUTQ, &waiting) == 0) {
        queued += waiting;
    }
#endif
    return queued;
}

QByteArray QtSerialLine::readAll() {
    if (!m_port.isOpen()) {
        return {};
    }
    // What the system holds now, not what a babbling device keeps sending: the pull stops
    // after a bounded amount, and the rest waits for the next read.
    while (m_port.bytesAvailable() < kMaxReadBytes && m_port.waitForReadyRead(0)) {
    }
    // waitForReadyRead(0) reports a timeout when nothing is pending; that is not a fault.
    if (m_port.error() == QSerialPort::TimeoutError) {
        m_port.clearError();
    }
    return m_port.readAll();
}

std::optional<QString> QtSerialLine::lostReason() const {
    if (!m_port.isOpen()) {
        return std::nullopt;
    }
    if (m_writeFailure) {
        return m_writeFailure;
    }
    // A read error is the other end gone (the read came back empty): no system call failed,
    // so the port's words are stale ("Inappropriate ioctl for device") and are left out.
    if (m_port.error() == QSerialPort::ReadError) {
        return serialErrorText(m_port.error(), {});
    }
    if (m_port.error() == QSerialPort::ResourceError || m_port.error() == QSerialPort::WriteError) {
        return serialErrorText(m_port.error(), m_port.errorString());
    }
    return std::nullopt;
}

void ThreadSleeper::sleep(std::chrono::milliseconds duration) {
    QThread::msleep(static_cast<unsigned long>(duration.count()));
}

QString systemPortName(const QSerialPortInfo& port) {
#ifdef Q_OS_WIN
    return port.portName();
#else
    return port.systemLocation();
#endif
}

}  // namespace tql
