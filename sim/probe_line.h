#pragma once
// The probe's end of the serial line, with no port and no clock of its own: the bytes the PC
// sends come in with the time they arrived, the probe model answers the frames they make, and
// every byte of the answers and of the live stream leaves when a real line would deliver it.
// The pty shell and the in-process link both move their bytes through here, so the PC sees
// the same line on either, and whatever a line does to bytes it does here.
#include "line_schedule.h"
#include "probe_model.h"
#include "virtual_probe.h"

#include "probe/frame.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <span>

namespace zolm::sim {

class ProbeLine {
public:
    using Clock = LineSchedule::Clock;

    // Pacing, split, noise, protocol faults, the line's bit flips and the sample period come
    // from `options`.
    ProbeLine(ProbeMemory memory, const VirtualProbeOptions &options);

    // Bytes from the PC that arrived at `now`. A complete request frame is answered at once;
    // its answer leaves when the request would have fully arrived and the line is free.
    void receive(std::span<const std::uint8_t> bytes, Clock::time_point now);

    // Copies the bytes due by `now` (at most out.size()) and keeps them on the line until
    // handOver() says how many were taken.
    std::size_t copyDue(std::span<std::uint8_t> out, Clock::time_point now);
    void handOver(std::size_t count);
    // copyDue and handOver in one.
    std::size_t take(std::span<std::uint8_t> out, Clock::time_point now);
    // Drops the bytes due by `now`; those still on their way arrive later all the same.
    void discardDue(Clock::time_point now);

    // When the line next has something for the PC without being asked: the next byte (which
    // may be due already) or the next sample of the stream. Nothing while it waits for a request.
    std::optional<Clock::time_point> nextEvent() const;

    bool idle() const { return m_out.empty(); }
    int requestCount() const { return m_model.requestCount(); }
    const ProbeModel &model() const { return m_model; }

private:
    struct OutByte {
        std::uint8_t byte;
        Clock::time_point due;
    };

    // A sample frame when the stream's period has passed, only on an idle line, so that a
    // reader that lags is not buried in samples.
    void advance(Clock::time_point now);
    // The PC's bytes as the probe hears them, after the line's flips.
    void hear(std::span<const std::uint8_t> bytes, Clock::time_point now);
    void answer(std::span<const std::uint8_t> body, Clock::time_point arrived);
    // Every byte the probe sends goes through here.
    void toWire(QByteArray bytes, Clock::time_point earliest);

    ProbeModel m_model;
    LineSchedule m_schedule;
    LineNoise m_noise;
    // One generator a direction, so that what one direction flips does not depend on how the
    // bytes of the two interleave in time.
    BitFlipper m_wireIn;
    BitFlipper m_wireOut;
    probe::FrameDecoder m_decoder;
    bool m_noisy;
    Clock::duration m_samplePeriod;
    std::deque<OutByte> m_out;
    Clock::time_point m_frameStart{};
    bool m_streaming = false;
    Clock::time_point m_nextSample{};
};

} // namespace zolm::sim
