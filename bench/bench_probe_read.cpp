// A full 1818-point probe read through the worker and the real serial code, from the virtual
// probe on a pty: paced as a 115200-baud line (compared with the time its bytes need on the
// wire), and unpaced (the program's own cost per exchange).
#include "probe/comm.h"
#include "probe/operations.h"
#include "probe/serial_link.h"
#include "virtual_probe.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <condition_variable>
#include <mutex>

using namespace zolm;
using namespace zolm::probe;

namespace {

// Counts the bytes that pass in both directions.
class CountingLink final : public Link {
public:
    CountingLink(std::unique_ptr<Link> inner, std::atomic<long long> &bytes) : m_inner(std::move(inner)), m_bytes(bytes) {}
    bool isOpen() const override { return m_inner->isOpen(); }
    QString name() const override { return m_inner->name(); }

protected:
    bool doOpen() override { return m_inner->open(); }
    void doClose() override { m_inner->close(); }
    void doPurge() override { m_inner->purge(); }
    bool doWrite(const QByteArray &b) override
    {
        m_bytes += b.size();
        return m_inner->write(b);
    }
    std::size_t doRead(std::span<std::uint8_t> buffer, int waitMs) override
    {
        const std::size_t n = m_inner->read(buffer, waitMs);
        m_bytes += static_cast<long long>(n);
        return n;
    }

private:
    std::unique_ptr<Link> m_inner;
    std::atomic<long long> &m_bytes;
};

// Waits for the end of each operation; shows nothing.
class QuietView final : public ProbeView {
public:
    void showProgress(const QString &) override {}
    void setCaption(const QString &) override {}
    void setProgress(Bar, int, int) override {}
    void hideProgress() override {}
    void showBox(const ProbeBox &) override {}
    void showProbeInfo(const ProbeInfo &) override {}
    void dataRead(std::shared_ptr<const ProbeImages> images) override { read = images != nullptr; }
    void realTimeSample(const RawSample &, const SurveyValues &) override {}
    void realTimeStarted() override {}
    void realTimeFailed() override {}
    void historyResult(int) override {}
    void operationFinished(const Request &, const Result &r) override
    {
        {
            std::lock_guard lock(mutex);
            outcome = r.outcome;
            done = true;
        }
        cv.notify_all();
    }
    Outcome wait()
    {
        std::unique_lock lock(mutex);
        cv.wait(lock, [&] { return done; });
        done = false;
        return outcome;
    }

    std::mutex mutex;
    std::condition_variable cv;
    bool done = false;
    Outcome outcome = Outcome::Failed;
    bool read = false;
};

void fullRead(benchmark::State &state, int lineRate)
{
    sim::VirtualProbeOptions options;
    options.points = MaxSurveyPoints;
    options.lineRate = lineRate;
    sim::VirtualProbe probe(options);
    QString error;
    if (!probe.start(&error)) {
        state.SkipWithError(error.toStdString().c_str());
        return;
    }
    QuietView view;
    std::atomic<long long> bytes{0};
    ProbeComm comm(view, probe.devicePath(), [&](const QString &name) {
        return std::make_unique<CountingLink>(std::make_unique<SerialLink>(name), bytes);
    });
    double wireSeconds = 0;
    double wallSeconds = 0;
    for (auto _ : state) {
        bytes = 0;
        const auto started = std::chrono::steady_clock::now();
        comm.startReadData();
        if (view.wait() != Outcome::Done) {
            state.SkipWithError("the read failed");
            return;
        }
        wallSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        // The bytes that went both ways, 10 bits each, one after another on the line.
        wireSeconds += static_cast<double>(bytes.load()) * 10.0 / 115200.0;
    }
    state.counters["bytes"] = benchmark::Counter(static_cast<double>(bytes.load()));
    state.counters["wire_s"] = benchmark::Counter(wireSeconds, benchmark::Counter::kAvgIterations);
    // At 115200 baud this is the read's cost over the line's own limit.
    state.counters["wall_over_wire"] = benchmark::Counter(wireSeconds > 0 ? wallSeconds / wireSeconds : 0);
}

void BM_ProbeReadPaced115200(benchmark::State &state) { fullRead(state, 115200); }
void BM_ProbeReadUnpaced(benchmark::State &state) { fullRead(state, 0); }

} // namespace

BENCHMARK(BM_ProbeReadPaced115200)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_ProbeReadUnpaced)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
