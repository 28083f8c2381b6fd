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

namespace lumivar::test {
namespace {

TEST_F(AppTest, MouseOnTheMainIconTogglesOpensTheMenuOrTheSettings) {
    StartWorking();
    dlg->OnTrayNotify(0, 0x202);  // left button up
    EXPECT_FALSE(dlg->m_bEyeCare);
    dlg->OnTrayNotify(0, 0x205);  // right button up
    ASSERT_EQ(shell.tray.menus.size(), 1u);
    EXPECT_EQ(shell.tray.menus[0], (fake::FakeTray::Menu{136, 32796, 32782, false}));
    dlg->OnTrayNotify(0, 0x202);
    dlg->OnTrayNotify(0, 0x205);
    EXPECT_TRUE(shell.tray.menus[1].checked);
    dlg->OnTrayNotify(0, 0x204);  // right button down: nothing
    dlg->OnTrayNotify(0, 0x200);  // mouse move: nothing
    EXPECT_EQ(shell.tray.menus.size(), 2u);
    EXPECT_TRUE(dlg->m_bEyeCare);
}

TEST_F(AppTest, MailIconMenuAndItsNotice) {
    StartWorking();
    dlg->m_bMailCheck = 1;
    dlg->m_nNewMail = 2;
    dlg->UpdateTrayTip();
    dlg->OnMailTrayNotify(1, 0x202);
    dlg->OnMailTrayNotify(1, 0x205);
    dlg->OnMailTrayNotify(1, 0x203);
    EXPECT_EQ(shell.tray.menus, (std::vector<fake::FakeTray::Menu>{{148, 0, 0, false}, {148, 0, 0, false}}));
    dlg->OnCommand(32795);  // 知道了，过会儿再提醒我！
    EXPECT_EQ(shell.tray.icons.count(1), 0u);
    EXPECT_NE(shell.tray.icons.at(0).tip.find("\n没有新邮件"), std::string::npos);
}

TEST_F(AppTest, EveryMenuCommandReachesAnOperation) {
    StartWorking();
    for (int id : {32774, 32780, 32787, 32788, 32792, 32794, 32795, 32796, 32799, 57670, 32782, 32783})
        EXPECT_TRUE(dlg->OnCommand(id)) << id;
    EXPECT_EQ(shell.dialogs.abouts.size(), 1u);
    EXPECT_EQ(shell.system.opened, (std::vector<std::string>{"C:\\Program Files\\Lumivar\\readmecn.txt",
                                                             "C:\\Program Files\\Lumivar\\readmecn.txt"}));
    EXPECT_EQ(shell.window.screenSavers, 1);
    EXPECT_FALSE(dlg->OnCommand(32773));
}

TEST_F(AppTest, AboutOpensOnceWithBothVersions) {
    StartWorking();
    shell.dialogs.duringAbout = [this] { dlg->OnCommand(32774); };  // a second request while it is open
    dlg->OnAbout();
    ASSERT_EQ(shell.dialogs.abouts.size(), 1u);
    EXPECT_EQ(shell.dialogs.abouts[0], std::make_pair(std::string("V1.25 2004贺岁版 Build12.18"),
                                                      std::string("尚未检查是否有更新版本")));
    dlg->OnAbout();
    EXPECT_EQ(shell.dialogs.abouts.size(), 2u);
}

TEST_F(AppTest, ReadmeOfAProgramInTheDriveRoot) {
    shell.system.modulePath = "D:\\Lumivar.exe";
    StartWorking();
    dlg->OnReadme();
    EXPECT_EQ(shell.system.opened.back(), "D:\\readmecn.txt");
}

}  // namespace
}  // namespace lumivar::test
