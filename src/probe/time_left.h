#pragma once
// The time an operation has left, from the pace of its exchanges so far: what the progress
// window and zolm-cli's bar show. A read's total counts both its passes, so the estimate
// covers the comparison too.
#include <QElapsedTimer>

#include <optional>

namespace zolm::probe {

class TimeLeft {
public:
    // Exchanges done of all. The first call (and one that goes back) starts the clock; seconds
    // left once there is a pace to go by.
    std::optional<qint64> update(int done, int total)
    {
        if (!m_clock.isValid() || done < m_first) {
            m_clock.start();
            m_first = done;
        }
        if (total > 0 && done >= total)
            return 0;
        if (done <= m_first || total <= 0)
            return std::nullopt;
        return m_clock.elapsed() * (total - done) / (done - m_first) / 1000;
    }
    void reset() { m_clock.invalidate(); }

private:
    QElapsedTimer m_clock;
    int m_first = 0;
};

} // namespace zolm::probe
