// The portable INI reader and writer against the system's profile functions.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "settings/Gbk.h"
#include "settings/IniFile.h"
#include "settings/SettingsIo.h"

namespace lumivar {
namespace {

class IniCompatTest : public ::testing::Test {
protected:
    void SetUp() override {
        char tmp[MAX_PATH];
        GetTempPathA(MAX_PATH, tmp);
        m_dir = std::string(tmp) + "lumivar-ini-" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(m_dir.c_str(), nullptr);
        m_path = m_dir + "\\" + ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".ini";
        DeleteFileA(m_path.c_str());
    }
    void TearDown() override {
        DeleteFileA(m_path.c_str());
        RemoveDirectoryA(m_dir.c_str());
    }

    std::string Bytes() const {
        std::ifstream in(m_path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    void Store(const std::string& bytes) const {
        std::ofstream(m_path, std::ios::binary | std::ios::trunc) << bytes;
        // Drop any copy the profile functions still hold of the old contents.
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, m_path.c_str());
    }

    void SysWrite(const std::string& section, const std::string& key, const std::string& value) const {
        ASSERT_TRUE(WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), m_path.c_str()));
    }
    std::string SysRead(const std::string& section, const std::string& key) const {
        std::vector<char> buf(20000);
        const DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), "<missing>", buf.data(),
                                                 static_cast<DWORD>(buf.size()), m_path.c_str());
        return std::string(buf.data(), n);
    }
    int SysInt(const std::string& section, const std::string& key, int def) const {
        return static_cast<int>(GetPrivateProfileIntA(section.c_str(), key.c_str(), def, m_path.c_str()));
    }
    static std::string Read(const IniFile& ini, const std::string& section, const std::string& key) {
        return ini.GetString(section, key, "<missing>");
    }

    std::string m_dir;
    std::string m_path;
};

struct Entry {
    std::string section, key, value;
};

std::vector<Entry> SampleEntries() {
    return {
        {"Lumivar2003", "VERSION", Utf8ToGbk("V1.25 2004贺岁版 Build12.18")},
        {"SCREEN", "WORKTIME", "45"},
        {"SCREEN", "TEXT", Utf8ToGbk("保护视力")},
        {"SCREEN", "BACKCOLOR", "6832395"},
        {"SCREEN", "Mixed Case Key", "-5"},
        {"SCREEN", "BLANKS", "a b  c"},
        {"SCREEN", "PADDED", "  padded  "},
        {"SCREEN", "DQ", "\"double quoted\""},
        {"SCREEN", "SQ", "'single'"},
        {"SCREEN", "HALFQ", "\"half"},
        {"SCREEN", "EMPTY", ""},
        {"SCREEN", "EQ", "a=b;c"},
        {"NOTES AND TASKS", "Date0", Utf8ToGbk("每天")},
        {"NOTES AND TASKS", "NOTE0", Utf8ToGbk("第一行$r$n第二行")},
        {"NOTES AND TASKS", "LONG", std::string(5000, 'x') + Utf8ToGbk("尾")},
        {"MAIL", "PASS", ScramblePassword("$pw$", true)},
    };
}

TEST_F(IniCompatTest, FileWrittenByTheSystemReadsTheSame) {
    for (const Entry& e : SampleEntries()) SysWrite(e.section, e.key, e.value);
    const IniFile ini(Bytes());
    for (const Entry& e : SampleEntries()) {
        EXPECT_EQ(Read(ini, e.section, e.key), SysRead(e.section, e.key)) << e.section << "/" << e.key;
        EXPECT_EQ(ini.GetInt(e.section, e.key, -777), SysInt(e.section, e.key, -777)) << e.section << "/" << e.key;
    }
    EXPECT_EQ(Read(ini, "screen", "mixed case key"), "-5");
    EXPECT_EQ(Read(ini, "SCREEN", "TEXT"), "\xB1\xA3\xBB\xA4\xCA\xD3\xC1\xA6");
    EXPECT_EQ(Read(ini, "SCREEN", "MISSING"), SysRead("SCREEN", "MISSING"));
    EXPECT_EQ(Read(ini, "NO SECTION", "KEY"), SysRead("NO SECTION", "KEY"));
}

