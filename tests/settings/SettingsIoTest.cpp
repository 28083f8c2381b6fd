#include "settings/SettingsIo.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lumivar {
namespace {

const std::string kGbkProtectEyes = "\xB1\xA3\xBB\xA4\xCA\xD3\xC1\xA6";  // 保护视力
const std::string kGbkDaily = "\xC3\xBF\xCC\xEC";                       // 每天

// The web page settings are process-wide; every test gets them fresh.
class SettingsIoTest : public ::testing::Test {
protected:
    void SetUp() override { ResetGlobals(); }
    void TearDown() override { ResetGlobals(); }

    static void ResetGlobals() {
        g_bHomepageWatch = 0;
        g_nHomepageInterval = 2;
        g_strHomepageAddress = kDefaultHomepageAddress;
    }

    static void AddTask(Settings& s, TaskTable& t, TaskItem item) { t.SetItem(s.m_nTaskCount++, item); }

    static std::string Saved(const Settings& s, const TaskTable& t, std::string start = {}) {
        IniFile ini(std::move(start));
        WriteSettings(ini, s, t);
        return ini.Text();
    }

    static std::string Value(const IniFile& ini, const char* section, const std::string& key) {
        std::string v;
        return ini.Get(section, key, v) ? v : "<missing>";
    }

    // "[SECTION]" for each header and "KEY" for each key line, in file order.
    static std::vector<std::string> Layout(const std::string& text) {
        std::vector<std::string> out;
        std::size_t pos = 0;
        while (pos < text.size()) {
            std::size_t end = text.find("\r\n", pos);
            if (end == std::string::npos) end = text.size();
            const std::string line = text.substr(pos, end - pos);
            pos = end + 2;
            out.push_back(line.front() == '[' ? line : line.substr(0, line.find('=')));
        }
        return out;
    }

    // Every field away from its default, with texts that need care in the file.
    static void Customize(Settings& s) {
        s.m_strVersion = "V9 测试";
        s.m_bStartup = 0;
        s.m_bAutoCheckNewVersion = 0;
        s.m_bConfigPass = 1;
        s.m_bLockPass = 1;
        s.m_bExitPass = 1;
        s.m_strSystemPwd = "密码pw";
        s.m_bAutoLock = 1;
        s.m_nAutoLockTimeout = 17;
        s.m_nWorkTime = 45;
        s.m_nBreakTime = 300;
        s.m_bDisplayTxt = 0;
        s.m_strText = "  休息一下 \"eyes\"  ";
        s.m_crTextColor = Rgb(1, 2, 3);
        s.m_crBackColor = Rgb(255, 255, 255);
        s.m_bBackKey = 0;
        s.m_bPicture = 1;
        s.m_strPicFile = "D:\\图片\\bk 2.jpg";
        s.m_bStretch = 0;
        s.m_bAltPic = 1;
        s.m_bAnimate = 0;
        s.m_bPlaySound = 0;
        s.m_strBreakWav = "b.wav";
        s.m_strWorkWav = "w.wav";
        s.m_strRemindWav = "r.wav";
        s.m_bRemind = 0;
        s.m_nRemindTimeout = 9;
        s.m_bHomepageProxy = 0;
        s.m_strProxyUser = "proxy user";
        s.m_strProxyPass = "$quoted$";
        s.m_bMailCheck = 1;
        s.m_nMailInterval = 11;
        s.m_strMailServer = "pop.example.org";
        s.m_strMailUser = "张三";
        s.m_strMailPass = "mail pass";
        s.m_bHostMonitor = 1;
        s.m_strHostName = "192.168.0.1";
        s.m_nHostInterval = 3;
        g_bHomepageWatch = 1;
        g_nHomepageInterval = 7;
        g_strHomepageAddress = "http://example.org/新闻";
    }

