#include "tasks/TaskSchedule.h"

#include "base/LocalTime.h"
#include "base/Text.h"

#include <climits>
#include <utility>

namespace lumivar {
namespace {

// tm_isdst = -1 lets the C library settle daylight saving for that moment.
bool FromLocal(std::tm tm, std::time_t& out) {
    tm.tm_isdst = -1;
    const std::time_t t = std::mktime(&tm);
    if (t == static_cast<std::time_t>(-1)) return false;
    out = t;
    return true;
}

bool SplitDate(std::string_view text, int& year, int& month, int& day) {
    static constexpr std::string_view kYear = "年", kMonth = "月", kDay = "日";
    text = Trim(text);
    if (text.empty() || text == kDaily) return false;
    const auto y = text.find(kYear);
    if (y == std::string_view::npos) return false;
    const auto m = text.find(kMonth, y + kYear.size());
    if (m == std::string_view::npos) return false;
    const auto d = text.find(kDay, m + kMonth.size());
    if (d == std::string_view::npos) return false;
    year = LeadingInt(text.substr(0, y));
    month = LeadingInt(text.substr(y + kYear.size(), m - y - kYear.size()));
    day = LeadingInt(text.substr(m + kMonth.size(), d - m - kMonth.size()));
    return year >= 2002 && year <= 2038 && month >= 1 && month <= 12 && day >= 1 && day <= 31;
}

bool DateAt(std::string_view text, int hour, int minute, std::time_t& out) {
    int year = 0, month = 0, day = 0;
    if (!SplitDate(text, year, month, day)) return false;
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;  // 30 February rolls into March
    tm.tm_hour = hour;
    tm.tm_min = minute;
    return FromLocal(tm, out);
}

int ClampSeconds(long long s) {
    if (s > INT_MAX) return INT_MAX;
    if (s < INT_MIN) return INT_MIN;
    return static_cast<int>(s);
}

// Seconds to the next hour:minute:00 strictly after now. Days are stepped on
// the calendar, not by 86400 s, so a 23- or 25-hour day around a daylight
// saving change neither moves the entry by an hour nor leaves it behind now.
int DailyDue(int hour, int minute, std::time_t now) {
    std::tm base{};
    if (!ToLocal(now, base)) return 86400;
    base.tm_hour = hour;
    base.tm_min = minute;
    base.tm_sec = 0;
    // A time in a gap may normalise to before now even on the next day, so
    // allow one more day.
    for (int ahead = 0; ahead <= 2; ++ahead) {
        std::tm day = base;
        day.tm_mday += ahead;
        std::time_t at = 0;
        if (FromLocal(day, at) && at > now) return ClampSeconds(static_cast<long long>(at) - now);
    }
    return 86400;
}

// The last hour:minute:00 at or before t, stepped on the calendar as above.
bool DailyAtOrBefore(int hour, int minute, std::time_t t, std::time_t& out) {
    std::tm base{};
    if (!ToLocal(t, base)) return false;
    base.tm_hour = hour;
    base.tm_min = minute;
    base.tm_sec = 0;
    for (int back = 0; back <= 2; ++back) {
        std::tm day = base;
        day.tm_mday -= back;
        if (FromLocal(day, out) && out <= t) return true;
    }
    return false;
}

// This exchange sort decides which of two entries due together fires first; a stable sort
// would pick the other one.
template <class Key>
void ExchangeSort(std::vector<int>& order, const std::vector<Key>& key) {
    const int count = int(order.size());
    for (int k = 0; k < count - 1; ++k)
        for (int j = k + 1; j < count; ++j)
            if (key[order[k]] > key[order[j]]) std::swap(order[k], order[j]);
}

int Count(const TaskList& entries) {
    return entries.size() > std::size_t(MAX_TASKS) ? MAX_TASKS : int(entries.size());
}

}  // namespace

bool ParseTaskDate(std::string_view text, int hour, int minute, std::time_t& out) {
    return DateAt(text, hour, minute, out);
}

bool ParseEditorDate(std::string_view text, std::time_t& out) {
    return DateAt(text, 0, 0, out);
}

TaskSchedule ComputeTaskSchedule(const TaskList& entries, std::time_t now) {
    const int count = Count(entries);
    TaskSchedule s{std::vector<int>(count), std::vector<int>(count)};
    for (int i = 0; i < count; ++i) {
        const TaskItem& e = entries[i];
        std::time_t at = 0;
        if (ParseTaskDate(e.date, e.hour, e.minute, at))
            s.due[i] = ClampSeconds(static_cast<long long>(at) - now);
        else
            s.due[i] = DailyDue(e.hour, e.minute, now);
        s.order[i] = i;
    }
    ExchangeSort(s.order, s.due);
    return s;
}

int ChooseNextTask(const TaskSchedule& s) {
    if (s.order.empty()) return -1;
    for (const int i : s.order)
        if (s.due[i] > 0) return i;
    return s.order[0];
}

std::vector<DueEntry> DueBetween(const TaskList& entries, std::time_t from, std::time_t to) {
    const int count = Count(entries);
    // Every entry is sorted as the schedule made at `from` sorts it, so entries due together
    // come in the order they would have had on time.
    std::vector<std::time_t> at(count);
    std::vector<int> order(count);
    for (int i = 0; i < count; ++i) {
        const TaskItem& e = entries[i];
        order[i] = i;
        if (ParseTaskDate(e.date, e.hour, e.minute, at[i])) continue;
        if (!DailyAtOrBefore(e.hour, e.minute, to, at[i]) || at[i] <= from)
            at[i] = from + DailyDue(e.hour, e.minute, from);
    }
    ExchangeSort(order, at);
    std::vector<DueEntry> due;
    for (const int i : order)
        if (at[i] > from && at[i] <= to) due.push_back({i, at[i]});
    return due;
}

}  // namespace lumivar
