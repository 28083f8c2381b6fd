// The tray icon's picture and tip.
#include "app/AppFixture.h"

namespace lumivar::test {
namespace {

// Each service's state as the program reaches it: the settings file, the eye-care switch, a
// host check that found no answer, a mailbox with mail. Both icons come back as they were after a
// reset, and when the shell starts again.
TEST(Tray, TipAndIconFollowEveryService) {
    const struct {
        int eyeCare, remind, host, reachable, mail, newMail, web, tasks, icon;
        const char* tip;
    } rows[] = {
        {0, 1, 0, 1, 0, 0, 0, 0, 133, "视力保护未启动\n没有任务提醒\n邮件监测未启动\n网页监测未启动\n网络状态监测未启动"},
        {1, 1, 1, 0, 1, 0, 1, 1, 137, "视力保护已启动\n当前任务时间07:05\n没有新邮件\n网页监测已启动\n网络状态:不可连接"},
        {1, 0, 1, 1, 1, 3, 1, 1, 135, "视力保护已启动\n提醒服务未启动\n有3封邮件\n网页监测已启动\n网络状态:可连接"},
        {0, 1, 1, 0, 0, 0, 0, 0, 138, "视力保护未启动\n没有任务提醒\n邮件监测未启动\n网页监测未启动\n网络状态:不可连接"},
        {1, 1, 1, 0, 1, 999, 1, 3, 137,  // the longest tip there is
         "视力保护已启动\n当前任务时间07:05\n有999封邮件\n网页监测已启动\n网络状态:不可连接"},
    };
    for (const auto& r : rows) {
        const std::string tasks = "[NOTES AND TASKS]\nREMIND=" + std::to_string(r.remind) + "\nTOTALITEM=" +
                                  std::to_string(r.tasks) + "\nDate0=每天\nTIME0=7:5\nNOTE0=x\nDate1=每天\nTIME1=8:0\n" +
                                  "NOTE1=y\nDate2=每天\nTIME2=9:0\nNOTE2=z\n";
        Monitors m(tasks + "[HOSTSTATUS]\nMONITOR=" + std::to_string(r.host) + "\nHOSTNAME=localhost\n[MAIL]\nCHECK=" +
                   std::to_string(r.mail) + "\nSERVER=127.0.0.1\n[HOMEPAGE]\nWATCH=" + std::to_string(r.web) + "\n");
        if (!r.eyeCare) m.dlg->OnToggleEyeCare();
        m.HostAnswers(r.reachable);
        if (!r.reachable) m.Command(kCheckHost);
        m.Mails(r.newMail);
        if (r.newMail) m.Command(kCheckMail);
        EXPECT_EQ(m.dlg->TrayIconResource(), r.icon);
        EXPECT_EQ(m.dlg->TrayTipText(), std::string("眸安星:\n") + r.tip);
        EXPECT_LE(Utf8ToGbk(m.dlg->TrayTipText()).size(), 127u) << "the shell's limit";
        const auto before = m.shell.tray.icons;
        EXPECT_EQ(before.size(), r.newMail ? 2u : 1u);
        for (int hotkey : {IDH_TRAY_A, IDH_TRAY_B, 0}) {  // 0: explorer restarted
            m.shell.tray.icons.clear();  // the shell lost them
            hotkey ? void(m.dlg->OnHotKey(hotkey)) : m.dlg->OnTaskbarCreated();
            EXPECT_EQ(m.shell.tray.icons, before);
        }
    }
}

}  // namespace
}  // namespace lumivar::test
