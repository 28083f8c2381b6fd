// The web page monitor with real threads and the real client against a local server: the GUI
// side changes the settings while fetches are out. Meant to run under ThreadSanitizer too.
#include <gtest/gtest.h>

#include <atomic>
#include <deque>
#include <future>
#include <thread>

#include "fake/FakeShell.h"
#include "net/HomepageMonitor.h"
#include "net/HttpClient.h"
#include "net/LocalServer.h"

namespace lumivar::test {
namespace {

using namespace std::chrono_literals;

// Each job on a thread of its own; the test's thread, as the GUI one, runs the completions.
class ThreadBackground : public IBackground {
public:
    void Run(std::function<void()> work, std::function<void()> done) override {
        m_jobs.push_back({std::async(std::launch::async, std::move(work)), std::move(done)});
    }
    void Pump() {
        for (; !m_jobs.empty(); m_jobs.pop_front()) {
            ASSERT_EQ(m_jobs.front().first.wait_for(10s), std::future_status::ready) << "no answer";
            m_jobs.front().second();  // may queue more work: a deque keeps the front where it is
        }
    }

private:
    std::deque<std::pair<std::future<void>, std::function<void()>>> m_jobs;
};

TEST(HomepageThreadTest, SettingsChangeWhileFetchesAreOutAndOnlyTheLatestCounts) {
    std::atomic<int> loads{0};
    LocalServer server([&](int c) {
        const std::string request = LocalServer::ReadRequest(c), line = request.substr(0, request.find('\n'));
        std::this_thread::sleep_for(20ms);  // long enough for the GUI side to act meanwhile
        LocalServer::Send(c, "HTTP/1.0 200 OK\r\n\r\n" + line + " #" + std::to_string(++loads));
    });
    const auto url = [&](const char* path) { return "http://127.0.0.1:" + std::to_string(server.Port()) + path; };
    fake::FakeShell shell;
    ThreadBackground background;
    Settings settings;
    const CTimer timer{shell.window, 3};
    HomepagePorts ports{timer, shell.system, shell.system, shell.system, shell.dialogs, background,
                        std::make_shared<CHttpClient>(SystemTcp(), std::make_shared<fake::FakeProxy>(), HttpLimits{2000, 4000})};
    settings.m_bHomepageWatch = 1, settings.m_nHomepageInterval = 5, settings.m_strHomepageAddress = url("/a");

    CHomepageMonitor monitor(ports, settings, {});
    monitor.CheckHomepage();
    HomepageSettings edited = monitor.Current();
    edited.strAddress = url("/b");
    edited.bProxy = 1;
    edited.strProxyUser = "u";
    monitor.ApplyHomepageSettings(edited);  // while the check of /a is out
    edited.strAddress = url("/c");
    monitor.ApplyHomepageSettings(edited);  // and again, while the baseline of /b is out
    monitor.CheckHomepage();                // refused: fetches are out
    background.Pump();
    EXPECT_TRUE(shell.dialogs.shown.empty());
    EXPECT_EQ(monitor.LastPage().rfind("GET /c HTTP/1.0 #", 0), 0u) << monitor.LastPage();
    EXPECT_TRUE(shell.window.Running(timer.Id()));

    monitor.CheckHomepage();  // the page counts its loads: it changed
    background.Pump();
    ASSERT_EQ(shell.dialogs.shown.size(), 1u);
    EXPECT_EQ(loads, 4);
}

}  // namespace
}  // namespace lumivar::test
