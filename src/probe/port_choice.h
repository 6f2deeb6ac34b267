#pragma once
// Choosing the port the probe is reached through, as the port dialog and the port box do:
// a new port is tried before it is taken, and refused with the system's message when it
// cannot be opened. The built-in virtual probe needs no test.
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>
#include <vector>

namespace zolm {
class SettingsStore;
}

namespace zolm::probe {

// "SIM" and "SIM:FILE.ZLM": the built-in virtual probe, not a device.
bool isVirtualProbePort(const QString &portName);

struct PortRefusal {
    QString caption;
    QString text; // the system's message, then a line with the port's own reason
};

// The system's serial ports, (name, description), then the virtual probe.
std::vector<std::pair<QString, QString>> availablePorts();

// nullopt: the port may be taken (stored and handed to the worker).
std::optional<PortRefusal> testPortChoice(const QString &portName);

// The port the programs use: the stored "comport". Until one is stored, Windows uses "COM1"
// (written back, as it always was); elsewhere "COM1" means nothing, so the first USB serial
// adapter the system lists is used without being stored, and with none there is no port
// (empty). `systemPortNames`: the names the system lists (SerialLink::systemPorts()).
QString portInUse(SettingsStore &store);
QString portInUse(SettingsStore &store, const QStringList &systemPortNames);

// The first USB serial adapter among port names ("ttyUSB0", "/dev/ttyACM1"): ttyUSB before
// ttyACM, each by its number; empty when there is none.
QString firstUsbAdapter(const QStringList &portNames);

} // namespace zolm::probe
