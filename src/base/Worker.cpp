#include "base/Worker.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace lumivar {

using Clock = std::chrono::steady_clock;

struct CWorker::State {
    std::mutex mutex;
    std::condition_variable wake;
    std::deque<std::function<void()>> jobs;
    std::chrono::milliseconds maxHold{};
    int current = 0;        // the thread that takes jobs; an older one only finishes its own
    int started = 0;
    bool running = false;   // the current thread is in a job, since busySince
    bool stopping = false;
    Clock::time_point busySince;

    // Under the lock.
    void StartThread(const std::shared_ptr<State>& self) {
        const int id = current = ++started;
        running = false;
        std::thread([self, id] { self->Loop(id); }).detach();
    }

    void Loop(int id) {
        std::unique_lock lock(mutex);
        for (;;) {
            wake.wait(lock, [&] { return stopping || id != current || !jobs.empty(); });
            if (stopping || id != current) return;
            std::function<void()> job = std::move(jobs.front());
            jobs.pop_front();
            running = true, busySince = Clock::now();
            lock.unlock();
            job();
            job = nullptr;  // what it captured goes before the next one starts
            lock.lock();
            if (id != current) return;  // it held on too long: another thread has the queue
            running = false;
        }
    }
};

CWorker::CWorker(std::chrono::milliseconds maxHold) : m_state(std::make_shared<State>()) { m_state->maxHold = maxHold; }

CWorker::~CWorker() {
    std::lock_guard lock(m_state->mutex);
    m_state->stopping = true;
    m_state->jobs.clear();
    m_state->wake.notify_all();
}

void CWorker::Post(std::function<void()> job) {
    std::lock_guard lock(m_state->mutex);
    m_state->jobs.push_back(std::move(job));
    const bool stuck = m_state->running && Clock::now() - m_state->busySince > m_state->maxHold;
    if (m_state->started == 0 || stuck) m_state->StartThread(m_state);
    m_state->wake.notify_all();
}

int CWorker::ThreadsStarted() const {
    std::lock_guard lock(m_state->mutex);
    return m_state->started;
}

}  // namespace lumivar
