// The frame decoder, the wait for an answer, and the serial link over a real pty.
#include "probe/live_reader.h"
#include "probe/protocol.h"
#include "probe/serial_link.h"
#include "probe_test_support.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <chrono>
#include <thread>

#include <gtest/gtest.h>

#ifndef _WIN32
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>
#endif

using namespace zolm::probe;
using namespace zolm::probe::testing;
using zolm::ErrorCode;

namespace {

std::span<const std::uint8_t> bytesOf(const QByteArray &a)
{
    return {reinterpret_cast<const std::uint8_t *>(a.constData()), static_cast<std::size_t>(a.size())};
}

std::vector<QByteArray> decodeAll(FrameDecoder &d, const QByteArray &wire)
{
    std::vector<QByteArray> frames;
    d.feed(bytesOf(wire), [&](std::span<const std::uint8_t> b) {
        frames.emplace_back(reinterpret_cast<const char *>(b.data()), static_cast<qsizetype>(b.size()));
    });
    return frames;
}

TEST(CommFraming, EscapesAndRequestsAsOnTheWire)
{
    const std::uint8_t body[] = {0x41, 0x00, 0x2F, 0x5B, 0x5D};
    EXPECT_EQ(encodeBody(body), QByteArray::fromHex("412f302f532f422f45"));
    // Parameters of the write for 300 s and 10 s, escaped: zero bytes become "/0".
    const std::array<std::uint8_t, 8> header{0, 0x2C, 0x01, 0x0A, 0, 0, 0, 0};
    EXPECT_EQ(requestWriteHeader(header), QByteArray("[W/0/0\x08/0,\x01\n/0/0/0/0]"));
    EXPECT_EQ(requestParameters(0x7FC0), QByteArray("[G/0\x7F\xC0@]"));
    EXPECT_EQ(requestParameters(0x2000), QByteArray("[G/0 /0@]"));
    EXPECT_EQ(requestBlock(0x5B), QByteArray("[B/B]"));
    EXPECT_EQ(requestAttention(), QByteArray("[P]"));
}

TEST(CommFraming, DecoderUnescapesEveryFormAndKeepsFramesApart)
{
    FrameDecoder d;
    // "/x" for an x without meaning is x itself; "//" is '/'.
    auto frames = decodeAll(d, QByteArray("[A/0/S/B/E///x]"));
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0], QByteArray("A\0/[]/x", 7));

    // Two frames and the start of a third in one read never mix; noise before a start marker
    // is dropped when it arrives.
    frames = decodeAll(d, QByteArray("xx[@12345]zz[X9][G12"));
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0], QByteArray("@12345"));
    EXPECT_EQ(frames[1], QByteArray("X9"));
    frames = decodeAll(d, QByteArray("34]"));
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0], QByteArray("G1234"));

    // An escape split across two reads is still an escape.
    d.reset();
    EXPECT_TRUE(decodeAll(d, QByteArray("[Y/")).empty());
    frames = decodeAll(d, QByteArray("0]"));
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0], QByteArray("Y\0", 2));
}

TEST(CommFraming, OversizeFrameIsDroppedAndTheNextOneSurvives)
{
    FrameDecoder d;
    QByteArray wire = "[";
    wire.append(QByteArray(FrameDecoder::Capacity + 40, 'a'));
    wire.append("][P]");
    const auto frames = decodeAll(d, wire);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0], QByteArray("P"));
    // A frame of exactly the capacity is still whole.
    QByteArray full = "[" + QByteArray(FrameDecoder::Capacity, 'b') + "]";
    const auto whole = decodeAll(d, full);
    ASSERT_EQ(whole.size(), 1u);
    EXPECT_EQ(whole[0].size(), static_cast<qsizetype>(FrameDecoder::Capacity));
}

// Every await below uses a link on a virtual clock: the waits are recorded, not spent.
struct CommAwait : ::testing::Test {
    FakeLink link;
    FrameDecoder decoder;
    Frame answer;
    int silentSteps = 0;
    WaitHooks hooks{[this] { ++silentSteps; }, {}};

    void SetUp() override { link.open(); }
    ErrorCode awaitLetter(char letter, std::size_t length, int waitMs)
    {
        return awaitFrame(link, decoder, AnswerCheck::exact(letter, length), waitMs, answer, hooks);
    }
};

