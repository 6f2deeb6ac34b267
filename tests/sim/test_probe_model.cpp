// The probe's answers, byte for byte, without a port: requests go in as they appear on the
// wire, answers come out as they go on it.
#include "conversion/conversion.h"
#include "line_schedule.h"
#include "probe/frame.h"
#include "probe_model.h"
#include "virtual_probe.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <vector>

using namespace zolm;
using namespace zolm::sim;

namespace {

using Bytes = std::vector<std::uint8_t>;

QByteArray wire(const char *literal, std::size_t n) { return QByteArray(literal, static_cast<qsizetype>(n)); }
#define WIRE(s) wire(s, sizeof(s) - 1)

Bytes decodeOne(const QByteArray &frame)
{
    probe::FrameDecoder d;
    Bytes body;
    int frames = 0;
    d.feed(std::span(reinterpret_cast<const std::uint8_t *>(frame.constData()), static_cast<std::size_t>(frame.size())),
           [&](std::span<const std::uint8_t> b) {
               body.assign(b.begin(), b.end());
               ++frames;
           });
    EXPECT_EQ(frames, 1) << frame.toHex().constData();
    return body;
}

// Header: delay 300 s, interval 10 s, 28 points. Memory patterns that include every byte the
// framing escapes.
ProbeMemory patternMemory()
{
    ProbeMemory m;
    for (std::size_t k = 0; k < m.parameters.bytes.size(); ++k)
        m.parameters.bytes[k] = static_cast<std::uint8_t>(k * 7 + 3);
    for (std::size_t k = 0; k < m.data.bytes.size(); ++k)
        m.data.bytes[k] = static_cast<std::uint8_t>(k ^ (k >> 8));
    const std::uint8_t header[8] = {0x00, 0x2C, 0x01, 0x0A, 0x1C, 0x00, 0x00, 0x00};
    std::copy(std::begin(header), std::end(header), m.data.bytes.begin());
    return m;
}

// Hands a request, as the PC puts it on the wire, to the probe.
QByteArray ask(ProbeModel &probe, const QByteArray &request) { return probe.receive(decodeOne(request)); }

Bytes slice(const auto &bytes, std::size_t from, std::size_t n)
{
    return Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(from), bytes.begin() + static_cast<std::ptrdiff_t>(from + n));
}

} // namespace

TEST(SimAnswers, ShortRequestsAnswerWithTheirLetterAndData)
{
    ProbeMemory m = patternMemory();
    m.battery = 760;
    ProbeModel probe(m);
    EXPECT_EQ(ask(probe, WIRE("[P]")), WIRE("[P]"));
    EXPECT_EQ(ask(probe, WIRE("[I]")), WIRE("[I]"));
    EXPECT_EQ(ask(probe, WIRE("[X]")), WIRE("[X/0,\x01\n\x1c/0/0/0]"));
    EXPECT_EQ(ask(probe, WIRE("[Y]")), WIRE("[Y\xf8\x02]"));

    m.battery = 0x5B2F; // both bytes need escaping
    ProbeModel escaped(m);
    EXPECT_EQ(ask(escaped, WIRE("[Y]")), WIRE("[Y/S/B]"));
}

TEST(SimAnswers, UnknownOrMalformedRequestsGetNoAnswer)
{
    ProbeModel probe(patternMemory());
    EXPECT_TRUE(ask(probe, WIRE("[Q]")).isEmpty());
    EXPECT_TRUE(ask(probe, WIRE("[PX]")).isEmpty());
    EXPECT_TRUE(ask(probe, WIRE("[G/0 /0]")).isEmpty());  // no length
    EXPECT_TRUE(ask(probe, WIRE("[B]")).isEmpty());       // no block number
    EXPECT_TRUE(ask(probe, WIRE("[B/0/0]")).isEmpty());
    EXPECT_TRUE(ask(probe, WIRE("[W/0/0\x08/0]")).isEmpty()); // header cut short
    EXPECT_TRUE(probe.answer({}).isEmpty());
}

