// The worker: requests through the starters, the newest one winning, real time between
// requests, port changes and shutdown; against the virtual probe over a real pty, and against
// fake links where the order of events must be forced.
#include "probe/comm.h"
#include "probe/operations.h"
#include "probe/texts.h"
#include "probe/ui_wait.h"
#include "probe_test_support.h"
#include "in_process_link.h"
#include "sim_link.h"
#include "virtual_probe.h"
#include "default_sim_run.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <cmath>
#include <future>

using namespace zolm;
using namespace zolm::probe;
using namespace zolm::probe::testing;

namespace {

// The virtual probe the worker talks to: over its pty and the real serial link where the
// system has ptys, in-process behind the link interface on Windows (as SIM is there).
class TestProbe {
public:
    explicit TestProbe(sim::VirtualProbeOptions options) : m_options(std::move(options))
    {
#ifndef _WIN32
        m_pty = std::make_unique<sim::VirtualProbe>(m_options);
        QString error;
        EXPECT_TRUE(m_pty->start(&error)) << error.toStdString();
#endif
    }
#ifdef _WIN32
    QString port() const { return QStringLiteral("SIM"); }
    ProbeComm::LinkFactory links()
    {
        return [this](const QString &name) -> std::unique_ptr<Link> {
            auto link = std::make_unique<sim::InProcessSimLink>(name, m_options);
            m_link = link.get();
            return link;
        };
    }
    int requestCount() const { return m_link ? m_link->requestCount() : 0; }
#else
    QString port() const { return m_pty->devicePath(); }
    ProbeComm::LinkFactory links() { return ProbeComm::serialLinks(); }
    int requestCount() const { return m_pty->requestCount(); }
#endif

private:
    sim::VirtualProbeOptions m_options;
#ifdef _WIN32
    sim::InProcessSimLink *m_link = nullptr; // owned by the worker
#else
    std::unique_ptr<sim::VirtualProbe> m_pty;
#endif
};

sim::VirtualProbeOptions withPoints(int n)
{
    sim::VirtualProbeOptions o;
    o.points = n;
    return o;
}

TEST(CommWorkerPty, ReadsASurveyThenStreamsAndStopsRealTime)
{
    TestProbe probe(withPoints(28));
    RecordingView view;
    ProbeComm comm(view, probe.port(), probe.links());

    comm.startReadData();
    ASSERT_EQ(view.waitFinished(1), std::make_pair(Operation::ReadData, Outcome::Done));
    ASSERT_TRUE(view.read);
    const auto expected = sim::readAsThePcWould(sim::syntheticMemory(28));
    ASSERT_TRUE(expected);
    EXPECT_EQ(view.read->data.bytes, expected->data.bytes);
    EXPECT_EQ(view.read->parameters.bytes, expected->parameters.bytes);

    comm.startRealTime();
    ASSERT_EQ(view.waitFinished(2), std::make_pair(Operation::StartRealTime, Outcome::Done));
    EXPECT_TRUE(comm.realTimeOn());
    // Sample frames are longer than the 10-byte reads: each is assembled, converted once.
    ASSERT_TRUE(view.waitSamples(5));
    // Another request in the middle of the stream: the purge and the probe's answer to P
    // make the sample frames harmless to it.
    comm.startReadInfo();
    ASSERT_EQ(view.waitFinished(3), std::make_pair(Operation::ReadInfo, Outcome::Done));
    ASSERT_TRUE(view.info);
    EXPECT_EQ(view.info->storedCount(), 28);
    comm.stopRealTime();
    ASSERT_EQ(view.waitFinished(4), std::make_pair(Operation::StopRealTime, Outcome::Done));
    EXPECT_FALSE(comm.realTimeOn());
    const std::size_t afterStop = view.sampleCount();
    std::this_thread::sleep_for(std::chrono::milliseconds(150)); // three sample periods
    EXPECT_EQ(view.sampleCount(), afterStop);
    for (const SurveyValues &v : view.samples) {
        EXPECT_TRUE(std::isfinite(v[Inclination]));
        EXPECT_NEAR(v[TotalGravity], 1.0, 0.05);
    }
    EXPECT_TRUE(view.boxList().size() == 1 && view.boxList()[0].text == text::dataRead());
}

TEST(CommWorkerPty, SplitAndNoisyAnswersAreAssembled)
{
    auto options = withPoints(28);
    options.split = true;
    options.noise = true;
    TestProbe probe(options);
    RecordingView view;
    ProbeComm comm(view, probe.port(), probe.links());
    comm.startReadInfo();
    ASSERT_EQ(view.waitFinished(1), std::make_pair(Operation::ReadInfo, Outcome::Done));
    ASSERT_TRUE(view.info);
    EXPECT_EQ(view.info->storedCount(), 28);
    EXPECT_EQ(view.info->battery, sim::DefaultBatteryReading);
}

TEST(CommWorkerPty, SurveysOf1818And1819AndNoPoints)
{
    struct Case {
        int count;
        Outcome outcome;
    };
    for (const Case c : {Case{1818, Outcome::Done}, Case{1819, Outcome::Failed}, Case{0, Outcome::Failed}}) {
        SCOPED_TRACE(c.count);
        sim::VirtualProbeOptions options;
        options.memory = sim::syntheticMemory(std::min(c.count, MaxSurveyPoints));
        options.memory->data.setStoredCount(static_cast<std::uint16_t>(c.count));
        TestProbe probe(options);
        RecordingView view;
        ProbeComm comm(view, probe.port(), probe.links());
        comm.startReadData();
        ASSERT_EQ(view.waitFinished(1), std::make_pair(Operation::ReadData, c.outcome));
        if (c.outcome == Outcome::Done) {
            ASSERT_TRUE(view.read);
            EXPECT_EQ(view.read->data.storedCount(), 1818);
            EXPECT_TRUE(std::equal(options.memory->data.bytes.begin(), options.memory->data.bytes.begin() + 32732,
                                   view.read->data.bytes.begin()));
        } else {
            EXPECT_FALSE(view.read);
            ASSERT_EQ(view.boxList().size(), 1u);
            EXPECT_EQ(view.boxList()[0].text, text::noStoredData());
            EXPECT_EQ(probe.requestCount(), 2); // P and X, nothing more
        }
    }
}

// Noise on the wire itself, both ways: a garbled request may leave the probe silent (a
// time-out, not retried), a garbled marker may break an answer. Each read ends with the clean
// bytes or fails having handed nothing over; never with a wrong survey.
TEST(CommWorkerPty, NoiseOnTheWireNeverPassesAWrongSurvey)
{
    const auto clean = sim::readAsThePcWould(sim::syntheticMemory(300));
    ASSERT_TRUE(clean);
    for (const std::uint64_t seed : {1, 2, 3, 4, 5}) {
        SCOPED_TRACE(seed);
        auto options = withPoints(300);
        options.wireFlipRate = {1e-5, seed};
        TestProbe probe(options);
        RecordingView view;
        ProbeComm comm(view, probe.port(), probe.links());
        comm.startReadData();
        const auto end = view.waitFinished(1);
        ASSERT_TRUE(end);
        const probe::Result r = view.results.at(0);
        if (end->second == Outcome::Done) {
            ASSERT_TRUE(view.read);
            EXPECT_EQ(view.read->data.bytes, clean->data.bytes);
            EXPECT_EQ(view.read->parameters.bytes, clean->parameters.bytes);
        } else {
            EXPECT_FALSE(view.read);
            EXPECT_TRUE(r.code == ErrorCode::ProbeTimeout || r.code == ErrorCode::ProbeData
                        || r.code == ErrorCode::ProbeUnverified)
                << static_cast<int>(r.code);
        }
    }
}

TEST(CommWorkerPty, ShutdownStopsASilentExchangeWithoutABox)
{
    auto options = withPoints(28);
    options.protocolFaults.silentAfter = 0;
    TestProbe probe(options);
    RecordingView view;
    QElapsedTimer t;
    {
        ProbeComm comm(view, probe.port(), probe.links());
        comm.startLinkTest(); // would take 6 s to time out
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        t.start();
    }
    // Stopped within a slice of the read wait, not after the wait or the three of the exchange.
    EXPECT_LT(t.elapsed(), 1000);
    ASSERT_EQ(view.waitFinished(1, std::chrono::milliseconds(0)), std::make_pair(Operation::LinkTest, Outcome::Cancelled));
    EXPECT_TRUE(view.boxList().empty());
}

// Fake links whose first request can be held until the test lets it go.
struct Gate {
    std::promise<void> entered;
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    bool used = false;
};

struct LinkLog {
    std::mutex mutex;
    QStringList events;
    void add(const QString &e)
    {
        std::lock_guard lock(mutex);
        events.push_back(e);
    }
};

class LoggedModelLink : public ModelLink {
public:
    LoggedModelLink(QString name, LinkLog &log, Gate *gate)
        : ModelLink(sim::syntheticMemory(28)), m_name(std::move(name)), m_log(log), m_gate(gate)
    {
        auto answer = respond;
        respond = [this, answer](const QByteArray &request) {
            m_log.add(m_name + QStringLiteral(" request ") + QChar::fromLatin1(request.at(1)));
            if (m_gate && !m_gate->used) {
                m_gate->used = true;
                m_gate->entered.set_value();
                m_gate->released.wait();
            }
            return answer(request);
        };
    }
    ~LoggedModelLink() override { m_log.add(m_name + QStringLiteral(" gone")); }
    QString name() const override { return m_name; }

private:
    QString m_name;
    LinkLog &m_log;
    Gate *m_gate;
};

TEST(CommWorkerRequests, NewestRequestWinsAndRunsOnceAfterTheCurrentOne)
{
    LinkLog log;
    Gate gate;
    RecordingView view;
    ProbeComm comm(view, QStringLiteral("A"), [&](const QString &name) {
        return std::make_unique<LoggedModelLink>(name, log, &gate);
    });
    comm.startLinkTest();
    gate.entered.get_future().wait(); // the link test is inside its first exchange
    comm.startReadInfo();
    comm.startReadData(); // replaces the information request, which ends at once, unrun
    ASSERT_EQ(view.finishedList().size(), 1u);
    EXPECT_EQ(view.finishedList()[0], std::make_pair(Operation::ReadInfo, Outcome::Superseded));
    gate.release.set_value();

    ASSERT_TRUE(view.waitFinished(3));
    std::this_thread::sleep_for(std::chrono::milliseconds(150)); // nothing else may follow
    const auto finished = view.finishedList();
    ASSERT_EQ(finished.size(), 3u);
    EXPECT_EQ(finished[1].first, Operation::LinkTest);
    EXPECT_EQ(finished[2], std::make_pair(Operation::ReadData, Outcome::Done));
    // The newest caption was shown at once, while the link test still ran.
    const QStringList ev = view.eventList();
    EXPECT_LT(ev.indexOf(QStringLiteral("show 读取探管数据")), ev.indexOf(QStringLiteral("box ") + text::linkTestPassed()));
}

TEST(CommWorkerRequests, PortChangeWaitsForTheRunningOperation)
{
    LinkLog log;
    Gate gate;
    RecordingView view;
    ProbeComm comm(view, QStringLiteral("A"), [&](const QString &name) {
        return std::make_unique<LoggedModelLink>(name, log, name == QStringLiteral("A") ? &gate : nullptr);
    });
    comm.startLinkTest();
    gate.entered.get_future().wait();
    comm.changePort(QStringLiteral("B"));
    EXPECT_EQ(comm.portName(), QStringLiteral("B"));
    comm.startHistoryCheck();
    gate.release.set_value();
    ASSERT_TRUE(view.waitFinished(2));

    std::lock_guard lock(log.mutex);
    // A's link test finishes on A; only then is A let go and B opened for the next request.
    EXPECT_EQ(log.events, (QStringList{QStringLiteral("A request P"), QStringLiteral("A request I"),
                                       QStringLiteral("A gone"), QStringLiteral("B request P"),
                                       QStringLiteral("B request X")}));
}

TEST(CommWorkerRequests, AfterAFailedStartADeadPortIsPolledNotSpun)
{
    // A port that answers nothing and returns from every read at once.
    struct DeadLink : FakeLink {
        std::atomic<int> *reads;
        std::size_t doRead(std::span<std::uint8_t>, int) override
        {
            ++*reads;
            return 0;
        }
    };
    std::atomic<int> reads{0};
    RecordingView view;
    ProbeComm comm(view, QStringLiteral("dead"), [&](const QString &) {
        auto l = std::make_unique<DeadLink>();
        l->reads = &reads;
        return l;
    });
    comm.startRealTime();
    ASSERT_EQ(view.waitFinished(1), std::make_pair(Operation::StartRealTime, Outcome::Failed));
    EXPECT_TRUE(comm.realTimeOn()); // a failed start leaves real time on until the next stop
    const int before = reads.load();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    // About one read per 50 ms idle poll, not a busy loop.
    EXPECT_LT(reads.load() - before, 30);
    EXPECT_GT(reads.load() - before, 0);
}

// A view whose boxes stay open until a "user thread" closes them, as the desktop's do.
struct BlockingBoxView : RecordingView {
    UiWait wait;
    std::mutex mutex;
    std::vector<std::function<void()>> open; // the boxes' close buttons
    void showBox(const ProbeBox &box) override
    {
        RecordingView::showBox(box);
        wait.run([this](std::function<void()> closed) {
            std::lock_guard lock(mutex);
            open.push_back(std::move(closed));
        });
    }
    void abandonWaits() override { wait.abandon(); }
    std::size_t openBoxes()
    {
        std::lock_guard lock(mutex);
        return open.size();
    }
};

TEST(CommWorkerRequests, BoxesBlockTheWorkerUntilClosedAndShutdownLetsThemGo)
{
    BlockingBoxView view;
    auto comm = std::make_unique<ProbeComm>(view, QStringLiteral("A"), [](const QString &) {
        return std::make_unique<ModelLink>(sim::syntheticMemory(28));
    });
    comm->startLinkTest();
    while (view.openBoxes() == 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    comm->startHistoryCheck();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_TRUE(view.finishedList().empty()); // the worker waits on the open box
    {
        std::lock_guard lock(view.mutex);
        view.open.front()();
    }
    ASSERT_TRUE(view.waitFinished(2));
    EXPECT_EQ(view.finishedList()[1].first, Operation::HistoryCheck);

    // A box still open at shutdown does not hold the destruction, and the request waiting
    // behind it ends too, so nobody waits for it forever.
    comm->startLinkTest();
    while (view.openBoxes() < 2)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    comm->startReadInfo();
    comm.reset();
    const auto finished = view.finishedList();
    EXPECT_NE(std::find(finished.begin(), finished.end(), std::make_pair(Operation::ReadInfo, Outcome::Cancelled)),
              finished.end());
    std::lock_guard lock(view.mutex);
    view.open.back()(); // a late close after the worker has gone is harmless
}

// The port changes at run time between the built-in virtual probe and a device that is not
// there: the virtual probe comes and goes with its link, and the missing device's reason
// reaches the view and the operation's text.
TEST(CommWorkerPorts, SwitchesToTheVirtualProbeAndBackAndTellsWhyAPortDidNotOpen)
{
    RecordingView view;
    ProbeComm comm(view, QStringLiteral("SIM"), sim::simLinks());
    comm.startLinkTest();
    ASSERT_EQ(view.waitFinished(1), std::make_pair(Operation::LinkTest, Outcome::Done));

    const QString missing = QStringLiteral("/dev/zolm-no-such-port");
    comm.changePort(missing);
    comm.startReadInfo();
    ASSERT_EQ(view.waitFinished(2), std::make_pair(Operation::ReadInfo, Outcome::Failed));
    const probe::Result failed = view.results[1];
    EXPECT_EQ(failed.code, ErrorCode::ProbePort);
    EXPECT_EQ(failed.step.number, 1);
    EXPECT_EQ(view.boxList().back().text, text::timeoutStep(1) + QLatin1Char('\n')
                                              + text::portNotOpened(missing, failed.portReason));
    EXPECT_TRUE(failed.portReason.startsWith(QStringLiteral("设备不存在"))) << failed.portReason.toStdString();
    ASSERT_EQ(view.portReasons.size(), 2u);
    EXPECT_TRUE(view.portReasons[0].isEmpty());
    EXPECT_EQ(view.portReasons[1], failed.portReason);

    // A virtual probe whose document cannot be opened says so as its port's reason.
    comm.changePort(QStringLiteral("SIM:/zolm-no-such-survey.ZLM"));
    comm.startLinkTest();
    ASSERT_EQ(view.waitFinished(3), std::make_pair(Operation::LinkTest, Outcome::Failed));
    EXPECT_TRUE(view.results[2].portReason.contains(QStringLiteral("/zolm-no-such-survey.ZLM")));

    comm.changePort(QStringLiteral("SIM"));
    comm.startReadInfo();
    ASSERT_EQ(view.waitFinished(4), std::make_pair(Operation::ReadInfo, Outcome::Done));
    EXPECT_EQ(view.info->storedCount(), zolm::testing::defaultSimRunShots());
}

} // namespace
