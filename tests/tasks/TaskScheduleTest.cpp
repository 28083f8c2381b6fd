#include "tasks/TaskSchedule.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace lumivar {
namespace {

using namespace std::chrono;

// Expected instants are built from UTC calendar arithmetic, independent of the
// C library's local time conversion under test.
std::time_t Utc(int y, unsigned mo, unsigned d, int h = 0, int mi = 0, int s = 0) {
    const sys_seconds t = sys_days{year{y} / month{mo} / day{d}} + hours{h} + minutes{mi} + seconds{s};
    return static_cast<std::time_t>(t.time_since_epoch().count());
}

// The suite runs with TZ=Asia/Shanghai: UTC+8, no daylight saving.
std::time_t Shanghai(int y, unsigned mo, unsigned d, int h = 0, int mi = 0, int s = 0) {
    return Utc(y, mo, d, h, mi, s) - 8 * 3600;
}

struct Entry {
    std::string date;
    int hour;
    int minute;
};

TaskTable Table(std::initializer_list<Entry> entries) {
    TaskTable t;
    int slot = 0;
    for (const Entry& e : entries) t.SetItem(slot++, {e.date, "note", "", e.hour, e.minute});
    return t;
}

int DueOf(const Entry& e, std::time_t now) {
    TaskTable t = Table({e});
    ComputeTaskSchedule(t, 1, now);
    return t.m_nTaskDue[0];
}

std::vector<int> Order(const TaskTable& t, int count) {
    return {t.m_nTaskOrder, t.m_nTaskOrder + count};
}

// --- Date text ----------------------------------------------------------

TEST(TaskScheduleParseDate, ValidDateIsLocalTimeAtHourAndMinute) {
    std::time_t out = 0;
    ASSERT_TRUE(ParseTaskDate("2003年12月08日", 8, 30, out));
    EXPECT_EQ(out, Shanghai(2003, 12, 8, 8, 30));
    ASSERT_TRUE(ParseTaskDate("2004年1月5日", 23, 59, out));
    EXPECT_EQ(out, Shanghai(2004, 1, 5, 23, 59));
}

TEST(TaskScheduleParseDate, DayPastMonthEndRollsIntoNextMonth) {
    std::time_t out = 0;
    ASSERT_TRUE(ParseTaskDate("2003年2月30日", 0, 0, out));
    EXPECT_EQ(out, Shanghai(2003, 3, 2));
    ASSERT_TRUE(ParseTaskDate("2004年2月30日", 12, 0, out));  // leap year
    EXPECT_EQ(out, Shanghai(2004, 3, 1, 12, 0));
    ASSERT_TRUE(ParseTaskDate("2003年4月31日", 7, 15, out));
    EXPECT_EQ(out, Shanghai(2003, 5, 1, 7, 15));
}

TEST(TaskScheduleParseDate, YearRangeIs2002To2038) {
    std::time_t out = 0;
    ASSERT_TRUE(ParseTaskDate("2002年01月01日", 0, 0, out));
    EXPECT_EQ(out, Shanghai(2002, 1, 1));
    ASSERT_TRUE(ParseTaskDate("2038年12月31日", 23, 59, out));
    EXPECT_EQ(out, Shanghai(2038, 12, 31, 23, 59));
    EXPECT_FALSE(ParseTaskDate("2001年12月31日", 0, 0, out));
    EXPECT_FALSE(ParseTaskDate("2001年1月1日", 0, 0, out));
    EXPECT_FALSE(ParseTaskDate("2039年1月1日", 0, 0, out));
}

TEST(TaskScheduleParseDate, RejectsTextThatIsNotADate) {
    std::time_t out = 0;
    for (const char* text : {"", "   ", "每天", " 每天 ", "明天", "2003年13月1日", "2003年0月1日",
                             "2003年1月0日", "2003年1月32日", "2003年1月", "2003年1月1", "2003年",
                             "年1月1日", "2003-01-01", "1月1日", "99999999999年1月1日"}) {
        EXPECT_FALSE(ParseTaskDate(text, 8, 0, out)) << '"' << text << '"';
    }
}

TEST(TaskScheduleParseDate, WhiteSpaceAroundADateIsIgnored) {
    std::time_t out = 0;
    ASSERT_TRUE(ParseTaskDate(" \t2003年12月08日\r\n ", 9, 5, out));
    EXPECT_EQ(out, Shanghai(2003, 12, 8, 9, 5));
}

TEST(TaskScheduleEditorDate, GivesMidnightOfThatDay) {
    std::time_t out = 0;
    ASSERT_TRUE(ParseEditorDate("2003年12月08日", out));
    EXPECT_EQ(out, Shanghai(2003, 12, 8));
    ASSERT_TRUE(ParseEditorDate("  2003年2月30日 ", out));
    EXPECT_EQ(out, Shanghai(2003, 3, 2));
    EXPECT_FALSE(ParseEditorDate("每天", out));
    EXPECT_FALSE(ParseEditorDate("", out));
    EXPECT_FALSE(ParseEditorDate("2039年1月1日", out));
}

// --- Due seconds ----------------------------------------------------------

TEST(TaskScheduleDaily, LaterTodayCountsToThatMinute) {
    EXPECT_EQ(DueOf({kDaily, 8, 0}, Shanghai(2003, 12, 8, 7, 59, 30)), 30);
    EXPECT_EQ(DueOf({kDaily, 23, 0}, Shanghai(2003, 12, 8, 0, 0, 0)), 23 * 3600);
}

TEST(TaskScheduleDaily, AtOrPastTheMinuteMovesToTomorrow) {
    EXPECT_EQ(DueOf({kDaily, 8, 0}, Shanghai(2003, 12, 8, 8, 0, 0)), 86400);
    EXPECT_EQ(DueOf({kDaily, 8, 0}, Shanghai(2003, 12, 8, 8, 0, 1)), 86399);
    EXPECT_EQ(DueOf({kDaily, 0, 0}, Shanghai(2003, 12, 31, 23, 59, 0)), 60);  // over the year's end
}

TEST(TaskScheduleDaily, UnparsableDateMakesTheEntryDaily) {
    const std::time_t now = Shanghai(2003, 12, 8, 7, 59, 30);
    for (const char* date : {"明天", "2001年1月1日", "2039年1月1日", "2003年13月1日", "2003年1月", ""})
        EXPECT_EQ(DueOf({date, 8, 0}, now), 30) << '"' << date << '"';
}

TEST(TaskScheduleDated, CountsFromNowAndGoesNegativeOncePassed) {
    const std::time_t now = Shanghai(2003, 12, 8, 7, 0, 0);
    EXPECT_EQ(DueOf({"2003年12月08日", 8, 0}, now), 3600);
    EXPECT_EQ(DueOf({"2003年12月08日", 7, 0}, now), 0);
    EXPECT_EQ(DueOf({"2003年12月07日", 7, 0}, now), -86400);
}

TEST(TaskScheduleDated, FarAheadSaturatesInsteadOfWrappingNegative) {
    EXPECT_EQ(DueOf({"2038年12月31日", 23, 59}, 0), INT_MAX);
}

// --- Order ----------------------------------------------------------------

TEST(TaskScheduleOrder, SortsAscendingWithPassedDatedEntriesFirst) {
    const std::time_t now = Shanghai(2003, 12, 8, 12, 0, 0);
    TaskTable t = Table({
        {kDaily, 13, 0},            // 3600
        {"2003年12月09日", 12, 0},  // 86400
        {"2003年12月07日", 12, 0},  // -86400
        {kDaily, 11, 0},            // tomorrow: 82800
        {"2003年12月08日", 11, 0},  // -3600
    });
    ComputeTaskSchedule(t, 5, now);
    EXPECT_EQ(Order(t, 5), (std::vector<int>{2, 4, 0, 3, 1}));
    EXPECT_EQ(t.m_nTaskDue[3], 82800);
}

TEST(TaskScheduleOrder, EqualDueValuesKeepTheExchangeSortOrder) {
    // Due 120, 120, 60: the swap with slot 2 carries slot 0 behind slot 1.
    TaskTable t = Table({{kDaily, 8, 0}, {kDaily, 8, 0}, {kDaily, 7, 59}});
    ComputeTaskSchedule(t, 3, Shanghai(2003, 12, 8, 7, 58, 0));
    ASSERT_EQ(t.m_nTaskDue[0], 120);
    ASSERT_EQ(t.m_nTaskDue[1], 120);
    ASSERT_EQ(t.m_nTaskDue[2], 60);
    EXPECT_EQ(Order(t, 3), (std::vector<int>{2, 1, 0}));

    // With nothing smaller behind them, equal entries stay in slot order.
    TaskTable pair = Table({{kDaily, 8, 0}, {kDaily, 8, 0}});
    ComputeTaskSchedule(pair, 2, Shanghai(2003, 12, 8, 7, 58, 0));
    EXPECT_EQ(Order(pair, 2), (std::vector<int>{0, 1}));
}

TEST(TaskScheduleOrder, CountIsLimitedToTheTable) {
    TaskTable t;
    for (int slot = 0; slot < MAX_TASKS; ++slot) t.SetItem(slot, {kDaily, "n", "", 20 - slot, 0});
    ComputeTaskSchedule(t, MAX_TASKS + 5, Shanghai(2003, 12, 8, 0, 30, 0));
    for (int slot = 0; slot < MAX_TASKS; ++slot) EXPECT_EQ(t.m_nTaskHours[slot], 20 - slot);
    std::vector<int> order = Order(t, MAX_TASKS);
    for (int i = 0; i + 1 < MAX_TASKS; ++i) EXPECT_LE(t.m_nTaskDue[order[i]], t.m_nTaskDue[order[i + 1]]);
    std::sort(order.begin(), order.end());
    for (int i = 0; i < MAX_TASKS; ++i) EXPECT_EQ(order[i], i);
}

// --- Choice ---------------------------------------------------------------

TEST(TaskScheduleChoice, SkipsPassedEntriesWhileOneIsAhead) {
    const std::time_t now = Shanghai(2003, 12, 8, 12, 0, 0);
    TaskTable t = Table({{kDaily, 18, 0}, {"2003年12月07日", 12, 0}, {"2003年12月08日", 12, 0}});
    ComputeTaskSchedule(t, 3, now);
    EXPECT_LT(t.m_nTaskDue[1], 0);
    EXPECT_EQ(t.m_nTaskOrder[0], 1);
    EXPECT_EQ(ChooseNextTask(t, 3), 0);  // slot 2 is due this very second: already passed
}

TEST(TaskScheduleChoice, AllPassedPicksTheMostOverdue) {
    const std::time_t now = Shanghai(2003, 12, 8, 12, 0, 0);
    TaskTable t = Table({{"2003年12月08日", 11, 0}, {"2003年12月01日", 9, 0}, {"2003年12月05日", 9, 0}});
    ComputeTaskSchedule(t, 3, now);
    EXPECT_EQ(ChooseNextTask(t, 3), 1);
}

TEST(TaskScheduleChoice, EmptyTableChoosesNothing) {
    TaskTable t = Table({{kDaily, 8, 0}});
    ComputeTaskSchedule(t, 0, Shanghai(2003, 12, 8, 7, 0, 0));
    EXPECT_EQ(ChooseNextTask(t, 0), -1);
    EXPECT_EQ(ChooseNextTask(t, -3), -1);
}

// --- Daylight saving --------------------------------------------------------

class TaskScheduleDst : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* tz = std::getenv("TZ")) saved_ = tz;
        setenv("TZ", "America/New_York", 1);
        tzset();
    }
    void TearDown() override {
        if (saved_) setenv("TZ", saved_->c_str(), 1);
        else unsetenv("TZ");
        tzset();
    }