TEST(SimAnswers, GReadsParameterMemoryByProbeAddress)
{
    const ProbeMemory m = patternMemory();
    ProbeModel probe(m);
    // 0x2000 is the start of the parameter block, 0x6000 the probe identity at offset 0x4000.
    Bytes body = decodeOne(ask(probe, WIRE("[G/0 /0@]")));
    ASSERT_EQ(body.size(), 65u);
    EXPECT_EQ(body[0], 'G');
    EXPECT_EQ(slice(body, 1, 64), slice(m.parameters.bytes, 0, 64));

    body = decodeOne(ask(probe, WIRE("[G/0`/0@]")));
    EXPECT_EQ(slice(body, 1, 64), slice(m.parameters.bytes, 0x4000, 64));

    body = decodeOne(ask(probe, WIRE("[G/0\x7f\xc0@]"))); // the last block, 0x7FC0
    EXPECT_EQ(slice(body, 1, 64), slice(m.parameters.bytes, 0x5FC0, 64));
}

TEST(SimAnswers, GBeyondParameterMemoryReadsErased)
{
    ProbeMemory m = patternMemory();
    const std::uint8_t last[4] = {0x00, 0x2F, 0x5B, 0x5D};
    std::copy(std::begin(last), std::end(last), m.parameters.bytes.end() - 4);
    ProbeModel probe(m);
    EXPECT_EQ(ask(probe, WIRE("[G/0\x7f\xfc\x08]")), WIRE("[G/0/S/B/E\xff\xff\xff\xff]"));
    EXPECT_EQ(ask(probe, WIRE("[G/0\x1f\xff\x02]")), WIRE("[G\xff\x03]")); // 0x1FFF, then 0x2000
}

TEST(SimAnswers, BCarriesItsBlockNumberThen128Bytes)
{
    const ProbeMemory m = patternMemory();
    ProbeModel probe(m);
    for (const int block : {0, 4, 0x5B, 0x5D, 255}) {
        const Bytes body = decodeOne(probe.receive(Bytes{'B', static_cast<std::uint8_t>(block)}));
        ASSERT_EQ(body.size(), 130u) << block;
        EXPECT_EQ(body[0], 'B');
        EXPECT_EQ(body[1], block);
        EXPECT_EQ(slice(body, 2, 128), slice(m.data.bytes, 128 * static_cast<std::size_t>(block), 128)) << block;
    }
    // Block 0x5D is "]" and travels escaped.
    EXPECT_TRUE(ask(probe, WIRE("[B/E]")).startsWith(WIRE("[B/E")));
}

TEST(SimAnswers, WStoresTheSettingsAndGivesUpTheStoredCount)
{
    ProbeModel probe(patternMemory());
    // 300 s and 10 s as the PC writes them.
    EXPECT_EQ(ask(probe, WIRE("[W/0/0\x08/0,\x01\n/0/0/0/0]")), WIRE("[W]"));
    EXPECT_EQ(ask(probe, WIRE("[X]")), WIRE("[X/0,\x01\n/0/0/0/0]"));

    // A count in the written header is not taken: the probe starts over empty.
    EXPECT_EQ(ask(probe, WIRE("[W/0/0\x08/0\x05/0\x03\x07/0/0/0]")), WIRE("[W]"));
    EXPECT_EQ(ask(probe, WIRE("[X]")), WIRE("[X/0\x05/0\x03/0/0/0/0]"));

    // A W with a foreign prefix is ignored and changes nothing.
    EXPECT_TRUE(ask(probe, WIRE("[W/0\x01\x08/0,\x01\n/0/0/0/0]")).isEmpty());
    EXPECT_EQ(ask(probe, WIRE("[X]")), WIRE("[X/0\x05/0\x03/0/0/0/0]"));
}

TEST(SimAnswers, ReadbackMismatchMakesTheReadBackDiffer)
{
    ProtocolFaults f;
    f.readbackMismatch = true;
    ProbeModel probe(patternMemory(), f);
    EXPECT_EQ(ask(probe, WIRE("[W/0/0\x08/0,\x01\n/0/0/0/0]")), WIRE("[W]"));
    const Bytes back = decodeOne(ask(probe, WIRE("[X]")));
    ASSERT_EQ(back.size(), 9u);
    EXPECT_NE(slice(back, 1, 8), (Bytes{0x00, 0x2C, 0x01, 0x0A, 0x00, 0x00, 0x00, 0x00}));
}

