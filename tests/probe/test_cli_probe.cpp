// zolm-cli's probe commands as a user runs them: against the built-in virtual probe (SIM)
// and against zolm-probe-sim with faults, both over real ptys.
#include "document/document.h"
#include "platform/settings.h"
#include "probe/port_choice.h"
#include "probe/serial_link.h"
#include "probe/texts.h"
#include "default_sim_run.h"
#include "probe_model.h"
#include "run_program.h"

#include <QDir>
#include <QString>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QFileInfo>

#include <gtest/gtest.h>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <sys/sysmacros.h>
#endif

// zolm-probe-sim serves a pty, so it is built where there are ptys; elsewhere the cases that
// need it are skipped.
#ifdef ZOLM_PROBE_SIM_PATH
#define ZOLM_HAS_PROBE_SIM_PROGRAM 1
#define NEEDS_PROBE_SIM_PROGRAM() (void)0
#else
#define NEEDS_PROBE_SIM_PROGRAM() GTEST_SKIP() << "needs a probe that outlives one command: zolm-probe-sim, which serves a pseudo-terminal"
#endif

namespace {

struct Result {
    int exitCode = -1;
    QString out;
    QString err;
};

// A zolm-probe-sim process; its first line of stdout is the pty it answers on. Where that
// program is not built (no ptys), the same probe answers inside each zolm-cli run behind
// "SIM:FILE": its survey from a document written here, its faults from ZOLM_SIM_FAULTS. It then
// starts afresh with every command, so what a command writes to it does not last.
class SimProcess {
public:
    explicit SimProcess(const QStringList &args)
    {
#ifdef ZOLM_HAS_PROBE_SIM_PROGRAM
        m_process.start(QStringLiteral(ZOLM_PROBE_SIM_PATH), args);
        if (m_process.waitForStarted(5000) && m_process.waitForReadyRead(5000))
            m_port = QString::fromUtf8(m_process.readLine()).trimmed();
#else
        int points = 28;
        QStringList faults;
        for (qsizetype i = 0; i + 1 < args.size(); i += 2) {
            if (args[i] == QLatin1String("--points"))
                points = args[i + 1].toInt();
            else if (args[i] == QLatin1String("--fault"))
                faults << args[i + 1];
        }
        const auto memory = zolm::sim::syntheticMemory(points);
        zolm::CNDravikDoc doc;
        doc.loadFromProbe(memory.parameters.bytes, memory.data.bytes);
        const QString file = m_dir.filePath(QStringLiteral("probe.ZLM"));
        QString error;
        if (doc.saveFile(file))
            m_port = QStringLiteral("SIM:") + file;
        else
            ADD_FAILURE() << error.toStdString();
        qputenv("ZOLM_SIM_FAULTS", faults.join(QLatin1Char(',')).toUtf8());
#endif
    }
    ~SimProcess()
    {
#ifdef ZOLM_HAS_PROBE_SIM_PROGRAM
        m_process.terminate();
        if (!m_process.waitForFinished(3000))
            m_process.kill();
        m_process.waitForFinished(1000);
#else
        qunsetenv("ZOLM_SIM_FAULTS");
#endif
    }
    QString port() const { return m_port; }

private:
#ifdef ZOLM_HAS_PROBE_SIM_PROGRAM
    QProcess m_process;
#else
    QTemporaryDir m_dir;
#endif
    QString m_port;
};

class CommCli : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The sanitized zolm-cli is run by hand instead.
        if (UnderThreadSanitizer)
            GTEST_SKIP() << "not under ThreadSanitizer";
    }

    QTemporaryDir dir;
    QString path(const char *name) const { return dir.filePath(QString::fromUtf8(name)); }

    Result cli(QStringList args)
    {
        args.prepend(path("settings.ini"));
        args.prepend(QStringLiteral("--settings"));
        // No terminal: questions are refused.
        const ProgramRun r = runProgram(QStringLiteral(ZOLM_CLI_PATH), args);
        return {r.exitCode, QString::fromUtf8(r.out), QString::fromUtf8(r.err)};
    }
    QByteArray bytesOf(const QString &file)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // A document of n synthetic points, as a read of such a probe would save it.
    QString savedSurvey(int points) { return savedSurvey(zolm::sim::syntheticMemory(points)); }
    QString savedSurvey(const zolm::sim::ProbeMemory &memory)
    {
        const QString file = path("probe.ZLM");
        const auto images = zolm::sim::readAsThePcWould(memory);
        EXPECT_TRUE(images);
        if (!images)
            return file;
        zolm::CNDravikDoc doc;
        doc.loadFromProbe(images->parameters.bytes, images->data.bytes);
        QString error;
        EXPECT_TRUE(doc.saveFile(file));
        return file;
    }
};

