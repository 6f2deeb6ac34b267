#pragma once
// The request/answer protocol on top of the framing: send a request (purge, then one write),
// wait for the answer frame that begins with the expected bytes, and the typed exchanges of
// the probe's commands. No retries: an exchange gets its answer or times out.
#include "probe/frame.h"
#include "probe/link.h"
#include "survey/survey_types.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string_view>

namespace zolm::probe {

// Reads are at most this long while waiting for an answer (RealTimeReadSize in real time).
inline constexpr std::size_t AnswerReadSize = 128;
inline constexpr std::size_t RealTimeReadSize = 10;
// An answer fails after this many consecutive silent read periods.
inline constexpr int SilentPeriodsToFail = 3;

enum class Status {
    Ok,
    Timeout,   // three silent read periods in a row (or a link that is not open)
    Cancelled, // the owner asked to stop (shutdown) between reads
    NoPort,    // the link is not open: nothing can arrive
};

// Probe memory: the parameter block starts at the type name; the probe's number and kind
// follow 16 KiB further on.
inline constexpr std::uint16_t ParameterMemoryAddress = 0x2000;
inline constexpr std::uint16_t IdentityAddress = 0x6000;
static_assert(IdentityAddress - ParameterMemoryAddress < ParameterBlockSize);

// One decoded answer: body byte 0 is its letter, the rest its data.
struct Frame {
    std::array<std::uint8_t, FrameDecoder::Capacity> body{};
    std::size_t length = 0;

    std::span<const std::uint8_t> bytes() const { return {body.data(), length}; }
    std::uint8_t operator[](std::size_t i) const { return body[i]; }
};

// What a wait reports while it runs: one call per silent read period (the time-out bar's
// step), and the question whether to give up now.
struct WaitHooks {
    std::function<void()> silentPeriod;
    std::function<bool()> cancelled;
};

// Purges both directions, then writes the request in one write.
void sendRequest(Link &link, const QByteArray &request);

// Waits for a frame whose first bytes equal `expected` (empty matches any frame) and whose
// body is at least `minLength` long. Frames that do not match are dropped and waiting goes on;
// any received byte restarts the count of silent periods. A closed link fails at once.
Status awaitFrame(Link &link, FrameDecoder &decoder, std::span<const std::uint8_t> expected,
                  std::size_t minLength, int waitMs, Frame &answer, const WaitHooks &hooks = {});

// Sends the request and awaits the answer with that letter whose body holds at least
// minLength bytes; a shorter one would hand over bytes the probe never sent, so it is dropped.
Status exchange(Link &link, FrameDecoder &decoder, const QByteArray &request, char answerLetter,
                std::size_t minLength, int waitMs, Frame &answer, const WaitHooks &hooks = {});

// The requests.
QByteArray requestAttention();          // [P]
QByteArray requestHeader();             // [X]
QByteArray requestWriteHeader(std::span<const std::uint8_t, 8> header); // [W 00 00 08 header]
QByteArray requestParameters(std::uint16_t address); // [G 00 hi lo 40]
QByteArray requestBlock(std::uint8_t block);         // [B n]
QByteArray requestBattery();            // [Y]
QByteArray requestLedTest();            // [I]
QByteArray requestRealTime();           // [A]

// The answers' sizes (body, letter included).
inline constexpr std::size_t HeaderAnswerLength = 1 + 8;      // X: header in bytes 1..8
inline constexpr std::size_t ParameterChunk = 64;
inline constexpr std::size_t ParameterAnswerLength = 1 + 64;  // G: memory in bytes 1..64
inline constexpr std::size_t BlockSize = 128;
inline constexpr std::size_t BlockAnswerLength = 2 + 128;     // B: data in bytes 2..129
inline constexpr std::size_t BatteryAnswerLength = 1 + 2;     // Y: reading in bytes 1..2
inline constexpr std::size_t SampleFrameLength = 1 + 18;      // @: one raw sample in bytes 1..18
inline constexpr std::uint8_t SampleLetter = '@';

// The raw sample of a '@' frame's body; nothing for any other frame, or one too short to hold
// a sample.
std::optional<RawSample> sampleOfFrame(std::span<const std::uint8_t> body);

} // namespace zolm::probe