TEST(SimAnswers, AStartsTheSampleStreamUntilP)
{
    const ProbeMemory m = syntheticMemory(28);
    ProbeModel probe(m);
    EXPECT_FALSE(probe.streaming());
    const Bytes first = decodeOne(ask(probe, WIRE("[A]")));
    ASSERT_EQ(first.size(), 19u);
    EXPECT_EQ(first[0], '@');
    EXPECT_TRUE(probe.streaming());

    // Other requests are answered while the stream runs; only P ends it.
    EXPECT_EQ(ask(probe, WIRE("[I]")), WIRE("[I]"));
    EXPECT_TRUE(probe.streaming());

    // The samples are a sensor at a plausible attitude, as the PC converts them.
    for (int k = 0; k < 20; ++k) {
        const Bytes body = decodeOne(probe.nextSampleFrame());
        ASSERT_EQ(body.size(), 19u);
        ASSERT_EQ(body[0], '@');
        SurveyValues v{};
        ASSERT_EQ(convertSample(RawSample::fromBytes(body.data() + 1), m.parameters, v), 1);
        EXPECT_NEAR(v[Inclination], 12.5, 1.0);
        EXPECT_NEAR(v[MagneticAzimuth], 135.0, 2.0);
        EXPECT_NEAR(v[TotalGravity], 1.0, 0.02);
        EXPECT_NEAR(v[MagneticDip], 58.0, 1.0);
    }
    EXPECT_EQ(ask(probe, WIRE("[P]")), WIRE("[P]"));
    EXPECT_FALSE(probe.streaming());
}

TEST(SimAnswers, AForeignCalibrationStreamsItsOwnStoredSamples)
{
    ProbeMemory m = patternMemory();
    m.data.setStoredCount(3);
    ProbeModel probe(m);
    const Bytes first = decodeOne(ask(probe, WIRE("[A]")));
    EXPECT_EQ(slice(first, 1, 18), slice(m.data.bytes, 8, 18));
    EXPECT_EQ(slice(decodeOne(probe.nextSampleFrame()), 1, 18), slice(m.data.bytes, 26, 18));
    EXPECT_EQ(slice(decodeOne(probe.nextSampleFrame()), 1, 18), slice(m.data.bytes, 44, 18));
    EXPECT_EQ(slice(decodeOne(probe.nextSampleFrame()), 1, 18), slice(m.data.bytes, 8, 18));
}

TEST(SimFaults, SilentAfterNSilencesEveryRequestFromTheNth)
{
    ProtocolFaults f;
    f.silentAfter = 3;
    ProbeModel probe(syntheticMemory(5), f);
    EXPECT_FALSE(ask(probe, WIRE("[P]")).isEmpty());
    EXPECT_FALSE(ask(probe, WIRE("[X]")).isEmpty());
    EXPECT_FALSE(probe.mute());
    // The third request is still answered; A's first sample is then the only one.
    EXPECT_FALSE(ask(probe, WIRE("[A]")).isEmpty());
    EXPECT_TRUE(probe.mute());
    EXPECT_FALSE(probe.streaming());
    EXPECT_TRUE(ask(probe, WIRE("[P]")).isEmpty());
    EXPECT_TRUE(ask(probe, WIRE("[I]")).isEmpty());
    EXPECT_EQ(probe.requestCount(), 5);

    f.silentAfter = 0;
    ProbeModel dead(syntheticMemory(5), f);
    EXPECT_TRUE(ask(dead, WIRE("[P]")).isEmpty());
}