QString withNewline(const QString &s) { return s + QLatin1Char('\n'); }

TEST_F(CommCli, LinkTestInfoAndReadOfTheBuiltInProbe)
{
    Result r = cli({QStringLiteral("link-test"), QStringLiteral("--port"), QStringLiteral("SIM")});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, QStringLiteral("\n通讯测试通过           \n\n"));

    r = cli({QStringLiteral("info"), QStringLiteral("--port"), QStringLiteral("SIM")});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 8);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("探管编号: ")));
    EXPECT_EQ(lines[3], QStringLiteral("现存数据数量: %1").arg(zolm::testing::defaultSimRunShots()));
    EXPECT_EQ(lines[6], QStringLiteral("电池电压: 7.36伏"));
    EXPECT_EQ(lines[7], QStringLiteral("估计剩余电量: 31%"));

    // The stored port is used when none is given.
    ASSERT_EQ(cli({QStringLiteral("link-test"), QStringLiteral("--port"), QStringLiteral("/dev/null-port")}).exitCode, 1);
    QFile settings(path("settings.ini"));
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
    settings.write("comport=SIM\n");
    settings.close();
    const QString out = path("out.ZLM");
    r = cli({QStringLiteral("read"), QStringLiteral("-o"), out});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, withNewline(zolm::probe::text::dataRead()));
    EXPECT_EQ(bytesOf(out), bytesOf(savedSurvey(zolm::testing::defaultSimRun().memory)));
}

TEST_F(CommCli, ReadOf1818PointsFromADocumentsProbe)
{
    const QString source = savedSurvey(1818);
    const QString out = path("out.ZLM");
    const Result r = cli({QStringLiteral("read"), QStringLiteral("--port"), QStringLiteral("SIM:") + source,
                          QStringLiteral("-o"), out});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(bytesOf(out), bytesOf(source));
}

TEST_F(CommCli, ReadOfAnEmptyProbeWritesNothing)
{
    SimProcess sim({QStringLiteral("--points"), QStringLiteral("0")});
    ASSERT_FALSE(sim.port().isEmpty());
    const QString out = path("kept.ZLM");
    const Result r = cli({QStringLiteral("read"), QStringLiteral("--port"), sim.port(), QStringLiteral("-o"), out});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, withNewline(QStringLiteral("探管中没有以前采集的数据。")));
    EXPECT_FALSE(QFile::exists(out));
}

// Each silent step of a read or of the information, with its own text; a failed read leaves
// an existing file as it was.
struct FailureCase {
    const char *command;
    const char *fault;
    const char *text;
};

void PrintTo(const FailureCase &c, std::ostream *os) { *os << c.command << ' ' << c.fault; }

class CommCliFailure : public CommCli, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(CommCliFailure, EndsWithTheStepsTextAndChangesNoFile)
{
    const FailureCase c = GetParam();
    SimProcess sim({QStringLiteral("--points"), QStringLiteral("100"), QStringLiteral("--fault"),
                    QString::fromLatin1(c.fault)});
    ASSERT_FALSE(sim.port().isEmpty());
    QStringList args{QString::fromLatin1(c.command), QStringLiteral("--port"), sim.port()};
    const QString out = path("kept.ZLM");
    QFile keep(out);
    ASSERT_TRUE(keep.open(QIODevice::WriteOnly));
    keep.write("earlier bytes");
    keep.close();
    if (QLatin1String(c.command) == QLatin1String("read"))
        args << QStringLiteral("-o") << out;
    const Result r = cli(args);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, withNewline(QString::fromUtf8(c.text)));
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_EQ(bytesOf(out), QByteArray("earlier bytes"));
    // No temporary file is left behind either.
    QStringList files = QDir(dir.path()).entryList(QDir::Files | QDir::NoDotAndDotDot | QDir::Hidden);
    files.removeAll(QStringLiteral("settings.ini"));
    EXPECT_EQ(files, QStringList{QStringLiteral("kept.ZLM")});
}

