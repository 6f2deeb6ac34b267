#pragma once
// The link over a real serial port or a pseudo-terminal, through QSerialPort: 115200 baud,
// 8 data bits, no parity, 1 stop bit, no flow control, DTR and RTS held off where the port
// has those lines. The port object lives on the thread that opened it and is used only there.
#include "probe/link.h"

#include <memory>

class QSerialPort;

namespace zolm::probe {

class SerialLink : public Link {
public:
    explicit SerialLink(QString portName);
    ~SerialLink() override;

    bool isOpen() const override;
    QString name() const override { return m_name; }
    QString openError() const override { return m_openError; }

    // Whether the port can be opened exclusively right now (it is closed again at once):
    // the test made before switching to a new port. *reason says why not.
    static bool canOpen(const QString &portName, QString *reason = nullptr);

protected:
    // The device opened, when it is not the port's name (a virtual probe's pty).
    void setDevice(const QString &device) { m_device = device; }
    void setOpenError(const QString &reason) { m_openError = reason; }

    bool doOpen() override;
    void doClose() override;
    void doPurge() override;
    bool doWrite(const QByteArray &bytes) override;
    std::size_t doRead(std::span<std::uint8_t> buffer, int waitMs) override;

private:
    QString m_name;
    QString m_device;
    QString m_openError;
    std::unique_ptr<QSerialPort> m_port;
};

} // namespace zolm::probe
