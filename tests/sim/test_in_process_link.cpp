// The probe's line on a virtual clock, and the in-process link around it (SIM on Windows)
// driven by the real operations. Nothing here needs a pty.
#include "../probe/probe_test_support.h"
#include "default_sim_run.h"
#include "in_process_link.h"
#include "probe/operations.h"
#include "probe_line.h"
#include "sim_link.h"

#include <gtest/gtest.h>

#include <array>

using namespace zolm;
using namespace zolm::sim;
using namespace std::chrono_literals;
using Clock = ProbeLine::Clock;

namespace {

QByteArray wire(const char *literal, std::size_t n) { return QByteArray(literal, static_cast<qsizetype>(n)); }
#define WIRE(s) wire(s, sizeof(s) - 1)

std::span<const std::uint8_t> bytesOf(const QByteArray &b)
{
    return {reinterpret_cast<const std::uint8_t *>(b.constData()), static_cast<std::size_t>(b.size())};
}

// Only a guard against a hang; nothing here depends on how fast anything is.
constexpr auto HangGuard = 5s;

// Reads until `frames` frames have ended; returns every byte read.
QByteArray readFrames(probe::Link &link, int frames = 1)
{
    QByteArray got;
    std::array<std::uint8_t, 64> buffer{};
    const auto guard = Clock::now() + HangGuard;
    while (got.count(']') < frames && Clock::now() < guard)
        got.append(reinterpret_cast<const char *>(buffer.data()), static_cast<qsizetype>(link.read(buffer, 100)));
    return got;
}

struct FaultsInEnvironment {
    explicit FaultsInEnvironment(const char *faults) { qputenv("ZOLM_SIM_FAULTS", faults); }
    ~FaultsInEnvironment() { qunsetenv("ZOLM_SIM_FAULTS"); }
};

} // namespace

TEST(SimProbeLine, AnswersAtWireTimePurgesWhatArrivedAndStreamsOnlyWhenIdle)
{
    const Clock::time_point t0{100s};
    std::array<std::uint8_t, 512> buffer{};
    VirtualProbeOptions paced;
    paced.lineRate = 115200;
    ProbeLine line(syntheticMemory(28), paced);
    const auto bt = LineSchedule(paced.lineRate, false).byteTime();

    // "[P]" has fully arrived three byte times after its marker; each answer byte takes one more.
    line.receive(bytesOf(WIRE("[P]")), t0);
    EXPECT_EQ(line.nextEvent(), t0 + 4 * bt);
    EXPECT_EQ(line.take(buffer, t0 + 4 * bt - 1ns), 0u);
    ASSERT_EQ(line.take(buffer, t0 + 6 * bt), 3u);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char *>(buffer.data()), 3), WIRE("[P]"));
    EXPECT_FALSE(line.nextEvent());

    // A purge halfway through an answer drops what has arrived; the rest still comes.
    const QByteArray request = probe::encodeRequest('B', std::vector<std::uint8_t>{4});
    const QByteArray answer = ProbeModel(syntheticMemory(28)).answer(probe::testing::requestBody(request));
    const auto t1 = t0 + 1s;
    line.receive(bytesOf(request), t1);
    line.discardDue(t1 + (request.size() + 10) * bt);
    const std::size_t rest = line.take(buffer, t1 + 1s);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char *>(buffer.data()), static_cast<qsizetype>(rest)), answer.mid(10));

    // A reader that lags two and a half periods behind the stream finds the answer to A and
    // one sample after it, not a pile of them; P ends the stream.
    VirtualProbeOptions unpaced;
    unpaced.samplePeriodMs = 10;
    ProbeLine live(syntheticMemory(28), unpaced);
    live.receive(bytesOf(WIRE("[A]")), t0);
    const auto late = t0 + 25ms;
    for (int frame = 0; frame < 2; ++frame) {
        const std::size_t n = live.take(buffer, late);
        ASSERT_GT(n, 2u);
        EXPECT_EQ(buffer[1], '@');
        EXPECT_EQ(buffer[n - 1], ']');
    }
    EXPECT_EQ(live.take(buffer, late), 0u);
    EXPECT_EQ(live.nextEvent(), late + 10ms);
    live.receive(bytesOf(WIRE("[P]")), late + 5ms);
    EXPECT_EQ(live.take(buffer, late + 5ms), 3u);
    EXPECT_FALSE(live.nextEvent());
}

TEST(SimProbeLine, WireFlipsHitBothWaysMarkersIncludedRepeatablyForASeed)
{
    const Clock::time_point t0{100s};
    std::array<std::uint8_t, 4096> buffer{};
    auto run = [&](FlipRate rate, const QByteArray &sent, int *requests = nullptr) {
        VirtualProbeOptions o;
        o.wireFlipRate = rate;
        ProbeLine line(syntheticMemory(28), o);
        line.receive(bytesOf(sent), t0);
        if (requests)
            *requests = line.requestCount();
        return QByteArray(reinterpret_cast<const char *>(buffer.data()),
                          static_cast<qsizetype>(line.take(buffer, t0)));
    };
    // Every bit flipped: the probe hears "[I]" and its "[I]" arrives inverted the same way.
    const QByteArray inverted("\xa4\xb6\xa2", 3);
    int requests = 0;
    EXPECT_EQ(run({1.0, 1}, inverted, &requests), inverted);
    EXPECT_EQ(requests, 1);
    EXPECT_TRUE(run({1.0, 1}, WIRE("[I]"), &requests).isEmpty());
    EXPECT_EQ(requests, 0);

    QByteArray reads;
    for (int n = 0; n < 8; ++n)
        reads += probe::encodeRequest('B', std::vector<std::uint8_t>{static_cast<std::uint8_t>(n)});
    const QByteArray noisy = run({0.002, 5}, reads);
    EXPECT_EQ(run({0.002, 5}, reads), noisy);
    EXPECT_NE(run({0.002, 6}, reads), noisy);
    EXPECT_NE(run({}, reads), noisy);
}