TEST_F(IniCompatTest, SectionClearedByTheSystemReadsTheSame) {
    for (const Entry& e : SampleEntries()) SysWrite(e.section, e.key, e.value);
    ASSERT_TRUE(WritePrivateProfileSectionA("NOTES AND TASKS", "\0", m_path.c_str()));
    const IniFile ini(Bytes());
    EXPECT_EQ(Read(ini, "NOTES AND TASKS", "Date0"), "<missing>");
    EXPECT_EQ(SysRead("NOTES AND TASKS", "Date0"), "<missing>");
    EXPECT_EQ(Read(ini, "MAIL", "PASS"), SysRead("MAIL", "PASS"));
    EXPECT_NE(ini.Text().find("[NOTES AND TASKS]"), std::string::npos);
}

TEST_F(IniCompatTest, FileWrittenByIniFileReadsTheSameWithTheSystem) {
    IniFile ini(
        "; hand-edited\n"
        "[SCREEN]\r\n"
        "  worktime =  9 \r\n"
        "; keep this\r\n"
        "[NOTES AND TASKS]\n"
        "Date0=old\n"
        "Date9=stale\r\n"
        "\r\n"
        "[OTHER]\r\n"
        "KEEP=kept\r\n");
    for (const Entry& e : SampleEntries()) ini.Set(e.section, e.key, e.value);
    ini.ClearSection("notes and tasks");
    ini.Set("NOTES AND TASKS", "TOTALITEM", "1");
    ini.Set("NOTES AND TASKS", "TIME0", "8:5");
    Store(ini.Text());

    for (const Entry& e : SampleEntries()) {
        if (e.section == "NOTES AND TASKS") continue;
        EXPECT_EQ(SysRead(e.section, e.key), e.value) << e.section << "/" << e.key;
        EXPECT_EQ(SysRead(e.section, e.key), Read(ini, e.section, e.key)) << e.section << "/" << e.key;
        EXPECT_EQ(SysInt(e.section, e.key, -777), ini.GetInt(e.section, e.key, -777)) << e.section << "/" << e.key;
    }
    // Replaced where it stood, not added a second time.
    EXPECT_NE(ini.Text().find("[SCREEN]\r\n  worktime =  45\r\nTEXT="), std::string::npos) << ini.Text();
    EXPECT_EQ(SysRead("NOTES AND TASKS", "Date0"), "<missing>");
    EXPECT_EQ(SysRead("NOTES AND TASKS", "Date9"), "<missing>");
    EXPECT_EQ(SysInt("NOTES AND TASKS", "TOTALITEM", -1), 1);
    EXPECT_EQ(SysRead("NOTES AND TASKS", "TIME0"), "8:5");
    EXPECT_EQ(SysRead("OTHER", "KEEP"), "kept");
}

TEST_F(IniCompatTest, ValuesThatNeedQuotingReadBackThroughTheSystem) {
    const std::vector<std::string> values = {" lead", "trail ", "\"q\"", "'s'", "''", "\"\"", "\t", "\"mixed'"};
    IniFile ini;
    for (std::size_t i = 0; i < values.size(); ++i) ini.Set("Q", "K" + std::to_string(i), values[i]);
    Store(ini.Text());
    for (std::size_t i = 0; i < values.size(); ++i)
        EXPECT_EQ(SysRead("Q", "K" + std::to_string(i)), values[i]) << "value #" << i;
}

TEST_F(IniCompatTest, GetIntAgreesWithGetPrivateProfileInt) {
    const std::vector<std::string> values = {
        "-5", "0x10", "0X10", "55zz", "abc", " 7 ", "+8", "0o17", "0b101", "0b2", "\"12\"", "'-3'",
        "4294967297", "-0x10", "0x", "- 5", "--5", "12627706", "2147483648", "-2147483649",
        "99999999999999999999999999999999999", "0xFFFFFFFF", "\xB1\xA3" "5", "", "\"\"",
    };
    std::string text = "[N]\r\n";
    for (std::size_t i = 0; i < values.size(); ++i) text += "k" + std::to_string(i) + "=" + values[i] + "\r\n";
    Store(text);
    const IniFile ini(text);
    for (std::size_t i = 0; i < values.size(); ++i) {
        const std::string key = "k" + std::to_string(i);
        EXPECT_EQ(ini.GetInt("N", key, -777), SysInt("N", key, -777)) << "value \"" << values[i] << "\"";
    }
    EXPECT_EQ(ini.GetInt("N", "absent", -777), SysInt("N", "absent", -777));
}

