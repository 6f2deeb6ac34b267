#include "probe/protocol.h"

#include <algorithm>
#include <cstring>

namespace zolm::probe {

void sendRequest(Link &link, const QByteArray &request)
{
    link.purge();
    link.write(request);
}

Status awaitFrame(Link &link, FrameDecoder &decoder, std::span<const std::uint8_t> expected,
                  std::size_t minLength, int waitMs, Frame &answer, const WaitHooks &hooks)
{
    decoder.reset();
    const std::size_t need = std::max(minLength, expected.size());
    std::array<std::uint8_t, AnswerReadSize> chunk{};
    int misses = 0;
    for (;;) {
        if (hooks.cancelled && hooks.cancelled())
            return Status::Cancelled;
        if (!link.isOpen()) {
            // Nothing can arrive: the bar still shows the three periods, without the wait.
            for (int i = 0; i < SilentPeriodsToFail; ++i) {
                if (hooks.silentPeriod)
                    hooks.silentPeriod();
            }
            return Status::NoPort;
        }
        const std::size_t n = link.read(chunk, waitMs);
        if (n == 0) {
            if (hooks.silentPeriod)
                hooks.silentPeriod();
            if (++misses >= SilentPeriodsToFail)
                return Status::Timeout;
            continue;
        }
        misses = 0;
        bool found = false;
        decoder.feed(std::span<const std::uint8_t>(chunk.data(), n), [&](std::span<const std::uint8_t> body) {
            if (found)
                return; // the first matching frame is the answer; later ones are stale
            if (body.size() < need || !std::equal(expected.begin(), expected.end(), body.begin()))
                return;
            std::memcpy(answer.body.data(), body.data(), body.size());
            answer.length = body.size();
            found = true;
        });
        if (found)
            return Status::Ok;
    }
}

Status exchange(Link &link, FrameDecoder &decoder, const QByteArray &request, char answerLetter,
                std::size_t minLength, int waitMs, Frame &answer, const WaitHooks &hooks)
{
    if (hooks.cancelled && hooks.cancelled())
        return Status::Cancelled;
    sendRequest(link, request);
    const std::uint8_t letter = static_cast<std::uint8_t>(answerLetter);
    return awaitFrame(link, decoder, std::span<const std::uint8_t>(&letter, 1), minLength, waitMs, answer, hooks);
}

std::optional<RawSample> sampleOfFrame(std::span<const std::uint8_t> body)
{
    if (body.size() < SampleFrameLength || body[0] != SampleLetter)
        return std::nullopt;
    return RawSample::fromBytes(body.data() + 1);
}

QByteArray requestAttention() { return encodeRequest('P'); }
QByteArray requestHeader() { return encodeRequest('X'); }
QByteArray requestBattery() { return encodeRequest('Y'); }
QByteArray requestLedTest() { return encodeRequest('I'); }
QByteArray requestRealTime() { return encodeRequest('A'); }

QByteArray requestWriteHeader(std::span<const std::uint8_t, 8> header)
{
    std::array<std::uint8_t, 11> params{0x00, 0x00, 0x08};
    std::copy(header.begin(), header.end(), params.begin() + 3);
    return encodeRequest('W', params);
}

QByteArray requestParameters(std::uint16_t address)
{
    const std::array<std::uint8_t, 4> params{0x00, static_cast<std::uint8_t>(address >> 8),
                                              static_cast<std::uint8_t>(address & 0xFF),
                                              static_cast<std::uint8_t>(ParameterChunk)};
    return encodeRequest('G', params);
}

QByteArray requestBlock(std::uint8_t block)
{
    const std::array<std::uint8_t, 1> params{block};
    return encodeRequest('B', params);
}

} // namespace zolm::probe
