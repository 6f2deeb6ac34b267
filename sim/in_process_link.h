#pragma once
// The virtual probe behind the link interface, with no pty and no thread: a write hands the
// request to the probe's line at once, a read takes what the line has delivered by then and
// otherwise sleeps until its next byte is due. The line (probe_line.h) paces, splits and
// disturbs the bytes exactly as it does behind the pty. This is SIM on Windows, which has
// no pty; it builds and runs everywhere.
#include "virtual_probe.h"

#include "probe/link.h"

#include <QString>

#include <memory>

namespace zolm::sim {

class ProbeLine;

class InProcessSimLink final : public probe::Link {
public:
    InProcessSimLink(QString portName, VirtualProbeOptions options);
    ~InProcessSimLink() override;

    bool isOpen() const override { return m_open; }
    QString name() const override { return m_name; }
    QString openError() const override { return m_openError; }

    // Requests the probe has received so far, answered or not.
    int requestCount() const;

protected:
    // The first open loads the memories; the probe then lives as long as the link, so what
    // W wrote survives a close and reopen, as with a real probe on its cable.
    bool doOpen() override;
    void doClose() override;
    void doPurge() override;
    bool doWrite(const QByteArray &bytes) override;
    std::size_t doRead(std::span<std::uint8_t> buffer, int waitMs) override;

private:
    QString m_name;
    VirtualProbeOptions m_options;
    QString m_openError;
    std::unique_ptr<ProbeLine> m_line;
    bool m_open = false;
};

// The in-process link for a SIM port name, its options from simPortOptions (with
// ZOLM_SIM_FAULTS); null for any other name.
std::unique_ptr<InProcessSimLink> inProcessSimLink(const QString &portName);

} // namespace zolm::sim
