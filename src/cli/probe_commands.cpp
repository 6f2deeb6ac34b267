// The probe commands of zolm-cli: the same worker and operations as the desktop program,
// presented as lines of text. The port names "SIM" and "SIM:FILE.ZLM" are the virtual probe's
// link, made by the worker like any other, so every byte still goes through the real serial code.
#include "cli/cli.h"
#include "platform/output_file.h"

#include "session/survey_session.h"
#include "platform/number_text.h"
#include "platform/settings.h"
#include "probe/comm.h"
#include "probe/operations.h"
#include "probe/port_choice.h"
#include "probe/probe_info.h"
#include "probe/probe_settings.h"
#include "probe/texts.h"
#include "probe/time_left.h"
#include "sim_link.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <iostream>
#include <limits>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#else
#include <unistd.h>
#endif

namespace zolm::cli {

using namespace zolm::probe;

namespace {

bool isTerminal(std::FILE *f)
{
#ifdef Q_OS_WIN
    return _isatty(_fileno(f)) != 0;
#else
    return ::isatty(::fileno(f)) != 0;
#endif
}

// A progress line on stderr: the operation's caption (a read says which pass it is in), a
// bar, exchanges done of all, percent, and the time left as the pace so far predicts it.
// Drawn over itself; erased before anything else is printed.
class ProgressLine {
public:
    explicit ProgressLine(bool enabled) : m_enabled(enabled) {}

    void setCaption(const QString &caption)
    {
        std::lock_guard lock(m_mutex);
        m_caption = caption;
    }

    void update(int done, int total)
    {
        if (!m_enabled || total <= 0)
            return;
        std::lock_guard lock(m_mutex);
        const auto left = m_left.update(done, total);
        // A few redraws a second are enough for the eye and cheap on a slow terminal.
        if (done < total && m_drawn.isValid() && m_drawn.elapsed() < RedrawMs)
            return;
        m_drawn.start();
        constexpr int Width = 30;
        const int filled = static_cast<int>(static_cast<long long>(Width) * done / total);
        QString line = QStringLiteral("\r") + (m_caption.isEmpty() ? QString() : m_caption + QLatin1Char(' '))
                       + QLatin1Char('[') + QString(filled, QLatin1Char('#')) + QString(Width - filled, QLatin1Char('-'))
                       + QStringLiteral("] %1/%2  %3%").arg(done).arg(total).arg(100 * done / total, 3);
        if (left)
            line += QStringLiteral("  ") + text::timeLeft(*left);
        printErr(line + QStringLiteral("\x1b[K"));
        m_shown = true;
    }

    void erase()
    {
        std::lock_guard lock(m_mutex);
        if (m_shown)
            printErr(QStringLiteral("\r\x1b[K"));
        m_shown = false;
        m_left.reset();
        m_drawn.invalidate();
    }

private:
    static constexpr int RedrawMs = 100;
    const bool m_enabled;
    std::mutex m_mutex;
    QString m_caption;
    TimeLeft m_left;
    QElapsedTimer m_drawn;
    bool m_shown = false;
};

// Records what the worker shows; the command's thread waits on it and prints.
class CliView final : public ProbeView {
public:
    explicit CliView(bool progress) : m_progress(progress) {}

    void showProgress(const QString &caption) override { m_progress.setCaption(caption); }
    void setCaption(const QString &caption) override { m_progress.setCaption(caption); }
    void setProgress(Bar, int, int) override {}
    void hideProgress() override {}
    void transferProgress(int done, int total) override { m_progress.update(done, total); }

    // The result decides what is printed; the boxes themselves are not needed.
    void showBox(const ProbeBox &) override {}
    void showProbeInfo(const ProbeInfo &info) override
    {
        std::lock_guard lock(m_mutex);
        m_info = info;
    }
    void dataRead(std::shared_ptr<const ProbeImages> images) override
    {
        std::lock_guard lock(m_mutex);
        m_images = std::move(images);
    }
    void realTimeSample(const RawSample &, const SurveyValues &values) override
    {
        {
            std::lock_guard lock(m_mutex);
            m_samples.push_back(values);
        }
        m_changed.notify_all();
    }
    void historyResult(int storedCount) override
    {
        std::lock_guard lock(m_mutex);
        m_history = storedCount;
    }
    void operationFinished(const Request &request, const probe::Result &result) override
    {
        {
            std::lock_guard lock(m_mutex);
            m_finished.emplace(request.id, result);
        }
        m_changed.notify_all();
    }