TEST(SimInProcess, ReadsTheSurveyAndKeepsWhatWasWrittenAcrossAReopen)
{
    InProcessSimLink link(QStringLiteral("SIM"), VirtualProbeOptions{});
    EXPECT_EQ(link.name(), QStringLiteral("SIM"));
    ASSERT_TRUE(link.open()) << link.openError().toStdString();
    probe::FrameDecoder decoder;
    probe::testing::RecordingView view;
    ProbeImages images;
    probe::OperationContext c{link, decoder, view, images, {}};

    EXPECT_EQ(probe::readData(c).outcome, probe::Outcome::Done);
    const auto expected = readAsThePcWould(syntheticMemory(28));
    ASSERT_TRUE(view.read && expected);
    EXPECT_EQ(view.read->parameters.bytes, expected->parameters.bytes);
    EXPECT_EQ(view.read->data.bytes, expected->data.bytes);
    EXPECT_EQ(link.requestCount(), 2 + 2 * (probe::ParameterRequests + 5) + 1); // both passes, the header again

    EXPECT_EQ(probe::writeSettings(c, {300, 10}).outcome, probe::Outcome::Done);
    link.close();
    ASSERT_TRUE(link.open());
    EXPECT_EQ(probe::readInfo(c).outcome, probe::Outcome::Done);
    ASSERT_TRUE(view.info);
    EXPECT_EQ(view.info->storedCount(), 0);
    EXPECT_EQ(view.info->intervalSeconds(), 10);
}

TEST(SimInProcess, APacedAnswerWaitsForItsWireTimeAndAnAbortEndsAWait)
{
    VirtualProbeOptions o;
    o.lineRate = 300; // 33 ms a byte
    InProcessSimLink link(QStringLiteral("SIM"), o);
    ASSERT_TRUE(link.open());
    std::array<std::uint8_t, 64> buffer{};
    const auto start = Clock::now();
    link.write(WIRE("[P]"));
    EXPECT_EQ(link.read(buffer, 0), 0u);
    EXPECT_EQ(readFrames(link), WIRE("[P]"));
    // Three request bytes in, three answer bytes out.
    EXPECT_GE(Clock::now() - start, 199ms);

    // A wait of a minute ends within a slice once the abort is asked for.
    int checks = 0;
    link.setAbortCheck([&] { return ++checks > 1; });
    const auto waited = Clock::now();
    EXPECT_EQ(link.read(buffer, 60000), 0u);
    EXPECT_LT(Clock::now() - waited, 5s);
    EXPECT_EQ(checks, 2);
}

TEST(SimInProcess, StreamsAfterAUntilP)
{
    VirtualProbeOptions o;
    o.samplePeriodMs = 10;
    InProcessSimLink link(QStringLiteral("SIM"), o);
    ASSERT_TRUE(link.open());
    link.write(WIRE("[A]"));
    const QByteArray samples = readFrames(link, 4);
    EXPECT_EQ(samples.count("[@"), 4) << samples.toHex().constData();
    link.write(WIRE("[P]"));
    // Samples may still come before the P.
    QByteArray got, more;
    do {
        more = readFrames(link);
        got += more;
    } while (!more.isEmpty() && !got.endsWith(WIRE("[P]")));
    EXPECT_TRUE(got.endsWith(WIRE("[P]"))) << got.toHex().constData();
    std::array<std::uint8_t, 64> buffer{};
    EXPECT_EQ(link.read(buffer, 100), 0u); // ten periods
}

TEST(SimInProcess, TakesFaultsFromTheEnvironment)
{
    {
        FaultsInEnvironment faults(" silent-at:I:0 , noise");
        const auto link = inProcessSimLink(QStringLiteral("SIM"));
        ASSERT_TRUE(link && link->open());
        std::array<std::uint8_t, 64> buffer{};
        link->write(WIRE("[I]"));
        EXPECT_EQ(link->read(buffer, 200), 0u);
        link->write(WIRE("[I]"));
        const QByteArray got = readFrames(*link);
        EXPECT_TRUE(got.endsWith(WIRE("[I]")) && got.size() > 3) << got.toHex().constData();
    }
    {
        FaultsInEnvironment faults("long:I:0,stale-block:0");
        const auto link = inProcessSimLink(QStringLiteral("SIM"));
        ASSERT_TRUE(link && link->open());
        link->write(WIRE("[I]"));
        EXPECT_EQ(readFrames(*link), WIRE("[I/0]"));
        link->write(WIRE("[B\x02]"));
        const QByteArray block = readFrames(*link);
        const QByteArray clean = ProbeModel(zolm::testing::defaultSimRun().memory).answer(std::vector<std::uint8_t>{'B', 1});
        EXPECT_EQ(block, WIRE("[B\x02") + clean.mid(3)) << block.toHex().constData();
    }
    FaultsInEnvironment faults("split,bogus");
    const auto link = inProcessSimLink(QStringLiteral("SIM"));
    ASSERT_TRUE(link);
    EXPECT_FALSE(link->open());
    EXPECT_TRUE(link->openError().contains(QStringLiteral("bogus"))) << link->openError().toStdString();
    // The SIM link of this system, pty or not, refuses the same way.
    const auto sim = simLinks()(QStringLiteral("SIM"));
    EXPECT_FALSE(sim->open());
    EXPECT_EQ(sim->openError(), link->openError());
    EXPECT_FALSE(inProcessSimLink(QStringLiteral("COM1")));
}
