#include "tasks/TaskSchedule.h"

#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <cstdlib>
#include <string>
#include <vector>

namespace lumivar {
namespace {

using namespace std::chrono;

// Expected instants come from calendar arithmetic, not from the C library conversion under
// test. The suite runs with TZ=Asia/Shanghai (UTC+8, no DST).
std::time_t Utc(int y, unsigned mo, unsigned d, int h = 0, int mi = 0, int s = 0) {
    return (sys_days{year{y} / month{mo} / day{d}} + hours{h} + minutes{mi} + seconds{s}).time_since_epoch().count();
}
std::time_t Shanghai(int y, unsigned mo, unsigned d, int h = 0, int mi = 0, int s = 0) {
    return Utc(y, mo, d, h, mi, s) - 8 * 3600;
}

struct Entry { std::string date; int hour, minute; };

TaskTable Schedule(const std::vector<Entry>& entries, std::time_t now, int count = -1) {
    TaskTable t;
    int slot = 0;
    for (const Entry& e : entries) t.SetItem(slot++, {e.date, "note", "", e.hour, e.minute});
    ComputeTaskSchedule(t, count < 0 ? slot : count, now);
    return t;
}
std::vector<int> Order(const TaskTable& t, int count) { return {t.m_nTaskOrder, t.m_nTaskOrder + count}; }

TEST(TaskScheduleParseDate, LocalDateAtTheGivenTimeWithOverflowingDaysRolledOn) {
    const struct { const char* text; int y; unsigned mo, d; } valid[] = {
        {" \t2003年12月08日\r\n ", 2003, 12, 8}, {"2004年1月5日", 2004, 1, 5}, {"2003年2月30日", 2003, 3, 2},
        {"2004年2月30日", 2004, 3, 1}, {"2003年4月31日", 2003, 5, 1}, {"2038年12月31日", 2038, 12, 31}};
    for (const auto& c : valid) {
        std::time_t at = 0;
        EXPECT_EQ(ParseTaskDate(c.text, 8, 30, at) ? at : -1, Shanghai(c.y, c.mo, c.d, 8, 30)) << c.text;
    }
    for (const char* text : {"", "每天", "明天", "2003年13月1日", "2003年1月0日", "2003年1月32日", "2003年1月1",
                             "2003-01-01", "99999999999年1月1日", "2001年12月31日", "2039年1月1日"}) {
        std::time_t out = 0;
        EXPECT_FALSE(ParseTaskDate(text, 8, 0, out)) << '"' << text << '"';
    }
}

TEST(TaskScheduleDue, SecondsFromNowForDailyAndDatedEntries) {
    const std::time_t morning = Shanghai(2003, 12, 8, 7, 59, 30);
    const struct { Entry entry; std::time_t now; int due; } cases[] = {
        {{kDaily, 8, 0}, morning, 30},
        // At or past the minute: tomorrow's.
        {{kDaily, 8, 0}, Shanghai(2003, 12, 8, 8, 0, 0), 86400}, {{kDaily, 8, 0}, Shanghai(2003, 12, 8, 8, 0, 1), 86399},
        {{kDaily, 0, 0}, Shanghai(2003, 12, 31, 23, 59, 0), 60},  // over the year's end
        {{"2003年12月08日", 7, 0}, Shanghai(2003, 12, 8, 7, 0, 0), 0},
        {{"2003年12月07日", 7, 0}, Shanghai(2003, 12, 8, 7, 0, 0), -86400},
        {{"2038年12月31日", 23, 59}, 0, INT_MAX},  // saturates instead of wrapping negative
        {{"2039年1月1日", 8, 0}, morning, 30},     // a date that does not parse is daily
    };
    for (const auto& c : cases) EXPECT_EQ(Schedule({c.entry}, c.now).m_nTaskDue[0], c.due) << c.entry.date << " " << c.due;
}

TEST(TaskScheduleOrder, PassedDatedEntriesSortFirstButAreNotChosenWhileOneIsAhead) {
    const std::time_t noon = Shanghai(2003, 12, 8, 12, 0, 0);
    // Due 3600, 86400, -86400, 82800 (tomorrow), -3600 and 0 (this very second, so passed).
    const TaskTable t = Schedule({{kDaily, 13, 0}, {"2003年12月09日", 12, 0}, {"2003年12月07日", 12, 0}, {kDaily, 11, 0},
                                  {"2003年12月08日", 11, 0}, {"2003年12月08日", 12, 0}}, noon);
    EXPECT_EQ(Order(t, 6), (std::vector<int>{2, 4, 5, 0, 3, 1}));
    EXPECT_EQ(ChooseNextTask(t, 6), 0);
    const TaskTable passed = Schedule({{"2003年12月08日", 11, 0}, {"2003年12月01日", 9, 0}}, noon);
    EXPECT_EQ(ChooseNextTask(passed, 2), 1);  // all passed: the most overdue
    EXPECT_EQ(ChooseNextTask(passed, 0), -1);
    // Due 120, 120, 60: the exchange sort's swap with slot 2 carries slot 0 behind slot 1.
    const std::time_t early = Shanghai(2003, 12, 8, 7, 58, 0);
    EXPECT_EQ(Order(Schedule({{kDaily, 8, 0}, {kDaily, 8, 0}, {kDaily, 7, 59}}, early), 3), (std::vector<int>{2, 1, 0}));
    // A count beyond the table is cut, and nothing is written past it.
    std::vector<Entry> full;
    for (int slot = 0; slot < MAX_TASKS; ++slot) full.push_back({kDaily, 20 - slot, 0});
    const TaskTable cut = Schedule(full, Shanghai(2003, 12, 8, 0, 30, 0), MAX_TASKS + 5);
    EXPECT_EQ(cut.m_nTaskOrder[0], MAX_TASKS - 1);
    EXPECT_EQ(ChooseNextTask(cut, MAX_TASKS + 5), MAX_TASKS - 1);
}

TEST(TaskScheduleDst, DailyTimeTomorrowKeepsTheWallClockAcrossTheSpringChange) {
    const std::string saved = std::getenv("TZ") ? std::getenv("TZ") : "";
    setenv("TZ", "America/New_York", 1);  // 2024-03-10: 02:00 EST jumps to 03:00 EDT
    tzset();
    // 09:00 EST the day before: 08:00 EDT next morning is 22 hours away, not 23.
    const int due = Schedule({{kDaily, 8, 0}}, Utc(2024, 3, 9, 14, 0)).m_nTaskDue[0];
    saved.empty() ? unsetenv("TZ") : setenv("TZ", saved.c_str(), 1);
    tzset();
    EXPECT_EQ(due, 22 * 3600);
}

}  // namespace
}  // namespace lumivar
