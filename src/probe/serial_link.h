#pragma once
// The link over a real serial port or a pseudo-terminal, through QSerialPort: 115200 baud,
// 8 data bits, no parity, 1 stop bit, no flow control, DTR and RTS held off where the port
// has those lines. The port object lives on the thread that opened it and is used only there.
#include "probe/link.h"

#include <memory>

class QSerialPort;

namespace zolm::probe {

class SerialLink final : public Link {
public:
    explicit SerialLink(QString portName);
    ~SerialLink() override;

    bool isOpen() const override;
    QString name() const override { return m_name; }

    // Whether the port can be opened exclusively right now (it is closed again at once):
    // the test made before switching to a new port.
    static bool canOpen(const QString &portName);

protected:
    bool doOpen() override;
    void doClose() override;
    void doPurge() override;
    bool doWrite(const QByteArray &bytes) override;
    std::size_t doRead(std::span<std::uint8_t> buffer, int waitMs) override;

private:
    QString m_name;
    std::unique_ptr<QSerialPort> m_port;
};

} // namespace zolm::probe
