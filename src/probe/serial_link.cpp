// Linux: the port through QSerialPort.
#include "probe/serial_link.h"

#ifndef _WIN32
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QSerialPort>
#include <QSerialPortInfo>

#include <algorithm>

namespace zolm::probe {

namespace {

// A write to a serial line at 115200 baud moves a request of at most 27 bytes in a few
// milliseconds; this only bounds a port that accepts nothing at all.
constexpr int WriteTimeoutMs = 2000;
// A long wait is made of slices this long, so that an abort is seen between them; bytes
// that arrive end the wait at once all the same.
constexpr int WaitSliceMs = 50;

bool configure(QSerialPort &port)
{
    if (!port.setBaudRate(QSerialPort::Baud115200) || !port.setDataBits(QSerialPort::Data8)
        || !port.setParity(QSerialPort::NoParity) || !port.setStopBits(QSerialPort::OneStop)
        || !port.setFlowControl(QSerialPort::NoFlowControl))
        return false;
    // Modem lines: a pty has none, and that is not an error.
    port.setDataTerminalReady(false);
    port.setRequestToSend(false);
    port.clearError();
    return true;
}

// Why a port did not open, in the user's words, with the system's own reason after it.
QString openFailure(const QSerialPort &port)
{
    QString reason;
    switch (port.error()) {
    case QSerialPort::DeviceNotFoundError: reason = QCoreApplication::translate("SerialLink", "设备不存在"); break;
    case QSerialPort::PermissionError: reason = QCoreApplication::translate("SerialLink", "没有访问权限，或已被其它程序占用"); break;
    case QSerialPort::OpenError: reason = QCoreApplication::translate("SerialLink", "已经打开"); break;
    case QSerialPort::UnsupportedOperationError: reason = QCoreApplication::translate("SerialLink", "不是串口设备"); break;
    default: reason = QCoreApplication::translate("SerialLink", "无法打开"); break;
    }
    const QString detail = port.errorString();
    return detail.isEmpty() ? reason : QCoreApplication::translate("SerialLink", "%1（%2）").arg(reason, detail);
}

} // namespace

struct SerialLink::Port : QSerialPort {
    using QSerialPort::QSerialPort;
};

SerialLink::SerialLink(QString portName) : m_name(portName), m_device(std::move(portName)) {}

SerialLink::~SerialLink()
{
    doClose();
}

bool SerialLink::isOpen() const
{
    return m_port && m_port->isOpen();
}

bool SerialLink::canOpen(const QString &portName, QString *reason)
{
    QSerialPort port(portName);
    if (!port.open(QIODevice::ReadWrite)) {
        if (reason)
            *reason = openFailure(port);
        return false;
    }
    port.close();
    return true;
}

std::vector<std::pair<QString, QString>> SerialLink::systemPorts()
{
    std::vector<std::pair<QString, QString>> ports;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts())
        ports.emplace_back(info.portName(), info.description());
    return ports;
}

bool SerialLink::doOpen()
{
    doClose();
    auto port = std::make_unique<Port>(m_device);
    if (!port->open(QIODevice::ReadWrite)) {
        m_openError = openFailure(*port);
        return false;
    }
    if (!configure(*port)) {
        m_openError = openFailure(*port);
        port->close();
        return false;
    }
    m_openError.clear();
    m_port = std::move(port);
    return true;
}

void SerialLink::doClose()
{
    if (m_port) {
        m_port->close();
        m_port.reset();
    }
}

void SerialLink::doPurge()
{
    if (!isOpen())
        return;
    m_port->clear(QSerialPort::AllDirections);
    m_port->clearError();
}

bool SerialLink::doWrite(const QByteArray &bytes)
{
    m_writeError.clear();
    if (!isOpen())
        return false;
    if (m_port->write(bytes) != bytes.size()) {
        m_writeError = m_port->errorString();
        m_port->clearError();
        return false;
    }
    // Without an event loop the port writes only while we wait for it.
    const QDeadlineTimer deadline(WriteTimeoutMs);
    while (m_port->bytesToWrite() > 0) {
        if (!m_port->waitForBytesWritten(static_cast<int>(deadline.remainingTime())))
            break;
    }
    const bool ok = m_port->bytesToWrite() == 0;
    if (!ok) {
        const bool timedOut = m_port->error() == QSerialPort::TimeoutError || m_port->error() == QSerialPort::NoError;
        m_writeError = timedOut ? QCoreApplication::translate("SerialLink", "%1 毫秒内未能发出").arg(WriteTimeoutMs)
                                : m_port->errorString();
    }
    m_port->clearError();
    return ok;
}

std::size_t SerialLink::doRead(std::span<std::uint8_t> buffer, int waitMs)
{
    if (!isOpen() || buffer.empty())
        return 0;
    if (m_port->bytesAvailable() == 0) {
        const QDeadlineTimer deadline(waitMs);
        while (!aborted()) {
            const auto left = deadline.remainingTime();
            const bool ready = m_port->waitForReadyRead(static_cast<int>(std::min<qint64>(left, WaitSliceMs)));
            // A timed-out wait leaves an error code behind; it must not stick to the port.
            const auto error = m_port->error();
            m_port->clearError();
            if (ready || deadline.hasExpired() || (error != QSerialPort::NoError && error != QSerialPort::TimeoutError))
                break;
        }
    }
    const qint64 n = m_port->read(reinterpret_cast<char *>(buffer.data()), static_cast<qint64>(buffer.size()));
    return n > 0 ? static_cast<std::size_t>(n) : 0;
}

} // namespace zolm::probe
#endif
