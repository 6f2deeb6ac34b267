// A full 1818-point probe read through the worker and the real serial code, from the virtual
// probe on a pty: paced as a 115200-baud line, verified (two passes) and single, each compared
// with the time one pass's bytes need on the wire; and unpaced (the program's own cost).
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
    void operationFinished(const Request &, const probe::Result &r) override
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

void fullRead(benchmark::State &state, int lineRate, bool verify)
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
    // The yardstick is one pass: the bytes a single-pass read sends and receives, 10 bits each,
    // one after another on the line. A verified read's second pass is its cost over that.
    comm.startReadData(false);
    if (view.wait() != Outcome::Done) {
        state.SkipWithError("the read failed");
        return;
    }
    const double onePassWireSeconds = static_cast<double>(bytes.load()) * 10.0 / 115200.0;
    double wallSeconds = 0;
    for (auto _ : state) {
        bytes = 0;
        const auto started = std::chrono::steady_clock::now();
        comm.startReadData(verify);
        if (view.wait() != Outcome::Done) {
            state.SkipWithError("the read failed");
            return;
        }
        wallSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    }
    const double reads = static_cast<double>(state.iterations());
    state.counters["bytes"] = benchmark::Counter(static_cast<double>(bytes.load()));
    state.counters["one_pass_wire_s"] = benchmark::Counter(onePassWireSeconds);
    // At 115200 baud: the read's time over one pass's time on the line (at most 2.1 verified,
    // 1.05 single).
    state.counters["wall_over_one_pass_wire"] = benchmark::Counter(reads > 0 ? wallSeconds / reads / onePassWireSeconds : 0);
}

void BM_ProbeReadVerifiedPaced115200(benchmark::State &state) { fullRead(state, 115200, true); }
void BM_ProbeReadSinglePassPaced115200(benchmark::State &state) { fullRead(state, 115200, false); }
void BM_ProbeReadVerifiedUnpaced(benchmark::State &state) { fullRead(state, 0, true); }

} // namespace

BENCHMARK(BM_ProbeReadVerifiedPaced115200)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_ProbeReadSinglePassPaced115200)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_ProbeReadVerifiedUnpaced)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