TEST_F(CommAwait, ThreeSilentPeriodsFailWithThreeBarSteps)
{
    EXPECT_EQ(awaitLetter('P', 1, 700), ErrorCode::ProbeTimeout);
    EXPECT_EQ(link.silentWaits, (std::vector<int>{700, 700, 700}));
    EXPECT_EQ(silentSteps, 3);
}

TEST_F(CommAwait, AnyByteRestartsTheSilentCount)
{
    // Two silent periods, a stray byte, two more silent periods, then the answer.
    hooks.silentPeriod = [&] {
        ++silentSteps;
        if (silentSteps == 2)
            link.deliver("z");
        if (silentSteps == 4)
            link.deliver("[P]");
    };
    EXPECT_EQ(awaitLetter('P', 1, 100), ErrorCode::None);
    EXPECT_EQ(silentSteps, 4);
}

// A probe that missed a stop keeps streaming samples and never falls silent: the wait for its
// answer still ends, after three read periods of frames that are not the answer.
TEST_F(CommAwait, AStreamOfOtherFramesEndsTheWaitAsSilenceWould)
{
    struct StreamingLink : FakeLink {
        std::size_t doRead(std::span<std::uint8_t> buffer, int waitMs) override
        {
            std::this_thread::sleep_for(std::chrono::milliseconds(1)); // a frame now and then
            return FakeLink::doRead(buffer, waitMs);
        }
    } streaming;
    streaming.open();
    streaming.chunk = 20;
    for (int i = 0; i < 5000; ++i)
        streaming.deliver("[@" + QByteArray(18, 's') + "]");
    EXPECT_EQ(awaitFrame(streaming, decoder, AnswerCheck::exact('P', 1), 5, answer, hooks), ErrorCode::ProbeTimeout);
    EXPECT_TRUE(streaming.silentWaits.empty()); // ended while the stream went on
    EXPECT_EQ(silentSteps, 3);
}

TEST_F(CommAwait, ForeignFramesAreSkippedAndSplitAnswersAssembled)
{
    // A stale sample, noise, then the real answer one byte per read.
    QByteArray real = "[G" + QByteArray(64, 'q') + "]";
    link.chunk = 1;
    link.deliver("[@" + QByteArray(18, 's') + "]" + "\x01\x02" + real);
    EXPECT_EQ(awaitLetter('G', ParameterAnswerLength, 200), ErrorCode::None);
    EXPECT_EQ(answer.length, 65u);
    EXPECT_EQ(answer[1], 'q');
    EXPECT_TRUE(link.silentWaits.empty());
}

// An answer with the awaited letter is judged at once: the wrong length, another block's
// number, a header with another count, or an answer that stops half-way is a bad answer, never
// taken and never mistaken for a silent probe.
TEST_F(CommAwait, AnswersOfTheWrongShapeAreBadAnswers)
{
    const auto block = [](int number, std::size_t data) {
        std::vector<std::uint8_t> body{'B', static_cast<std::uint8_t>(number)};
        body.resize(2 + data, 0x11);
        return encodeFrame(body);
    };
    const AnswerCheck lastBlock = AnswerCheck::dataBlock(255, 92);
    AnswerCheck header = AnswerCheck::exact('X', HeaderAnswerLength);
    header.storedCount = std::pair{std::size_t{5}, std::uint16_t{28}};
    struct Case {
        const char *what;
        AnswerCheck check;
        QByteArray line;
        ErrorCode status;
    };
    const Case cases[] = {
        {"short G", AnswerCheck::exact('G', ParameterAnswerLength), "[G1234]", ErrorCode::ProbeData},
        {"long G", AnswerCheck::exact('G', ParameterAnswerLength), "[G" + QByteArray(65, 'q') + "]", ErrorCode::ProbeData},
        {"long P", AnswerCheck::exact('P', 1), "[P/0]", ErrorCode::ProbeData},
        {"block asked", AnswerCheck::dataBlock(7, BlockSize), block(7, 128), ErrorCode::None},
        {"block before", AnswerCheck::dataBlock(7, BlockSize), block(6, 128), ErrorCode::ProbeData},
        {"last block ended early", lastBlock, block(255, 92), ErrorCode::None},
        {"last block whole", lastBlock, block(255, 128), ErrorCode::None},
        {"last block too short", lastBlock, block(255, 91), ErrorCode::ProbeData},
        {"header", header, "[X/0\x01\x02\x03\x1c/0/0/0]", ErrorCode::None},
        {"header of another count", header, "[X/0\x01\x02\x03\x1b/0/0/0]", ErrorCode::ProbeData},
        {"answer that stops", AnswerCheck::exact('G', ParameterAnswerLength), "[G" + QByteArray(30, 'q'), ErrorCode::ProbeData},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        link.silentWaits.clear();
        link.deliver(c.line);
        EXPECT_EQ(awaitFrame(link, decoder, c.check, 200, answer, hooks), c.status);
        // The broken-off answer costs one silent period, not three.
        EXPECT_LE(link.silentWaits.size(), 1u);
    }
    // A start marker that never came: the bytes before silence are noise, the probe silent.
    link.deliver("G123");
    EXPECT_EQ(awaitLetter('G', ParameterAnswerLength, 200), ErrorCode::ProbeTimeout);
}

