#include "settings/SettingsIo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "settings/IniFile.h"

namespace lumivar {
namespace {

const char* const kTasks = "NOTES AND TASKS";

std::string Saved(const Settings& s, const TaskList& t) {
    IniFile ini;
    WriteSettings(ini, s, t);
    return ini.Text();
}
std::string Value(const IniFile& ini, const char* section, const std::string& key) {
    return ini.GetString(section, key, "<missing>");
}

// Characters code page 936 lacks go out as GB18030 four-byte codes: 𠀀 95 32 82 36, 😀 94 39 FC 36.
TEST(SettingsIo, SavedSettingsLoadBackUnchangedExceptTheVersionAndAMissingFileChangesNothing) {
    Settings s;
    TaskList t;
    s.m_strVersion = "V9 测试";
    s.m_bStartup = s.m_bAutoCheckNewVersion = s.m_bBackKey = s.m_bStretch = s.m_bAnimate = s.m_bPlaySound = 0;
    s.m_bDisplayTxt = s.m_bRemind = s.m_bHomepageProxy = 0;
    s.m_bConfigPass = s.m_bLockPass = s.m_bExitPass = s.m_bAutoLock = s.m_bPicture = s.m_bAltPic = 1;
    s.m_bMailCheck = s.m_bHostMonitor = 1;
    s.m_nAutoLockTimeout = 17, s.m_nWorkTime = 45, s.m_nBreakTime = 300, s.m_nRemindTimeout = 9;
    s.m_nMailInterval = 11, s.m_nHostInterval = 3;
    s.m_nNaturalBreak = 7, s.m_nFullScreenWait = 8, s.m_nPrewarn = 9;
    s.m_strSystemPwd = "😀 密码 𠀀", s.m_strProxyPass = "  secret \t", s.m_strMailPass = "褒x";
    s.m_strText = "  休息一下 \"eyes\"  ", s.m_strPicFile = "D:\\图片\\𠀀 2.jpg";
    s.m_crTextColor = Rgb(1, 2, 3), s.m_crBackColor = Rgb(255, 255, 255);
    s.m_strBreakWav = "b.wav", s.m_strWorkWav = "w.wav", s.m_strRemindWav = "r.wav";
    s.m_strProxyUser = "proxy user", s.m_strMailServer = "pop.example.org", s.m_strMailUser = "张三";
    s.m_strHostName = "192.168.0.1";
    s.m_bHomepageWatch = 1, s.m_nHomepageInterval = 7, s.m_strHomepageAddress = "http://example.org/新闻";
    const std::string before = Saved(s, t);
    ReadSettings(IniFile{}, s, t);
    EXPECT_EQ(Saved(s, t), before);

    t = {{"2004年12月18日", "开会😀\r\n带上报告", "notepad.exe D:\\𠀀.txt", 9, 30}, {kDaily, "", "shutdown", 23, 0}};
    const IniFile file(Saved(s, t));
    EXPECT_EQ(file.Text().find('?'), std::string::npos);
    EXPECT_EQ(Value(file, "SCREEN", "PICFILE"), "D:\\\xCD\xBC\xC6\xAC\\\x95\x32\x82\x36 2.jpg");
    EXPECT_EQ(ScramblePassword(Value(file, "Lumivar2003", "SYSTEMPWD"), false),
              "\x94\x39\xFC\x36 \xC3\xDC\xC2\xEB \x95\x32\x82\x36");

    Settings loaded;
    TaskList loadedTasks;
    ReadSettings(file, loaded, loadedTasks);
    EXPECT_EQ(loaded.m_strVersion, kVersionText);  // written, never read
    EXPECT_EQ(loaded.m_strProxyPass, "secret");
    loaded.m_strVersion = s.m_strVersion;
    EXPECT_EQ(Saved(loaded, loadedTasks), file.Text());  // every other field came back as saved
}

TEST(SettingsIo, ReadingFollowsTheProfileRulesAndKeepsWhatIsMissing) {
    Settings s;
    TaskList t;
    s.m_strMailPass = "current";
    s.m_strProxyPass = "proxy";
    // 0x01 has always stood for a 0xFE byte (here the second byte of 剥, B0 FE).
    ReadSettings(IniFile("[SCREEN]\r\nWORKTIME=abc\r\nBACKCOLOR=\r\n"
                         "TEXT=\xD0\xDD\xCF\xA2\r\n[lumivar2003]\r\ntimeout = 0x10\r\nSYSTEMPWD=\xB3\x01" "4\r\n"
                         "[HOMEPAGE]\r\nPASS=\r\n"),
                 s, t);
    EXPECT_EQ(s.m_nWorkTime, 1);  // no digits reads as 0, then the shortest period
    EXPECT_EQ(s.m_crBackColor, Rgb(11, 65, 104));  // an empty number keeps the default
    EXPECT_EQ(s.m_nAutoLockTimeout, 16);
    EXPECT_EQ(s.m_strText, "休息");
    EXPECT_EQ(s.m_strSystemPwd, "剥1");
    EXPECT_EQ(s.m_strProxyPass, "");        // an empty text is a value
    EXPECT_EQ(s.m_strMailPass, "current");  // no MAIL section
}

TEST(SettingsIo, TimesAndIntervalsAreBroughtIntoTheRangeTheDialogAllows) {
    // Every key reads each of these texts, each just past a limit; the rows give what each must end up as.
    const char* const texts[] = {"0", "1", "121", "241", "1440", "3601", "86400", "99999999999", "-2147483648"};
    const struct { const char* section; const char* key; int Settings::*field; std::vector<int> expected; } keys[] = {
        {"SCREEN", "WORKTIME", &Settings::m_nWorkTime, {1, 1, 121, 241, 1439, 1439, 1439, 1439, 1}},
        {"SCREEN", "BREAKTIME", &Settings::m_nBreakTime, {0, 1, 121, 241, 1440, 3601, 86399, 86399, 0}},
        // With the rest at ten minutes, a timeout of none gives eleven.
        {"Lumivar2003", "TIMEOUT", &Settings::m_nAutoLockTimeout, {11, 1, 120, 120, 120, 120, 120, 120, 11}},
        {"HOMEPAGE", "INTERVAL", &Settings::m_nHomepageInterval, {1, 1, 121, 240, 240, 240, 240, 240, 1}},
        {"HOSTSTATUS", "INTERVAL", &Settings::m_nHostInterval, {1, 1, 120, 120, 120, 120, 120, 120, 1}},
        {kTasks, "TIMEOUT", &Settings::m_nRemindTimeout, {0, 1, 121, 241, 1440, 3600, 3600, 3600, 0}},
        {"SCREEN", "NATURALBREAK", &Settings::m_nNaturalBreak, {0, 1, 120, 120, 120, 120, 120, 120, 0}},
        {"SCREEN", "FULLSCREENWAIT", &Settings::m_nFullScreenWait, {0, 1, 121, 240, 240, 240, 240, 240, 0}},
        {"SCREEN", "PREWARN", &Settings::m_nPrewarn, {0, 1, 121, 241, 300, 300, 300, 300, 0}},
    };
    const int hostMonitor[] = {0, 1, 1, 1, 1, 1, 1, 1, 0};
    for (const auto& k : keys) {
        for (size_t i = 0; i < std::size(texts); ++i) {
            Settings s;
            TaskList t;
            s.m_bHostMonitor = 1;
            // The first section of a name wins, so the key's own comes first.
            ReadSettings(IniFile("[" + std::string(k.section) + "]\r\n" + k.key + "=" + texts[i] +
                                 "\r\n[SCREEN]\r\nBREAKTIME=600\r\n"),
                         s, t);
            const std::string where = std::string(k.section) + "/" + k.key + "=" + texts[i];
            EXPECT_EQ(s.*k.field, k.expected.at(i)) << where;
            // Only a host interval of none switches the monitor off.
            EXPECT_EQ(s.m_bHostMonitor, k.field == &Settings::m_nHostInterval ? hostMonitor[i] : 1) << where;
        }
    }
}

TEST(SettingsIo, TaskEntriesAreParsedAndRejectedOnesCloseUp) {
    const std::string d1 = "2004\xC4\xEA" "1\xD4\xC2" "1\xC8\xD5";  // 2004年1月1日
    const struct { std::string body; std::vector<TaskItem> expected; } cases[] = {
        {"TOTALITEM=1\r\nNOTE0=Line$rone$nTwo\r\nTIME0=7:0\r\n", {{kDaily, "Line\rone\nTwo", "", 7, 0}}},
        {"TOTALITEM=3\r\nNOTE0=a\r\nTIME0=25:99\r\nNOTE1=b\r\nTIME1= 8 : 5min\r\nNOTE2=c\r\nTIME2=-2:+3:4\r\n",
         {{kDaily, "a", "", 25, 99}, {kDaily, "b", "", 8, 5}, {kDaily, "c", "", -2, 3}}},
        {"TOTALITEM=5\r\nNOTE0=no colon\r\nTIME0=1230\r\nNOTE1=no time\r\nTIME2=1:00\r\nTASK3=lock\r\nTIME3=12:30\r\n"
         "NOTE4=kept\r\nTIME4=6:15\r\n",
         {{kDaily, "", "lock", 12, 30}, {kDaily, "kept", "", 6, 15}}},
        {"TOTALITEM=2\r\nDate0=" + d1 + "\r\nTIME0=1:1\r\nNOTE0=zero\r\nTIME1=4:4\r\nTASK1=reboot\r\n",
         {{"2004年1月1日", "zero", "", 1, 1}, {kDaily, "", "reboot", 4, 4}}},
        // An hour of -1 is a legal entry, not a gap, even right behind a rejected one.
        {"TOTALITEM=3\r\nNOTE0=no colon\r\nTIME0=1230\r\nNOTE1=late\r\nTIME1=-1:30\r\nTASK2=b\r\nTIME2=-1:-1\r\n",
         {{kDaily, "late", "", -1, 30}, {kDaily, "", "b", -1, -1}}},
    };
    for (const auto& c : cases) {
        Settings s;
        // Whatever a slot held before, a missing Date means every day and a missing NOTE or TASK means none.
        TaskList t(MAX_TASKS, {"2004年1月1日", "old note", "old task", 1, 1});
        ReadSettings(IniFile("[NOTES AND TASKS]\r\n" + c.body), s, t);
        EXPECT_EQ(t, c.expected) << c.body;
    }
}

TEST(SettingsIo, FewerEntriesLeaveNoKeysOfTheOldOnesAndTheCountStaysInTheTable) {
    Settings s;
    TaskList all;
    for (int i = 0; i < 25; ++i) all.push_back({kDaily, std::string(1, char('a' + i)), "", i, 0});
    IniFile ini;
    for (const int count : {25, 3}) {
        WriteSettings(ini, s, TaskList(all.begin(), all.begin() + count));
        EXPECT_EQ(Value(ini, kTasks, "TOTALITEM"), std::to_string(std::min(count, MAX_TASKS)));
        EXPECT_EQ(Value(ini, kTasks, "Date20"), "<missing>");
    }
    EXPECT_EQ(Value(ini, kTasks, "NOTE2"), "c");
    for (const char* key : {"Date", "TIME", "NOTE", "TASK"}) EXPECT_EQ(Value(ini, kTasks, key + std::string("3")), "<missing>");
}

// The blank after a lead byte is its second byte; a lead byte alone at the end is an ordinary byte.
// FD would encode to NUL, which ends a value in the file: it is stored as 03.
TEST(PasswordScramble, ShiftsByThreeAfterTrimmingWholeCharactersAndEveryByteSurvivesTheFile) {
    const struct { const char* in; bool encode; const char* out; } cases[] = {
        {"abc", true, "def"}, {"def", false, "abc"}, {"  a b  ", true, "d#e"}, {" \t\r\n\v\fabc \t\r\n\v\f", true, "def"},
        {"   \t ", true, ""}, {"ab\x81 ", true, "de\x84#"}, {"  \x81 x", true, "\x84#{"}, {"de\x84# ", false, "ab\x81 "},
        {"ab\x81", true, "de\x84"}, {"a\xFD" "b", true, "d\x03" "e"}, {"\xFE\xFF", true, "\x01\x02"}};
    for (const auto& c : cases) EXPECT_EQ(ScramblePassword(c.in, c.encode), c.out) << '"' << c.in << "\" " << c.encode;
    for (int b = 0x21; b <= 0xFF; ++b) {
        for (const std::string& pw : {std::string(1, char(b)), std::string{'x', char(b), '$'}}) {
            IniFile ini;
            ini.Set("MAIL", "PASS", ScramblePassword(pw, true));
            EXPECT_EQ(ScramblePassword(ini.GetString("MAIL", "PASS", "<missing>"), false), pw) << "byte " << b;
        }
    }
}

}  // namespace

}  // namespace lumivar
