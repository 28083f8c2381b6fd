#include "tasks/TaskScheduler.h"

#include "base/Text.h"

namespace lumivar {

void CTaskScheduler::SetEntries(TaskList entries) {
    if (entries.size() > std::size_t(MAX_TASKS)) entries.resize(MAX_TASKS);
    // An entry just added for a time already past is not one that was missed.
    if (entries != m_entries) m_accounting = false;
    m_entries = std::move(entries);
}

void CTaskScheduler::Arm(int dueSeconds) {
    const int64_t ms = int64_t(dueSeconds) * 1000;
    // A step fires early; the catch-up it starts finds nothing due and schedules again.
    m_timer.Set(ms > int64_t(kMaxTimerMs) ? kMaxTimerMs : uint32_t(ms));
}

void CTaskScheduler::Stop() {
    // A timer left from an earlier list would fire with no entry behind it.
    m_timer.Kill();
}

int CTaskScheduler::SelectNext(std::time_t now, bool remind) {
    if (!m_accounting || now < m_accountedTo) m_accountedTo = now;
    m_accounting = remind;
    m_schedule = ComputeTaskSchedule(m_entries, now);
    const int next = ChooseNextTask(m_schedule);
    if (next < 0) {
        m_current = {"", "No message!", "", 0, 0};
        Stop();
        return -1;
    }
    m_current = m_entries[next];
    const int due = m_schedule.due[next];
    if (remind && !DueBetween(m_entries, m_accountedTo, now).empty())
        Arm(0);  // came due since the last catch-up, which has not seen it
    else if (remind && due > 0)
        Arm(due);
    else
        Stop();  // nothing ahead (every entry is a passed date) or reminders are off
    return next;
}

bool CTaskScheduler::Take(std::time_t now, bool byLateness) {
    if (!m_accounting) return false;
    const std::vector<DueEntry> due = DueBetween(m_entries, m_accountedTo, now);
    for (const DueEntry& d : due) {
        const TaskItem& e = m_entries[d.index];
        const bool missed = byLateness && !e.task.empty() && now - d.at > kMaxLateSeconds;
        (missed ? m_missed : m_toRun).push_back(e);
    }
    // Set back, the clock runs nothing; the next scheduling starts from there.
    m_accountedTo = now;
    return !due.empty();
}

bool CTaskScheduler::CatchUp(const TaskRunner& runner) {
    m_timer.Kill();  // it repeats; nothing may fire again while entries run
    Take(runner.now(), true);
    if (m_catchingUp) return false;
    m_catchingUp = true;
    for (;;) {
        if (!m_toRun.empty()) {
            const TaskItem next = m_toRun.front();
            m_toRun.erase(m_toRun.begin());
            runner.run(next);
        } else if (!m_missed.empty()) {
            std::vector<TaskItem> missed;
            missed.swap(m_missed);
            runner.missed(missed);
        } else if (!Take(runner.now(), false)) {
            break;
        }
    }
    m_catchingUp = false;
    return true;
}

TaskList CTaskScheduler::InDueOrder() const {
    TaskList list;
    const int count = int(m_entries.size());
    // An order older than the list only holds indexes still in use.
    for (int i = 0; i < count; ++i) {
        const bool known = i < int(m_schedule.order.size()) && m_schedule.order[i] < count;
        list.push_back(m_entries[known ? m_schedule.order[i] : i]);
    }
    return list;
}

}  // namespace lumivar
