#include "virtual_probe.h"

#include "probe_line.h"

#include "document/document.h"
#include "platform/number_text.h"
#include "probe/port_choice.h"

#include <QCoreApplication>
#include <QFile>
#include <QtGlobal>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <limits>

#ifndef _WIN32
#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>
#endif

namespace zolm::sim {

using Clock = ProbeLine::Clock;

namespace {

#ifndef _WIN32
constexpr timespec HangUpPause{0, 10'000'000};

QString errnoText(const char *what)
{
    return QStringLiteral("%1: %2").arg(QString::fromLatin1(what), QString::fromLocal8Bit(std::strerror(errno)));
}

#endif

bool parseCount(const QString &text, int &out)
{
    const auto v = parseInteger(text.trimmed());
    if (!v || *v < 0 || *v > std::numeric_limits<int>::max())
        return false;
    out = static_cast<int>(*v);
    return true;
}

// A command letter: one ASCII character.
bool parseLetter(const QString &text, char &out)
{
    if (text.size() != 1 || text[0].unicode() > 0x7F)
        return false;
    out = static_cast<char>(text[0].unicode());
    return true;
}

// P[:SEED]: a probability from 0 to 1, and the generator's seed (default 1).
bool parseFlipRate(const QStringList &parts, FlipRate &out)
{
    if (parts.size() != 2 && parts.size() != 3)
        return false;
    const auto p = parseNumber(parts[1].trimmed());
    if (!p || !(*p >= 0 && *p <= 1))
        return false;
    FlipRate rate{*p, 1};
    if (parts.size() == 3) {
        bool ok = false;
        rate.seed = parts[2].toULongLong(&ok, 10);
        if (!ok)
            return false;
    }
    out = rate;
    return true;
}

#ifndef _WIN32
void closeFd(int &fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

#endif

} // namespace

bool addFault(VirtualProbeOptions &options, const QString &fault, QString *error)
{
    const QStringList parts = fault.split(QLatin1Char(':'));
    const QString &name = parts.front();
    auto fail = [&](const QString &why) {
        if (error)
            *error = QCoreApplication::translate("zolm-probe-sim", "故障“%1”有误：%2").arg(fault, why);
        return false;
    };
    if (name == QLatin1String("silent-after")) {
        int n = 0;
        if (parts.size() != 2 || !parseCount(parts[1], n))
            return fail(QCoreApplication::translate("zolm-probe-sim", "应为 silent-after:N"));
        options.protocolFaults.silentAfter = n;
    } else if (name == QLatin1String("silent-at")) {
        int k = 0;
        char letter = 0;
        if (parts.size() != 3 || !parseLetter(parts[1], letter) || !parseCount(parts[2], k))
            return fail(QCoreApplication::translate("zolm-probe-sim", "应为 silent-at:LETTER:K"));
        options.protocolFaults.silentAt.push_back({letter, k});
    } else if (name == QLatin1String("flip")) {
        int k = 0, byte = 0, bit = 0;
        char letter = 0;
        if (parts.size() != 5 || !parseLetter(parts[1], letter) || !parseCount(parts[2], k)
            || !parseCount(parts[3], byte) || !parseCount(parts[4], bit) || bit > 7)
            return fail(QCoreApplication::translate("zolm-probe-sim", "应为 flip:LETTER:K:BYTE:BIT（BIT 为 0 到 7）"));
        options.protocolFaults.flips.push_back({letter, k, static_cast<std::size_t>(byte), bit});
    } else if (name == QLatin1String("flip-rate")) {
        if (!parseFlipRate(parts, options.protocolFaults.flipRate))
            return fail(QCoreApplication::translate("zolm-probe-sim", "应为 flip-rate:P[:SEED]（P 为 0 到 1）"));
    } else if (name == QLatin1String("wire-flip-rate")) {
        if (!parseFlipRate(parts, options.wireFlipRate))
            return fail(QCoreApplication::translate("zolm-probe-sim", "应为 wire-flip-rate:P[:SEED]（P 为 0 到 1）"));
    } else if (name == QLatin1String("stale-block")) {
        int k = 0;
        if (parts.size() != 2 || !parseCount(parts[1], k))
            return fail(QCoreApplication::translate("zolm-probe-sim", "应为 stale-block:K"));
        options.protocolFaults.staleBlocks.push_back(k);
    } else if (name == QLatin1String("short") || name == QLatin1String("long")) {
        int k = 0;
        char letter = 0;
        if (parts.size() != 3 || !parseLetter(parts[1], letter) || !parseCount(parts[2], k))
            return fail(name == QLatin1String("short") ? QCoreApplication::translate("zolm-probe-sim", "应为 short:LETTER:K")
                                                       : QCoreApplication::translate("zolm-probe-sim", "应为 long:LETTER:K"));
        (name == QLatin1String("short") ? options.protocolFaults.shortAnswers : options.protocolFaults.longAnswers)
            .push_back({letter, k});
    } else if (parts.size() != 1) {
        return fail(QCoreApplication::translate("zolm-probe-sim", "未知的故障"));
    } else if (name == QLatin1String("split")) {
        options.split = true;
    } else if (name == QLatin1String("noise")) {
        options.noise = true;
    } else if (name == QLatin1String("readback-mismatch")) {
        options.protocolFaults.readbackMismatch = true;
    } else if (name == QLatin1String("drop-stream")) {
        options.protocolFaults.dropStream = true;
    } else {
        return fail(QCoreApplication::translate("zolm-probe-sim", "未知的故障"));
    }
    return true;
}

bool isSimPortName(const QString &portName)
{
    return probe::isVirtualProbePort(portName);
}

std::optional<VirtualProbeOptions> simPortOptions(const QString &portName)
{
    if (!isSimPortName(portName))
        return std::nullopt;
    VirtualProbeOptions options;
    if (portName.size() > 4)
        options.surveyFile = portName.mid(4);
    const QString faults = qEnvironmentVariable("ZOLM_SIM_FAULTS");
    for (const QString &fault : faults.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        QString error;
        if (!addFault(options, fault.trimmed(), &error)) {
            options.faultError = QStringLiteral("ZOLM_SIM_FAULTS: %1").arg(error);
            break;
        }
    }
    QString run = qEnvironmentVariable("ZOLM_SIM_RUN").trimmed();
    // Plain SIM holds what a crew's probe holds after a run; SIM:FILE holds that document.
    if (run.isEmpty() && options.surveyFile.isEmpty())
        run = QStringLiteral("default");
    if (!run.isEmpty() && options.faultError.isEmpty()) {
        RunOptions r;
        QString error;
        if (parseRunVariable(run, r, &error))
            options.run = r;
        else
            options.faultError = QStringLiteral("ZOLM_SIM_RUN: %1").arg(error);
    }
    return options;
}

bool parseRunVariable(const QString &value, RunOptions &run, QString *error)
{
    RunOptions r;
    if (value.trimmed() != QLatin1String("default")) {
        for (const QString &item : value.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            const qsizetype equals = item.indexOf(QLatin1Char('='));
            if (equals < 0) {
                if (error)
                    *error = QCoreApplication::translate("zolm-probe-sim", "应为 NAME=VALUE，而不是“%1”").arg(item.trimmed());
                return false;
            }
            if (!setRunOption(r, item.left(equals).trimmed(), item.mid(equals + 1).trimmed(), error))
                return false;
        }
    }
    run = r;
    return true;
}

bool loadProbeMemory(const VirtualProbeOptions &options, ProbeMemory &memory, QString *error)
{
    if (!options.faultError.isEmpty()) {
        if (error)
            *error = options.faultError;
        return false;
    }
    if (options.memory) {
        memory = *options.memory;
    } else if (!options.surveyFile.isEmpty()) {
        CNDravikDoc doc;
        if (const Done opened = doc.openFile(options.surveyFile); !opened) {
            if (error)
                *error = opened.error().message;
            return false;
        }
        memory = ProbeMemory{};
        memory.parameters = doc.survey().parameters;
        memory.data = doc.survey().data;
    } else if (options.run) {
        MultiShotRun run;
        if (!makeMultiShotRun(*options.run, run, error))
            return false;
        memory = std::move(run.memory);
    } else {
        if (options.points < 0 || options.points > MaxSurveyPoints) {
            if (error)
                *error = QCoreApplication::translate("zolm-probe-sim", "合成的测量数据有 0 到 %1 个测点").arg(MaxSurveyPoints);
            return false;
        }
        memory = syntheticMemory(options.points);
    }
    if (options.battery)
        memory.battery = *options.battery;
    return true;
}

#ifndef _WIN32
// Everything the probe's thread works on; only that thread touches it while it runs.
struct VirtualProbe::Shell {
    Shell(ProbeMemory memory, const VirtualProbeOptions &options)
        : line(std::move(memory), options), split(options.split)
    {
    }