TEST_F(IniCompatTest, SettingsSavedHereAreReadByTheSystem) {
    Settings s;
    TaskTable t;
    s.m_strMailPass = "  mail pw ";
    t.SetItem(0, {kDaily, "喝水\r\n休息", "", 10, 30});
    s.m_nTaskCount = 1;
    IniFile ini;
    WriteSettings(ini, s, t);
    Store(ini.Text());

    EXPECT_EQ(SysRead("SCREEN", "TEXT"), "\xB1\xA3\xBB\xA4\xCA\xD3\xC1\xA6");
    wchar_t wide[100];
    GetPrivateProfileStringW(L"SCREEN", L"TEXT", L"", wide, 100, std::wstring(m_path.begin(), m_path.end()).c_str());
    EXPECT_EQ(std::wstring(wide), L"\u4FDD\u62A4\u89C6\u529B");
    EXPECT_EQ(SysInt("SCREEN", "BACKCOLOR", 0), 6832395);
    EXPECT_EQ(SysRead("MAIL", "PASS"), "pdlo#sz");
    EXPECT_EQ(SysRead("NOTES AND TASKS", "NOTE0"), Utf8ToGbk("喝水$r$n休息"));
    EXPECT_EQ(SysRead("NOTES AND TASKS", "TIME0"), "10:30");
}

TEST_F(IniCompatTest, SettingsSavedByTheSystemAreReadHere) {
    SysWrite("SCREEN", "TEXT", Utf8ToGbk("眼睛累了"));
    SysWrite("SCREEN", "WORKTIME", "40");
    SysWrite("SOUND", "BREAKWAV", Utf8ToGbk("C:\\声音\\b.wav"));
    SysWrite("NOTES AND TASKS", "TOTALITEM", "2");
    SysWrite("NOTES AND TASKS", "TIME0", "1230");
    SysWrite("NOTES AND TASKS", "NOTE0", "dropped");
    SysWrite("NOTES AND TASKS", "TIME1", "7:45");
    SysWrite("NOTES AND TASKS", "TASK1", "screensaver");
    SysWrite("MAIL", "PASS", ScramblePassword(Utf8ToGbk("秘密"), true));

    Settings s;
    TaskTable t;
    ReadSettings(IniFile(Bytes()), s, t);
    EXPECT_EQ(s.m_strText, "眼睛累了");
    EXPECT_EQ(s.m_nWorkTime, 40);
    EXPECT_EQ(s.m_strBreakWav, "C:\\声音\\b.wav");
    EXPECT_EQ(s.m_strMailPass, "秘密");
    ASSERT_EQ(s.m_nTaskCount, 1);
    EXPECT_EQ(t.Item(0), (TaskItem{kDaily, "", "screensaver", 7, 45}));
}

// The Windows build's code page 936 conversion.
TEST(GbkWin32, ChineseTextBothWays) {
    EXPECT_EQ(Utf8ToGbk("保护视力"), "\xB1\xA3\xBB\xA4\xCA\xD3\xC1\xA6");
    EXPECT_EQ(GbkToUtf8("\xB1\xA3\xBB\xA4\xCA\xD3\xC1\xA6"), "保护视力");
    EXPECT_EQ(GbkToUtf8(Utf8ToGbk("V1.25 2004贺岁版 Build12.18")), "V1.25 2004贺岁版 Build12.18");
    EXPECT_EQ(GbkToUtf8(""), "");
    EXPECT_EQ(Utf8ToGbk(""), "");
}

TEST(GbkWin32, BadInputBecomesQuestionMarkAndTheRestSurvives) {
    EXPECT_EQ(GbkToUtf8("ab\xFF" "cd"), "ab?cd");
    EXPECT_EQ(GbkToUtf8("\xB1\x7F\xB1\xA3"), "?\x7F保");
    EXPECT_EQ(GbkToUtf8("\xCA\xD3\xC1"), "视?");
    EXPECT_EQ(Utf8ToGbk("ab\xFF" "cd"), "ab?cd");
    EXPECT_EQ(Utf8ToGbk("\x80视"), "?\xCA\xD3");
    EXPECT_EQ(Utf8ToGbk("a😀b"), "a?b");
    EXPECT_EQ(Utf8ToGbk("\xE8\xA7视"), "??\xCA\xD3");
}

}  // namespace
}  // namespace lumivar
