#pragma once
// How the worker "shows" a box or a dialog on a user interface that draws windows on its own
// thread only: the worker hands the job to that thread and waits until the job says it is
// closed. At shutdown abandon() lets every waiting (and later) worker go at once, so the
// thread that destroys the worker never waits on a window it would have to close itself.
#include <functional>
#include <memory>

namespace zolm::probe {

class UiWait {
public:
    UiWait();
    ~UiWait();
    UiWait(const UiWait &) = delete;
    UiWait &operator=(const UiWait &) = delete;

    // Worker thread: calls post(closed) and waits until closed() has been called (from any
    // thread, at any time, even after this object is gone) or abandon().
    // Returns false when it was abandoned.
    bool run(const std::function<void(std::function<void()> closed)> &post);

    // Any thread; for good.
    void abandon();

private:
    struct State;
    std::shared_ptr<State> m_state;
};

} // namespace zolm::probe