    // The end of the request with this id; every request ends, superseded or not.
    probe::Result waitFor(RequestId id)
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return m_finished.count(id) != 0; });
        const probe::Result r = m_finished[id];
        lock.unlock();
        m_progress.erase();
        return r;
    }

    std::optional<SurveyValues> waitSample(std::chrono::milliseconds limit)
    {
        std::unique_lock lock(m_mutex);
        if (!m_changed.wait_for(lock, limit, [&] { return !m_samples.empty(); }))
            return std::nullopt;
        const SurveyValues v = m_samples.front();
        m_samples.pop_front();
        return v;
    }

    std::optional<ProbeInfo> info()
    {
        std::lock_guard lock(m_mutex);
        return m_info;
    }
    std::shared_ptr<const ProbeImages> images()
    {
        std::lock_guard lock(m_mutex);
        return m_images;
    }
    std::optional<int> history()
    {
        std::lock_guard lock(m_mutex);
        return m_history;
    }

private:
    ProgressLine m_progress;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::optional<ProbeInfo> m_info;
    std::shared_ptr<const ProbeImages> m_images;
    std::optional<int> m_history;
    std::deque<SurveyValues> m_samples;
    std::map<RequestId, probe::Result> m_finished;
};

// The box of a result, told by fail(): its code chooses the stream and the exit status. Blocks
// read again are a warning about the cable, so after a text on stdout their line goes to stderr.
int printResult(Operation op, probe::Result result)
{
    const bool apart = toStdout(result.code);
    const int rereads = std::exchange(result.rereads, apart ? 0 : result.rereads);
    const auto box = resultBox(op, result);
    const int status = fail(makeError(result.code, box ? box->text : QString()));
    if (box && apart && op == Operation::ReadData && rereads > 0)
        printErr(text::rereads(rereads) + QLatin1Char('\n'));
    return status;
}

// The port of --port, else the stored one, opened by the worker through the link factory
// that knows the virtual probe.
struct Session {
    explicit Session(bool progress) : view(progress) {}
    CliView view;
    std::unique_ptr<ProbeComm> comm;
};

// --port, else the port in use.
zolm::Result<QString> sessionPort(const std::optional<std::string> &portArg, SettingsStore &store)
{
    const QString port = portArg ? QString::fromUtf8(portArg->c_str()) : portInUse(store);
    if (!port.isEmpty())
        return port;
    return makeError(ErrorCode::Missing,
                     text::noPortChosen() + QLatin1Char('\n')
                         + QCoreApplication::translate("ProbeCommands", "用 --port 指定通讯口，或用 zolm-cli set-port 保存一个。"));
}

void openSession(Session &s, const QString &port)
{
    s.comm = std::make_unique<ProbeComm>(s.view, port, sim::simLinks());
}

// Progress only for a person watching a terminal, and not with --quiet.
bool showProgress(Args &args)
{
    const bool quiet = args.flag("--quiet");
    return !quiet && isTerminal(stderr);
}

// Runs one operation to its end, prints its box, and returns how it ended.
template <typename Starter>
probe::Result run(Session &s, Operation op, Starter &&starter)
{
    const probe::Result result = s.view.waitFor(starter(*s.comm));
    printResult(op, result);
    return result;
}

// The read's output. Until the command line has one helper for every -o, the read's checks
// and its write live here, behind these two functions.
//
// Before the first request: the folder must exist and be writable, and an existing target
// must be something a survey can be written to.
bool writesToStdout(const QString &path)
{
    return path == QLatin1String("-");
}

Done checkReadOutput(const QString &path)
{
    if (writesToStdout(path))
        return {};
    const QFileInfo target(path);
    const QFileInfo folder(target.absolutePath());
    const auto refuse = [&](const QString &why) -> Done {
        return makeError(ErrorCode::WriteFailed, QCoreApplication::translate("zolm-cli", "无法写入文件“%1”：%2").arg(path, why));
    };
    if (target.exists() && target.isDir())
        return refuse(QCoreApplication::translate("zolm-cli", "这是一个文件夹"));
    if (!folder.isDir())
        return refuse(QCoreApplication::translate("zolm-cli", "文件夹“%1”不存在").arg(QDir::toNativeSeparators(folder.filePath())));
    if (target.exists() && !target.isFile())
        return target.isWritable() ? Done() : refuse(QCoreApplication::translate("zolm-cli", "没有写入权限"));
    if (!folder.isWritable())
        return refuse(QCoreApplication::translate("zolm-cli", "文件夹“%1”不可写").arg(QDir::toNativeSeparators(folder.filePath())));
    return {};
}

// Written by the rules of every -o.
Done writeReadOutput(const QString &path, const QByteArray &bytes)
{
    Done written = writeOutput(path, bytes);
    if (written)
        return written;
    return written.error().retold(
        QCoreApplication::translate("zolm-cli", "无法保存文件“%1”：%2").arg(path, written.error().message));
}