TEST_F(CommAwait, ARequestThatCannotBeWrittenIsReportedAsSuch)
{
    link.writable = false;
    EXPECT_EQ(exchange(link, decoder, requestHeader(), AnswerCheck::exact('X', HeaderAnswerLength), 200, answer, hooks),
              ErrorCode::ProbePort);
    EXPECT_TRUE(link.isOpen()); // the link still open tells a failed write from a port not open
    EXPECT_TRUE(link.silentWaits.empty());
}

TEST_F(CommAwait, ClosedLinkFailsAtOnceAndCancelStopsBetweenReads)
{
    link.close();
    EXPECT_EQ(awaitLetter('P', 1, 2000), ErrorCode::ProbePort);
    EXPECT_TRUE(link.silentWaits.empty()); // no time spent
    EXPECT_EQ(silentSteps, 3);

    link.open();
    int reads = 0;
    hooks.cancelled = [&] { return ++reads > 1; };
    EXPECT_EQ(awaitLetter('P', 1, 2000), ErrorCode::Cancelled);
    EXPECT_EQ(link.silentWaits.size(), 1u);
}

TEST_F(CommAwait, ExchangePurgesBeforeEveryRequest)
{
    link.deliver("[X12345678]"); // stale, from before the request
    link.respond = [](const QByteArray &) { return QByteArray("[XABCDEFGH]"); };
    EXPECT_EQ(exchange(link, decoder, requestHeader(), AnswerCheck::exact('X', HeaderAnswerLength), 200, answer, hooks),
              ErrorCode::None);
    EXPECT_EQ(link.purges, 1);
    EXPECT_EQ(answer[1], 'A');
}

// A pseudo-terminal pair: the test holds the master, the link opens the slave.
// The stream between requests: samples cut into 10-byte reads are put together, other frames
// are passed over, and a sample begun in the read that answered A is finished here.
TEST(CommLiveReader, AssemblesSamplesAcrossReadsAndSkipsOtherFrames)
{
    FakeLink link;
    link.open();
    FrameDecoder decoder;
    LiveReader live(decoder);
    const auto sampleFrame = [](std::uint16_t first) {
        zolm::RawSample s;
        s.w.fill(first);
        std::array<std::uint8_t, SampleFrameLength> body{SampleLetter};
        s.toBytes(body.data() + 1);
        return encodeFrame(body);
    };
    const QByteArray first = sampleFrame(0x0101);
    // The answer to A ended halfway into this frame; the operation's read took the first part.
    decoder.feed(std::span(reinterpret_cast<const std::uint8_t *>(first.constData()), 7), [](auto) {});
    link.deliver(first.mid(7) + "[G12]" + sampleFrame(0x0202) + "[@short]");
    std::vector<std::uint16_t> got;
    while (!link.pending().isEmpty()) {
        const std::size_t n = live.readOnce(link, 200, 50, {}, [&](const zolm::RawSample &s) { got.push_back(s.w[8]); });
        EXPECT_LE(n, RealTimeReadSize);
    }
    EXPECT_EQ(got, (std::vector<std::uint16_t>{0x0101, 0x0202}));
    EXPECT_TRUE(link.silentWaits.empty());
}

#ifndef _WIN32
struct PtyPair {
    int master = -1;
    QString slave;
    PtyPair()
    {
        master = posix_openpt(O_RDWR | O_NOCTTY);
        if (master >= 0 && grantpt(master) == 0 && unlockpt(master) == 0)
            slave = QString::fromLocal8Bit(ptsname(master));
    }
    ~PtyPair()
    {
        if (master >= 0)
            ::close(master);
    }
    void send(const QByteArray &b) const { ASSERT_EQ(::write(master, b.constData(), static_cast<size_t>(b.size())), b.size()); }
    QByteArray receive(int waitMs) const
    {
        pollfd p{master, POLLIN, 0};
        QByteArray out;
        while (::poll(&p, 1, waitMs) > 0) {
            char buf[256];
            const ssize_t n = ::read(master, buf, sizeof buf);
            if (n <= 0)
                break;
            out.append(buf, n);
            waitMs = 20;
        }
        return out;
    }
};

