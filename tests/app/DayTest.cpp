// The cycle through a person's day on virtual time: time away, sleep, Windows' own lock,
// full-screen work and the warning before a rest.
#include "app/AppFixture.h"

namespace lumivar::test {
namespace {

// The person works at the keyboard unless away; Windows' lock is their own leaving.
enum Event { Away, Back, Sleep, WinLock, WinUnlock, FullScreen, Windowed };
struct At {
    int second;
    Event event;
    int minutes = 0;  // how long a sleep lasts
};

// When the first rest comes, second by second; -1 for none within the limit.
int FirstRest(App& app, const std::vector<At>& story, int limit) {
    bool present = true;
    for (int t = 0; t <= limit; ++t) {
        for (const At& at : story) {
            if (at.second != t) continue;
            switch (at.event) {
            case Away: present = false; break;
            case Back: present = true; break;
            case Sleep:
                app.dlg->OnSuspend();
                app.shell.clock.ms += uint64_t(at.minutes) * 60000;  // no timer runs while asleep
                t += at.minutes * 60;
                app.dlg->OnResume();
                break;
            case WinLock: app.dlg->OnSessionLock(true), present = false; break;
            case WinUnlock: app.dlg->OnSessionLock(false), present = true; break;
            case FullScreen: app.shell.system.fullScreen = true; break;
            case Windowed: app.shell.system.fullScreen = false; break;
            }
        }
        if (app.dlg->Cycle().Resting()) return t;
        if (present) app.shell.system.UserInput();
        app.Seconds(1);
    }
    return -1;
}

TEST_F(AppTest, TheRestFollowsTheDay) {
    const std::string work10 = "[SCREEN]\nWORKTIME=10\nNATURALBREAK=5\n";
    const struct {
        const char* name;
        std::string screen;
        std::vector<At> story;
        int rest;  // seconds from the start; a return is noticed up to 2 s late
    } rows[] = {
        {"away 6 minutes: a full period from the return", work10, {{60, Away}, {420, Back}}, 1020},
        {"away 4 minutes: the rest at its time", work10, {{60, Away}, {300, Back}}, 600},
        {"due while away: none until the return", "[SCREEN]\nWORKTIME=5\nNATURALBREAK=3\n", {{0, Away}, {480, Back}},
         780},
        {"natural breaks off: due while away, it comes", "[SCREEN]\nWORKTIME=5\nNATURALBREAK=0\n", {{0, Away}}, 300},
        {"asleep for an hour: a full period from the resume", work10, {{120, Sleep, 60}}, 3720 + 600},
        {"asleep 3 minutes over the due time: it comes at once", work10, {{500, Sleep, 3}}, 680},
        {"Windows locked 6 minutes", work10, {{180, WinLock}, {540, WinUnlock}}, 1140},
        {"Windows locked 2 minutes over the due time: the rest at the unlock", work10, {{480, WinLock}, {610, WinUnlock}},
         610},
        {"a film at the due time, then closed", work10 + "FULLSCREENWAIT=30\n", {{500, FullScreen}, {690, Windowed}},
         720},
        {"a film that goes on: the rest at the limit", work10 + "FULLSCREENWAIT=3\n", {{500, FullScreen}}, 780},
        {"never wait for a film", work10 + "FULLSCREENWAIT=0\n", {{500, FullScreen}}, 600},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        App app("[Lumivar2003]\nAUTOCHECKNEWVERSION=0\n" + r.screen);
        const int rest = FirstRest(app, r.story, r.rest + 60);
        EXPECT_GE(rest, r.rest);
        EXPECT_LE(rest, r.rest + 3);
    }
}

TEST_F(AppTest, AWaitingRestIsInTheTipAndTheWarningComesBeforeAPeriodLongEnough) {
    App app("[SCREEN]\nWORKTIME=10\nPREWARN=45\nNATURALBREAK=0\n");
    app.shell.system.fullScreen = true;
    app.Seconds(600 - 46);
    EXPECT_TRUE(app.shell.tray.balloons.empty());
    app.Seconds(1);
    EXPECT_EQ(app.shell.tray.balloons, Strings{"0 眸安星: 还有45秒就要休息了，请保存手头的工作。"});
    app.Seconds(46);
    EXPECT_FALSE(app.dlg->Cycle().Resting());
    EXPECT_TRUE(app.TipHas("视力保护已启动，全屏程序退出后休息"));

    App shortWork("[SCREEN]\nWORKTIME=1\nPREWARN=60\n");
    shortWork.Seconds(61);
    EXPECT_TRUE(shortWork.dlg->Cycle().Resting());
    EXPECT_TRUE(shortWork.shell.tray.balloons.empty()) << "no warning for a period no longer than it";
}

// After a sleep the monitors look a minute on, one after the other, not all at once.
TEST_F(AppTest, AfterASleepTheMonitorsWaitAMinute) {
    Monitors app(std::string(kHost) + kMail + kWeb);
    app.dlg->OnSuspend();
    app.shell.clock.ms += 3600000;
    app.dlg->OnResume();
    app.dlg->OnResume();  // Windows says it twice when a person woke the computer
    for (const auto& [timer, in] : {std::pair{TIMER_HOST, 60000u}, {TIMER_MAIL, 70000u}, {TIMER_HOMEPAGE, 80000u}})
        EXPECT_EQ(app.shell.window.timers.at(timer).due - app.shell.clock.ms, in) << timer;
}

}  // namespace
}  // namespace lumivar::test
