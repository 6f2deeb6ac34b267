// The virtual probe over a real pty, with a plain file descriptor on the PC's side, and the
// zolm-probe-sim program around it.
#include "document/document.h"
#include "probe/frame.h"
#include "virtual_probe.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#ifndef _WIN32
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

using namespace zolm;
using namespace zolm::sim;

namespace {

QByteArray wire(const char *literal, std::size_t n) { return QByteArray(literal, static_cast<qsizetype>(n)); }
#define WIRE(s) wire(s, sizeof(s) - 1)

// Only a guard against a hang; nothing here depends on how fast anything is.
constexpr int HangGuardMs = 5000;

class PcSide {
public:
    explicit PcSide(const QString &path)
    {
        m_fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (m_fd >= 0) {
            termios tio{};
            ::tcgetattr(m_fd, &tio);
            ::cfmakeraw(&tio);
            ::tcsetattr(m_fd, TCSANOW, &tio);
        }
    }
    ~PcSide()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    bool isOpen() const { return m_fd >= 0; }

    void send(const QByteArray &bytes) { ASSERT_EQ(::write(m_fd, bytes.constData(), bytes.size()), bytes.size()); }

    // Everything up to and including the next end marker; `reads` counts the reads it took.
    // Bytes after that marker stay for the next call.
    QByteArray untilFrameEnd(int *reads = nullptr)
    {
        int n = 0;
        while (!m_pending.contains(']')) {
            pollfd p{m_fd, POLLIN, 0};
            if (::poll(&p, 1, HangGuardMs) <= 0) {
                ADD_FAILURE() << "no frame end; got " << m_pending.toHex().constData();
                break;
            }
            char c[256];
            const ssize_t r = ::read(m_fd, c, sizeof c);
            if (r <= 0)
                break;
            m_pending.append(c, r);
            ++n;
        }
        if (reads)
            *reads = n;
        const qsizetype end = m_pending.indexOf(']') + 1;
        const QByteArray got = m_pending.left(end > 0 ? end : m_pending.size());
        m_pending.remove(0, got.size());
        return got;
    }

    QByteArray exchange(const QByteArray &request)
    {
        send(request);
        return untilFrameEnd();
    }

private:
    int m_fd = -1;
    QByteArray m_pending;
};

std::vector<std::uint8_t> decodeOne(const QByteArray &frame)
{
    probe::FrameDecoder d;
    std::vector<std::uint8_t> body;
    d.feed(std::span(reinterpret_cast<const std::uint8_t *>(frame.constData()), static_cast<std::size_t>(frame.size())),
           [&](std::span<const std::uint8_t> b) { body.assign(b.begin(), b.end()); });
    return body;
}

VirtualProbeOptions withFault(const char *fault)
{
    VirtualProbeOptions o;
    o.points = 28;
    QString error;
    EXPECT_TRUE(addFault(o, QString::fromLatin1(fault), &error)) << error.toStdString();
    return o;
}

} // namespace

