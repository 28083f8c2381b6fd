// The one worker thread of the network checks.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "base/Worker.h"

namespace lumivar {
namespace {

using namespace std::chrono_literals;

// Many jobs, one thread, in order; a job held past the bound hands the queue to a new thread,
// which runs the jobs after it while the stuck one is still out; a worker goes without waiting.
TEST(Worker, RunsJobsInOrderOnOneThreadUntilOneHoldsItTooLong) {
    std::mutex mutex;
    std::vector<int> order;
    std::set<std::thread::id> threads;
    // The promises a job sets live in the job too: its thread may still be in set_value when
    // the test has moved on.
    const auto stuckStarted = std::make_shared<std::promise<void>>(), lastDone = std::make_shared<std::promise<void>>();
    const auto gate = std::make_shared<std::promise<void>>();
    const std::shared_future<void> open = gate->get_future().share();
    const auto note = [&](int i) {
        std::lock_guard lock(mutex);
        order.push_back(i);
    };
    {
        CWorker worker(100ms);
        for (int i = 0; i < 20; ++i)
            worker.Post([&, i] {
                std::lock_guard lock(mutex);
                order.push_back(i), threads.insert(std::this_thread::get_id());
            });
        worker.Post([stuckStarted, open] { stuckStarted->set_value(), open.wait(); });
        stuckStarted->get_future().wait();
        worker.Post([&] { note(100); });  // within the bound: it waits behind the stuck one
        std::this_thread::sleep_for(200ms);
        EXPECT_EQ(worker.ThreadsStarted(), 1);
        worker.Post([&, lastDone] { note(101), lastDone->set_value(); });  // past it: a new thread takes over
        ASSERT_EQ(lastDone->get_future().wait_for(5s), std::future_status::ready);
        EXPECT_EQ(worker.ThreadsStarted(), 2);
    }  // gone while the stuck job is still out
    gate->set_value();
    std::this_thread::sleep_for(50ms);
    std::vector<int> expected(20);
    for (int i = 0; i < 20; ++i) expected[size_t(i)] = i;
    expected.insert(expected.end(), {100, 101});
    std::lock_guard lock(mutex);
    EXPECT_EQ(order, expected);
    EXPECT_EQ(threads.size(), 1u);
}

}  // namespace
}  // namespace lumivar
