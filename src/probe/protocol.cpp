#include "probe/protocol.h"

#include "survey/le_bytes.h"

#include <algorithm>
#include <chrono>
#include <cstring>

namespace zolm::probe {

AnswerCheck AnswerCheck::dataBlock(int number, std::size_t minData)
{
    AnswerCheck c;
    c.letter = 'B';
    c.minLength = 2 + minData;
    c.maxLength = BlockAnswerLength;
    c.block = number;
    return c;
}

bool AnswerCheck::fits(std::span<const std::uint8_t> body) const
{
    if (!isAnswer(body) || body.size() < minLength || body.size() > maxLength)
        return false;
    if (block >= 0 && (body.size() < 2 || body[1] != block))
        return false;
    if (storedCount) {
        const auto [at, count] = *storedCount;
        if (body.size() < at + 2 || le::u16(body.data() + at) != count)
            return false;
    }
    return true;
}

bool sendRequest(Link &link, const QByteArray &request)
{
    link.purge();
    return link.write(request);
}

ErrorCode awaitFrame(Link &link, FrameDecoder &decoder, const AnswerCheck &check, int waitMs, Frame &answer,
                     const WaitHooks &hooks)
{
    decoder.reset();
    std::array<std::uint8_t, AnswerReadSize> chunk{};
    int misses = 0;
    // A probe that keeps sending other frames (samples, when it missed a stop) never falls
    // silent, yet is no closer to answering: each read period spent on such frames alone counts
    // as well, and three of them end the wait as three silent ones do. Any byte still restarts
    // the silent count.
    int busyMisses = 0;
    auto periodStart = std::chrono::steady_clock::now();
    const auto period = std::chrono::milliseconds(waitMs);
    for (;;) {
        if (hooks.cancelled && hooks.cancelled())
            return ErrorCode::Cancelled;
        if (!link.isOpen()) {
            // Nothing can arrive: the bar still shows the three periods, without the wait.
            for (int i = 0; i < SilentPeriodsToFail; ++i) {
                if (hooks.silentPeriod)
                    hooks.silentPeriod();
            }
            return ErrorCode::ProbePort;
        }
        const std::size_t n = link.read(chunk, waitMs);
        if (n == 0) {
            // An answer that began and stopped is a broken answer, not a silent probe: its end
            // marker was lost on the line.
            if (decoder.openFrameLetter() == check.letter)
                return ErrorCode::ProbeData;
            if (hooks.silentPeriod)
                hooks.silentPeriod();
            periodStart = std::chrono::steady_clock::now();
            if (++misses >= SilentPeriodsToFail)
                return ErrorCode::ProbeTimeout;
            continue;
        }
        misses = 0;
        std::optional<ErrorCode> judged;
        decoder.feed(std::span<const std::uint8_t>(chunk.data(), n), [&](std::span<const std::uint8_t> body) {
            if (judged || !check.isAnswer(body))
                return; // the first answer decides; later frames are stale
            if (!check.fits(body)) {
                judged = ErrorCode::ProbeData;
                return;
            }
            std::memcpy(answer.body.data(), body.data(), body.size());
            answer.length = body.size();
            judged = ErrorCode::None;
        });
        if (judged)
            return *judged;
        if (decoder.openFrameLetter() == check.letter) {
            busyMisses = 0; // the answer is arriving
            periodStart = std::chrono::steady_clock::now();
        } else if (std::chrono::steady_clock::now() - periodStart >= period) {
            if (hooks.silentPeriod)
                hooks.silentPeriod();
            periodStart = std::chrono::steady_clock::now();
            if (++busyMisses >= SilentPeriodsToFail)
                return ErrorCode::ProbeTimeout;
        }
    }
}

ErrorCode exchange(Link &link, FrameDecoder &decoder, const QByteArray &request, const AnswerCheck &check,
                   int waitMs, Frame &answer, const WaitHooks &hooks)
{
    if (hooks.cancelled && hooks.cancelled())
        return ErrorCode::Cancelled;
    // A closed port is reported as such by the wait, not as a failed write.
    if (link.isOpen() && !sendRequest(link, request))
        return ErrorCode::ProbePort;
    return awaitFrame(link, decoder, check, waitMs, answer, hooks);
}

void drainLine(Link &link, int quietMs, int maxReads, const WaitHooks &hooks)
{
    std::array<std::uint8_t, AnswerReadSize> chunk{};
    for (int i = 0; i < maxReads && link.isOpen(); ++i) {
        if (hooks.cancelled && hooks.cancelled())
            return;
        if (link.read(chunk, quietMs) == 0)
            return;
    }
}

std::optional<RawSample> sampleOfFrame(std::span<const std::uint8_t> body)
{
    if (body.size() != SampleFrameLength || body[0] != SampleLetter)
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