TEST(SimPty, AnswersAPlainDescriptorAndOutlivesItsCloses)
{
    QTemporaryDir dir;
    VirtualProbeOptions o;
    o.memory = syntheticMemory(28);
    o.link = dir.filePath(QStringLiteral("probe"));
    VirtualProbe probe(o);
    QString error;
    ASSERT_TRUE(probe.start(&error)) << error.toStdString();
    ASSERT_FALSE(probe.devicePath().isEmpty());
    EXPECT_EQ(QFileInfo(o.link).symLinkTarget(), probe.devicePath());

    {
        PcSide pc(o.link);
        ASSERT_TRUE(pc.isOpen());
        EXPECT_EQ(pc.exchange(WIRE("[P]")), WIRE("[P]"));
        // Delay 600 s, interval 10 s, 28 points.
        EXPECT_EQ(pc.exchange(WIRE("[X]")), WIRE("[X/0X\x02\n\x1c/0/0/0]"));
        const auto block = decodeOne(pc.exchange(WIRE("[B\x04]")));
        ASSERT_EQ(block.size(), 130u);
        EXPECT_EQ(block[1], 4);
        EXPECT_TRUE(std::equal(block.begin() + 2, block.end(), o.memory->data.bytes.begin() + 512));

        const auto first = decodeOne(pc.exchange(WIRE("[A]")));
        ASSERT_EQ(first.size(), 19u);
        EXPECT_EQ(first[0], '@');
        pc.send(WIRE("[P]"));
        // Samples may still come before the P.
        int frames = 0;
        std::vector<std::uint8_t> body;
        do {
            body = decodeOne(pc.untilFrameEnd());
        } while (!body.empty() && body[0] == '@' && ++frames < 100);
        EXPECT_EQ(body, std::vector<std::uint8_t>{'P'});
    }
    // The PC closed its port; the next one to open it finds the probe still there.
    {
        PcSide pc(probe.devicePath());
        EXPECT_EQ(pc.exchange(WIRE("[I]")), WIRE("[I]"));
    }
    EXPECT_EQ(probe.requestCount(), 6);
    probe.stop();
    EXPECT_FALSE(probe.isRunning());
    EXPECT_FALSE(QFileInfo(o.link).isSymLink());
}

TEST(SimPty, SilentAtLeavesThatRequestUnanswered)
{
    VirtualProbe probe(withFault("silent-at:P:0"));
    ASSERT_TRUE(probe.start(nullptr));
    PcSide pc(probe.devicePath());
    pc.send(WIRE("[P]"));
    // Requests are answered in order, so the first frame to come back answers the I.
    EXPECT_EQ(pc.exchange(WIRE("[I]")), WIRE("[I]"));
    EXPECT_EQ(pc.exchange(WIRE("[P]")), WIRE("[P]"));
}

TEST(SimPty, SplitAnswersArriveInPiecesAndWhole)
{
    VirtualProbeOptions o = withFault("split");
    o.memory = syntheticMemory(28);
    VirtualProbe probe(o);
    ASSERT_TRUE(probe.start(nullptr));
    PcSide pc(probe.devicePath());
    pc.send(WIRE("[B/0]"));
    int reads = 0;
    const QByteArray got = pc.untilFrameEnd(&reads);
    EXPECT_GT(reads, 1);
    const auto body = decodeOne(got);
    ASSERT_EQ(body.size(), 130u);
    EXPECT_TRUE(std::equal(body.begin() + 2, body.end(), o.memory->data.bytes.begin()));
}

TEST(SimPty, NoiseComesBeforeEachAnswerAndNeverFrames)
{
    VirtualProbe probe(withFault("noise"));
    ASSERT_TRUE(probe.start(nullptr));
    PcSide pc(probe.devicePath());
    for (int k = 0; k < 5; ++k) {
        const QByteArray got = pc.exchange(WIRE("[I]"));
        ASSERT_TRUE(got.endsWith(WIRE("[I]"))) << got.toHex().constData();
        const QByteArray stray = got.chopped(3);
        EXPECT_GE(stray.size(), 1);
        EXPECT_FALSE(stray.contains('[') || stray.contains(']') || stray.contains('/'));
    }
}

TEST(SimPty, PacedAnswersArriveIntact)
{
    VirtualProbeOptions o;
    o.memory = syntheticMemory(28);
    o.lineRate = 115200;
    VirtualProbe probe(o);
    ASSERT_TRUE(probe.start(nullptr));
    PcSide pc(probe.devicePath());
    for (int block = 0; block < 5; ++block) {
        const auto body = decodeOne(pc.exchange(probe::encodeRequest('B', std::vector<std::uint8_t>{
                                                                               static_cast<std::uint8_t>(block)})));
        ASSERT_EQ(body.size(), 130u);
        EXPECT_TRUE(std::equal(body.begin() + 2, body.end(), o.memory->data.bytes.begin() + 128 * block));
    }
}

