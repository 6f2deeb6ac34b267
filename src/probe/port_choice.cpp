#include "probe/port_choice.h"

#include "platform/settings.h"
#include "probe/serial_link.h"
#include "probe/texts.h"

#include <QCoreApplication>
#include <QRegularExpression>

namespace zolm::probe {

bool isVirtualProbePort(const QString &portName)
{
    return portName == QLatin1String("SIM") || portName.startsWith(QLatin1String("SIM:"));
}

std::vector<std::pair<QString, QString>> availablePorts()
{
    std::vector<std::pair<QString, QString>> ports = SerialLink::systemPorts();
    ports.emplace_back(QStringLiteral("SIM"), QCoreApplication::translate("PortChoice", "内置虚拟探管"));
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

QString firstUsbAdapter(const QStringList &portNames)
{
    const QRegularExpression adapter(QStringLiteral("^(?:/dev/)?tty(USB|ACM)(\\d+)$"));
    QString best;
    std::pair<int, long long> bestRank{2, 0};
    for (const QString &name : portNames) {
        const auto m = adapter.match(name);
        if (!m.hasMatch())
            continue;
        const std::pair<int, long long> rank{m.captured(1) == QLatin1String("USB") ? 0 : 1, m.captured(2).toLongLong()};
        if (rank < bestRank) {
            bestRank = rank;
            best = name;
        }
    }
    return best;
}

QString portInUse(SettingsStore &store, const QStringList &systemPortNames)
{
#ifdef Q_OS_WIN
    Q_UNUSED(systemPortNames);
    return storedPortName(store);
#else
    if (store.contains(QStringLiteral("comport")))
        return storedPortName(store);
    return firstUsbAdapter(systemPortNames);
#endif
}

QString portInUse(SettingsStore &store)
{
    QStringList names;
#ifndef Q_OS_WIN
    // Only a first start needs the system's list.
    if (!store.contains(QStringLiteral("comport"))) {
        for (const auto &[name, description] : SerialLink::systemPorts())
            names << name;
    }
#endif
    return portInUse(store, names);
}

} // namespace zolm::probe
