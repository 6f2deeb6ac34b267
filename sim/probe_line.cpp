#include "probe_line.h"

#include <algorithm>
#include <vector>

namespace zolm::sim {

ProbeLine::ProbeLine(ProbeMemory memory, const VirtualProbeOptions &options)
    : m_model(std::move(memory), options.protocolFaults), m_schedule(options.lineRate, options.split),
      m_wireIn(options.wireFlipRate),
      m_wireOut(FlipRate{options.wireFlipRate.probability, options.wireFlipRate.seed ^ 0x6A09E667F3BCC908ull}),
      m_noisy(options.noise), m_samplePeriod(std::chrono::milliseconds(std::max(1, options.samplePeriodMs)))
{
}

void ProbeLine::receive(std::span<const std::uint8_t> bytes, Clock::time_point now)
{
    if (!m_wireIn.active()) {
        hear(bytes, now);
        return;
    }
    std::vector<std::uint8_t> garbled(bytes.begin(), bytes.end());
    m_wireIn.apply(garbled);
    hear(garbled, now);
}

void ProbeLine::hear(std::span<const std::uint8_t> bytes, Clock::time_point now)
{
    advance(now);
    for (const std::uint8_t byte : bytes) {
        if (byte == probe::FrameStart)
            m_frameStart = now;
        // A byte at a time: the time a request started on the line is that of its own marker.
        m_decoder.feed(std::span<const std::uint8_t>(&byte, 1), [&](std::span<const std::uint8_t> body) {
            if (body.empty())
                return;
            const auto onWire = static_cast<std::size_t>(probe::encodeFrame(body).size());
            answer(body, m_schedule.requestArrival(m_frameStart, onWire, now));
            // The answer to A was the stream's first sample; the next one is a period away.
            if (m_model.streaming() && !m_streaming)
                m_nextSample = now + m_samplePeriod;
            m_streaming = m_model.streaming();
        });
    }
}

void ProbeLine::answer(std::span<const std::uint8_t> body, Clock::time_point arrived)
{
    const QByteArray reply = m_model.receive(body);
    if (reply.isEmpty())
        return;
    toWire(m_noisy ? m_noise.burst() + reply : reply, arrived);
}

void ProbeLine::toWire(QByteArray bytes, Clock::time_point earliest)
{
    m_wireOut.apply(std::span(reinterpret_cast<std::uint8_t *>(bytes.data()), static_cast<std::size_t>(bytes.size())));
    const auto due = m_schedule.place(static_cast<std::size_t>(bytes.size()), earliest);
    for (qsizetype k = 0; k < bytes.size(); ++k)
        m_out.push_back({static_cast<std::uint8_t>(bytes[k]), due[static_cast<std::size_t>(k)]});
}

void ProbeLine::advance(Clock::time_point now)
{
    if (m_streaming && m_out.empty() && now >= m_nextSample) {
        toWire(m_model.nextSampleFrame(), now);
        m_nextSample = now + m_samplePeriod;
    }
}

std::size_t ProbeLine::copyDue(std::span<std::uint8_t> out, Clock::time_point now)
{
    advance(now);
    std::size_t n = 0;
    while (n < out.size() && n < m_out.size() && m_out[n].due <= now) {
        out[n] = m_out[n].byte;
        ++n;
    }
    return n;
}

void ProbeLine::handOver(std::size_t count)
{
    m_out.erase(m_out.begin(), m_out.begin() + static_cast<std::ptrdiff_t>(std::min(count, m_out.size())));
}

std::size_t ProbeLine::take(std::span<std::uint8_t> out, Clock::time_point now)
{
    const std::size_t n = copyDue(out, now);
    handOver(n);
    return n;
}

void ProbeLine::discardDue(Clock::time_point now)
{
    advance(now);
    while (!m_out.empty() && m_out.front().due <= now)
        m_out.pop_front();
}

std::optional<ProbeLine::Clock::time_point> ProbeLine::nextEvent() const
{
    if (!m_out.empty())
        return m_out.front().due;
    if (m_streaming)
        return m_nextSample;
    return std::nullopt;
}

} // namespace zolm::sim
