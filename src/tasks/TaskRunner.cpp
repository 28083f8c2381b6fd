// Choosing the next due entry and running it when it is due.
#include <cstdio>

#include "app/MainDlg.h"
#include "base/Text.h"
#include "tasks/RemindDlg.h"
#include "tasks/TaskSchedule.h"

namespace lumivar {

namespace {

}  // namespace

void CMainDlg::ArmTaskTimer(int64_t dueSeconds) {
    const int64_t ms = dueSeconds * 1000;
    m_bTaskTimerStep = ms > int64_t(kMaxTimerMs);
    m_wnd.SetTimer(TIMER_TASK, m_bTaskTimerStep ? kMaxTimerMs : uint32_t(ms));
    m_bTaskTimer = 1;
}

int CMainDlg::SelectNextTask() {
    m_dueTogether.clear();
    if (m_nTaskCount <= 0) {
        m_strCurNote = "No message!";
        m_strCurTask.clear();
        m_nTaskHour = m_nTaskMinute = 0;
        UpdateTrayTip();
        // A timer left from an earlier table would fire with no entry behind it.
        m_wnd.KillTimer(TIMER_TASK);
        m_bTaskTimerStep = 0;
        return -1;
    }
    const int count = m_nTaskCount > MAX_TASKS ? MAX_TASKS : m_nTaskCount;
    ComputeTaskSchedule(*this, count, m_ports.system.Now());
    const int slot = ChooseNextTask(*this, count);
    m_strCurTask = m_strTaskCmd[slot];
    m_strCurNote = m_strTaskNote[slot];
    m_nTaskHour = m_nTaskHours[slot];
    m_nTaskMinute = m_nTaskMinutes[slot];
    UpdateTrayTip();
    const int due = m_nTaskDue[slot];
    if (m_bRemind && due > 0) {
        for (int i = 0; i < count; ++i) {
            const int s = m_nTaskOrder[i];
            if (m_nTaskDue[s] == due) m_dueTogether.push_back(Item(s));
        }
        ArmTaskTimer(due);
    } else {
        // Nothing ahead (every entry is a passed date) or the service is off: nothing may fire.
        m_wnd.KillTimer(TIMER_TASK);
        m_bTaskTimerStep = 0;
    }
    m_nCurTaskIndex = slot;
    return slot;
}

void CMainDlg::OnTaskDue() {
    std::vector<TaskItem> due;
    due.swap(m_dueTogether);
    if (due.empty()) due.push_back({"", m_strCurNote, m_strCurTask, m_nTaskHour, m_nTaskMinute});
    for (const TaskItem& item : due) RunTaskEntry(item);
    SelectNextTask();
}

void CMainDlg::RunTaskEntry(const TaskItem& item) {
    m_strCurNote = item.note;
    m_strCurTask = item.task;
    m_nTaskHour = item.hour;
    m_nTaskMinute = item.minute;
    if (m_bPlaySound) {
        for (int i = 0; i < 5; ++i) {
            m_ports.system.MessageBeep(0xFFFFFFFF);
            m_ports.system.Sleep(200);
        }
        m_ports.system.PlayWave(m_strRemindWav, SND_FILENAME | SND_NOWAIT | SND_ASYNC);
    }
    if (!m_strCurNote.empty()) {
        CRemindDlg dlg;
        dlg.m_nCountdown = m_nRemindTimeout;
        dlg.m_bAnimated = 1;
        char title[64];
        std::snprintf(title, sizeof title, "时间到了(%02d:%02d)", m_nTaskHour, m_nTaskMinute);
        dlg.m_strTitle = title;
        if (!m_strCurTask.empty())
            m_strCurNote = "\r\n" + m_strCurNote + "\r\n\r\n是否执行下列任务?\r\n" + m_strCurTask;
        dlg.m_strMessage = m_strCurNote;
        if (m_ports.dialogs.RunRemind(dlg) != IDOK) return;
    }
    if (!m_strCurTask.empty()) RunTask(m_strCurTask);
}

void CMainDlg::RunTask(const std::string& task) {
    if (EqualsNoCase(task, "shutdown"))
        ShutdownComputer();
    else if (EqualsNoCase(task, "shutdownex"))
        ForceShutdownComputer();
    else if (EqualsNoCase(task, "reboot"))
        RebootComputer();
    else if (EqualsNoCase(task, "logoff"))
        LogoffUser();
    else if (EqualsNoCase(task, "screensaver"))
        StartScreenSaver();
    else if (EqualsNoCase(task, "lock"))
        LockScreen();
    else if (EqualsNoCase(task, "unlock")) {
        if (m_bLocked) LeaveLock();
    } else if (task.find(".exe") != std::string::npos || task.find(".EXE") != std::string::npos)
        m_ports.system.RunCommandLine(task);
    else
        m_ports.system.ShellOpen(task);
}

}  // namespace lumivar