// What a probe read once is never lost: when its file cannot be written, the survey goes to a
// file of its own in the temporary folder. Returns that file's name, empty when even that failed.
QString saveRecovery(const QByteArray &bytes)
{
    QTemporaryFile file(QDir::temp().filePath(QStringLiteral("zolm-read-XXXXXX.ZLM")));
    file.setAutoRemove(false);
    if (!file.open() || file.write(bytes) != bytes.size() || !file.flush()) {
        file.remove();
        return {};
    }
    return QDir::toNativeSeparators(file.fileName());
}

} // namespace

int runLinkTest(Args &args, const Context &ctx)
{
    const auto port = args.value("--port");
    if (args.reportUsageError("link-test"))
        return ExitUsage;
    SettingsStore store(ctx.settingsFile);
    const auto portName = sessionPort(port, store);
    if (!portName)
        return fail(portName.error());
    Session s(false);
    openSession(s, *portName);
    return exitStatus(run(s, Operation::LinkTest, [](ProbeComm &c) { return c.startLinkTest(); }).code);
}

int runInfo(Args &args, const Context &ctx)
{
    const auto port = args.value("--port");
    const bool progress = showProgress(args);
    if (args.reportUsageError("info"))
        return ExitUsage;
    SettingsStore store(ctx.settingsFile);
    const auto portName = sessionPort(port, store);
    if (!portName)
        return fail(portName.error());
    Session s(progress);
    openSession(s, *portName);
    const probe::Result result = run(s, Operation::ReadInfo, [](ProbeComm &c) { return c.startReadInfo(); });
    if (result.code != ErrorCode::None)
        return exitStatus(result.code);
    const auto info = s.view.info();
    if (!info)
        return ExitFailed;
    // The dialog's labels exactly, in any language: scripts read these lines.
    for (const auto &[label, text] : infoFields(*info))
        printOut(label + QStringLiteral(": ") + text + QLatin1Char('\n'));
    return ExitOk;
}

int runRead(Args &args, const Context &ctx)
{
    const auto port = args.value("--port");
    const auto out = args.value("-o");
    const bool singlePass = args.flag("--single-pass");
    const bool progress = showProgress(args);
    if (args.reportUsageError("read"))
        return ExitUsage;
    if (!out || out->empty())
        return usageError(QCoreApplication::translate("zolm-cli", "read：需要 -o FILE.ZLM"));
    const QString outPath = QString::fromUtf8(out->c_str());
    // A read of minutes must not be thrown away at its end for a file that could never be written.
    if (const Done writable = checkReadOutput(outPath); !writable)
        return fail(writable.error());
    SettingsStore store(ctx.settingsFile);
    const auto portName = sessionPort(port, store);
    if (!portName)
        return fail(portName.error());
    Session s(progress);
    openSession(s, *portName);
    // --single-pass wins over the stored choice; the answers are checked either way.
    const bool verify = !singlePass && storedVerifyRead(store);
    const probe::Result result = s.view.waitFor(s.comm->startReadData(verify));
    if (result.code != ErrorCode::None)
        return printResult(Operation::ReadData, result);
    const auto images = s.view.images();
    if (!images)
        return ExitFailed;
    // The file is written only now, whole; the success text follows it.
    SurveySession session;
    session.takeProbeRead(images->parameters.bytes, images->data.bytes);
    // A new read has no site: a site file left beside the target by another survey is not its.
    const zolm::Result<QByteArray> made = session.bytesFor(outPath);
    if (!made)
        return fail(made.error().retold(QCoreApplication::translate("zolm-cli", "无法保存文件“%1”：%2").arg(outPath, made.error().message)));
    const QByteArray &bytes = *made;
    if (const Done written = writeReadOutput(outPath, bytes); !written) {
        const QString recovery = saveRecovery(bytes);
        printErr(written.error().message + QLatin1Char('\n')
                 + (recovery.isEmpty() ? QCoreApplication::translate("zolm-cli", "读出的数据也无法保存到临时文件夹。\n")
                                       : QCoreApplication::translate("zolm-cli", "读出的数据已保存到“%1”。\n").arg(recovery)));
        if (result.rereads > 0)
            printErr(text::rereads(result.rereads) + QLatin1Char('\n'));
        return ExitFailed;
    }
    // With the survey on stdout, its success text must not be mixed into it.
    if (writesToStdout(outPath))
        printErr(resultBox(Operation::ReadData, result)->text + QLatin1Char('\n'));
    else
        printResult(Operation::ReadData, result);
    return ExitOk;
}