    void run(int master, int wake, std::atomic<bool> &stopping, std::atomic<int> &requestCount);

    // Writes what is due; false when the pty would block (wait for POLLOUT).
    bool flush(int master, Clock::time_point now)
    {
        std::uint8_t chunk[512];
        // Split answers go a byte to a write, so the PC's reads see them in pieces.
        const std::size_t limit = split ? 1 : sizeof chunk;
        for (;;) {
            const std::size_t n = line.copyDue(std::span(chunk, limit), now);
            if (n == 0)
                return true;
            const ssize_t written = ::write(master, chunk, n);
            if (written < 0) {
                if (errno == EINTR)
                    continue;
                if (errno == EAGAIN)
                    return false;
                line.discardDue(now); // the pty is gone; nothing will read these
                return true;
            }
            line.handOver(static_cast<std::size_t>(written));
        }
    }

    ProbeLine line;
    bool split;
};

void VirtualProbe::Shell::run(int master, int wake, std::atomic<bool> &stopping, std::atomic<int> &requestCount)
{
    // Paced bytes are due every 87 us at 115200 baud; the default 50 us timer slack would
    // make every answer late.
    ::prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
    bool blocked = false;
    while (!stopping.load(std::memory_order_acquire)) {
        if (!blocked)
            blocked = !flush(master, Clock::now());

        // Wake for the next byte due, the next sample, a request, or stop.
        const std::optional<Clock::time_point> wakeAt = blocked ? std::nullopt : line.nextEvent();
        timespec timeout{};
        timespec *timeoutPtr = nullptr;
        if (wakeAt) {
            const auto wait = std::max(Clock::duration::zero(), *wakeAt - Clock::now());
            const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(wait).count();
            timeout.tv_sec = static_cast<time_t>(ns / 1000000000);
            timeout.tv_nsec = static_cast<long>(ns % 1000000000);
            timeoutPtr = &timeout;
        }
        pollfd fds[2] = {{master, static_cast<short>(POLLIN | (blocked ? POLLOUT : 0)), 0}, {wake, POLLIN, 0}};
        const int ready = ::ppoll(fds, 2, timeoutPtr, nullptr);
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        if (fds[1].revents & POLLIN) {
            std::uint64_t count = 0;
            [[maybe_unused]] const ssize_t r = ::read(wake, &count, sizeof count);
        }
        if (fds[0].revents & POLLOUT)
            blocked = false;
        if (fds[0].revents & POLLIN) {
            std::uint8_t buffer[256];
            const ssize_t n = ::read(master, buffer, sizeof buffer);
            if (n > 0) {
                line.receive(std::span(buffer, static_cast<std::size_t>(n)), Clock::now());
                requestCount.store(line.requestCount(), std::memory_order_relaxed);
            }
        } else if (fds[0].revents & (POLLHUP | POLLERR)) {
            // Not expected while the slave side is held open; never spin on it.
            ::ppoll(nullptr, 0, &HangUpPause, nullptr);
        }
    }
}

VirtualProbe::VirtualProbe(VirtualProbeOptions options) : m_options(std::move(options)) {}

VirtualProbe::~VirtualProbe() { stop(); }

bool VirtualProbe::start(QString *error)
{
    if (isRunning())
        return true;
    ProbeMemory memory;
    if (!loadProbeMemory(m_options, memory, error))
        return false;

    auto fail = [&](const QString &why) {
        if (error)
            *error = why;
        closeFd(m_wake);
        closeFd(m_slave);
        closeFd(m_master);
        m_devicePath.clear();
        return false;
    };

    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_master < 0)
        return fail(errnoText("posix_openpt"));
    if (::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0)
        return fail(errnoText("grantpt/unlockpt"));
    char name[256] = {};
    if (::ptsname_r(m_master, name, sizeof name) != 0)
        return fail(errnoText("ptsname"));
    m_slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_slave < 0)
        return fail(errnoText("open pty"));
    // Raw bytes both ways: no echo, no line editing, no translation.
    termios tio{};
    if (::tcgetattr(m_slave, &tio) != 0)
        return fail(errnoText("tcgetattr"));
    ::cfmakeraw(&tio);
    ::cfsetispeed(&tio, B115200);
    ::cfsetospeed(&tio, B115200);
    if (::tcsetattr(m_slave, TCSANOW, &tio) != 0)
        return fail(errnoText("tcsetattr"));
    const int flags = ::fcntl(m_master, F_GETFL);
    if (flags < 0 || ::fcntl(m_master, F_SETFL, flags | O_NONBLOCK) != 0)
        return fail(errnoText("fcntl"));
    m_wake = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (m_wake < 0)
        return fail(errnoText("eventfd"));
    m_devicePath = QString::fromLocal8Bit(name);

