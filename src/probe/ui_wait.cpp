#include "probe/ui_wait.h"

#include <condition_variable>
#include <mutex>

namespace zolm::probe {

struct UiWait::State {
    std::mutex mutex;
    std::condition_variable cv;
    unsigned long long closedUpTo = 0; // jobs 1..closedUpTo are closed
    unsigned long long lastJob = 0;
    bool abandoned = false;
};

UiWait::UiWait() : m_state(std::make_shared<State>()) {}

UiWait::~UiWait()
{
    abandon();
}

bool UiWait::run(const std::function<void(std::function<void()> closed)> &post)
{
    unsigned long long job = 0;
    {
        std::lock_guard lock(m_state->mutex);
        if (m_state->abandoned)
            return false;
        job = ++m_state->lastJob;
    }
    // The UI may close the job after this object is gone: the closure holds no strong reference.
    std::weak_ptr<State> weak = m_state;
    post([weak, job] {
        if (const auto s = weak.lock()) {
            {
                std::lock_guard lock(s->mutex);
                if (job > s->closedUpTo)
                    s->closedUpTo = job;
            }
            s->cv.notify_all();
        }
    });
    std::unique_lock lock(m_state->mutex);
    m_state->cv.wait(lock, [&] { return m_state->abandoned || m_state->closedUpTo >= job; });
    return m_state->closedUpTo >= job;
}

void UiWait::abandon()
{
    {
        std::lock_guard lock(m_state->mutex);
        m_state->abandoned = true;
    }
    m_state->cv.notify_all();
}

} // namespace zolm::probe
