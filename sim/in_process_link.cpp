#include "in_process_link.h"

#include "probe_line.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace zolm::sim {

namespace {

using Clock = ProbeLine::Clock;

// A long wait is made of slices this long, so that an abort is seen between them, as the
// serial link does.
constexpr auto WaitSlice = std::chrono::milliseconds(50);

} // namespace

InProcessSimLink::InProcessSimLink(QString portName, VirtualProbeOptions options)
    : m_name(std::move(portName)), m_options(std::move(options))
{
}

InProcessSimLink::~InProcessSimLink() = default;

int InProcessSimLink::requestCount() const
{
    return m_line ? m_line->requestCount() : 0;
}

bool InProcessSimLink::doOpen()
{
    if (!m_line) {
        ProbeMemory memory;
        QString error;
        if (!loadProbeMemory(m_options, memory, &error)) {
            m_openError = error;
            return false;
        }
        m_line = std::make_unique<ProbeLine>(std::move(memory), m_options);
    } else if (!m_open) {
        // What the probe sent while the port was closed reached nobody.
        m_line->discardDue(Clock::now());
    }
    m_openError.clear();
    m_open = true;
    return true;
}

void InProcessSimLink::doClose()
{
    m_open = false;
}

void InProcessSimLink::doPurge()
{
    // A serial purge empties the driver's buffers: what has arrived goes, while bytes still
    // on their way arrive after it. Requests leave at once, so nothing waits to go out.
    if (m_open)
        m_line->discardDue(Clock::now());
}

bool InProcessSimLink::doWrite(const QByteArray &bytes)
{
    if (!m_open)
        return false;
    m_line->receive(std::span(reinterpret_cast<const std::uint8_t *>(bytes.constData()),
                              static_cast<std::size_t>(bytes.size())),
                    Clock::now());
    return true;
}

std::size_t InProcessSimLink::doRead(std::span<std::uint8_t> buffer, int waitMs)
{
    if (!m_open || buffer.empty())
        return 0;
    const auto deadline = Clock::now() + std::chrono::milliseconds(std::max(0, waitMs));
    for (;;) {
        const auto now = Clock::now();
        if (const std::size_t n = m_line->take(buffer, now))
            return n;
        if (now >= deadline || aborted())
            return 0;
        auto wake = std::min(deadline, now + WaitSlice);
        if (const auto next = m_line->nextEvent())
            wake = std::min(wake, *next);
        std::this_thread::sleep_until(wake);
    }
}

std::unique_ptr<InProcessSimLink> inProcessSimLink(const QString &portName)
{
    auto options = simPortOptions(portName);
    if (!options)
        return nullptr;
    return std::make_unique<InProcessSimLink>(portName, std::move(*options));
}

} // namespace zolm::sim
