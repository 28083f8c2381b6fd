// The portable INI reader and writer against the system's profile functions.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
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
        m_path = std::string(tmp) + "lumivar-" + std::to_string(GetCurrentProcessId()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".ini";
        DeleteFileA(m_path.c_str());
    }
    void TearDown() override { DeleteFileA(m_path.c_str()); }

    std::string Bytes() const {
        std::ifstream in(m_path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    void Store(const std::string& bytes) const {
        std::ofstream(m_path, std::ios::binary | std::ios::trunc) << bytes;
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, m_path.c_str());  // drop any cached copy
    }
    void SysWrite(const std::string& section, const std::string& key, const std::string& value) const {
        ASSERT_TRUE(WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), m_path.c_str()));
    }
    std::string SysRead(const std::string& section, const std::string& key) const {
        std::vector<char> buf(20000);
        return std::string(buf.data(), GetPrivateProfileStringA(section.c_str(), key.c_str(), "<missing>", buf.data(),
                                                                DWORD(buf.size()), m_path.c_str()));
    }

    std::string m_path;
};

struct Entry { std::string section, key, value; };

std::vector<Entry> Sample() {
    return {{"Lumivar2003", "VERSION", Utf8ToGbk("V1.25 2004贺岁版 Build12.18")}, {"SCREEN", "WORKTIME", "45"},
            {"SCREEN", "TEXT", Utf8ToGbk("保护视力")}, {"SCREEN", "Mixed Case Key", "-5"}, {"SCREEN", "EQ", "a=b;c"},
            {"SCREEN", "PADDED", "  padded  "}, {"SCREEN", "DQ", "\"double quoted\""}, {"SCREEN", "SQ", "'single'"},
            {"SCREEN", "HALFQ", "\"half"}, {"SCREEN", "MIXEDQ", "\"mixed'"}, {"SCREEN", "EMPTYQ", "''"},
            {"SCREEN", "TAB", "\t"}, {"SCREEN", "EMPTY", ""}, {"MAIL", "PASS", ScramblePassword("$pw$", true)},
            {"NOTES AND TASKS", "LONG", std::string(5000, 'x') + Utf8ToGbk("尾")}};
}

TEST_F(IniCompatTest, FilesWrittenEitherWayReadTheSameHereAndByTheSystem) {
    for (const Entry& e : Sample()) SysWrite(e.section, e.key, e.value);
    const IniFile bySystem(Bytes());
    for (const Entry& e : Sample())
        EXPECT_EQ(bySystem.GetString(e.section, e.key, "<missing>"), SysRead(e.section, e.key)) << e.section << "/" << e.key;
    EXPECT_EQ(bySystem.GetString("SCREEN", "TEXT", ""), "\xB1\xA3\xBB\xA4\xCA\xD3\xC1\xA6");

    IniFile ini("; hand-edited\n[SCREEN]\r\n  worktime =  9 \r\n; keep this\r\n[NOTES AND TASKS]\nDate9=stale\r\n"
                "\r\n[OTHER]\r\nKEEP=kept\r\n");
    ini.ClearSection("notes and tasks");
    for (const Entry& e : Sample()) ini.Set(e.section, e.key, e.value);
    Store(ini.Text());
    for (const Entry& e : Sample()) EXPECT_EQ(SysRead(e.section, e.key), e.value) << e.section << "/" << e.key;
    EXPECT_EQ(SysRead("NOTES AND TASKS", "Date9"), "<missing>");
    EXPECT_EQ(SysRead("OTHER", "KEEP"), "kept");
}

TEST_F(IniCompatTest, GetIntAgreesWithGetPrivateProfileInt) {
    const std::vector<std::string> values = {
        "-5", "0x10", "0X10", "55zz", "abc", " 7 ", "+8", "0o17", "0b101", "0b2", "\"12\"", "'-3'",
        "4294967297", "-0x10", "0x", "- 5", "--5", "12627706", "2147483648", "-2147483649",
        "99999999999999999999999999999999999", "0xFFFFFFFF", "\xB1\xA3" "5", "", "\"\""};
    std::string text = "[N]\r\n";
    for (std::size_t i = 0; i < values.size(); ++i) text += "k" + std::to_string(i) + "=" + values[i] + "\r\n";
    Store(text);
    for (std::size_t i = 0; i <= values.size(); ++i) {  // the last key is absent
        const std::string key = "k" + std::to_string(i);
        EXPECT_EQ(IniFile(text).GetInt("N", key, -777), int(GetPrivateProfileIntA("N", key.c_str(), -777, m_path.c_str())))
            << (i < values.size() ? values[i] : "<absent>");
    }
}

TEST_F(IniCompatTest, SettingsTravelBothWaysBetweenThisCodeAndTheSystem) {
    Settings s;
    TaskTable t;
    s.m_strMailPass = "  mail pw ";
    t.SetItem(0, {kDaily, "喝水\r\n休息", "", 10, 30});
    s.m_nTaskCount = 1;
    IniFile ini;
    WriteSettings(ini, s, t);
    Store(ini.Text());
    wchar_t wide[100];
    GetPrivateProfileStringW(L"SCREEN", L"TEXT", L"", wide, 100, std::wstring(m_path.begin(), m_path.end()).c_str());
    EXPECT_EQ(std::wstring(wide), L"\u4FDD\u62A4\u89C6\u529B");  // 保护视力 as code page 936 bytes
    EXPECT_EQ(SysRead("MAIL", "PASS"), "pdlo#sz");

    SysWrite("SCREEN", "TEXT", Utf8ToGbk("眼睛累了"));
    SysWrite("NOTES AND TASKS", "TIME0", "7:45");
    SysWrite("MAIL", "PASS", ScramblePassword(Utf8ToGbk("秘密"), true));
    ReadSettings(IniFile(Bytes()), s, t);
    EXPECT_EQ(s.m_strText, "眼睛累了");
    EXPECT_EQ(s.m_strMailPass, "秘密");
    ASSERT_EQ(s.m_nTaskCount, 1);
    EXPECT_EQ(t.Item(0), (TaskItem{kDaily, "喝水\r\n休息", "", 7, 45}));
}

// The Windows build's own code page 936 conversion.
TEST(GbkWin32, ConvertsBothWaysAndUnconvertibleInputCostsOneQuestionMark) {
    EXPECT_EQ(GbkToUtf8("\xB1\xA3\xBB\xA4\xCA\xD3\xC1\xA6"), "保护视力");  // the other way: the TEXT checks above
    const struct { bool toUtf8; const char *in, *out; } bad[] = {
        {true, "ab\xFF" "cd", "ab?cd"}, {true, "\xB1\x7F\xB1\xA3", "?\x7F保"}, {true, "\xCA\xD3\xC1", "视?"},
        {false, "ab\xFF" "cd", "ab?cd"}, {false, "\x80视", "?\xCA\xD3"}, {false, "a😀b", "a\x94\x39\xFC\x36" "b"}, {false, "\xE8\xA7视", "??\xCA\xD3"}};
    for (const auto& c : bad) EXPECT_EQ(c.toUtf8 ? GbkToUtf8(c.in) : Utf8ToGbk(c.in), c.out) << c.in;
}

}  // namespace
}  // namespace lumivar
