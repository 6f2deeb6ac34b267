#pragma once
// Choosing the port the probe is reached through, as the port dialog and the port box do:
// a new port is tried before it is taken, and refused with the system's message when it
// cannot be opened. The built-in virtual probe needs no test.
#include <QString>

#include <optional>
#include <utility>
#include <vector>

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

} // namespace zolm::probe
