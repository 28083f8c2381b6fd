// The web page monitor with real threads and the real client against a local server: the GUI
// side changes the settings while fetches are out. Meant to run under ThreadSanitizer too.
#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include "fake/FakeShell.h"
#include "net/HomepageMonitor.h"
#include "net/HttpClient.h"
#include "net/LocalServer.h"

namespace lumivar::test {
namespace {

using namespace std::chrono_literals;

// Work on a thread of its own; done queued for the test's thread, which plays the GUI thread.
class ThreadBackground : public IBackground {
public:
    ~ThreadBackground() override {
        for (std::thread& t : m_threads) t.join();
    }
    void Run(std::function<void()> work, std::function<void()> done) override {
        m_threads.emplace_back([this, work = std::move(work), done = std::move(done)] {
            work();
            std::lock_guard lock(m_mutex);
            m_done.push_back(done);
            m_ready.notify_one();
        });
        ++m_out;
    }
    // Runs completions as they come until none is out, or one was run when once is set.
    void Pump(bool once = false) {
        while (m_out > 0) {
            std::function<void()> done;
            {
                std::unique_lock lock(m_mutex);
                if (!m_ready.wait_for(lock, 10s, [this] { return !m_done.empty(); })) FAIL() << "no answer";
                done = std::move(m_done.front());
                m_done.pop_front();
            }
            --m_out;
            done();
            if (once) return;
        }
    }
    int Out() const { return m_out; }

private:
    std::mutex m_mutex;
    std::condition_variable m_ready;
    std::deque<std::function<void()>> m_done;
    std::vector<std::thread> m_threads;
    int m_out = 0;
};

class HomepageThreadTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_bHomepageWatch = 1;
        g_nHomepageInterval = 5;
        g_strHomepageAddress = Url("/a");
    }
    std::string Url(const std::string& path) { return "http://127.0.0.1:" + std::to_string(server.Port()) + path; }

    std::atomic<int> loads{0};
    LocalServer server{[this](int c) {
        const std::string line = LocalServer::ReadLine(c);
        while (!LocalServer::ReadLine(c).empty()) {}
        std::this_thread::sleep_for(20ms);  // long enough for the GUI side to act meanwhile
        LocalServer::Send(c, "HTTP/1.0 200 OK\r\n\r\n" + line + " #" + std::to_string(++loads));
    }};
    fake::FakeShell shell;
    ThreadBackground background;
    Settings settings;
    Ports ports{shell.window, shell.tray,       shell.system, shell.files,
                shell.dialogs, shell.picture, background,   shell.icmp,
                std::make_shared<CHttpClient>(HttpLimits{2000, 4000}, [] { return ProxyConfig{}; })};
};

TEST_F(HomepageThreadTest, SettingsChangeWhileFetchesAreOutAndOnlyTheLatestCounts) {
    CHomepageMonitor monitor(ports, settings, {});
    monitor.CheckHomepage();
    HomepageSettings edited = monitor.Current();
    edited.strAddress = Url("/b");
    edited.bProxy = 1;
    edited.strProxyUser = "u";
    monitor.ApplyHomepageSettings(edited);  // while the check of /a is out
    edited.strAddress = Url("/c");
    monitor.ApplyHomepageSettings(edited);  // and again, while the baseline of /b is out
    monitor.CheckHomepage();                // refused: fetches are out
    background.Pump();
    EXPECT_TRUE(shell.dialogs.shown.empty());
    EXPECT_EQ(monitor.LastPage().rfind("GET /c HTTP/1.0 #", 0), 0u) << monitor.LastPage();
    EXPECT_TRUE(shell.window.Running(CHomepageMonitor::kTimerId));

    monitor.CheckHomepage();  // the page counts its loads: it changed
    background.Pump();
    ASSERT_EQ(shell.dialogs.shown.size(), 1u);
    EXPECT_EQ(loads, 4);
}

TEST_F(HomepageThreadTest, AFetchOutlivesItsMonitorTouchingNothingOfIt) {
    {
        CHomepageMonitor monitor(ports, settings, {});
        monitor.CheckHomepage();
    }  // gone, as at exit; the work still runs on its copies
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(background.Out(), 1);
}

}  // namespace
}  // namespace lumivar::test
