#pragma once
// The link over a real serial port: 115200 baud, 8 data bits, no parity, 1 stop bit, no flow
// control, DTR and RTS held off where the port has those lines. On Linux through QSerialPort
// (a pseudo-terminal opens as well as /dev/ttyUSB0); on Windows through the Win32
// communications calls on \\.\COMn. The port lives on the thread that opened it and is used
// only there.
#include "probe/link.h"

#include <memory>
#include <utility>
#include <vector>

namespace zolm::probe {

class SerialLink : public Link {
public:
    explicit SerialLink(QString portName);
    ~SerialLink() override;

    bool isOpen() const override;
    QString name() const override { return m_name; }
    QString openError() const override { return m_openError; }
    QString writeError() const override { return m_writeError; }

    // Whether the port can be opened exclusively right now (it is closed again at once):
    // the test made before switching to a new port. *reason says why not.
    static bool canOpen(const QString &portName, QString *reason = nullptr);

    // The system's serial ports, (name, description).
    static std::vector<std::pair<QString, QString>> systemPorts();

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
    QString m_writeError;
    struct Port; // the system's handle on the open port
    std::unique_ptr<Port> m_port;
};

} // namespace zolm::probe
