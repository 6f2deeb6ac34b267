// The probe commands of zolm-cli: the same worker and operations as the desktop program,
// presented as lines of text. The virtual probe of the port names "SIM" and "SIM:FILE.ZLM"
// runs in this process on a pty, so every byte still goes through the real serial code.
#include "cli/cli.h"
#include "cli/output_file.h"

#include "document/document.h"
#include "platform/settings.h"
#include "probe/comm.h"
#include "probe/operations.h"
#include "probe/probe_info.h"
#include "probe/probe_settings.h"
#include "probe/texts.h"
#include "virtual_probe.h"

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <iostream>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

namespace zolm::cli {

using namespace zolm::probe;

namespace {

// Records what the worker shows; the command's thread waits on it and prints.
class CliView final : public ProbeView {
public:
    void showProgress(const QString &) override {}
    void setCaption(const QString &) override {}
    void setProgress(Bar, int, int) override {}
    void hideProgress() override {}

    void showBox(const ProbeBox &box) override
    {
        std::lock_guard lock(m_mutex);
        m_boxes.push_back(box);
    }
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
    void realTimeStarted() override {}
    void realTimeFailed() override {}
    void historyResult(int storedCount) override
    {
        std::lock_guard lock(m_mutex);
        m_history = storedCount;
    }
    void operationFinished(char code, Outcome outcome) override
    {
        {
            std::lock_guard lock(m_mutex);
            m_finished.push_back({code, outcome});
        }
        m_changed.notify_all();
    }

