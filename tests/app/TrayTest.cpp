// The tray icon's picture and tip.
#include "app/AppFixture.h"
#include "resource.h"

namespace lumivar::test {
namespace {

TEST_F(AppTest, TipAndIconFollowEveryService) {
    const struct {
        int eyeCare, remind, host, reachable, mail, newMail, web, tasks, icon;
        const char* tip;
    } rows[] = {
        {0, 1, 0, 0, 0, 0, 0, 0, 138, "视力保护未启动\n没有任务提醒\n邮件监测未启动\n网页监测未启动\n网络状态监测未启动"},
        {1, 1, 1, 0, 1, 0, 1, 1, 137, "视力保护已启动\n当前任务时间07:05\n没有新邮件\n网页监测已启动\n网络状态:不可连接"},
        {1, 0, 1, 1, 1, 3, 1, 1, 135, "视力保护已启动\n提醒服务未启动\n有3封邮件\n网页监测已启动\n网络状态:可连接"},
        {0, 1, 1, 1, 0, 0, 0, 0, 133, "视力保护未启动\n没有任务提醒\n邮件监测未启动\n网页监测未启动\n网络状态:可连接"},
    };
    StartWorking();
    dlg->m_nTaskHour = 7;
    dlg->m_nTaskMinute = 5;
    for (const auto& r : rows) {
        dlg->m_bEyeCare = r.eyeCare, dlg->m_bRemind = r.remind, dlg->m_bHostMonitor = r.host;
        dlg->m_bHostReachable = r.reachable, dlg->m_bMailCheck = r.mail, dlg->m_nNewMail = r.newMail;
        dlg->m_bHomepageWatch = r.web, dlg->m_nTaskCount = r.tasks;
        EXPECT_EQ(dlg->TrayIconResource(), r.icon);
        EXPECT_EQ(dlg->TrayTipText(), std::string("眸安星:\n") + r.tip);
    }
    dlg->m_nNewMail = 999, dlg->m_nTaskCount = 3, dlg->m_bMailCheck = dlg->m_bHostMonitor = dlg->m_bHomepageWatch = 1;
    dlg->m_bHostReachable = 0;
    EXPECT_LE(Utf8ToGbk(dlg->TrayTipText()).size(), 127u) << "the shell's limit, at the longest";
}

TEST_F(AppTest, AResetBringsBackBothIconsAsTheyWere) {
    StartWorking();
    dlg->m_bMailCheck = 1;
    dlg->m_nNewMail = 2;
    dlg->UpdateTrayTip();
    const auto before = shell.tray.icons;
    ASSERT_EQ(before.size(), 2u);
    for (int hotkey : {IDH_TRAY_A, IDH_TRAY_B}) {
        shell.tray.icons.clear();  // the shell lost them (explorer restarted)
        dlg->OnHotKey(hotkey);
        EXPECT_EQ(shell.tray.icons, before);
    }
}

}  // namespace
}  // namespace lumivar::test