TEST(SimPty, StartFailsCleanly)
{
    QTemporaryDir dir;
    VirtualProbeOptions missing;
    missing.surveyFile = dir.filePath(QStringLiteral("none.ZLM"));
    VirtualProbe a(missing);
    QString error;
    EXPECT_FALSE(a.start(&error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(a.isRunning());

    // A link name taken by a real file is not clobbered.
    VirtualProbeOptions taken;
    taken.link = dir.filePath(QStringLiteral("file"));
    QFile f(taken.link);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("keep");
    f.close();
    VirtualProbe b(taken);
    EXPECT_FALSE(b.start(&error));
    EXPECT_FALSE(b.isRunning());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("keep"));
}

TEST(SimProgram, PrintsThePtyAndEndsOnSigterm)
{
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("probe"));
    QProcess sim;
    sim.start(QStringLiteral(ZOLM_PROBE_SIM_PATH),
              {QStringLiteral("--points"), QStringLiteral("5"), QStringLiteral("--link"), link,
               QStringLiteral("--battery"), QStringLiteral("701")});
    ASSERT_TRUE(sim.waitForStarted(HangGuardMs));
    while (!sim.canReadLine() && sim.waitForReadyRead(HangGuardMs)) {
    }
    const QString path = QString::fromLocal8Bit(sim.readLine()).trimmed();
    ASSERT_TRUE(path.startsWith(QStringLiteral("/dev/pts/"))) << path.toStdString();
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), path);
    {
        PcSide pc(link);
        EXPECT_EQ(pc.exchange(WIRE("[Y]")), WIRE("[Y\xbd\x02]"));
    }
    sim.terminate();
    ASSERT_TRUE(sim.waitForFinished(HangGuardMs));
    EXPECT_EQ(sim.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(sim.exitCode(), 0);
    EXPECT_FALSE(QFileInfo(link).isSymLink());
}