INSTANTIATE_TEST_SUITE_P(
    Steps, CommCliFailure,
    ::testing::Values(FailureCase{"read", "silent-at:P:0", "通讯超时(1)\n\n请检查探管通讯线、电池和电源开关"},
                      FailureCase{"read", "silent-at:X:0", "通讯超时(2)\n\n请检查探管通讯线、电池和电源开关"},
                      FailureCase{"read", "silent-at:G:5", "通讯超时(3.5)\n\n请检查探管通讯线、电池和电源开关"},
                      FailureCase{"read", "silent-at:B:7", "通讯超时(4.7)\n\n请检查探管通讯线、电池和电源开关"},
                      FailureCase{"info", "silent-at:G:0", "通讯超时(3)\n\n请检查探管通讯线、电池和电源开关"},
                      FailureCase{"info", "silent-at:Y:0", "通讯超时(4)\n\n请检查探管通讯线、电池和电源开关"}));

// A line that corrupts answers: the read keeps the clean survey and says how many blocks it
// read again; a single pass (asked for, or chosen in the settings) still checks every answer
// but cannot see a stale block; a block that never reads the same twice writes nothing.
TEST_F(CommCli, ReadOverALineThatCorruptsAnswers)
{
    const QByteArray clean = bytesOf(savedSurvey(300));
    const QString out = path("out.ZLM");
    const QString checkCable = QStringLiteral("\n\n请检查通讯线和接头后重试。\n\n");
    struct Case {
        const char *what;
        QStringList faults;
        QStringList options;
        const char *settings;
        int exitCode;
        QString err;
        bool clean; // else: the file keeps its earlier bytes, or (exit 0) holds another survey
    };
    const QStringList three{QStringLiteral("stale-block:3"), QStringLiteral("flip:G:5:10:2"), QStringLiteral("short:B:1")};
    // Block 1's five reads (B answers 1, 44 in the second pass, then 45 to 47), each flipped its own way.
    QStringList fiveWays;
    for (const int answer : {1, 44, 45, 46, 47})
        fiveWays << QStringLiteral("flip:B:%1:10:%2").arg(answer).arg(answer % 8);
    const Case cases[] = {
        {"verified", three, {}, "", 0, QStringLiteral("通讯线路有误码，已重读 3 块。\n"), true},
        {"--single-pass", three, {QStringLiteral("--single-pass")}, "", 0, QStringLiteral("通讯线路有误码，已重读 1 块。\n"), false},
        {"VerifyRead=0", three, {}, "VerifyRead=0\n", 0, QStringLiteral("通讯线路有误码，已重读 1 块。\n"), false},
        {"never the same twice", fiveWays, {}, "", 1,
         QStringLiteral("探管数据校验失败(4.1)") + checkCable + QStringLiteral("通讯线路有误码，已重读 3 块。\n"), false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        QStringList args{QStringLiteral("--points"), QStringLiteral("300")};
        for (const QString &f : c.faults)
            args << QStringLiteral("--fault") << f;
        SimProcess sim(args);
        ASSERT_FALSE(sim.port().isEmpty());
        QFile settings(path("settings.ini"));
        ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
        settings.write(c.settings);
        settings.close();
        QFile earlier(out);
        ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
        earlier.write("earlier bytes");
        earlier.close();

        const Result r = cli(QStringList{QStringLiteral("read"), QStringLiteral("--port"), sim.port(), QStringLiteral("-o"), out}
                             + c.options);
        EXPECT_EQ(r.exitCode, c.exitCode);
        EXPECT_EQ(r.err, c.err);
        EXPECT_EQ(r.out, c.exitCode == 0 ? withNewline(zolm::probe::text::dataRead()) : QString());
        if (c.clean)
            EXPECT_EQ(bytesOf(out), clean);
        else if (c.exitCode == 0)
            EXPECT_NE(bytesOf(out), clean); // the stale block is in it: only a second pass sees it
        else
            EXPECT_EQ(bytesOf(out), QByteArray("earlier bytes"));
    }
}

TEST_F(CommCli, SetupRefusesToDiscardDataWithoutYesThenWritesWithIt)
{
    NEEDS_PROBE_SIM_PROGRAM();
    SimProcess sim({QStringLiteral("--points"), QStringLiteral("28")});
    ASSERT_FALSE(sim.port().isEmpty());
    const QStringList setup{QStringLiteral("setup"),       QStringLiteral("--port"),     sim.port(),
                            QStringLiteral("--delay-min"), QStringLiteral("5"),          QStringLiteral("--delay-sec"),
                            QStringLiteral("0"),           QStringLiteral("--interval"), QStringLiteral("10")};
    Result r = cli(setup);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.startsWith(QStringLiteral("探管中还存有以前采集的数据，设置探管会清除这些数据。")));
    EXPECT_TRUE(r.err.contains(QStringLiteral("--yes"))) << r.err.toStdString(); // what would confirm it
    r = cli({QStringLiteral("info"), QStringLiteral("--port"), sim.port()});
    EXPECT_TRUE(r.out.contains(QStringLiteral("现存数据数量: 28\n"))); // no W was sent

    r = cli(setup + QStringList{QStringLiteral("--yes")});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, withNewline(zolm::probe::text::settingsWritten()));
    r = cli({QStringLiteral("info"), QStringLiteral("--port"), sim.port()});
    EXPECT_TRUE(r.out.contains(QStringLiteral("现存数据数量: 0\n延时时间: 5分0秒\n采集时间间隔: 10秒\n"))) << r.out.toStdString();

    // The values that passed were stored; an empty probe needs no --yes.
    r = cli({QStringLiteral("setup"), QStringLiteral("--port"), sim.port(), QStringLiteral("--interval"),
             QStringLiteral("3")});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    r = cli({QStringLiteral("info"), QStringLiteral("--port"), sim.port()});
    EXPECT_TRUE(r.out.contains(QStringLiteral("延时时间: 5分0秒\n采集时间间隔: 3秒\n"))) << r.out.toStdString();
}

