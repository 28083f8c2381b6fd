// One reminder/task entry, and the list of them as the settings file keeps it.
#pragma once

#include <string>
#include <vector>

namespace lumivar {

inline constexpr int MAX_TASKS = 20;
inline constexpr const char* kDaily = "每天";

struct TaskItem {
    std::string date;   // kDaily, or "%Y年%m月%d日"
    std::string note;   // reminder text, may hold CR LF
    std::string task;   // command word, program or document
    int hour = 0;
    int minute = 0;
    bool operator==(const TaskItem&) const = default;
};

// In file order; at most MAX_TASKS.
using TaskList = std::vector<TaskItem>;

}  // namespace lumivar
