#include "probe/live_reader.h"

#include "probe/protocol.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>

#include <algorithm>
#include <array>

namespace zolm::probe {

std::size_t LiveReader::readOnce(Link &link, int waitMs, int sliceMs, const std::function<bool()> &interrupted,
                                 const std::function<void(const RawSample &)> &onSample)
{
    std::array<std::uint8_t, RealTimeReadSize> chunk{};
    std::size_t n = 0;
    const QDeadlineTimer deadline(waitMs);
    for (;;) {
        const auto slice = static_cast<int>(std::min<qint64>(deadline.remainingTime(), sliceMs));
        QElapsedTimer waited;
        waited.start();
        n = link.read(chunk, slice);
        // A port that fails returns at once, like one that never opened: one silent read,
        // then the caller's idle poll, never a busy loop.
        if (n > 0 || deadline.hasExpired() || waited.elapsed() < slice / 2 || (interrupted && interrupted()))
            break;
    }
    m_decoder.feed(std::span<const std::uint8_t>(chunk.data(), n), [&](std::span<const std::uint8_t> body) {
        if (const auto sample = sampleOfFrame(body))
            onSample(*sample);
    });
    return n;
}

} // namespace zolm::probe
