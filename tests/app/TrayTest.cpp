// The status tip, the icon pictures and the mail icon.
#include "app/AppFixture.h"
#include "settings/Gbk.h"

namespace lumivar::test {
namespace {

TEST_F(AppTest, TipAndIconFollowEveryService) {
    StartWorking();
    dlg->m_bEyeCare = 0;
    dlg->m_bHostMonitor = 0;
    dlg->m_bHostReachable = 0;
    EXPECT_EQ(dlg->TrayIconResource(), 138);
    EXPECT_EQ(dlg->TrayTipText(),
              "眸安星:\n视力保护未启动\n没有任务提醒\n邮件监测未启动\n网页监测未启动\n网络状态监测未启动");

    dlg->m_bEyeCare = 1;
    dlg->m_bHostMonitor = 1;
    dlg->m_bMailCheck = 1;
    g_bHomepageWatch = 1;
    dlg->m_nTaskCount = 1;
    dlg->m_nTaskHour = 7;
    dlg->m_nTaskMinute = 5;
    EXPECT_EQ(dlg->TrayIconResource(), 137);
    EXPECT_EQ(dlg->TrayTipText(),
              "眸安星:\n视力保护已启动\n当前任务时间07:05\n没有新邮件\n网页监测已启动\n网络状态:不可连接");

    dlg->m_bHostReachable = 1;
    dlg->m_bRemind = 0;
    dlg->m_nNewMail = 3;
    EXPECT_EQ(dlg->TrayIconResource(), 135);
    EXPECT_EQ(dlg->TrayTipText(),
              "眸安星:\n视力保护已启动\n提醒服务未启动\n有3封邮件\n网页监测已启动\n网络状态:可连接");
    dlg->m_bEyeCare = 0;
    EXPECT_EQ(dlg->TrayIconResource(), 133);
}

TEST_F(AppTest, MailIconComesAndGoesWithTheCount) {
    StartWorking();
    dlg->m_bMailCheck = 1;
    dlg->m_nNewMail = 3;
    dlg->UpdateTrayTip();
    ASSERT_EQ(shell.tray.icons.count(1), 1u);
    EXPECT_EQ(shell.tray.icons.at(1), (TrayIcon{1, 0x402, 147, "您有3封新邮件!"}));
    dlg->m_nNewMail = 4;
    dlg->UpdateTrayTip();
    EXPECT_EQ(shell.tray.icons.at(1).tip, "您有4封新邮件!");
    dlg->m_nNewMail = 0;
    dlg->UpdateTrayTip();
    EXPECT_EQ(shell.tray.icons.count(1), 0u);
    EXPECT_NE(shell.tray.icons.at(0).tip.find("\n没有新邮件"), std::string::npos);
}

TEST_F(AppTest, ResetBringsBackBothIconsAsTheyWere) {
    StartWorking();
    dlg->m_bMailCheck = 1;
    dlg->m_nNewMail = 2;
    dlg->UpdateTrayTip();
    const auto before = shell.tray.icons;
    shell.tray.icons.clear();  // the shell lost them (explorer restarted)
    dlg->OnHotKey(1003);
    EXPECT_EQ(shell.tray.icons, before);
    dlg->OnHotKey(1004);
    EXPECT_EQ(shell.tray.icons, before);
}

TEST_F(AppTest, TipFitsTheShellsLimitAtItsLongest) {
    StartWorking();
    dlg->m_bMailCheck = 1;
    dlg->m_nNewMail = 999;
    dlg->m_nTaskCount = 3;
    dlg->m_bHostMonitor = 1;
    dlg->m_bHostReachable = 0;
    g_bHomepageWatch = 1;
    EXPECT_LE(Utf8ToGbk(dlg->TrayTipText()).size(), 127u);
}

}  // namespace
}  // namespace lumivar::test