int runSetup(Args &args, const Context &ctx)
{
    const auto port = args.value("--port");
    const auto minutesArg = args.value("--delay-min");
    const auto secondsArg = args.value("--delay-sec");
    const auto intervalArg = args.value("--interval");
    const bool yes = args.flag("--yes");
    const bool progress = showProgress(args);
    if (args.reportUsageError("setup"))
        return ExitUsage;

    SettingsStore store(ctx.settingsFile);
    ProbeSetup setup = readStoredSetup(store);
    const auto number = [](const std::string &s) { return parseSetupNumber(QString::fromUtf8(s.c_str())); };
    if (minutesArg)
        setup.minutes = number(*minutesArg);
    if (secondsArg)
        setup.seconds = number(*secondsArg);
    if (intervalArg)
        setup.interval = number(*intervalArg);
    if (const auto refusal = validateSetup(setup))
        return fail(makeError(ErrorCode::Refused, refusal->text));
    storeSetup(store, setup);

    const auto portName = sessionPort(port, store);
    if (!portName)
        return fail(portName.error());
    Session s(progress);
    openSession(s, *portName);
    if (const auto r = run(s, Operation::HistoryCheck, [](ProbeComm &c) { return c.startHistoryCheck(); });
        r.code != ErrorCode::None)
        return exitStatus(r.code);
    if (setupDiscardsData(s.view.history().value_or(0)) && !yes) {
        printErr(discardWarningText() + QLatin1Char('\n'));
        if (!isTerminal(stdin))
            return fail(makeError(ErrorCode::Refused,
                                  QCoreApplication::translate("ProbeCommands", "没有终端可以回答；加上 --yes 即确认清除探管中的数据并写入设置。")));
        printErr(QStringLiteral("[y/N] "));
        std::string answer;
        std::getline(std::cin, answer);
        if (answer.empty() || (answer[0] != 'y' && answer[0] != 'Y'))
            return fail(makeError(ErrorCode::Cancelled, {}));
    }
    return exitStatus(run(s, Operation::WriteSettings,
                          [&](ProbeComm &c) { return c.startWriteSettings(setup.delaySeconds(), setup.interval); })
                          .code);
}

int runLive(Args &args, const Context &ctx)
{
    const auto port = args.value("--port");
    const auto countArg = args.value("--count");
    const bool progress = showProgress(args);
    if (args.reportUsageError("live"))
        return ExitUsage;
    int count = 10;
    if (countArg) {
        const auto n = parseInteger(QString::fromUtf8(countArg->c_str()).trimmed());
        if (!n || *n < 0 || *n > std::numeric_limits<int>::max())
            return usageError(QCoreApplication::translate("zolm-cli", "live：--count 应为整数个采样"));
        count = static_cast<int>(*n);
    }
    SettingsStore store(ctx.settingsFile);
    const auto portName = sessionPort(port, store);
    if (!portName)
        return fail(portName.error());
    Session s(progress);
    openSession(s, *portName);
    if (const auto r = run(s, Operation::StartRealTime, [](ProbeComm &c) { return c.startRealTime(); });
        r.code != ErrorCode::None)
        return exitStatus(r.code);

    int status = ExitOk;
    for (int i = 0; i < count; ++i) {
        const auto values = s.view.waitSample(std::chrono::milliseconds(Wait::LiveSilence));
        if (!values) {
            // The stream stopped: real time's third step timed out.
            status = fail(makeError(ErrorCode::ProbeTimeout, text::timeoutStep(3)));
            break;
        }
        QString line;
        // Fixed labels, as for info.
        for (const auto &[label, text] : realTimeFields(*values)) {
            if (!line.isEmpty())
                line += QStringLiteral("  ");
            line += label + QStringLiteral(": ") + text;
        }
        printOut(line + QLatin1Char('\n'));
        std::fflush(stdout);
    }
    if (const auto r = run(s, Operation::StopRealTime, [](ProbeComm &c) { return c.stopRealTime(); });
        r.code != ErrorCode::None)
        status = exitStatus(r.code);
    return status;
}

int runPorts(Args &args, const Context &)
{
    if (args.reportUsageError("ports"))
        return ExitUsage;
    for (const auto &[name, description] : availablePorts())
        printOut(description.isEmpty() ? name + QLatin1Char('\n') : name + QLatin1Char('\t') + description + QLatin1Char('\n'));
    return ExitOk;
}

int runSetPort(Args &args, const Context &ctx)
{
    const auto port = args.positional();
    if (args.reportUsageError("set-port"))
        return ExitUsage;
    if (!port || port->empty())
        return usageError(QCoreApplication::translate("zolm-cli", "set-port：需要 PORT"));
    const QString name = QString::fromUtf8(port->c_str());
    if (const auto refusal = testPortChoice(name))
        return fail(makeError(ErrorCode::Refused, refusal->text));
    SettingsStore store(ctx.settingsFile);
    if (!storePortName(store, name)) {
        return fail(makeError(ErrorCode::WriteFailed, QCoreApplication::translate("zolm-cli", "无法保存设置：%1").arg(store.path())));
    }
    return ExitOk;
}

} // namespace zolm::cli