TEST_F(CommCli, SetupValidatesBeforeSendingAndReportsAReadBackMismatch)
{
    // Refused input: nothing is opened or sent (the port does not even exist).
    Result r = cli({QStringLiteral("setup"), QStringLiteral("--port"), QStringLiteral("/dev/zolm-none"),
                    QStringLiteral("--delay-min"), QStringLiteral("0"), QStringLiteral("--delay-sec"),
                    QStringLiteral("4")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, withNewline(QStringLiteral("延时最小不能小于 5 秒钟!")));

    SimProcess sim({QStringLiteral("--points"), QStringLiteral("0"), QStringLiteral("--fault"),
                    QStringLiteral("readback-mismatch")});
    r = cli({QStringLiteral("setup"), QStringLiteral("--port"), sim.port(), QStringLiteral("--delay-min"),
             QStringLiteral("5")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, withNewline(zolm::probe::text::settingsNotWritten()));
}

TEST_F(CommCli, LiveStreamIsStartedSampledAndStopped)
{
    const Result r = cli({QStringLiteral("live"), QStringLiteral("--port"), QStringLiteral("SIM"),
                          QStringLiteral("--count"), QStringLiteral("4")});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4);
    static const QRegularExpression line(QStringLiteral(
        "^井斜: -?\\d+\\.\\d\\d  方位: -?\\d+\\.\\d\\d  高边工具面: -?\\d+\\.\\d\\d  磁性工具面: -?\\d+\\.\\d\\d  "
        "磁倾角: -?\\d+\\.\\d\\d  总加速度: -?\\d+\\.\\d\\d  总磁场: -?\\d+\\.\\d\\d  温度: -?\\d+\\.\\d\\d$"));
    for (const QString &l : lines)
        EXPECT_TRUE(line.match(l).hasMatch()) << l.toStdString();
    EXPECT_TRUE(r.err.isEmpty());
}

TEST_F(CommCli, LiveWithoutAStreamFailsWithTheStartsText)
{
    SimProcess sim({QStringLiteral("--fault"), QStringLiteral("drop-stream")});
    const Result r = cli({QStringLiteral("live"), QStringLiteral("--port"), sim.port()});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, withNewline(zolm::probe::text::timeoutStep(3)));
    EXPECT_TRUE(r.out.isEmpty());
}

