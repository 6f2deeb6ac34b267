#pragma once
// The probe side of the protocol as plain logic: the probe's two memories and what it answers
// to each request, with no port and no clock. The pty shell (virtual_probe.h) feeds it request
// bodies and writes out what comes back.
#include "probe/protocol.h"
#include "survey/survey_types.h"
#include "synthetic.h"

#include <QByteArray>

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <random>
#include <span>
#include <vector>

namespace zolm::sim {

inline constexpr std::uint16_t ParameterMemoryStart = probe::ParameterMemoryAddress;
inline constexpr std::size_t DataBlockSize = 128;
inline constexpr int DataBlockCount = 256; // 256 blocks of 128 bytes cover the data memory
// A battery reading of 7.36 V (31 % charge).
inline constexpr std::uint16_t DefaultBatteryReading = 760;

struct ProbeMemory {
    ProbeParameterBlock parameters; // probe addresses 0x2000..0x7FFF
    RawDataImage data;              // data memory from its first byte
    std::uint16_t battery = DefaultBatteryReading;
};

// The memories of a synthetic probe holding a survey of n points along the default well path.
ProbeMemory syntheticMemory(int points, CalibrationKind kind = CalibrationKind::Realistic);

// What a complete read by the PC would leave in its two images: the parameter memory whole
// and the data memory up to the header and the stored samples, zero beyond. Empty when the
// probe holds no survey a read would accept (count 0 or above the capacity).
std::optional<ProbeImages> readAsThePcWould(const ProbeMemory &memory);

// Each bit of the bytes given to it flipped with probability `probability`, from a generator of
// its own seeded by `seed`: the same seed and the same bytes in the same order flip the same bits
// on every system (integer arithmetic only).
struct FlipRate {
    double probability = 0; // 0 to 1
    std::uint64_t seed = 1;
};

class BitFlipper {
public:
    explicit BitFlipper(FlipRate rate = {});
    bool active() const { return m_all || m_threshold > 0; }
    // Flips bits in place; returns how many.
    int apply(std::span<std::uint8_t> bytes);

private:
    std::uint64_t next();

    std::uint64_t m_state;
    std::uint64_t m_threshold = 0; // a bit flips when a draw is below this
    bool m_all = false;
};

// Faults that decide the probe's behaviour itself, and what a bad line does to its answers;
// the shell adds split, noise, pacing and the line's flips of raw bytes.
struct ProtocolFaults {
    // After this many requests (the last of them still answered) the probe falls silent for
    // good: no answers and no more samples (-1: never). After A that leaves the start's
    // sample as the only one.
    int silentAfter = -1;
    struct SilentAt {
        char letter;
        int index; // the index-th request of that letter, from 0
    };
    std::vector<SilentAt> silentAt;
    bool readbackMismatch = false; // W stores an interval that differs from the one sent
    bool dropStream = false;       // A starts nothing and gets no answer

    // Answers as a bad line leaves them: always a well-formed frame, its body wrong.
    // An answer is counted by its own letter (the stream's samples are '@' answers too), from 0.
    struct Flip {
        char letter;
        int index;        // the index-th answer of that letter
        std::size_t byte; // in the body, 0 being the letter; beyond the body nothing happens
        int bit;          // 0 (least significant) to 7
    };
    std::vector<Flip> flips;
    FlipRate flipRate; // every bit after the letter of every answer
    // The index-th B request (from 0) gets the data of the block before the one it asks for,
    // under its own block number; block 0, having none before it, gets block 1's data.
    std::vector<int> staleBlocks;
    struct Resize {
        char letter;
        int index; // the index-th answer of that letter
    };
    std::vector<Resize> shortAnswers; // the body's last byte missing
    std::vector<Resize> longAnswers;  // a 0x00 after the body
};

// Where the live samples come from: a synthetic sensor at a slowly turning attitude when the
// parameter memory is that sensor's calibration, else the stored samples over and over, so
// that the PC's conversion shows plausible values either way.
class LiveSampleSource {
public:
    explicit LiveSampleSource(const ProbeMemory &memory);
    RawSample next();

private:
    std::optional<SyntheticProbe> m_sensor;
    std::vector<RawSample> m_replay;
    std::uint32_t m_counter = 0;
};

class ProbeModel {
public:
    explicit ProbeModel(ProbeMemory memory, ProtocolFaults faults = {});

    // One request as it arrived (the decoded frame body, command letter first). Counts it,
    // applies the silence faults, and returns the answer frame as it goes on the wire, or
    // nothing when the probe stays silent. An unanswered request changes nothing.
    QByteArray receive(std::span<const std::uint8_t> body);

    // The answer to one request body, before any fault of silence or of the line: empty for a
    // request the probe does not know or that is malformed. A starts the stream and is answered
    // by its first sample frame; P ends the stream.
    QByteArray answer(std::span<const std::uint8_t> body);

    bool streaming() const { return m_streaming; }
    // True once silent-after has taken effect: the probe then sends nothing at all.
    bool mute() const { return m_mute; }
    // The next '@' sample frame of the stream, as the line faults leave it.
    QByteArray nextSampleFrame();

    const ProbeMemory &memory() const { return m_memory; }
    int requestCount() const { return m_requests; }

private:
    using Body = std::vector<std::uint8_t>;
    bool answersRequest(char letter);
    void dieWhenDue();
    Body answerBody(std::span<const std::uint8_t> body);
    Body sampleBody();
    // The line faults applied to an answer body, then the frame it goes out as.
    QByteArray send(Body body);

    ProbeMemory m_memory;
    ProtocolFaults m_faults;
    LiveSampleSource m_live;
    BitFlipper m_flipper;
    bool m_streaming = false;
    bool m_mute = false;
    int m_requests = 0;
    std::array<int, 256> m_perLetter{};
    std::array<int, 256> m_answersPerLetter{};
};

// Stray bytes as a noisy line delivers them: 1 to 8 bytes, never '[', ']' or '/', so they
// cannot start, end or escape a frame.
class LineNoise {
public:
    explicit LineNoise(std::uint32_t seed = 0x5EED) : m_rng(seed) {}
    QByteArray burst();

private:
    std::minstd_rand m_rng;
};

} // namespace zolm::sim
