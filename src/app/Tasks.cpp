// The reminders and tasks as they fall due: the notice, then the command; and the tasks missed.
#include <cstdio>

#include "app/MainDlg.h"
#include "base/AppName.h"
#include "tasks/RemindDlg.h"

namespace lumivar {

namespace {
// Five beeps a fifth of a second apart before the reminder's own sound.
constexpr int kBeeps = 5;
constexpr uint32_t kBeepGapMs = 200;
constexpr uint32_t kSimpleBeep = 0xFFFFFFFF;

std::string MissedNotice(const std::vector<TaskItem>& missed) {
    std::string text = "以下任务的时间已过，没有执行：";
    for (const TaskItem& item : missed) {
        char time[16];
        std::snprintf(time, sizeof time, "\r\n%02d:%02d ", item.hour, item.minute);
        text += time + item.task;
    }
    return text;
}
}  // namespace

int CMainDlg::SelectNextTask() {
    const int next = m_tasks.SelectNext(m_ports.system.Now(), m_settings.m_bRemind != 0);
    UpdateTrayTip();
    return next;
}

void CMainDlg::CatchUpTasks() {
    const TaskRunner runner{
        [this] { return m_ports.system.Now(); }, [this](const TaskItem& item) { RunTaskEntry(item); },
        [this](const std::vector<TaskItem>& missed) {
            m_ports.dialogs.ShowMessage(MissedNotice(missed), AppNameFromPath(m_ports.system.ModuleFileName()));
        }};
    if (m_tasks.CatchUp(runner)) SelectNextTask();
}

void CMainDlg::RunTaskEntry(const TaskItem& item) {
    m_tasks.SetCurrent(item);
    if (m_settings.m_bPlaySound) {
        for (int i = 0; i < kBeeps; ++i) {
            m_ports.system.MessageBeep(kSimpleBeep);
            m_ports.system.Sleep(kBeepGapMs);
        }
        m_ports.system.PlayWave(m_settings.m_strRemindWav, SND_FILENAME | SND_NOWAIT | SND_ASYNC);
    }
    if (!item.note.empty()) {
        CRemindDlg dlg;
        dlg.m_nCountdown = m_settings.m_nRemindTimeout;
        dlg.m_bAnimated = 1;
        char title[64];
        std::snprintf(title, sizeof title, "时间到了(%02d:%02d)", item.hour, item.minute);
        dlg.m_strTitle = title;
        dlg.m_strMessage = item.task.empty() ? item.note
                                             : "\r\n" + item.note + "\r\n\r\n是否执行下列任务?\r\n" + item.task;
        if (m_ports.dialogs.RunRemind(dlg) != IDOK) return;
    }
    if (!item.task.empty()) RunTask(item.task);
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
        if (m_cycle.Locked()) LeaveLock();
    } else if (task.find(".exe") != std::string::npos || task.find(".EXE") != std::string::npos)
        m_ports.system.RunCommandLine(task);
    else
        m_ports.system.ShellOpen(task);
}

}  // namespace lumivar