// QSerialPort watches its port with a socket notifier, which needs a thread with an event
// dispatcher: a QThread, as the worker is, not the bare test thread.
template <typename Body>
void onQtThread(Body body)
{
    std::unique_ptr<QThread> thread(QThread::create(std::move(body)));
    thread->start();
    thread->wait();
}

TEST(CommSerialLink, ReadsWhatIsWaitingInPiecesOfAtMost128AndPurgeDiscardsIt)
{
    onQtThread([] {
        PtyPair pty;
        ASSERT_FALSE(pty.slave.isEmpty());
        SerialLink link(pty.slave);
        ASSERT_TRUE(link.open());

        ASSERT_TRUE(link.write(QByteArray("[P]")));
        EXPECT_EQ(pty.receive(1000), QByteArray("[P]"));

        pty.send(QByteArray(300, 'x'));
        std::array<std::uint8_t, AnswerReadSize> buf{};
        std::size_t total = 0;
        while (total < 300) {
            const std::size_t n = link.read(buf, 1000);
            ASSERT_GT(n, 0u);
            ASSERT_LE(n, AnswerReadSize);
            total += n;
        }
        EXPECT_EQ(total, 300u);

        pty.send(QByteArray("stale"));
        ::usleep(50 * 1000); // let the bytes reach the slave side
        link.purge();
        std::array<std::uint8_t, RealTimeReadSize> small{};
        EXPECT_EQ(link.read(small, 30), 0u);
    });
}

TEST(CommSerialLink, PortHeldOpenCannotBeOpenedAgain)
{
    onQtThread([] {
        PtyPair pty;
        SerialLink link(pty.slave);
        ASSERT_TRUE(link.open());
        EXPECT_FALSE(SerialLink::canOpen(pty.slave)); // the port test before a switch fails
        link.close();
        EXPECT_TRUE(SerialLink::canOpen(pty.slave));
    });
}

TEST(CommSerialLink, SilentProbeTimesOutAfterThreeRealPeriods)
{
    onQtThread([] {
        PtyPair pty;
        SerialLink link(pty.slave);
        ASSERT_TRUE(link.open());
        FrameDecoder decoder;
        Frame answer;
        int steps = 0;
        QElapsedTimer t;
        t.start();
        EXPECT_EQ(awaitFrame(link, decoder, AnswerCheck::exact('P', 1), 60, answer, {[&] { ++steps; }, {}}), ErrorCode::ProbeTimeout);
        EXPECT_GE(t.elapsed(), 3 * 60 - 5); // three real waits, not fewer
        EXPECT_EQ(steps, 3);
    });
}

#else
// Three cases drive the serial link from the probe's side of a pseudo-terminal.
TEST(CommSerialLink, PtyCasesSkippedOnWindows)
{
    GTEST_SKIP() << "needs a pseudo-terminal, which Windows does not have";
}
#endif

// A port name that is not there on either system.
#ifdef _WIN32
const QString MissingPort = QStringLiteral("COM250");
#else
const QString MissingPort = QStringLiteral("/dev/zolm-no-such-port");
#endif

TEST(CommSerialLink, PortThatCannotOpenFailsEveryExchangeAtOnce)
{
    SerialLink link(MissingPort);
    EXPECT_FALSE(link.open());
    EXPECT_TRUE(link.openError().startsWith(QStringLiteral("设备不存在"))) << link.openError().toStdString();
    QString reason;
    EXPECT_FALSE(SerialLink::canOpen(MissingPort, &reason));
    EXPECT_EQ(reason, link.openError());
    FrameDecoder decoder;
    Frame answer;
    QElapsedTimer t;
    t.start();
    EXPECT_EQ(exchange(link, decoder, requestAttention(), AnswerCheck::exact('P', 1), 2000, answer), ErrorCode::ProbePort);
    EXPECT_LT(t.elapsed(), 1000); // not the 6 s of three waits
}

TEST(CommSerialLink, AFileThatIsNotATerminalIsRefusedWithItsReason)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("plain"));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    SerialLink link(file);
    EXPECT_FALSE(link.open());
    EXPECT_TRUE(link.openError().startsWith(QStringLiteral("不是串口设备"))) << link.openError().toStdString();
}

} // namespace
