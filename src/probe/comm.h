#pragma once
// The one object through which a program talks to the probe: it owns the link, the worker
// thread and the two probe images, and takes requests from the starters.
//
// One request slot, not a queue: a starter called while an operation runs replaces the
// waiting request, and the worker runs the newest one once the current operation has ended.
// The replaced request ends as Superseded, so whoever waits for it is never left waiting.
// The link is opened, used, reopened after a port change and closed only by the worker, so a
// port change waits for the running operation and never closes the port under a read.
// Destruction asks the worker to stop; a waiting read ends within a slice of its wait, and the
// operation ends silently between two reads.
#include "probe/link.h"
#include "probe/view.h"

#include <QString>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <initializer_list>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

class QThread;

namespace zolm::probe {

class ProbeComm {
public:
    using LinkFactory = std::function<std::unique_ptr<Link>(const QString &portName)>;
    // Serial ports and ptys through QSerialPort.
    static LinkFactory serialLinks();

    ProbeComm(ProbeView &view, QString portName, LinkFactory makeLink = serialLinks());
    ~ProbeComm();
    ProbeComm(const ProbeComm &) = delete;
    ProbeComm &operator=(const ProbeComm &) = delete;

    // The starters: each shows the progress window with its caption and returns at once with
    // the id its request ends with in ProbeView::operationFinished.
    RequestId startLinkTest();
    RequestId startRealTime();
    RequestId stopRealTime();
    RequestId startHistoryCheck();
    RequestId startWriteSettings(std::int32_t delaySeconds, std::int32_t intervalSeconds);
    RequestId startReadInfo();
    // verify: read the memory a second time and compare (the stored VerifyRead).
    RequestId startReadData(bool verify = true);

    // Takes the name and reopens the port, on the worker, after any running operation.
    void changePort(const QString &portName);
    QString portName() const;

    bool realTimeOn() const;

private:
    // The worker's state. Real time is switched by the starters; the worker tells a flowing
    // stream (read without pause) from a silent one; shutdown is final.
    enum class State { Idle, RealTime, Streaming, Quitting };

    // Shows the progress window with the operation's caption and hands the request over.
    RequestId start(Operation operation, std::optional<SettingsToWrite> settings = {}, bool verify = true);
    // Moves the state from `from` (any of them) to `to`, never out of Quitting.
    void switchState(std::initializer_list<State> from, State to);
    void workerLoop();
    bool somethingToDo() const;

    ProbeView &m_view;
    LinkFactory m_makeLink;

    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::optional<Request> m_request;       // guarded by m_mutex
    std::optional<QString> m_portToOpen;    // guarded by m_mutex
    QString m_portName;                     // guarded by m_mutex
    RequestId m_lastId = 0;                 // guarded by m_mutex
    std::atomic<State> m_state{State::Idle};

    std::unique_ptr<QThread> m_thread;
};

} // namespace zolm::probe
