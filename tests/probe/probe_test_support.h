#pragma once
// Test doubles of the probe side: a view that records everything the operations show, and a
// link with a virtual clock that answers through a script or the virtual probe's model.
#include "probe/frame.h"
#include "probe/link.h"
#include "probe/view.h"
#include "probe_model.h"

#include <QByteArray>
#include <QStringList>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>
#include <condition_variable>
#include <deque>
#include <ostream>
#include <functional>
#include <mutex>
#include <optional>
#include <vector>

// Readable QStrings in failure messages.
inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }

namespace zolm::probe::testing {

class RecordingView : public ProbeView {
public:
    void showProgress(const QString &caption) override { add(QStringLiteral("show ") + caption); }
    void setCaption(const QString &caption) override { add(QStringLiteral("caption ") + caption); }
    void setProgress(Bar bar, int step, int max) override
    {
        add(QStringLiteral("%1 %2/%3").arg(bar == Bar::Timeout ? QStringLiteral("timeout") : QStringLiteral("done"))
                .arg(step)
                .arg(max));
    }
    void hideProgress() override { add(QStringLiteral("hide")); }
    void transferProgress(int done, int total) override
    {
        std::lock_guard lock(m_mutex);
        transfers.push_back({done, total});
    }
    void showBox(const ProbeBox &box) override
    {
        {
            std::lock_guard lock(m_mutex);
            boxes.push_back(box);
        }
        add(QStringLiteral("box ") + box.text);
        if (boxDelay.count() > 0)
            std::this_thread::sleep_for(boxDelay);
    }
    void showProbeInfo(const ProbeInfo &i) override
    {
        {
            std::lock_guard lock(m_mutex);
            info = i;
        }
        add(QStringLiteral("info"));
    }
    void dataRead(std::shared_ptr<const ProbeImages> images) override
    {
        {
            std::lock_guard lock(m_mutex);
            read = std::move(images);
        }
        add(QStringLiteral("data-read"));
    }
    void realTimeSample(const RawSample &, const SurveyValues &v) override
    {
        {
            std::lock_guard lock(m_mutex);
            samples.push_back(v);
        }
        m_cv.notify_all();
    }
    void realTimeStarted() override { add(QStringLiteral("rt-started")); }
    void realTimeFailed() override { add(QStringLiteral("rt-failed")); }
    void historyResult(int count) override { add(QStringLiteral("history %1").arg(count)); }
    void restoreFocus() override { add(QStringLiteral("focus")); }
    void operationFinished(const Request &request, const Result &result) override
    {
        {
            std::lock_guard lock(m_mutex);
            finished.push_back({request.operation, result.outcome});
            results.push_back(result);
        }
        m_cv.notify_all();
    }
    void portOpened(const QString &, const QString &failureReason) override
    {
        std::lock_guard lock(m_mutex);
        portReasons.push_back(failureReason);
    }

    // Waits for the n-th (1-based) finished operation; nullopt after the limit.
    std::optional<std::pair<Operation, Outcome>> waitFinished(std::size_t n = 1,
                                                         std::chrono::milliseconds limit = std::chrono::seconds(30))
    {
        std::unique_lock lock(m_mutex);
        if (!m_cv.wait_for(lock, limit, [&] { return finished.size() >= n; }))
            return std::nullopt;
        return finished[n - 1];
    }
    bool waitSamples(std::size_t n, std::chrono::milliseconds limit = std::chrono::seconds(10))
    {
        std::unique_lock lock(m_mutex);
        return m_cv.wait_for(lock, limit, [&] { return samples.size() >= n; });
    }

    QStringList eventList()
    {
        std::lock_guard lock(m_mutex);
        return events;
    }
    std::vector<ProbeBox> boxList()
    {
        std::lock_guard lock(m_mutex);
        return boxes;
    }
    std::vector<std::pair<Operation, Outcome>> finishedList()
    {
        std::lock_guard lock(m_mutex);
        return finished;
    }
    std::size_t sampleCount()
    {
        std::lock_guard lock(m_mutex);
        return samples.size();
    }

    // Filled by the worker; read them after waitFinished.
    std::vector<ProbeBox> boxes;
    std::optional<ProbeInfo> info;
    std::shared_ptr<const ProbeImages> read;
    std::vector<SurveyValues> samples;
    std::vector<std::pair<Operation, Outcome>> finished;
    std::vector<Result> results;
    std::vector<std::pair<int, int>> transfers; // (exchanges done, of all)
    std::vector<QString> portReasons;
    std::chrono::milliseconds boxDelay{0};

private:
    void add(const QString &e)
    {
        std::lock_guard lock(m_mutex);
        events.push_back(e);
    }
    std::mutex m_mutex;
    std::condition_variable m_cv;
    QStringList events;
};

// A link on a virtual clock: a silent read costs no real time, only its wait is recorded.
// Each written request is answered by `respond`; the answer is delivered `chunk` bytes per read.
class FakeLink : public Link {
public:
    std::function<QByteArray(const QByteArray &request)> respond;
    std::size_t chunk = 128;
    bool openable = true;
    bool writable = true; // false: every write fails, as a port whose adapter was pulled

    std::vector<QByteArray> writes;
    std::vector<int> silentWaits; // the wait of every read that found nothing
    int purges = 0;
    long long clockMs = 0;

    bool isOpen() const override { return m_open; }
    QString name() const override { return QStringLiteral("fake"); }
    QString writeError() const override { return writable ? QString() : QStringLiteral("设备已移除"); }
    // Bytes that arrive without a request (a stream, noise).
    void deliver(const QByteArray &bytes) { m_pending.append(bytes); }
    const QByteArray &pending() const { return m_pending; }

protected:
    bool doOpen() override { return m_open = openable; }
    void doClose() override { m_open = false; }
    void doPurge() override
    {
        ++purges;
        m_pending.clear();
    }
    bool doWrite(const QByteArray &bytes) override
    {
        if (!m_open || !writable)
            return false;
        writes.push_back(bytes);
        if (respond)
            m_pending.append(respond(bytes));
        return true;
    }
    std::size_t doRead(std::span<std::uint8_t> buffer, int waitMs) override
    {
        if (!m_open)
            return 0;
        if (m_pending.isEmpty()) {
            silentWaits.push_back(waitMs);
            clockMs += waitMs;
            return 0;
        }
        const auto n = std::min<std::size_t>({buffer.size(), chunk, static_cast<std::size_t>(m_pending.size())});
        std::memcpy(buffer.data(), m_pending.constData(), n);
        m_pending.remove(0, static_cast<qsizetype>(n));
        return n;
    }

private:
    bool m_open = false;
    QByteArray m_pending;
};

// The body of a request frame as the probe decodes it.
inline std::vector<std::uint8_t> requestBody(const QByteArray &frame)
{
    std::vector<std::uint8_t> body;
    FrameDecoder d;
    d.feed(std::span(reinterpret_cast<const std::uint8_t *>(frame.constData()), static_cast<std::size_t>(frame.size())),
           [&](std::span<const std::uint8_t> b) { body.assign(b.begin(), b.end()); });
    return body;
}

// A fake link answered by the virtual probe's model (no pty, no clock).
struct ModelLink : FakeLink {
    explicit ModelLink(sim::ProbeMemory memory, sim::ProtocolFaults faults = {}) : model(std::move(memory), faults)
    {
        respond = [this](const QByteArray &request) {
            const auto body = requestBody(request);
            return model.receive(body);
        };
        open();
    }
    sim::ProbeModel model;
};

} // namespace zolm::probe::testing
