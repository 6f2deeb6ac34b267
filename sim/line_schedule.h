#pragma once
// When each byte of the probe's output may be handed to the pty, as a real line would
// deliver it: 10 bits a byte at the line rate, one thing on the line at a time, an answer
// no earlier than its request would have fully arrived, and with the split fault about
// 1 ms between bytes. Plain arithmetic on time points, so it is tested without a clock.
#include <chrono>
#include <cstddef>
#include <vector>

namespace zolm::sim {

class LineSchedule {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr auto SplitGap = std::chrono::milliseconds(1);
    static constexpr int BitsPerByte = 10; // start bit, 8 data bits, stop bit

    // lineRate 0: unpaced, bytes go as soon as they are placed.
    LineSchedule(int lineRate, bool split);

    Clock::duration byteTime() const { return m_byteTime; }

    // When a request of `bytes` bytes on the wire, whose start marker came in at `start`,
    // would have fully arrived (never before `now`, when it has evidently arrived).
    Clock::time_point requestArrival(Clock::time_point start, std::size_t bytes, Clock::time_point now) const;

    // Places `count` output bytes no earlier than `earliest` and after everything placed
    // before; returns the time each byte has fully arrived, when it is handed over.
    std::vector<Clock::time_point> place(std::size_t count, Clock::time_point earliest);

private:
    Clock::duration m_byteTime{0};
    bool m_split;
    Clock::time_point m_lineFree{};
};

} // namespace zolm::sim