    Outcome waitFor(char code)
    {
        std::unique_lock lock(m_mutex);
        for (;;) {
            for (const auto &[c, outcome] : m_finished) {
                if (c == code)
                    return outcome;
            }
            m_changed.wait(lock);
        }
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

    std::vector<ProbeBox> takeBoxes()
    {
        std::lock_guard lock(m_mutex);
        return std::exchange(m_boxes, {});
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
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<ProbeBox> m_boxes;
    std::optional<ProbeInfo> m_info;
    std::shared_ptr<const ProbeImages> m_images;
    std::optional<int> m_history;
    std::deque<SurveyValues> m_samples;
    std::vector<std::pair<char, Outcome>> m_finished;
};

// Results and information on stdout, errors on stderr, each with a final newline.
void printBoxes(const std::vector<ProbeBox> &boxes)
{
    for (const ProbeBox &b : boxes) {
        if (b.icon == BoxIcon::Information)
            printOut(b.text + QLatin1Char('\n'));
        else
            printErr(b.text + QLatin1Char('\n'));
    }
}

// The port of --port, else the stored one; a virtual probe started for SIM names. The
// virtual probe must outlive the worker that has its pty open.
struct Session {
    std::unique_ptr<sim::VirtualProbe> simProbe;
    CliView view;
    std::unique_ptr<ProbeComm> comm;
};

bool openSession(Session &s, const std::optional<std::string> &portArg, SettingsStore &store)
{
    QString port = portArg ? QString::fromLocal8Bit(portArg->c_str()) : storedPortName(store);
    if (const auto options = sim::simPortOptions(port)) {
        s.simProbe = std::make_unique<sim::VirtualProbe>(*options);
        QString error;
        if (!s.simProbe->start(&error)) {
            printErr(error + QLatin1Char('\n'));
            return false;
        }
        port = s.simProbe->devicePath();
    }
    s.comm = std::make_unique<ProbeComm>(s.view, port);
    return true;
}

bool stdinIsTerminal()
{
#ifdef Q_OS_WIN
    return _isatty(_fileno(stdin)) != 0;
#else
    return ::isatty(STDIN_FILENO) != 0;
#endif
}

// Runs one operation to its end and returns its outcome.
template <typename Starter>
Outcome run(Session &s, char code, Starter &&starter)
{
    starter(*s.comm);
    return s.view.waitFor(code);
}

} // namespace

int runLinkTest(Args &args, const Context &ctx)
{
    const auto port = args.value("--port");
    if (args.reportUsageError("link-test"))
        return ExitUsage;
    SettingsStore store(ctx.settingsFile);
    Session s;
    if (!openSession(s, port, store))
        return ExitFailed;
    const Outcome outcome = run(s, Op::LinkTest, [](ProbeComm &c) { c.startLinkTest(); });
    printBoxes(s.view.takeBoxes());
    return outcome == Outcome::Done ? ExitOk : ExitFailed;
}

int runInfo(Args &args, const Context &ctx)
{
    const auto port = args.value("--port");
    if (args.reportUsageError("info"))
        return ExitUsage;
    SettingsStore store(ctx.settingsFile);
    Session s;
    if (!openSession(s, port, store))
        return ExitFailed;
    const Outcome outcome = run(s, Op::ReadInfo, [](ProbeComm &c) { c.startReadInfo(); });
    printBoxes(s.view.takeBoxes());
    const auto info = s.view.info();
    if (outcome != Outcome::Done || !info)
        return ExitFailed;
    for (const auto &[label, text] : infoFields(*info))
        printOut(label + QStringLiteral(": ") + text + QLatin1Char('\n'));
    return ExitOk;
}

int runRead(Args &args, const Context &ctx)
{
    const auto port = args.value("--port");
    const auto out = args.value("-o");
    if (args.reportUsageError("read"))
        return ExitUsage;
    if (!out || out->empty())
        return usageError(QStringLiteral("read: -o FILE.ZLM is needed"));
    SettingsStore store(ctx.settingsFile);
    Session s;
    if (!openSession(s, port, store))
        return ExitFailed;
    const Outcome outcome = run(s, Op::ReadData, [](ProbeComm &c) { c.startReadData(); });
    std::vector<ProbeBox> boxes = s.view.takeBoxes();
    const auto images = s.view.images();
    if (outcome != Outcome::Done || !images) {
        printBoxes(boxes);
        return ExitFailed;
    }
    // The file is written only now, whole and atomically; the success text follows it.
    CNDravikDoc doc;
    doc.loadFromProbe(images->parameters.bytes, images->data.bytes);
    QString error;
    if (!saveDocument(doc, QString::fromLocal8Bit(out->c_str()), &error)) {
        printErr(error + QLatin1Char('\n'));
        return ExitFailed;
    }
    printBoxes(boxes);
    return ExitOk;
}

int runSetup(Args &args, const Context &ctx)
{
    const auto port = args.value("--port");
    const auto minutesArg = args.value("--delay-min");
    const auto secondsArg = args.value("--delay-sec");
    const auto intervalArg = args.value("--interval");
    const bool yes = args.flag("--yes");
    if (args.reportUsageError("setup"))
        return ExitUsage;

    SettingsStore store(ctx.settingsFile);
    ProbeSetup setup = readStoredSetup(store);
    const auto number = [](const std::string &s) { return parseSetupNumber(QString::fromLocal8Bit(s.c_str())); };
    if (minutesArg)
        setup.minutes = number(*minutesArg);
    if (secondsArg)
        setup.seconds = number(*secondsArg);
    if (intervalArg)
        setup.interval = number(*intervalArg);
    if (const auto refusal = validateSetup(setup)) {
        printErr(refusal->text + QLatin1Char('\n'));
        return ExitFailed;
    }
    storeSetup(store, setup);

    Session s;
    if (!openSession(s, port, store))
        return ExitFailed;
    if (run(s, Op::HistoryCheck, [](ProbeComm &c) { c.startHistoryCheck(); }) != Outcome::Done) {
        printBoxes(s.view.takeBoxes());
        return ExitFailed;
    }
    if (setupDiscardsData(s.view.history().value_or(0)) && !yes) {
        printErr(discardWarningText() + QLatin1Char('\n'));
        if (!stdinIsTerminal())
            return ExitFailed;
        printErr(QStringLiteral("[y/N] "));
        std::string answer;
        std::getline(std::cin, answer);
        if (answer.empty() || (answer[0] != 'y' && answer[0] != 'Y'))
            return ExitFailed;
    }
    const Outcome outcome = run(s, Op::WriteSettings,
                                [&](ProbeComm &c) { c.startWriteSettings(setup.delaySeconds(), setup.interval); });
    printBoxes(s.view.takeBoxes());
    return outcome == Outcome::Done ? ExitOk : ExitFailed;
}

int runLive(Args &args, const Context &ctx)
{
    const auto port = args.value("--port");
    const auto countArg = args.value("--count");
    if (args.reportUsageError("live"))
        return ExitUsage;
    int count = 10;
    if (countArg) {
        bool ok = false;
        count = QString::fromLocal8Bit(countArg->c_str()).toInt(&ok);
        if (!ok || count < 0)
            return usageError(QStringLiteral("live: --count needs a whole number of samples"));
    }
    SettingsStore store(ctx.settingsFile);
    Session s;
    if (!openSession(s, port, store))
        return ExitFailed;
    if (run(s, Op::StartRealTime, [](ProbeComm &c) { c.startRealTime(); }) != Outcome::Done) {
        printBoxes(s.view.takeBoxes());
        return ExitFailed;
    }

    int status = ExitOk;
    for (int i = 0; i < count; ++i) {
        const auto values = s.view.waitSample(std::chrono::milliseconds(3000));
        if (!values) {
            printErr(text::timeoutStep(3) + QLatin1Char('\n'));
            status = ExitFailed;
            break;
        }
        QString line;
        for (const auto &[label, text] : realTimeFields(*values)) {
            if (!line.isEmpty())
                line += QStringLiteral("  ");
            line += label + QStringLiteral(": ") + text;
        }
        printOut(line + QLatin1Char('\n'));
        std::fflush(stdout);
    }
    if (run(s, Op::StopRealTime, [](ProbeComm &c) { c.stopRealTime(); }) != Outcome::Done)
        status = ExitFailed;
    printBoxes(s.view.takeBoxes());
    return status;
}

} // namespace zolm::cli