// The stream starts (P, 384 G, A answered) and then falls silent: after 3000 ms without a
// sample the start's text is shown and the stream is stopped; the stop meets silence too.
TEST_F(CommCli, LiveStreamThatFallsSilentFailsWithTheStartsText)
{
    SimProcess sim({QStringLiteral("--fault"), QStringLiteral("silent-after:386")});
    const Result r = cli({QStringLiteral("live"), QStringLiteral("--port"), sim.port(), QStringLiteral("--count"),
                          QStringLiteral("5")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_LE(r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts).size(), 1);
    EXPECT_TRUE(r.err.startsWith(withNewline(zolm::probe::text::timeoutStep(3)))) << r.err.toStdString();
}

// The output is checked before the first request; a survey read whole but not writable to
// its target is kept in the temporary folder. The full device is a twin made here, never the
// system's own.
TEST_F(CommCli, ReadChecksItsOutputFirstAndKeepsASurveyItCannotWrite)
{
    const QString missing = path("nodir/out.ZLM");
    Result r = cli({QStringLiteral("read"), QStringLiteral("--port"), QStringLiteral("SIM"), QStringLiteral("-o"), missing});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, QStringLiteral("无法写入文件“%1”：文件夹“%2”不存在\n").arg(missing, QDir::toNativeSeparators(path("nodir"))));
    EXPECT_TRUE(r.out.isEmpty());
    r = cli({QStringLiteral("read"), QStringLiteral("--port"), QStringLiteral("SIM"), QStringLiteral("-o"), dir.path()});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, QStringLiteral("无法写入文件“%1”：这是一个文件夹\n").arg(dir.path()));

    // "-": the survey on stdout, its success text on stderr out of its way.
    const ProgramRun toStdout = runProgram(QStringLiteral(ZOLM_CLI_PATH),
                                           {QStringLiteral("--settings"), path("settings.ini"), QStringLiteral("read"),
                                            QStringLiteral("--port"), QStringLiteral("SIM"), QStringLiteral("-o"),
                                            QStringLiteral("-")});
    EXPECT_EQ(toStdout.exitCode, 0);
    EXPECT_EQ(toStdout.out, bytesOf(savedSurvey(zolm::testing::defaultSimRun().memory)));
    EXPECT_EQ(QString::fromUtf8(toStdout.err), withNewline(zolm::probe::text::dataRead()));

#ifdef _WIN32
    GTEST_SKIP() << "the rest writes to a FIFO and a device node, which Windows does not have";