TEST(SimFaults, SilentAtSkipsTheKthRequestOfThatLetterOnly)
{
    ProtocolFaults f;
    f.silentAt = {{'G', 1}, {'W', 0}, {'A', 0}, {'P', 1}};
    ProbeModel probe(patternMemory(), f);
    EXPECT_FALSE(ask(probe, WIRE("[G/0 /0@]")).isEmpty());
    EXPECT_FALSE(ask(probe, WIRE("[P]")).isEmpty());
    EXPECT_TRUE(ask(probe, WIRE("[G/0 @@]")).isEmpty());
    EXPECT_FALSE(ask(probe, WIRE("[G/0 \x80@]")).isEmpty());
    // The unanswered W has no effect: the probe still holds its 28 points.
    EXPECT_TRUE(ask(probe, WIRE("[W/0/0\x08/0,\x01\n/0/0/0/0]")).isEmpty());
    EXPECT_EQ(ask(probe, WIRE("[X]")), WIRE("[X/0,\x01\n\x1c/0/0/0]"));
    EXPECT_FALSE(ask(probe, WIRE("[W/0/0\x08/0,\x01\n/0/0/0/0]")).isEmpty());

    // Nor does an unanswered A or P: the stream stays as it was.
    EXPECT_TRUE(ask(probe, WIRE("[A]")).isEmpty());
    EXPECT_FALSE(probe.streaming());
    EXPECT_FALSE(ask(probe, WIRE("[A]")).isEmpty());
    EXPECT_TRUE(ask(probe, WIRE("[P]")).isEmpty());
    EXPECT_TRUE(probe.streaming());
}

TEST(SimFaults, DropStreamLeavesAUnansweredAndStartsNothing)
{
    ProtocolFaults f;
    f.dropStream = true;
    ProbeModel probe(syntheticMemory(5), f);
    EXPECT_TRUE(ask(probe, WIRE("[A]")).isEmpty());
    EXPECT_FALSE(probe.streaming());
    EXPECT_EQ(ask(probe, WIRE("[P]")), WIRE("[P]"));
}

TEST(SimFaults, LineFaultsLeaveWellFormedFramesWithWrongBodies)
{
    const ProbeMemory m = patternMemory();
    ProtocolFaults f;
    // Data byte 90 of block 0 is 0x5A: its flip gives '[', which must travel escaped.
    f.flips = {{'B', 1, 92, 0}, {'B', 2, 500, 0}, {'@', 1, 3, 7}};
    f.staleBlocks = {3, 4};
    f.shortAnswers = {{'G', 0}, {'P', 0}};
    f.longAnswers = {{'G', 1}};
    ProbeModel probe(m, f);
    ProbeModel clean(m);
    auto block = [&](ProbeModel &p, int n) { return decodeOne(p.receive(Bytes{'B', static_cast<std::uint8_t>(n)})); };

    EXPECT_EQ(block(probe, 0), block(clean, 0));
    Bytes expected = block(clean, 0);
    expected[92] = '[';
    EXPECT_EQ(block(probe, 0), expected);
    EXPECT_EQ(block(probe, 0), block(clean, 0)); // a byte beyond the body: nothing to flip
    // Stale: the data of the block before, under the number asked; block 0 gets block 1's.
    Bytes stale = block(probe, 0);
    ASSERT_EQ(stale.size(), 130u);
    EXPECT_EQ(stale[1], 0);
    EXPECT_EQ(slice(stale, 2, 128), slice(m.data.bytes, 128, 128));
    stale = block(probe, 5);
    EXPECT_EQ(stale[1], 5);
    EXPECT_EQ(slice(stale, 2, 128), slice(m.data.bytes, 4 * 128, 128));
    EXPECT_EQ(block(probe, 5), block(clean, 5));

    const Bytes g = decodeOne(ask(clean, WIRE("[G/0 /0@]")));
    EXPECT_EQ(decodeOne(ask(probe, WIRE("[G/0 /0@]"))), slice(g, 0, 64));
    Bytes longer = g;
    longer.push_back(0x00);
    EXPECT_EQ(decodeOne(ask(probe, WIRE("[G/0 /0@]"))), longer);
    EXPECT_EQ(decodeOne(ask(probe, WIRE("[G/0 /0@]"))), g);
    EXPECT_EQ(ask(probe, WIRE("[P]")), WIRE("[]")); // a letter alone, one byte short

    // A's answer is the first '@' answer; the stream's next sample the second.
    EXPECT_EQ(ask(probe, WIRE("[A]")), ask(clean, WIRE("[A]")));
    Bytes sample = decodeOne(clean.nextSampleFrame());
    sample[3] ^= 0x80;
    EXPECT_EQ(decodeOne(probe.nextSampleFrame()), sample);
}