    if (!m_options.link.isEmpty()) {
        const QByteArray link = QFile::encodeName(m_options.link);
        struct stat st {};
        if (::lstat(link.constData(), &st) == 0 && !S_ISLNK(st.st_mode))
            return fail(QCoreApplication::translate("zolm-probe-sim", "%1 已存在，且不是符号链接").arg(m_options.link));
        // Made beside the target and renamed over it, so an old link is replaced in one step.
        const QByteArray temp = link + ".tmp" + QByteArray::number(::getpid()) + "-"
            + QByteArray::number(reinterpret_cast<quintptr>(this), 16);
        ::unlink(temp.constData());
        if (::symlink(name, temp.constData()) != 0)
            return fail(errnoText("symlink"));
        if (::rename(temp.constData(), link.constData()) != 0) {
            ::unlink(temp.constData());
            return fail(errnoText("rename link"));
        }
        m_linkMade = m_options.link;
    }

    m_shell = std::make_unique<Shell>(std::move(memory), m_options);
    m_stopping.store(false);
    m_requestCount.store(0);
    m_thread = std::thread([this] { m_shell->run(m_master, m_wake, m_stopping, m_requestCount); });
    return true;
}

void VirtualProbe::stop()
{
    if (m_thread.joinable()) {
        m_stopping.store(true, std::memory_order_release);
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t w = ::write(m_wake, &one, sizeof one);
        m_thread.join();
    }
    m_shell.reset();
    if (!m_linkMade.isEmpty()) {
        // Only our own link: another probe may have taken the name since.
        const QByteArray link = QFile::encodeName(m_linkMade);
        char target[256] = {};
        const ssize_t n = ::readlink(link.constData(), target, sizeof target - 1);
        if (n > 0 && QString::fromLocal8Bit(target, n) == m_devicePath)
            ::unlink(link.constData());
        m_linkMade.clear();
    }
    closeFd(m_wake);
    closeFd(m_slave);
    closeFd(m_master);
}

#else
// The virtual probe answers on a pseudo-terminal; Windows has none to offer.
struct VirtualProbe::Shell {};

VirtualProbe::VirtualProbe(VirtualProbeOptions options) : m_options(std::move(options)) {}

VirtualProbe::~VirtualProbe() = default;

bool VirtualProbe::start(QString *error)
{
    if (error)
        *error = QCoreApplication::translate("zolm-probe-sim", "虚拟探管需要伪终端，本系统没有");
    return false;
}

void VirtualProbe::stop() {}
#endif

} // namespace zolm::sim
