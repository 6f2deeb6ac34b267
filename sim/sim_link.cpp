#include "sim_link.h"

#ifdef _WIN32
#include "in_process_link.h"
#else
#include "probe/serial_link.h"
#include "virtual_probe.h"
#endif

#include <memory>

namespace zolm::sim {

namespace {

#ifndef _WIN32
class SimLink final : public probe::SerialLink {
public:
    SimLink(const QString &portName, VirtualProbeOptions options)
        : SerialLink(portName), m_probe(std::make_unique<VirtualProbe>(std::move(options)))
    {
    }
    // The port is closed before its probe goes.
    ~SimLink() override { doClose(); }

protected:
    bool doOpen() override
    {
        if (!m_probe->isRunning()) {
            QString error;
            if (!m_probe->start(&error)) {
                setOpenError(error);
                return false;
            }
            setDevice(m_probe->devicePath());
        }
        return SerialLink::doOpen();
    }

private:
    std::unique_ptr<VirtualProbe> m_probe;
};
#endif

} // namespace

probe::ProbeComm::LinkFactory simLinks(probe::ProbeComm::LinkFactory others)
{
    return [others = std::move(others)](const QString &portName) -> std::unique_ptr<probe::Link> {
#ifdef _WIN32
        // No pty here: the probe answers behind the link interface itself.
        if (auto link = inProcessSimLink(portName))
            return link;
#else
        if (auto options = simPortOptions(portName))
            return std::make_unique<SimLink>(portName, std::move(*options));
#endif
        return others(portName);
    };
}

} // namespace zolm::sim
