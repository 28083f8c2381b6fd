// The cycle alone, on virtual time: its phases, what it asks for, and when the next rest falls due.
#include "rest/RestCycle.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lumivar {
namespace {

using Phase = CRestCycle::Phase;
constexpr uint32_t kWork = 300000;  // five minutes
constexpr int kRest = 3;

struct View : IRestCycleView {
    void ArmCycleTimer(uint32_t ms) override { timer = ms, Log("timer " + std::to_string(ms)); }
    void ShowRestScreen() override { Log("show"); }
    void ShowCountdown() override { Log("tick"); }
    void HideScreen(bool quiet) override { Log(quiet ? "hide quietly" : "hide"); }
    void CutRestShort() override { Log("cut"); }
    void KeepLock() override { Log("keep lock"); }
    void PlaySound(Sound s) override { Log(s == Sound::Break ? "break.wav" : "work.wav"); }
    void BackAtWork() override { Log("back"); }
    void StateChanged() override { ++changes; }
    void Log(const std::string& what) { log.push_back(what); }
    std::vector<std::string> Take() { return std::exchange(log, {}); }

    std::vector<std::string> log;
    uint32_t timer = 0;  // the period last armed; 0: stopped
    int changes = 0;
};

struct Cycle : ::testing::Test {
    Cycle() { cycle.SetPeriods(kWork, kRest); }
    // The timer fires when it is due, as the platform's would.
    void Fire() { now += view.timer, cycle.OnTick(now); }
    View view;
    CRestCycle cycle{view};
    uint32_t now = 0xFFFFFF00u;  // the tick count wraps during the day
};

TEST_F(Cycle, ADayOfWorkAndRest) {
    cycle.Start(now);
    EXPECT_EQ(cycle.GetPhase(), Phase::Starting);
    EXPECT_FALSE(cycle.NextRestIn(now));
    Fire();  // the silent start-up pass
    EXPECT_EQ(view.Take(), (std::vector<std::string>{"timer 10", "timer 300000", "hide quietly"}));
    EXPECT_EQ(cycle.NextRestIn(now + 60000), kWork - 60000);
    Fire();
    EXPECT_EQ(cycle.GetPhase(), Phase::Resting);
    EXPECT_EQ(view.Take(), (std::vector<std::string>{"show", "tick", "break.wav", "timer 1000"}));
    EXPECT_FALSE(cycle.NextRestIn(now));
    for (int s = kRest - 1; s > 0; --s) {
        EXPECT_EQ(cycle.RestLeft(), s);
        Fire();
    }
    Fire();
    EXPECT_EQ(cycle.GetPhase(), Phase::Working);
    EXPECT_EQ(view.Take(), (std::vector<std::string>{"tick", "tick", "timer 300000", "hide", "work.wav", "back"}));
    EXPECT_EQ(cycle.NextRestIn(now), kWork);
    EXPECT_EQ(cycle.NextRestIn(now + kWork + 5), 0u) << "overdue is due now";
}

// Each row: what happens during a rest (or while working), then what the cycle says and asks for.
TEST_F(Cycle, EventsFromEachPhase) {
    const struct {
        const char* name;
        bool resting;
        void (*act)(CRestCycle&, uint32_t now);
        Phase phase;
        bool nextRest;
        std::vector<std::string> log;
    } rows[] = {
        {"eye care off at work", false, [](CRestCycle& c, uint32_t t) { c.ToggleEyeCare(t); },
         Phase::Working, false, {"timer 0"}},
        {"eye care off in a rest ends it without a word", true, [](CRestCycle& c, uint32_t t) { c.ToggleEyeCare(t); },
         Phase::Working, false, {"timer 0", "hide quietly", "timer 0"}},
        {"eye care off and on restarts the period", false,
         [](CRestCycle& c, uint32_t t) { c.ToggleEyeCare(t), c.ToggleEyeCare(t + 1000); },
         Phase::Working, true, {"timer 0", "timer 300000"}},
        {"back to work at work restarts the period", false, [](CRestCycle& c, uint32_t t) { c.BackToWork(t); },
         Phase::Working, true, {"timer 300000"}},
        {"a rest asked for in a rest is none", true, [](CRestCycle& c, uint32_t) { c.StartRest(); },
         Phase::Resting, false, {}},
        {"a lock cuts the rest short", true, [](CRestCycle& c, uint32_t) { c.Lock(); },
         Phase::Locked, false, {"timer 0", "cut"}},
        {"locked: no way back but the unlock", false,
         [](CRestCycle& c, uint32_t t) { c.Lock(), c.BackToWork(t), c.StartRest(), c.SettingsApplied(t), c.OnTick(t); },
         Phase::Locked, false, {"keep lock", "timer 1000"}},
        {"the unlock returns to work with a sound", true, [](CRestCycle& c, uint32_t t) { c.Lock(), c.Unlock(t); },
         Phase::Working, true, {"timer 0", "cut", "timer 300000", "hide", "work.wav", "back"}},
        {"eye care off while locked counts when unlocked", false,
         [](CRestCycle& c, uint32_t t) { c.Lock(), c.ToggleEyeCare(t), c.Unlock(t); },
         Phase::Working, false, {"timer 0", "hide", "work.wav", "back"}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        View v;
        CRestCycle c(v);
        c.SetPeriods(kWork, kRest);
        c.Start(now);
        c.OnTick(now);
        if (r.resting) c.OnTick(now);
        v.Take();
        r.act(c, now);
        EXPECT_EQ(c.GetPhase(), r.phase);
        EXPECT_EQ(c.NextRestIn(now + 1000).has_value(), r.nextRest);
        EXPECT_EQ(v.Take(), r.log);
    }
}

// New settings end a rest with show and sound even on the start-up pass, which alone is quiet.
TEST_F(Cycle, SettingsAppliedMakeTheReturnAudible) {
    cycle.Start(now);
    cycle.SettingsApplied(now);
    EXPECT_EQ(view.Take(), (std::vector<std::string>{"timer 10", "timer 300000", "hide", "work.wav", "back"}));
}

}  // namespace
}  // namespace lumivar