#else
    // A FIFO is written through, not replaced; the survey fits in the pipe's buffer, so the
    // reader may take it after the command has ended.
    const QString fifo = path("fifo");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const int reader = ::open(QFile::encodeName(fifo).constData(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    r = cli({QStringLiteral("read"), QStringLiteral("--port"), QStringLiteral("SIM"), QStringLiteral("-o"), fifo});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    QByteArray throughFifo(64 * 1024, '\0');
    const ssize_t got = ::read(reader, throughFifo.data(), static_cast<size_t>(throughFifo.size()));
    ::close(reader);
    throughFifo.resize(got > 0 ? got : 0);
    EXPECT_EQ(throughFifo, bytesOf(savedSurvey(zolm::testing::defaultSimRun().memory)));
    EXPECT_FALSE(QFileInfo(fifo).isFile());

    const QString full = path("full");
    if (::mknod(QFile::encodeName(full).constData(), S_IFCHR | 0666, makedev(1, 7)) != 0)
        GTEST_SKIP() << "no device node can be made here";
    r = cli({QStringLiteral("read"), QStringLiteral("--port"), QStringLiteral("SIM"), QStringLiteral("-o"), full});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(r.err.startsWith(QStringLiteral("无法保存文件“%1”：").arg(full))) << r.err.toStdString();
    static const QRegularExpression kept(QStringLiteral("读出的数据已保存到“(.+)”。\n$"));
    const auto m = kept.match(r.err);
    ASSERT_TRUE(m.hasMatch()) << r.err.toStdString();
    const QString recovery = m.captured(1);
    EXPECT_EQ(bytesOf(recovery), bytesOf(savedSurvey(zolm::testing::defaultSimRun().memory)));
    QFile::remove(recovery);
    EXPECT_FALSE(QFileInfo(full).isFile()); // written in place, not replaced by a file
#endif
}

// Until a port is stored, Linux takes the first USB serial adapter the system lists, and with
// none a probe command asks for a port; Windows keeps COM1. Nothing is stored meanwhile.
TEST_F(CommCli, WithoutAStoredPortTheFirstUsbAdapterOrNone)
{
    using zolm::probe::firstUsbAdapter;
    EXPECT_EQ(firstUsbAdapter({QStringLiteral("ttyS0"), QStringLiteral("ttyACM0"), QStringLiteral("ttyUSB10"),
                               QStringLiteral("ttyUSB2"), QStringLiteral("SIM")}),
              QStringLiteral("ttyUSB2"));
    EXPECT_EQ(firstUsbAdapter({QStringLiteral("ttyS1"), QStringLiteral("/dev/ttyACM3"), QStringLiteral("ttyACM12")}),
              QStringLiteral("/dev/ttyACM3"));
    EXPECT_EQ(firstUsbAdapter({QStringLiteral("ttyS0"), QStringLiteral("ttyUSBx"), QStringLiteral("COM1")}), QString());

    zolm::SettingsStore store(path("first.ini"));
    const QStringList adapters{QStringLiteral("ttyS0"), QStringLiteral("ttyUSB1")};
#ifdef _WIN32
    EXPECT_EQ(zolm::probe::portInUse(store, adapters), QStringLiteral("COM1"));
    EXPECT_TRUE(store.contains(QStringLiteral("comport")));
#else
    EXPECT_EQ(zolm::probe::portInUse(store, adapters), QStringLiteral("ttyUSB1"));
    EXPECT_EQ(zolm::probe::portInUse(store, {QStringLiteral("ttyS0")}), QString());
    EXPECT_FALSE(store.contains(QStringLiteral("comport")));
    zolm::storePortName(store, QStringLiteral("SIM"));
    EXPECT_EQ(zolm::probe::portInUse(store, adapters), QStringLiteral("SIM"));

    QStringList system;
    for (const auto &[name, description] : zolm::probe::SerialLink::systemPorts())
        system << name;
    if (!firstUsbAdapter(system).isEmpty())
        GTEST_SKIP() << "this machine has a USB serial adapter, which would be the port";
    for (const char *command : {"link-test", "info", "live"}) {
        const Result r = cli({QString::fromLatin1(command)});
        EXPECT_EQ(r.exitCode, 1) << command;
        EXPECT_TRUE(r.err.startsWith(withNewline(zolm::probe::text::noPortChosen()))) << r.err.toStdString();
    }
    const Result r = cli({QStringLiteral("read"), QStringLiteral("-o"), path("out.ZLM")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.startsWith(withNewline(zolm::probe::text::noPortChosen()))) << r.err.toStdString();
    EXPECT_FALSE(bytesOf(path("settings.ini")).contains("comport"));
#endif
}

TEST_F(CommCli, PortsListsTheVirtualProbeAndSetPortStoresOnlyAPortThatOpens)
{
    Result r = cli({QStringLiteral("ports")});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.out.endsWith(QStringLiteral("SIM\t内置虚拟探管\n"))) << r.out.toStdString();

    const QString missing = QStringLiteral("/dev/zolm-no-such-port");
    r = cli({QStringLiteral("set-port"), missing});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.startsWith(zolm::probe::text::portTestFailed(missing) + QStringLiteral("\n通讯口 ") + missing
                                 + QStringLiteral(" 无法打开：设备不存在")))
        << r.err.toStdString();
    EXPECT_FALSE(bytesOf(path("settings.ini")).contains("zolm-no-such-port"));

    // An operation on that port keeps the system's text and adds the port's reason.
    r = cli({QStringLiteral("link-test"), QStringLiteral("--port"), missing});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.startsWith(zolm::probe::text::timeout() + QStringLiteral("\n通讯口 ") + missing
                                 + QStringLiteral(" 无法打开：设备不存在")))
        << r.err.toStdString();

    r = cli({QStringLiteral("set-port"), QStringLiteral("SIM")});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    r = cli({QStringLiteral("link-test")});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
}

} // namespace
