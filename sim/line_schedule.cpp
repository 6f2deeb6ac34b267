#include "line_schedule.h"

#include <algorithm>

namespace zolm::sim {

LineSchedule::LineSchedule(int lineRate, bool split) : m_split(split)
{
    if (lineRate > 0)
        m_byteTime = std::chrono::duration_cast<Clock::duration>(
            std::chrono::duration<double>(static_cast<double>(BitsPerByte) / lineRate));
}

LineSchedule::Clock::time_point LineSchedule::requestArrival(Clock::time_point start, std::size_t bytes,
                                                             Clock::time_point now) const
{
    return std::max(now, start + m_byteTime * static_cast<Clock::rep>(bytes));
}

std::vector<LineSchedule::Clock::time_point> LineSchedule::place(std::size_t count, Clock::time_point earliest)
{
    std::vector<Clock::time_point> due;
    due.reserve(count);
    Clock::time_point t = std::max(earliest, m_lineFree);
    for (std::size_t k = 0; k < count; ++k) {
        Clock::time_point next = t + m_byteTime;
        if (m_split && k > 0)
            next = std::max(next, due.back() + SplitGap);
        due.push_back(next);
        t = next;
    }
    if (count > 0)
        m_lineFree = t;
    return due;
}

} // namespace zolm::sim