TEST(SimFaults, FlipRateHitsBitsAfterTheLetterRepeatablyForASeed)
{
    auto blocks = [](FlipRate rate) {
        ProtocolFaults f;
        f.flipRate = rate;
        ProbeModel probe(patternMemory(), f);
        Bytes all;
        for (int n = 0; n < 8; ++n) {
            const Bytes body = decodeOne(probe.receive(Bytes{'B', static_cast<std::uint8_t>(n)}));
            EXPECT_EQ(body.size(), 130u);
            EXPECT_EQ(body[0], 'B');
            all.insert(all.end(), body.begin(), body.end());
        }
        return all;
    };
    const Bytes clean = blocks({});
    const Bytes noisy = blocks({0.01, 7});
    EXPECT_EQ(blocks({0.01, 7}), noisy);
    EXPECT_NE(blocks({0.01, 8}), noisy);
    EXPECT_EQ(blocks({0, 7}), clean);
    int bits = 0;
    for (std::size_t k = 0; k < clean.size(); ++k)
        bits += std::popcount(static_cast<unsigned>(clean[k] ^ noisy[k]));
    // 8 x 129 bytes at 1 %: about 83 bits.
    EXPECT_GT(bits, 40);
    EXPECT_LT(bits, 130);
}

TEST(SimFaults, NoiseNeverHoldsAFramingByte)
{
    LineNoise noise;
    for (int k = 0; k < 2000; ++k) {
        const QByteArray b = noise.burst();
        ASSERT_GE(b.size(), 1);
        ASSERT_LE(b.size(), 8);
        ASSERT_FALSE(b.contains('[') || b.contains(']') || b.contains('/')) << b.toHex().constData();
    }
}

TEST(SimMemoryRead, ReadAsThePcWouldTakesHeaderAndSamplesOnly)
{
    const ProbeMemory m = syntheticMemory(28);
    const auto images = readAsThePcWould(m);
    ASSERT_TRUE(images);
    EXPECT_EQ(images->parameters.bytes, m.parameters.bytes);
    EXPECT_EQ(slice(images->data.bytes, 0, 512), slice(m.data.bytes, 0, 512));
    EXPECT_EQ(slice(images->data.bytes, 512, DataImageSize - 512), Bytes(DataImageSize - 512, 0));

    // 1818 points end inside the last block, just before the tail, which no read fetches.
    const ProbeMemory full = syntheticMemory(MaxSurveyPoints);
    const auto all = readAsThePcWould(full);
    ASSERT_TRUE(all);
    EXPECT_EQ(slice(all->data.bytes, 0, 32732), slice(full.data.bytes, 0, 32732));
    EXPECT_EQ(slice(all->data.bytes, 32732, 36), Bytes(36, 0));

    ProbeMemory none = m;
    none.data.setStoredCount(0);
    EXPECT_FALSE(readAsThePcWould(none));
    none.data.setStoredCount(1819);
    EXPECT_FALSE(readAsThePcWould(none));
}

