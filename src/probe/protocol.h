#pragma once
// The request/answer protocol on top of the framing: send a request (purge, then one write),
// wait for the answer frame with the expected letter, and judge it: the line carries no
// checksum, so an answer of the wrong length, or a block other than the one asked for, is
// reported as such and never used. Retrying is the operations' business.
#include "probe/frame.h"
#include "probe/link.h"
#include "platform/result.h"
#include "survey/survey_types.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string_view>
#include <utility>

namespace zolm::probe {

// Reads are at most this long while waiting for an answer (RealTimeReadSize in real time).
inline constexpr std::size_t AnswerReadSize = 128;
inline constexpr std::size_t RealTimeReadSize = 10;
// An answer fails after this many consecutive silent read periods.
inline constexpr int SilentPeriodsToFail = 3;

// An exchange ends with one of these codes:
//   None             the answer came and fits;
//   ProbeTimeout     three silent read periods in a row;
//   Cancelled        the owner asked to stop (shutdown) between reads;
//   ProbePort        the link is not open, so nothing can arrive, or the request could not be
//                    written to it (an open link: requests are written only to open links);
//   ProbeData        an answer with the awaited letter failed its checks (or broke off).

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

// What an answer must be to be used. Frames with another letter are not answers to the
// request (a stale sample, say) and are passed over; one with this letter must fit exactly.
struct AnswerCheck {
    std::uint8_t letter = 0;
    std::size_t minLength = 1; // the body's length, letter included
    std::size_t maxLength = 1;
    int block = -1; // a data block's number, which body byte 1 must repeat
    // The stored count a data header in the answer must give: its body offset and value.
    std::optional<std::pair<std::size_t, std::uint16_t>> storedCount;

    static AnswerCheck exact(char letter, std::size_t length)
    {
        AnswerCheck c;
        c.letter = static_cast<std::uint8_t>(letter);
        c.minLength = c.maxLength = length;
        return c;
    }
    // A data block: its letter, the number asked for, then at least minData of its 128 bytes.
    static AnswerCheck dataBlock(int number, std::size_t minData);
    bool isAnswer(std::span<const std::uint8_t> body) const { return !body.empty() && body[0] == letter; }
    // An answer (isAnswer) that may be used.
    bool fits(std::span<const std::uint8_t> body) const;
};

// Purges both directions, then writes the request in one write; false when it could not be
// written whole.
bool sendRequest(Link &link, const QByteArray &request);

// Waits for the answer the check names. Other frames are dropped and waiting goes on; any
// received byte restarts the count of silent periods. An answer that does not fit, or one
// that began and then fell silent, ends the wait as ProbeData. A closed link fails at once.
ErrorCode awaitFrame(Link &link, FrameDecoder &decoder, const AnswerCheck &check, int waitMs, Frame &answer,
                  const WaitHooks &hooks = {});

// Sends the request and awaits its answer.
ErrorCode exchange(Link &link, FrameDecoder &decoder, const QByteArray &request, const AnswerCheck &check, int waitMs,
                Frame &answer, const WaitHooks &hooks = {});

// After a bad answer: lets the rest of it (still on the line) arrive and go before the request
// is sent again, so that its tail cannot pass for the new answer. Returns at the first quiet
// gap of quietMs, or after maxReads reads of a line that does not fall quiet.
void drainLine(Link &link, int quietMs, int maxReads, const WaitHooks &hooks = {});

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

// The raw sample of a '@' frame's body; nothing for any other frame, or one not exactly a
// sample long.
std::optional<RawSample> sampleOfFrame(std::span<const std::uint8_t> body);

} // namespace zolm::probe
