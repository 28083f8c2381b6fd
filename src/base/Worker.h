// One long-lived thread for the jobs that wait on the network, rather than a thread per job:
// under Wine every ended thread leaves its stack mapped.
#pragma once

#include <chrono>
#include <functional>
#include <memory>

namespace lumivar {

// Jobs run one after another, in the order posted. A job that holds the thread past maxHold
// (each is bounded by its own time limits; this is the net under them) is left to finish on its
// own while a new thread takes the jobs after it, so one stuck check delays the others by
// maxHold at most. Safe from any thread.
class CWorker {
public:
    explicit CWorker(std::chrono::milliseconds maxHold = std::chrono::seconds(150));
    // Returns at once: jobs not begun are dropped, the one under way finishes on its own.
    ~CWorker();
    CWorker(const CWorker&) = delete;
    CWorker& operator=(const CWorker&) = delete;

    void Post(std::function<void()> job);
    int ThreadsStarted() const;

private:
    struct State;
    std::shared_ptr<State> m_state;
};

}  // namespace lumivar