TEST(SimOptions, FaultsAndSimPortNamesParse)
{
    VirtualProbeOptions o;
    QString error;
    for (const char *good : {"silent-after:0", "silent-after:7", "silent-at:G:5", "split", "noise", "readback-mismatch",
                             "drop-stream"})
        EXPECT_TRUE(addFault(o, QString::fromLatin1(good), &error)) << good;
    EXPECT_EQ(o.protocolFaults.silentAfter, 7);
    ASSERT_EQ(o.protocolFaults.silentAt.size(), 1u);
    EXPECT_EQ(o.protocolFaults.silentAt[0].letter, 'G');
    EXPECT_EQ(o.protocolFaults.silentAt[0].index, 5);
    EXPECT_TRUE(o.split && o.noise && o.protocolFaults.readbackMismatch && o.protocolFaults.dropStream);

    for (const char *good : {"flip:B:3:40:2", "flip-rate:1e-4", "wire-flip-rate:0.5:9", "stale-block:4", "short:G:0",
                             "long:@:2"})
        EXPECT_TRUE(addFault(o, QString::fromLatin1(good), &error)) << good;
    // What each line fault does is tested on the model; here only that the fields land.
    const ProtocolFaults &f = o.protocolFaults;
    ASSERT_EQ(f.flips.size(), 1u);
    EXPECT_TRUE(f.flips[0].letter == 'B' && f.flips[0].index == 3 && f.flips[0].byte == 40 && f.flips[0].bit == 2);
    EXPECT_TRUE(f.flipRate.probability == 1e-4 && f.flipRate.seed == 1);
    EXPECT_TRUE(o.wireFlipRate.probability == 0.5 && o.wireFlipRate.seed == 9);
    EXPECT_TRUE(f.staleBlocks.size() == 1 && f.shortAnswers.size() == 1 && f.longAnswers.size() == 1);

    for (const char *bad : {"silent-after", "silent-after:", "silent-after:-1", "silent-after:x", "silent-at:G",
                            "silent-at:GX:1", "silent-at::1", "split:1", "noisy", "", "flip:B:3:40", "flip:B:3:40:8",
                            "flip:BB:0:0:0", "flip:B:-1:0:0", "flip-rate", "flip-rate:2", "flip-rate:-0.1",
                            "flip-rate:x", "flip-rate:nan", "flip-rate:0.1:x", "flip-rate:0.1:1:2", "wire-flip-rate:",
                            "stale-block", "stale-block:-1", "short:G", "long::1", "long:G:1:1"}) {
        error.clear();
        EXPECT_FALSE(addFault(o, QString::fromLatin1(bad), &error)) << bad;
        EXPECT_FALSE(error.isEmpty()) << bad;
    }

    ASSERT_TRUE(simPortOptions(QStringLiteral("SIM")));
    EXPECT_TRUE(simPortOptions(QStringLiteral("SIM"))->surveyFile.isEmpty());
    EXPECT_EQ(simPortOptions(QStringLiteral("SIM:/tmp/a b.ZLM"))->surveyFile, QStringLiteral("/tmp/a b.ZLM"));
    EXPECT_FALSE(simPortOptions(QStringLiteral("sim")));
    EXPECT_FALSE(simPortOptions(QStringLiteral("/dev/ttyUSB0")));
    EXPECT_FALSE(simPortOptions(QStringLiteral("SIMX")));
}

TEST(SimLinePacing, BytesTakeTenBitTimesAndFollowTheRequest)
{
    using namespace std::chrono;
    LineSchedule line(115200, false);
    // 10 / 115200 s = 86.8 us
    const double us = duration<double, std::micro>(line.byteTime()).count();
    EXPECT_NEAR(us, 86.806, 0.01);
    const auto bt = line.byteTime();
    const LineSchedule::Clock::time_point t0{seconds(100)};

    // "[P]" came in at t0; it has fully arrived three byte times later.
    EXPECT_EQ(line.requestArrival(t0, 3, t0), t0 + 3 * bt);
    EXPECT_EQ(line.requestArrival(t0, 3, t0 + seconds(1)), t0 + seconds(1));

    const auto first = line.place(3, t0 + 3 * bt);
    EXPECT_EQ(first, (std::vector{t0 + 4 * bt, t0 + 5 * bt, t0 + 6 * bt}));
    // The line is busy until then: the next output queues behind it.
    const auto second = line.place(2, t0);
    EXPECT_EQ(second, (std::vector{t0 + 7 * bt, t0 + 8 * bt}));
}

TEST(SimLinePacing, UnpacedGoesAtOnceAndSplitLeavesAMillisecond)
{
    using namespace std::chrono;
    const LineSchedule::Clock::time_point t0{seconds(100)};
    LineSchedule fast(0, false);
    EXPECT_EQ(fast.place(3, t0), (std::vector{t0, t0, t0}));

    LineSchedule split(0, true);
    EXPECT_EQ(split.place(3, t0), (std::vector{t0, t0 + 1ms, t0 + 2ms}));

    // At 300 baud a byte takes longer than the split gap, so the line rate rules.
    LineSchedule slowSplit(300, true);
    const auto bt = slowSplit.byteTime();
    EXPECT_EQ(slowSplit.place(2, t0), (std::vector{t0 + bt, t0 + 2 * bt}));
}
