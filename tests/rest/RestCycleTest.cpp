// The cycle alone, on virtual time: its phases, what it asks for, and when the next rest falls due.
#include "rest/RestCycle.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lumivar {
namespace {

using Phase = CRestCycle::Phase;
using Log = std::vector<std::string>;
constexpr uint32_t kWork = 300000;  // five minutes

struct View : IRestCycleView {
    void ArmCycleTimer(uint32_t ms) override { timer = ms, log.push_back("timer " + std::to_string(ms)); }
    void ShowRestScreen() override { log.push_back("show"); }
    void ShowCountdown() override { log.push_back("tick"); }
    void HideScreen(bool quiet) override { log.push_back(quiet ? "hide quietly" : "hide"); }
    void CutRestShort() override { log.push_back("cut"); }
    void KeepLock() override { log.push_back("keep lock"); }
    void PlaySound(Sound s) override { log.push_back(s == Sound::Break ? "break.wav" : "work.wav"); }
    void BackAtWork() override { log.push_back("back"); }
    void StateChanged() override {}
    void ArmIdleTimer(uint32_t) override {}
    void ArmWarnTimer(uint32_t) override {}
    uint32_t IdleMs() override { return 0; }
    bool FullScreenInFront() override { return false; }
    void WarnRestComing(int seconds) override { log.push_back("warn " + std::to_string(seconds)); }
    Log Take() { return std::exchange(log, {}); }
    Log log;
    uint32_t timer = 0;  // the period last armed; 0: stopped
};

// The silent start, a rest of two seconds and the return, as the timer delivers them; the
// tick count wraps on the way.
TEST(RestCycle, ADayOfWorkAndRest) {
    View view;
    CRestCycle cycle(view);
    cycle.SetPeriods(kWork, 2);
    uint32_t now = 0xFFFFFF00u;
    const auto fire = [&] { now += view.timer, cycle.OnTick(now); };
    cycle.Start(now);
    EXPECT_EQ(cycle.GetPhase(), Phase::Starting);
    fire();
    EXPECT_EQ(view.Take(), (Log{"timer 10", "timer 300000", "hide quietly"}));
    EXPECT_EQ(cycle.NextRestIn(now + 60000), kWork - 60000);
    EXPECT_EQ(cycle.NextRestIn(now + kWork + 5), 0u) << "overdue is due now";
    fire();
    EXPECT_EQ(cycle.GetPhase(), Phase::Resting);
    EXPECT_FALSE(cycle.NextRestIn(now));
    fire(), fire();
    EXPECT_EQ(view.Take(), (Log{"show", "tick", "break.wav", "timer 1000", "tick", "timer 300000", "hide", "work.wav",
                                "back"}));
    EXPECT_EQ(cycle.NextRestIn(now), kWork);
}

// Each row: what happens at the start, at work or in a rest, then what the cycle says and asks for.
TEST(RestCycle, EventsFromEachPhase) {
    using Act = void (*)(CRestCycle&);  // at tick 0
    const struct { const char* name; int ticks; Act act; Phase phase; bool nextRest; Log log; } rows[] = {
        {"eye care off at work", 1, [](CRestCycle& c) { c.ToggleEyeCare(0); }, Phase::Working, false, {"timer 0"}},
        {"eye care off in a rest ends it without a word", 2, [](CRestCycle& c) { c.ToggleEyeCare(0); }, Phase::Working,
         false, {"timer 0", "hide quietly", "timer 0"}},
        {"eye care off and on restarts the period", 1, [](CRestCycle& c) { c.ToggleEyeCare(0), c.ToggleEyeCare(1000); },
         Phase::Working, true, {"timer 0", "timer 300000"}},
        {"a lock cuts the rest short", 2, [](CRestCycle& c) { c.Lock(); }, Phase::Locked, false, {"timer 0", "cut"}},
        {"locked: no way back but the unlock", 1,
         [](CRestCycle& c) { c.Lock(), c.BackToWork(0), c.StartRest(), c.SettingsApplied(0), c.OnTick(0); },
         Phase::Locked, false, {"keep lock", "timer 1000"}},
        {"the unlock returns to work with a sound", 2, [](CRestCycle& c) { c.Lock(), c.Unlock(0); }, Phase::Working,
         true, {"timer 0", "cut", "timer 300000", "hide", "work.wav", "back"}},
        {"eye care off while locked counts when unlocked", 1,
         [](CRestCycle& c) { c.Lock(), c.ToggleEyeCare(0), c.Unlock(0); }, Phase::Working, false,
         {"timer 0", "hide", "work.wav", "back"}},
        {"new settings at start make the return audible", 0, [](CRestCycle& c) { c.SettingsApplied(0); },
         Phase::Working, true, {"timer 300000", "hide", "work.wav", "back"}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        View v;
        CRestCycle c(v);
        c.SetPeriods(kWork, 3);
        c.Start(0);
        for (int i = 0; i < r.ticks; ++i) c.OnTick(0);
        v.Take();
        r.act(c);
        EXPECT_EQ(c.GetPhase(), r.phase);
        EXPECT_EQ(c.NextRestIn(1000).has_value(), r.nextRest);
        EXPECT_EQ(v.Take(), r.log);
    }
}

}  // namespace
}  // namespace lumivar