    static void AddSampleTasks(Settings& s, TaskTable& t) {
        AddTask(s, t, {"2004年12月18日", "开会\r\n带上报告", "notepad.exe", 9, 30});
        AddTask(s, t, {kDaily, "", "shutdown", 23, 0});
        AddTask(s, t, {kDaily, "$n literally", "", 0, 5});
    }
};

// ---- Load ---------------------------------------------------------------

TEST_F(SettingsIoTest, MissingFileLeavesEveryValueAsItWas) {
    Settings s;
    TaskTable t;
    Customize(s);
    const std::string before = Saved(s, t);

    ReadSettings(IniFile{}, s, t);
    EXPECT_EQ(Saved(s, t), before);
    EXPECT_EQ(s.m_strVersion, "V9 测试");
}

TEST_F(SettingsIoTest, SavedSettingsLoadBackUnchanged) {
    Settings s;
    TaskTable t;
    Customize(s);
    AddSampleTasks(s, t);
    const IniFile file(Saved(s, t));

    Settings loaded;
    TaskTable loadedTasks;
    ResetGlobals();
    ReadSettings(file, loaded, loadedTasks);

    EXPECT_EQ(loaded.m_strText, "  休息一下 \"eyes\"  ");
    EXPECT_EQ(loaded.m_strPicFile, "D:\\图片\\bk 2.jpg");
    EXPECT_EQ(loaded.m_strSystemPwd, "密码pw");
    EXPECT_EQ(loaded.m_strProxyPass, "$quoted$");
    EXPECT_EQ(loaded.m_strMailPass, "mail pass");
    EXPECT_EQ(loaded.m_strMailUser, "张三");
    EXPECT_EQ(loaded.m_crBackColor, Rgb(255, 255, 255));
    EXPECT_EQ(loaded.m_nBreakTime, 300);
    EXPECT_EQ(g_strHomepageAddress, "http://example.org/新闻");
    EXPECT_EQ(g_nHomepageInterval, 7);
    EXPECT_EQ(g_bHomepageWatch, 1);
    ASSERT_EQ(loaded.m_nTaskCount, 3);
    EXPECT_EQ(loadedTasks.Item(0), (TaskItem{"2004年12月18日", "开会\r\n带上报告", "notepad.exe", 9, 30}));
    EXPECT_EQ(loadedTasks.Item(1), (TaskItem{kDaily, "", "shutdown", 23, 0}));
    // The version is written but never read.
    EXPECT_EQ(loaded.m_strVersion, kVersionText);
    // Every other field, including those checked above, comes back as it was saved.
    loaded.m_strVersion = s.m_strVersion;
    EXPECT_EQ(Saved(loaded, loadedTasks), file.Text());
}

TEST_F(SettingsIoTest, TextIsReadFromGbkBytes) {
    Settings s;
    TaskTable t;
    ReadSettings(IniFile("[SCREEN]\r\nTEXT=\xD0\xDD\xCF\xA2\r\n"), s, t);
    EXPECT_EQ(s.m_strText, "休息");
}

TEST_F(SettingsIoTest, NumbersFollowTheProfileRules) {
    Settings s;
    TaskTable t;
    ReadSettings(IniFile("[SCREEN]\r\nWORKTIME=abc\r\nBREAKTIME=30s\r\nTEXTCOLOR=255\r\nBACKCOLOR=\r\n"
                         "[lumivar2003]\r\nvERSION=old\r\ntimeout = 0x10\r\n"),
                 s, t);
    EXPECT_EQ(s.m_nWorkTime, 0);
    EXPECT_EQ(s.m_nBreakTime, 30);
    EXPECT_EQ(s.m_crTextColor, 255u);
    EXPECT_EQ(s.m_crBackColor, Rgb(11, 65, 104));  // empty value: default kept
    EXPECT_EQ(s.m_nAutoLockTimeout, 16);
    EXPECT_EQ(s.m_strVersion, kVersionText);
}

TEST_F(SettingsIoTest, HomepageSectionFillsTheGlobals) {
    Settings s;
    TaskTable t;
    ReadSettings(IniFile("[HOMEPAGE]\r\nWATCH=1\r\nINTERVAL=15\r\nADDRESS=http://a.example/\r\nPROXY=0\r\n"), s, t);
    EXPECT_EQ(g_bHomepageWatch, 1);
    EXPECT_EQ(g_nHomepageInterval, 15);
    EXPECT_EQ(g_strHomepageAddress, "http://a.example/");
    EXPECT_EQ(s.m_bHomepageProxy, 0);
}

// ---- Save ---------------------------------------------------------------

TEST_F(SettingsIoTest, FirstSaveWritesAllSevenSectionsInOrder) {
    Settings s;
    TaskTable t;
    AddTask(s, t, {kDaily, "note", "", 8, 5});
    const std::string text = Saved(s, t);

    const std::vector<std::string> expected = {
        "[Lumivar2003]", "VERSION", "STARTUP", "AUTOCHECKNEWVERSION", "CONFIGPASS", "LOCKPASS", "EXITPASS",
        "SYSTEMPWD", "AUTOLOCK", "TIMEOUT",
        "[SCREEN]", "WORKTIME", "BREAKTIME", "DISPLAYTXT", "TEXT", "TEXTCOLOR", "BACKCOLOR", "BACKKEY",
        "PICTURE", "PICFILE", "STRETCH", "ALTPIC", "ANIMATE",
        "[SOUND]", "PLAYSOUND", "BREAKWAV", "WORKWAV", "REMINDWAV",
        "[NOTES AND TASKS]", "REMIND", "TIMEOUT", "TOTALITEM", "Date0", "TIME0", "NOTE0", "TASK0",
        "[HOMEPAGE]", "WATCH", "ADDRESS", "INTERVAL", "PROXY", "USER", "PASS",
        "[MAIL]", "CHECK", "INTERVAL", "SERVER", "USER", "PASS",
        "[HOSTSTATUS]", "MONITOR", "HOSTNAME", "INTERVAL",
    };
    EXPECT_EQ(Layout(text), expected);

    const IniFile ini(text);
    EXPECT_EQ(Value(ini, "Lumivar2003", "VERSION"), "V1.25 2004\xBA\xD8\xCB\xEA\xB0\xE6 Build12.18");
    EXPECT_EQ(Value(ini, "SCREEN", "TEXTCOLOR"), "12627706");
    EXPECT_EQ(Value(ini, "SCREEN", "BACKCOLOR"), "6832395");
    EXPECT_EQ(Value(ini, "NOTES AND TASKS", "TOTALITEM"), "1");
    EXPECT_EQ(Value(ini, "NOTES AND TASKS", "Date0"), kGbkDaily);
    EXPECT_EQ(Value(ini, "NOTES AND TASKS", "TIME0"), "8:5");
    EXPECT_EQ(Value(ini, "HOMEPAGE", "ADDRESS"), kDefaultHomepageAddress);
    EXPECT_EQ(Value(ini, "MAIL", "PASS"), "&&&&&&");
    EXPECT_NE(text.find("\r\nSYSTEMPWD=\r\n"), std::string::npos);
}

TEST_F(SettingsIoTest, TextIsStoredAsGbkBytes) {
    Settings s;
    TaskTable t;
    const std::string text = Saved(s, t);
    EXPECT_NE(text.find("\r\nTEXT=" + kGbkProtectEyes + "\r\n"), std::string::npos);
    EXPECT_EQ(text.find("保护视力"), std::string::npos);
}

TEST_F(SettingsIoTest, SaveKeepsWhatItDoesNotOwn) {
    const std::string start =
        "; my notes about this file\r\n"
        "[SCREEN]\r\n"
        "; work in minutes\r\n"
        "worktime = 9\r\n"
        "FUTUREKEY=keep me\r\n"
        "\r\n"
        "[PLUGIN]\r\n"
        "; third-party\r\n"
        "NAME=\xB2\xE5\xBC\xFE\r\n"
        "[NOTES AND TASKS]\r\n"
        "Date7=stale\r\n";
    IniFile ini(start);
    Settings s;
    TaskTable t;
    ReadSettings(ini, s, t);
    EXPECT_EQ(s.m_nWorkTime, 9);
    s.m_nWorkTime = 20;
    WriteSettings(ini, s, t);

    const std::string text = ini.Text();
    EXPECT_EQ(text.rfind("; my notes about this file\r\n[SCREEN]\r\n; work in minutes\r\nworktime = 20\r\nFUTUREKEY=keep me\r\n", 0), 0u)
        << text;
    EXPECT_NE(text.find("[PLUGIN]\r\n; third-party\r\nNAME=\xB2\xE5\xBC\xFE\r\n"), std::string::npos) << text;
    EXPECT_EQ(Value(ini, "NOTES AND TASKS", "Date7"), "<missing>");
    // The one WORKTIME line was edited, not joined by a second.
    EXPECT_EQ(text.find("WORKTIME"), std::string::npos);
}

// ---- Task entries ---------------------------------------------------------

TEST_F(SettingsIoTest, NoteLineBreaksTravelAsDollarPairs) {
    Settings s;
    TaskTable t;
    ReadSettings(IniFile("[NOTES AND TASKS]\r\nTOTALITEM=1\r\nNOTE0=Line$rone$nTwo\r\nTIME0=7:0\r\n"), s, t);
    ASSERT_EQ(s.m_nTaskCount, 1);
    EXPECT_EQ(t.m_strTaskNote[0], "Line\rone\nTwo");

    const IniFile saved(Saved(s, t));
    EXPECT_EQ(Value(saved, "NOTES AND TASKS", "NOTE0"), "Line$rone$nTwo");
    EXPECT_EQ(t.m_strTaskNote[0], "Line\rone\nTwo");
}

TEST_F(SettingsIoTest, TypedDollarPairComesBackAsALineBreak) {
    Settings s;
    TaskTable t;
    AddTask(s, t, {kDaily, "cost $n", "", 1, 2});
    Settings loaded;
    TaskTable loadedTasks;
    ReadSettings(IniFile(Saved(s, t)), loaded, loadedTasks);
    EXPECT_EQ(loadedTasks.m_strTaskNote[0], "cost \n");
}

TEST_F(SettingsIoTest, TimeIsTwoAtoiNumbersAroundTheColon) {
    Settings s;
    TaskTable t;
    ReadSettings(IniFile("[NOTES AND TASKS]\r\nTOTALITEM=4\r\n"
                         "NOTE0=a\r\nTIME0=25:99\r\n"
                         "NOTE1=b\r\nTIME1= 8 : 5min\r\n"
                         "NOTE2=c\r\nTIME2=x:y\r\n"
                         "NOTE3=d\r\nTIME3=-2:+3:4\r\n"),
                 s, t);
    ASSERT_EQ(s.m_nTaskCount, 4);
    EXPECT_EQ(t.m_nTaskHours[0], 25);
    EXPECT_EQ(t.m_nTaskMinutes[0], 99);
    EXPECT_EQ(t.m_nTaskHours[1], 8);
    EXPECT_EQ(t.m_nTaskMinutes[1], 5);
    EXPECT_EQ(t.m_nTaskHours[2], 0);
    EXPECT_EQ(t.m_nTaskMinutes[2], 0);
    EXPECT_EQ(t.m_nTaskHours[3], -2);
    EXPECT_EQ(t.m_nTaskMinutes[3], 3);
}

TEST_F(SettingsIoTest, EntryWithoutColonOrWithoutAnyTextIsDropped) {
    Settings s;
    TaskTable t;
    ReadSettings(IniFile("[NOTES AND TASKS]\r\nTOTALITEM=5\r\n"
                         "NOTE0=no colon\r\nTIME0=1230\r\n"
                         "NOTE1=no time\r\n"
                         "TIME2=1:00\r\n"
                         "TASK3=lock\r\nTIME3=12:30\r\n"
                         "NOTE4=kept\r\nTIME4=6:15\r\n"),
                 s, t);
    ASSERT_EQ(s.m_nTaskCount, 2);
    EXPECT_EQ(t.Item(0), (TaskItem{kDaily, "", "lock", 12, 30}));
    EXPECT_EQ(t.Item(1), (TaskItem{kDaily, "kept", "", 6, 15}));
}

TEST_F(SettingsIoTest, RejectedEntryClosesUpKeepingEachDate) {
    Settings s;
    TaskTable t;
    ReadSettings(IniFile("[NOTES AND TASKS]\r\nTOTALITEM=4\r\n"
                         "Date0=2004\xC4\xEA" "1\xD4\xC2" "1\xC8\xD5\r\nTIME0=1:1\r\nNOTE0=zero\r\n"
                         "Date1=2004\xC4\xEA" "2\xD4\xC2" "2\xC8\xD5\r\nTIME1=2 2\r\nNOTE1=one\r\n"
                         "Date2=2004\xC4\xEA" "3\xD4\xC2" "3\xC8\xD5\r\nTIME2=3:3\r\nNOTE2=two\r\n"
                         "TIME3=4:4\r\nTASK3=reboot\r\n"),
                 s, t);
    ASSERT_EQ(s.m_nTaskCount, 3);
    EXPECT_EQ(t.Item(0), (TaskItem{"2004年1月1日", "zero", "", 1, 1}));
    EXPECT_EQ(t.Item(1), (TaskItem{"2004年3月3日", "two", "", 3, 3}));
    EXPECT_EQ(t.Item(2), (TaskItem{kDaily, "", "reboot", 4, 4}));
}

TEST_F(SettingsIoTest, SeveralGapsCloseUpInFileOrder) {
    Settings s;
    TaskTable t;
    ReadSettings(IniFile("[NOTES AND TASKS]\r\nTOTALITEM=6\r\n"
                         "NOTE1=b\r\nTIME1=1:0\r\n"
                         "NOTE2=c\r\nTIME2=2:0\r\n"
                         "NOTE4=e\r\nTIME4=4:0\r\n"),
                 s, t);
    ASSERT_EQ(s.m_nTaskCount, 3);
    EXPECT_EQ(t.m_strTaskNote[0], "b");
    EXPECT_EQ(t.m_strTaskNote[1], "c");
    EXPECT_EQ(t.m_strTaskNote[2], "e");
    EXPECT_EQ(t.m_nTaskHours[2], 4);
}

TEST_F(SettingsIoTest, ReloadReplacesEveryPartOfAnEntry) {
    Settings s;
    TaskTable t;
    AddTask(s, t, {"2004年1月1日", "old note", "old task", 1, 1});
    ReadSettings(IniFile("[NOTES AND TASKS]\r\nTOTALITEM=1\r\nTIME0=5:6\r\nTASK0=logoff\r\n"), s, t);
    ASSERT_EQ(s.m_nTaskCount, 1);
    // No Date key means every day; no NOTE key means no note.
    EXPECT_EQ(t.Item(0), (TaskItem{kDaily, "", "logoff", 5, 6}));
}

TEST_F(SettingsIoTest, FewerEntriesLeaveNoKeysOfTheOldOnes) {
    Settings s;
    TaskTable t;
    for (int i = 0; i < 5; ++i) AddTask(s, t, {kDaily, "n" + std::to_string(i), "", i, 0});
    IniFile ini;
    WriteSettings(ini, s, t);
    ASSERT_EQ(Value(ini, "NOTES AND TASKS", "TASK4"), "");

    s.m_nTaskCount = 3;
    WriteSettings(ini, s, t);
    EXPECT_EQ(Value(ini, "NOTES AND TASKS", "TOTALITEM"), "3");
    for (const char* key : {"Date", "TIME", "NOTE", "TASK"}) {
        EXPECT_NE(Value(ini, "NOTES AND TASKS", key + std::string("2")), "<missing>");
        EXPECT_EQ(Value(ini, "NOTES AND TASKS", key + std::string("3")), "<missing>");
        EXPECT_EQ(Value(ini, "NOTES AND TASKS", key + std::string("4")), "<missing>");
    }
}

TEST_F(SettingsIoTest, CountAboveTheTableIsCutToTwenty) {
    std::string file = "[NOTES AND TASKS]\r\nTOTALITEM=25\r\n";
    for (int i = 0; i < 25; ++i) file += "NOTE" + std::to_string(i) + "=n" + std::to_string(i) + "\r\nTIME" + std::to_string(i) + "=1:" + std::to_string(i) + "\r\n";
    Settings s;
    TaskTable t;
    ReadSettings(IniFile(file), s, t);
    ASSERT_EQ(s.m_nTaskCount, 20);
    EXPECT_EQ(t.Item(19), (TaskItem{kDaily, "n19", "", 1, 19}));

    const IniFile saved(Saved(s, t));
    EXPECT_EQ(Value(saved, "NOTES AND TASKS", "TOTALITEM"), "20");
    EXPECT_EQ(Value(saved, "NOTES AND TASKS", "NOTE19"), "n19");
    EXPECT_EQ(Value(saved, "NOTES AND TASKS", "NOTE20"), "<missing>");
}

TEST_F(SettingsIoTest, CountAboveTheTableWithRejectsStaysInside) {
    // 25 claimed, the first 20 read, two of them rejected.
    std::string file = "[NOTES AND TASKS]\r\nTOTALITEM=25\r\n";
    for (int i = 0; i < 25; ++i)
        if (i != 3 && i != 7) file += "TASK" + std::to_string(i) + "=t" + std::to_string(i) + "\r\nTIME" + std::to_string(i) + "=0:0\r\n";
    Settings s;
    TaskTable t;
    ReadSettings(IniFile(file), s, t);
    ASSERT_EQ(s.m_nTaskCount, 18);
    EXPECT_EQ(t.m_strTaskCmd[17], "t19");
}

TEST_F(SettingsIoTest, NegativeCountReadsNoEntries) {
    Settings s;
    TaskTable t;
    AddTask(s, t, {kDaily, "mine", "", 1, 1});
    ReadSettings(IniFile("[NOTES AND TASKS]\r\nTOTALITEM=-3\r\nNOTE0=file\r\nTIME0=2:2\r\n"), s, t);
    EXPECT_EQ(s.m_nTaskCount, 0);
    EXPECT_EQ(t.m_strTaskNote[0], "mine");
}

TEST_F(SettingsIoTest, SaveNeverWritesMoreThanTwentyEntries) {
    Settings s;
    TaskTable t;
    for (int i = 0; i < MAX_TASKS; ++i) t.SetItem(i, {kDaily, "n", "", 1, 1});
    s.m_nTaskCount = 25;
    IniFile ini;
    WriteSettings(ini, s, t);
    EXPECT_EQ(Value(ini, "NOTES AND TASKS", "TOTALITEM"), "20");
    EXPECT_EQ(Value(ini, "NOTES AND TASKS", "Date19"), kGbkDaily);
    EXPECT_EQ(Value(ini, "NOTES AND TASKS", "Date20"), "<missing>");

    s.m_nTaskCount = -3;
    WriteSettings(ini, s, t);
    EXPECT_EQ(Value(ini, "NOTES AND TASKS", "TOTALITEM"), "0");
    EXPECT_EQ(Value(ini, "NOTES AND TASKS", "Date0"), "<missing>");
}

// ---- Passwords --------------------------------------------------------------

TEST_F(SettingsIoTest, PasswordIsStoredTrimmedAndScrambled) {
    Settings s;
    TaskTable t;
    s.m_strSystemPwd = "  secret \t";
    s.m_strProxyPass = "";
    const IniFile ini(Saved(s, t));
    EXPECT_EQ(Value(ini, "Lumivar2003", "SYSTEMPWD"), "vhfuhw");
    EXPECT_EQ(Value(ini, "HOMEPAGE", "PASS"), "");

    Settings loaded;
    loaded.m_strProxyPass = "in memory";
    ReadSettings(ini, loaded, t);
    EXPECT_EQ(loaded.m_strSystemPwd, "secret");
    // Present but empty is a real value, not a missing key.
    EXPECT_EQ(loaded.m_strProxyPass, "");
}

TEST_F(SettingsIoTest, MissingPasswordKeyKeepsTheCurrentPassword) {
    Settings s;
    TaskTable t;
    s.m_strMailPass = "current";
    s.m_strSystemPwd = "sys";
    ReadSettings(IniFile("[Lumivar2003]\r\nSTARTUP=0\r\n[HOSTSTATUS]\r\nMONITOR=1\r\n"), s, t);
    EXPECT_EQ(s.m_strMailPass, "current");
    EXPECT_EQ(s.m_strSystemPwd, "sys");
    EXPECT_EQ(s.m_bStartup, 0);
}

TEST_F(SettingsIoTest, PasswordWithAnFdByteSurvivesSaveAndLoad) {
    // 褒 is B0 FD in GBK; its second byte would encode to NUL.
    Settings s;
    TaskTable t;
    s.m_strSystemPwd = "褒x";
    const std::string text = Saved(s, t);
    EXPECT_NE(text.find("SYSTEMPWD=\xB3\x03{\r\n"), std::string::npos);
    EXPECT_EQ(text.find('\0'), std::string::npos);

    Settings loaded;
    ReadSettings(IniFile(text), loaded, t);
    EXPECT_EQ(loaded.m_strSystemPwd, "褒x");
}

TEST_F(SettingsIoTest, OldFilesPasswordBytesReadAsBefore) {
    Settings s;
    TaskTable t;
    // 0x01 has always been how a 0xFE byte (here the second byte of 剥, B0 FE) was stored.
    ReadSettings(IniFile("[MAIL]\r\nPASS=dd\r\n[Lumivar2003]\r\nSYSTEMPWD=\xB3\x01" "4\r\n"), s, t);
    EXPECT_EQ(s.m_strMailPass, "aa");
    EXPECT_EQ(s.m_strSystemPwd, "剥1");
    EXPECT_EQ(Value(IniFile(Saved(s, t)), "Lumivar2003", "SYSTEMPWD"), "\xB3\x01" "4");
}

}  // namespace
}  // namespace lumivar
