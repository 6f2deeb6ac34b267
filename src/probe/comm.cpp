#include "probe/comm.h"

#include "conversion/conversion.h"
#include "probe/live_reader.h"
#include "probe/operations.h"
#include "probe/protocol.h"
#include "probe/serial_link.h"

#include <QThread>

#include <algorithm>
#include <chrono>

namespace zolm::probe {

namespace {

// Idle, the worker looks for requests at least this often (they also wake it at once).
constexpr std::chrono::milliseconds IdlePoll{50};

Result cancelled(Outcome outcome)
{
    Result r;
    r.outcome = outcome;
    r.code = ErrorCode::Cancelled;
    return r;
}

} // namespace

ProbeComm::LinkFactory ProbeComm::serialLinks()
{
    return [](const QString &name) { return std::make_unique<SerialLink>(name); };
}

ProbeComm::ProbeComm(ProbeView &view, QString portName, LinkFactory makeLink)
    : m_view(view), m_makeLink(std::move(makeLink)), m_portName(std::move(portName))
{
    // No port chosen yet: nothing to open, and no failure to report.
    if (!m_portName.isEmpty())
        m_portToOpen = m_portName;
    m_thread.reset(QThread::create([this] { workerLoop(); }));
    m_thread->setObjectName(QStringLiteral("probe-worker"));
    m_thread->start();
}

ProbeComm::~ProbeComm()
{
    std::optional<Request> unrun;
    {
        std::lock_guard lock(m_mutex);
        m_state.store(State::Quitting);
        unrun.swap(m_request);
    }
    m_wake.notify_all();
    if (unrun)
        m_view.operationFinished(*unrun, cancelled(Outcome::Cancelled));
    m_view.abandonWaits();
    // The worker never closes the port under a read, and it stops between reads; the links it
    // makes cut their waits short once the state is Quitting. So this wait is short (unless a
    // view ignores abandonWaits and keeps a box open).
    m_thread->wait();
}

void ProbeComm::switchState(std::initializer_list<State> from, State to)
{
    State current = m_state.load();
    while (std::find(from.begin(), from.end(), current) != from.end()) {
        if (m_state.compare_exchange_weak(current, to))
            return;
    }
}

bool ProbeComm::realTimeOn() const
{
    const State s = m_state.load();
    return s == State::RealTime || s == State::Streaming;
}

RequestId ProbeComm::start(Operation operation, std::optional<SettingsToWrite> settings, bool verify)
{
    m_view.showProgress(operationInfo(operation).caption());
    std::optional<Request> replaced;
    Request request{operation, 0, settings, verify};
    {
        std::lock_guard lock(m_mutex);
        request.id = ++m_lastId;
        replaced.swap(m_request);
        m_request = request;
    }
    m_wake.notify_all();
    if (replaced)
        m_view.operationFinished(*replaced, cancelled(Outcome::Superseded));
    return request.id;
}

RequestId ProbeComm::startLinkTest() { return start(Operation::LinkTest); }

RequestId ProbeComm::startRealTime()
{
    const RequestId id = start(Operation::StartRealTime);
    switchState({State::Idle}, State::RealTime);
    return id;
}

RequestId ProbeComm::stopRealTime()
{
    switchState({State::RealTime, State::Streaming}, State::Idle);
    return start(Operation::StopRealTime);
}

RequestId ProbeComm::startHistoryCheck() { return start(Operation::HistoryCheck); }

RequestId ProbeComm::startWriteSettings(std::int32_t delaySeconds, std::int32_t intervalSeconds)
{
    return start(Operation::WriteSettings, SettingsToWrite{delaySeconds, intervalSeconds});
}

RequestId ProbeComm::startReadInfo() { return start(Operation::ReadInfo); }

RequestId ProbeComm::startReadData(bool verify)
{
    return start(Operation::ReadData, std::nullopt, verify);
}

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
    return m_state.load() == State::Quitting || m_request || m_portToOpen;
}

void ProbeComm::workerLoop()
{
    // Everything below belongs to this thread alone.
    std::unique_ptr<Link> link;
    FrameDecoder decoder;
    LiveReader live(decoder);
    auto images = std::make_unique<ProbeImages>();
    SurveyValues values{};
    // The real-time reader waits as long as the last exchange did.
    int lastWaitMs = Wait::AtOpen;
    const auto quitting = [this] { return m_state.load() == State::Quitting; };

    for (;;) {
        std::optional<Request> request;
        std::optional<QString> reopen;
        {
            std::unique_lock lock(m_mutex);
            const auto ready = [&] { return m_state.load() == State::Quitting || m_request || m_portToOpen; };
            // A flowing sample stream is read without pause; otherwise wait for a request.
            if (m_state.load() != State::Streaming)
                m_wake.wait_for(lock, IdlePoll, ready);
            if (m_state.load() == State::Quitting)
                break;
            request.swap(m_request);
            reopen.swap(m_portToOpen);
        }
        if (reopen) {
            if (link)
                link->close();
            link = m_makeLink(*reopen);
            link->setAbortCheck(quitting);
            const bool opened = link->open();
            m_view.portOpened(*reopen, opened ? QString() : link->openError());
            decoder.reset();
            lastWaitMs = Wait::AtOpen;
        }
        if (request) {
            if (link) {
                OperationContext c{*link, decoder, m_view, *images, quitting, lastWaitMs};
                const Result result = runOperation(c, *request);
                lastWaitMs = c.lastWaitMs;
                m_view.operationFinished(*request, result);
            } else {
                m_view.operationFinished(*request, cancelled(Outcome::Cancelled));
            }
        }

        if (!link || !realTimeOn() || quitting())
            continue;
        // One read with the last exchange's wait, given up when a request comes meanwhile
        // (after a failed start nothing may come for seconds).
        const std::size_t n = live.readOnce(*link, lastWaitMs, static_cast<int>(IdlePoll.count()),
                                            [this] { return somethingToDo(); }, [&](const RawSample &sample) {
                                                // A rejected sample leaves the previous values,
                                                // which are shown again.
                                                convertSample(sample, images->parameters, values);
                                                if (realTimeOn())
                                                    m_view.realTimeSample(sample, values);
                                            });
        if (n > 0)
            switchState({State::RealTime}, State::Streaming);
        else
            switchState({State::Streaming}, State::RealTime);
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
