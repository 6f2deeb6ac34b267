#include "probe/frame.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    zolm::probe::FrameDecoder decoder;
    decoder.feed({data, size}, [](std::span<const std::uint8_t> frame) {
        if (frame.size() > zolm::probe::FrameDecoder::Capacity)
            __builtin_trap();
        // Re-encoding a decoded body and decoding it again gives the same body back.
        const QByteArray encoded = zolm::probe::encodeFrame(frame);
        zolm::probe::FrameDecoder again;
        int n = 0;
        again.feed({reinterpret_cast<const std::uint8_t *>(encoded.constData()), static_cast<std::size_t>(encoded.size())},
                   [&](std::span<const std::uint8_t> back) {
                       ++n;
                       if (back.size() != frame.size() || !std::equal(back.begin(), back.end(), frame.begin()))
                           __builtin_trap();
                   });
        if (n != 1)
            __builtin_trap();
    });
    return 0;
}