private:
    std::optional<std::string> saved_;
};

// 2024-03-10: 02:00 EST jumps to 03:00 EDT. 2024-11-03: 02:00 EDT falls back to 01:00 EST.

TEST_F(TaskScheduleDst, DatedTimeUsesTheOffsetInForceOnThatDay) {
    std::time_t out = 0;
    ASSERT_TRUE(ParseTaskDate("2024年03月10日", 3, 30, out));
    EXPECT_EQ(out, Utc(2024, 3, 10, 7, 30));  // EDT
    ASSERT_TRUE(ParseTaskDate("2024年03月10日", 1, 30, out));
    EXPECT_EQ(out, Utc(2024, 3, 10, 6, 30));  // EST
}

TEST_F(TaskScheduleDst, DailyTimeInTheSpringGapIsStillAhead) {
    const int due = DueOf({kDaily, 2, 30}, Utc(2024, 3, 10, 6, 0));  // 01:00 EST
    EXPECT_GT(due, 0);
    EXPECT_LE(due, 5400);  // 01:30 EST or 03:30 EDT, whichever the library picks
    // After the gap, the next 02:30 is tomorrow's, 22.5 hours on.
    EXPECT_EQ(DueOf({kDaily, 2, 30}, Utc(2024, 3, 10, 8, 0)), 81000);  // 04:00 EDT
}

TEST_F(TaskScheduleDst, TomorrowAcrossAChangeKeepsTheWallClockTime) {
    // 09:00 EST, the day before spring forward: 08:00 EDT is 22 hours away.
    EXPECT_EQ(DueOf({kDaily, 8, 0}, Utc(2024, 3, 9, 14, 0)), 79200);
    // 23:45 EST at the end of the 25-hour day: 00:30 is 45 minutes away.
    EXPECT_EQ(DueOf({kDaily, 0, 30}, Utc(2024, 11, 4, 4, 45)), 2700);
}

TEST_F(TaskScheduleDst, DailyTimeInTheAutumnFoldIsStillAhead) {
    const int due = DueOf({kDaily, 1, 30}, Utc(2024, 11, 3, 5, 45));  // 01:45 EDT
    EXPECT_GT(due, 0);
    EXPECT_LE(due, 86400 + 3600);
}

}  // namespace
}  // namespace lumivar
