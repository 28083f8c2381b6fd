// Due times of the task entries and the choice of the next one to arm.
#pragma once

#include <ctime>
#include <string_view>

#include "tasks/TaskTable.h"

namespace lumivar {

// A "YYYY年MM月DD日" date at hour:minute:00 local time. False for "每天",
// empty or malformed text, and years outside 2002..2038; such entries are daily.
bool ParseTaskDate(std::string_view text, int hour, int minute, std::time_t& out);

// The same date rule, giving local midnight of that day.
bool ParseEditorDate(std::string_view text, std::time_t& out);

// Fills m_nTaskDue (seconds from now) for slots 0..count-1 and sorts
// m_nTaskOrder by it. Passed dated entries keep a due value <= 0; a daily
// entry is always ahead, at most about a day.
void ComputeTaskSchedule(TaskTable& t, int count, std::time_t now);

// After ComputeTaskSchedule: the first slot in due order still ahead, else the
// most overdue one; -1 for an empty table.
int ChooseNextTask(const TaskTable& t, int count);

}  // namespace lumivar
