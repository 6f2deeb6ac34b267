#include "probe/comm.h"

#include "conversion/conversion.h"
#include "probe/operations.h"
#include "probe/protocol.h"
#include "probe/serial_link.h"
#include "probe/texts.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QThread>

#include <algorithm>

#include <chrono>

namespace zolm::probe {

namespace {

// Idle, the worker looks for requests at least this often (they also wake it at once).
constexpr std::chrono::milliseconds IdlePoll{50};

} // namespace

ProbeComm::LinkFactory ProbeComm::serialLinks()
{
    return [](const QString &name) { return std::make_unique<SerialLink>(name); };
}

ProbeComm::ProbeComm(ProbeView &view, QString portName, LinkFactory makeLink)
    : m_view(view), m_makeLink(std::move(makeLink)), m_portToOpen(portName), m_portName(std::move(portName))
{
    m_thread.reset(QThread::create([this] { workerLoop(); }));
    m_thread->setObjectName(QStringLiteral("probe-worker"));
    m_thread->start();
}

ProbeComm::~ProbeComm()
{
    {
        std::lock_guard lock(m_mutex);
        m_quit = true;
        m_request.reset();
    }
    m_quitting.store(true);
    m_wake.notify_all();
    m_view.abandonWaits();
    // The worker never closes the port under a read, and it stops between reads; the links it
    // makes cut their waits short once m_quitting is set. So this wait is short (unless a
    // view ignores abandonWaits and keeps a box open).
    m_thread->wait();
}

void ProbeComm::start(const Request &request, const QString &caption)
{
    m_view.showProgress(caption);
    {
        std::lock_guard lock(m_mutex);
        m_request = request;
    }
    m_wake.notify_all();
}

void ProbeComm::startLinkTest() { start({Op::LinkTest}, text::captionLinkTest()); }

void ProbeComm::startRealTime()
{
    start({Op::StartRealTime}, text::captionStartRealTime());
    m_realTime.store(1);
}

void ProbeComm::stopRealTime()
{
    m_realTime.store(0);
    start({Op::StopRealTime}, text::captionStopRealTime());
}

void ProbeComm::startHistoryCheck() { start({Op::HistoryCheck}, text::captionHistoryCheck()); }

void ProbeComm::startWriteSettings(std::int32_t delaySeconds, std::int32_t intervalSeconds)
{
    start({Op::WriteSettings, delaySeconds, intervalSeconds}, text::captionWriteSettings());
}

void ProbeComm::startReadInfo() { start({Op::ReadInfo}, text::captionReadInfo()); }

void ProbeComm::startReadData() { start({Op::ReadData}, text::captionReadData()); }

void ProbeComm::changePort(const QString &portName)
{
    {
        std::lock_guard lock(m_mutex);
        m_portName = portName;
        m_portToOpen = portName;
    }
    m_wake.notify_all();
}

QString ProbeComm::portName() const
{
    std::lock_guard lock(m_mutex);
    return m_portName;
}

bool ProbeComm::somethingToDo() const
{
    std::lock_guard lock(m_mutex);
    return m_quit || m_request || m_portToOpen;
}

void ProbeComm::workerLoop()
{
    // Everything below belongs to this thread alone.
    std::unique_ptr<Link> link;
    FrameDecoder decoder;
    auto images = std::make_unique<ProbeImages>();
    RawSample sample;
    SurveyValues values{};
    // The real-time reader waits as long as the last exchange did.
    int lastWaitMs = Wait::AtOpen;
    bool streamFlowing = false;

    auto runWith = [&](const Request &r) {
        OperationContext c{*link, decoder, m_view, *images, [this] { return m_quitting.load(); }, lastWaitMs};
        const Outcome outcome = runOperation(c, r.code, r.delay, r.interval);
        lastWaitMs = c.lastWaitMs;
        m_view.operationFinished(r.code, outcome);
    };

    for (;;) {
        std::optional<Request> request;
        std::optional<QString> reopen;
        {
            std::unique_lock lock(m_mutex);
            const auto ready = [&] { return m_quit || m_request || m_portToOpen; };
            // A flowing sample stream is read without pause; otherwise wait for a request.
            if (!(m_realTime.load() != 0 && streamFlowing))
                m_wake.wait_for(lock, IdlePoll, ready);
            if (m_quit)
                break;
            request.swap(m_request);
            reopen.swap(m_portToOpen);
        }
        if (reopen) {
            if (link)
                link->close();
            link = m_makeLink(*reopen);
            link->setAbortFlag(&m_quitting);
            link->open();
            decoder.reset();
            lastWaitMs = Wait::AtOpen;
        }
        if (request && link)
            runWith(*request);

        streamFlowing = false;
        if (link && m_realTime.load() != 0 && !m_quitting.load()) {
            std::array<std::uint8_t, RealTimeReadSize> chunk{};
            // One read with the last exchange's wait, taken in slices so that a request made
            // meanwhile (after a failed start nothing may come for seconds) runs at once.
            std::size_t n = 0;
            const QDeadlineTimer deadline(lastWaitMs);
            for (;;) {
                const auto slice = static_cast<int>(std::min<qint64>(deadline.remainingTime(), IdlePoll.count()));
                QElapsedTimer waited;
                waited.start();
                n = link->read(chunk, slice);
                // A port that fails returns at once, like one that never opened: one silent
                // read, then the idle poll, never a busy loop.
                if (n > 0 || deadline.hasExpired() || waited.elapsed() < slice / 2 || somethingToDo())
                    break;
            }
            streamFlowing = n > 0;
            decoder.feed(std::span<const std::uint8_t>(chunk.data(), n), [&](std::span<const std::uint8_t> body) {
                // A frame too short to hold a sample carries no sample.
                if (body.size() < SampleFrameLength || body[0] != SampleLetter)
                    return;
                sample = RawSample::fromBytes(body.data() + 1);
                // A rejected sample leaves the previous values, which are shown again.
                convertSample(sample, images->parameters, values);
                if (m_realTime.load() != 0)
                    m_view.realTimeSample(sample, values);
            });
        }
    }
    if (link)
        link->close();
}

} // namespace zolm::probe

// Qt's own library is not built with ThreadSanitizer, so the sanitizer cannot see the locks
// inside QThread::wait(): destroying the QThread that wait() has just seen finish looks like
// a race inside QWaitCondition. Only that report is silenced, only in sanitized builds; it
// lives here because this file is linked into every program that runs the worker.
#if defined(__SANITIZE_THREAD__)
#define ZOLM_UNDER_TSAN 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define ZOLM_UNDER_TSAN 1
#endif
#endif
#ifdef ZOLM_UNDER_TSAN
extern "C" const char *__tsan_default_suppressions()
{
    return "race:QWaitCondition::~QWaitCondition\n";
}
#endif