TEST(SimProgram, SaveWritesWhatAReadWouldProduce)
{
    QTemporaryDir dir;
    const QString first = dir.filePath(QStringLiteral("a.ZLM"));
    const QString second = dir.filePath(QStringLiteral("b.ZLM"));
    const QString empty = dir.filePath(QStringLiteral("empty.ZLM"));
    auto run = [](const QStringList &args, QByteArray *err = nullptr) {
        QProcess p;
        p.start(QStringLiteral(ZOLM_PROBE_SIM_PATH), args);
        p.waitForFinished(30000);
        if (err)
            *err = p.readAllStandardError();
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    };
    ASSERT_EQ(run({QStringLiteral("--points"), QStringLiteral("28"), QStringLiteral("--save"), first}), 0);
    CNDravikDoc doc;
    QString error;
    ASSERT_TRUE(doc.openFile(first));
    EXPECT_EQ(doc.pointCount(), 28);
    // A read never fetches the tail.
    for (std::size_t k = 0; k < RawDataImage::TailSize; ++k)
        EXPECT_EQ(doc.survey().data.bytes[RawDataImage::TailOffset + k], 0);

    // A probe loaded from that document reads back the same document.
    ASSERT_EQ(run({QStringLiteral("--survey"), first, QStringLiteral("--save"), second}), 0);
    QFile a(first), b(second);
    ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
    EXPECT_EQ(a.readAll(), b.readAll());

    // A probe holding nothing gives nothing to save.
    QByteArray err;
    EXPECT_EQ(run({QStringLiteral("--points"), QStringLiteral("0"), QStringLiteral("--save"), empty}, &err), 1);
    EXPECT_EQ(QString::fromUtf8(err), QStringLiteral("探管中没有以前采集的数据。\n"));
    EXPECT_FALSE(QFileInfo::exists(empty));

    EXPECT_EQ(run({QStringLiteral("--points"), QStringLiteral("1819")}), 2);
    EXPECT_EQ(run({QStringLiteral("--fault"), QStringLiteral("silent-at:G")}), 2);
    EXPECT_EQ(run({QStringLiteral("--fault"), QStringLiteral("flip-rate:2")}), 2);
    EXPECT_EQ(run({QStringLiteral("--fault"), QStringLiteral("wire-flip-rate:1e-5:3"), QStringLiteral("--fault"),
                   QStringLiteral("flip:B:0:2:7"), QStringLiteral("--save"), second}),
              0);
}
// Run options make the program hold a realistic run; the tally comes from the same run.
TEST(SimProgram, SavesARunAndItsTally)
{
    QTemporaryDir dir;
    const QString survey = dir.filePath(QStringLiteral("run.ZLM"));
    const QString tally = dir.filePath(QStringLiteral("run.txt"));
    auto run = [](const QStringList &args) {
        QProcess p;
        p.start(QStringLiteral(ZOLM_PROBE_SIM_PATH), args);
        p.waitForFinished(30000);
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    };
    ASSERT_EQ(run({QStringLiteral("--direction"), QStringLiteral("in"), QStringLiteral("--td"), QStringLiteral("600"),
                   QStringLiteral("--seed"), QStringLiteral("3"), QStringLiteral("--save"), survey,
                   QStringLiteral("--save-tally"), tally}),
              0);
    RunOptions o;
    o.direction = RunDirection::In;
    o.td = 600;
    o.seed = 3;
    MultiShotRun expected;
    ASSERT_TRUE(makeMultiShotRun(o, expected, nullptr));
    CNDravikDoc doc;
    QString error;
    ASSERT_TRUE(doc.openFile(survey));
    ASSERT_EQ(doc.pointCount(), static_cast<int>(expected.shots.size()));
    for (int i = 0; i < doc.pointCount(); ++i)
        ASSERT_EQ(doc.survey().data.sample(i).w, expected.memory.data.sample(i).w) << i;
    QFile t(tally);
    ASSERT_TRUE(t.open(QIODevice::ReadOnly));
    EXPECT_EQ(t.readAll(), tallyText(o, expected));

    // Into a FIFO (another program reading it) the tally goes through, and the FIFO stays one.
    const QByteArray fifo = QFile::encodeName(dir.filePath(QStringLiteral("fifo")));
    ASSERT_EQ(mkfifo(fifo.constData(), 0600), 0);
    const int rfd = open(fifo.constData(), O_RDONLY | O_NONBLOCK); // the tally fits a pipe's buffer
    ASSERT_GE(rfd, 0);
    EXPECT_EQ(run({QStringLiteral("--direction"), QStringLiteral("in"), QStringLiteral("--td"), QStringLiteral("600"),
                   QStringLiteral("--seed"), QStringLiteral("3"), QStringLiteral("--save"), survey,
                   QStringLiteral("--save-tally"), QFile::decodeName(fifo)}),
              0);
    QByteArray piped(1 << 16, '\0');
    const ssize_t got = read(rfd, piped.data(), static_cast<std::size_t>(piped.size()));
    close(rfd);
    piped.truncate(got > 0 ? got : 0);
    EXPECT_EQ(piped, tallyText(o, expected));
    struct stat st {};
    EXPECT_TRUE(stat(fifo.constData(), &st) == 0 && S_ISFIFO(st.st_mode));

    EXPECT_EQ(run({QStringLiteral("--points"), QStringLiteral("5"), QStringLiteral("--seed"), QStringLiteral("2")}), 2);
    EXPECT_EQ(run({QStringLiteral("--survey"), survey, QStringLiteral("--save-tally"), tally}), 2);
    EXPECT_EQ(run({QStringLiteral("--td"), QStringLiteral("0"), QStringLiteral("--save"), survey}), 2);
    EXPECT_EQ(run({QStringLiteral("--seed")}), 2);
}
#else
// Every case above talks to the virtual probe over its pseudo-terminal, or runs the program
// that serves one; the in-process probe that Windows uses is tested in test_in_process_link.
TEST(SimPty, SkippedOnWindows)
{
    GTEST_SKIP() << "needs a pseudo-terminal, which Windows does not have";
}
#endif
