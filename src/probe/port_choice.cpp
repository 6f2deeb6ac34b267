#include "probe/port_choice.h"

#include "probe/serial_link.h"
#include "probe/texts.h"

namespace zolm::probe {

bool isVirtualProbePort(const QString &portName)
{
    return portName == QLatin1String("SIM") || portName.startsWith(QLatin1String("SIM:"));
}

std::vector<std::pair<QString, QString>> availablePorts()
{
    std::vector<std::pair<QString, QString>> ports = SerialLink::systemPorts();
    ports.emplace_back(QStringLiteral("SIM"), QStringLiteral("内置虚拟探管"));
    return ports;
}

std::optional<PortRefusal> testPortChoice(const QString &portName)
{
    if (isVirtualProbePort(portName))
        return std::nullopt;
    QString reason;
    if (SerialLink::canOpen(portName, &reason))
        return std::nullopt;
    return PortRefusal{text::captionPortError(), text::portRefused(portName, reason)};
}

} // namespace zolm::probe
