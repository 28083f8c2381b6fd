// Due times of the task entries and the choice of the next one to arm.
#pragma once

#include <ctime>
#include <string_view>
#include <vector>

#include "tasks/TaskTable.h"

namespace lumivar {

// A "YYYY年MM月DD日" date at hour:minute:00 local time. False for "每天",
// empty or malformed text, and years outside 2002..2038; such entries are daily.
bool ParseTaskDate(std::string_view text, int hour, int minute, std::time_t& out);

// The same date rule, giving local midnight of that day.
bool ParseEditorDate(std::string_view text, std::time_t& out);

// Where the entries stand at `now`: each one's due time in seconds from now, and the entries in
// due order. Passed dated entries are due at 0 or before; a daily entry is always ahead, at
// most about a day.
struct TaskSchedule {
    std::vector<int> due;    // by index into the list
    std::vector<int> order;  // indexes, soonest first
};
TaskSchedule ComputeTaskSchedule(const TaskList& entries, std::time_t now);

// The first entry in due order still ahead, else the most overdue one; -1 for none.
int ChooseNextTask(const TaskSchedule& schedule);

// An entry that came due, and when.
struct DueEntry {
    int index;
    std::time_t at;
};
// The entries due after `from` up to and including `to`, in due order. Each comes once, at its
// latest due time in that span: a daily entry passed over on several days counts once.
std::vector<DueEntry> DueBetween(const TaskList& entries, std::time_t from, std::time_t to);

}  // namespace lumivar
