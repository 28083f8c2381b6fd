// The reminders and tasks: the entries, the one that comes next, and every entry that came due.
// It owns the task timer, stepping towards an entry too far off for one timer.
#pragma once

#include <ctime>
#include <functional>
#include <vector>

#include "ports/Window.h"
#include "tasks/TaskSchedule.h"
#include "tasks/TaskTable.h"

namespace lumivar {

// Up to this late an entry runs as it would have on time.
inline constexpr int kMaxLateSeconds = 300;

// What a catch-up asks of the program. Running an entry or reporting missed tasks may hold
// the clock in a modal prompt.
struct TaskRunner {
    std::function<std::time_t()> now;
    std::function<void(const TaskItem&)> run;
    std::function<void(const std::vector<TaskItem>&)> missed;
};

class CTaskScheduler {
public:
    explicit CTaskScheduler(CTimer timer) : m_timer(timer) {}

    const TaskList& Entries() const { return m_entries; }
    // More than MAX_TASKS are cut. A changed list is accounted from its next scheduling on.
    void SetEntries(TaskList entries);

    // Schedules from `now` and makes the next entry the current one. The timer runs only when
    // reminders are on and that entry lies ahead, or at once when an entry came due since the
    // last catch-up. The first scheduling, and any after reminders were off or the clock went
    // back, accounts from `now`: what fell due before is not run. -1 for an empty list.
    int SelectNext(std::time_t now, bool remind);

    // The timer fired or the clock was set: runs every entry due since the last catch-up, in due
    // order. One then more than kMaxLateSeconds late (a sleep, the clock set forward) runs only
    // if it is a reminder; tasks are reported missed instead. Whatever came due while one of them
    // held the clock runs next, however late, until nothing is left. False when called from
    // inside the runner: the catch-up already running takes what came due.
    bool CatchUp(const TaskRunner& runner);

    // The entry the tray tip shows and the notice runs; "No message!" when there is none.
    const TaskItem& Current() const { return m_current; }
    void SetCurrent(const TaskItem& item) { m_current = item; }
    // As last scheduled: the entries in due order, and each one's seconds to go.
    TaskList InDueOrder() const;
    int DueIn(int index) const { return index < int(m_schedule.due.size()) ? m_schedule.due[index] : 0; }
    void Stop();

private:
    void Arm(int dueSeconds);
    bool Take(std::time_t now, bool byLateness);

    CTimer m_timer;
    TaskList m_entries;
    TaskSchedule m_schedule;
    TaskItem m_current{"", "No message!", "", 0, 0};
    // Entries due up to m_accountedTo have run or were accounted for. Not kept at start, while
    // reminders are off, or for a new list: the next scheduling starts it afresh.
    bool m_accounting = false;
    std::time_t m_accountedTo = 0;
    std::vector<TaskItem> m_toRun, m_missed;
    bool m_catchingUp = false;
};

}  // namespace lumivar
