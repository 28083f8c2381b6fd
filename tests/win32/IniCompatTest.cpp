// The INI file as the system reads it: the portable reader and writer against the profile
// functions, and the Windows build's text conversion (code page 936, GB18030's four-byte codes
// for what 936 lacks).
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "settings/Gbk.h"
#include "settings/IniFile.h"
#include "settings/SettingsIo.h"
#include "win32/Wide.h"

namespace lumivar {
namespace {

// A file of this process's own; Store drops the system's cached copy of the old one.
class IniCompat : public ::testing::Test {
protected:
    void TearDown() override { DeleteFileA(m_path.c_str()); }
    void Store(const std::string& bytes) const {
        std::ofstream(m_path, std::ios::binary | std::ios::trunc) << bytes;
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, m_path.c_str());
    }
    std::string SysRead(const std::string& section, const std::string& key) const {
        std::vector<char> buf(20000);
        return std::string(buf.data(), GetPrivateProfileStringA(section.c_str(), key.c_str(), "<missing>", buf.data(),
                                                                DWORD(buf.size()), m_path.c_str()));
    }
    const std::string m_path =
        (std::filesystem::temp_directory_path() / ("lumivar-" + std::to_string(GetCurrentProcessId()) + ".ini")).string();
};

TEST_F(IniCompat, FilesWrittenEitherWayReadTheSameHereAndByTheSystem) {
    const struct { std::string section, key, value; } entries[] = {
        {"Lumivar2003", "VERSION", Utf8ToGbk("V1.25 2004贺岁版 Build12.18")}, {"SCREEN", "WORKTIME", "45"},
        {"SCREEN", "TEXT", Utf8ToGbk("保护视力")}, {"SCREEN", "Mixed Case Key", "-5"}, {"SCREEN", "EQ", "a=b;c"},
        {"SCREEN", "PADDED", "  padded  "}, {"SCREEN", "DQ", "\"double quoted\""}, {"SCREEN", "SQ", "'single'"},
        {"SCREEN", "HALFQ", "\"half"}, {"SCREEN", "MIXEDQ", "\"mixed'"}, {"SCREEN", "EMPTYQ", "''"},
        {"SCREEN", "TAB", "\t"}, {"SCREEN", "EMPTY", ""}, {"MAIL", "PASS", ScramblePassword("$pw$", true)},
        {"NOTES AND TASKS", "LONG", std::string(5000, 'x') + Utf8ToGbk("尾")}, {"N", "HEX", "0x10"}, {"N", "OCT", "0o17"},
        {"N", "BIN", "0b2"}, {"N", "NEG", "-0x10"}, {"N", "SIGNS", "--5"}, {"N", "SPACE", "- 5"}, {"N", "WRAP", "4294967297"},
        {"N", "MAX", "2147483648"}, {"N", "MIN", "-2147483649"}, {"N", "HUGE", "99999999999999999999999999999999999"},
        {"N", "ALL", "0xFFFFFFFF"}, {"N", "GBK", "\xB1\xA3" "5"}, {"N", "QUOTED", "'-3'"}, {"N", "EMPTYDQ", "\"\""}};
    for (const auto& e : entries)
        ASSERT_TRUE(WritePrivateProfileStringA(e.section.c_str(), e.key.c_str(), e.value.c_str(), m_path.c_str()));
    std::ifstream in(m_path, std::ios::binary);
    const IniFile bySystem(std::string(std::istreambuf_iterator<char>(in), {}));
    for (const auto& e : entries) {
        EXPECT_EQ(bySystem.GetString(e.section, e.key, "<missing>"), SysRead(e.section, e.key)) << e.key;
        EXPECT_EQ(bySystem.GetInt(e.section, e.key, -7), int(GetPrivateProfileIntA(e.section.c_str(), e.key.c_str(), -7,
                                                                                    m_path.c_str()))) << e.key;
    }

    IniFile ini("; hand-edited\n[SCREEN]\r\n  worktime =  9 \r\n; keep this\r\n[NOTES AND TASKS]\nDate9=stale\r\n"
                "\r\n[OTHER]\r\nKEEP=kept\r\n");
    ini.ClearSection("notes and tasks");
    for (const auto& e : entries) ini.Set(e.section, e.key, e.value);
    Store(ini.Text());
    for (const auto& e : entries) EXPECT_EQ(SysRead(e.section, e.key), e.value) << e.key;
    EXPECT_EQ(SysRead("NOTES AND TASKS", "Date9"), "<missing>");
    EXPECT_EQ(SysRead("OTHER", "KEEP"), "kept");
    // The wide functions read the bytes as code page 936, as a Chinese Windows does: TEXT went out as GBK.
    wchar_t wide[100];
    GetPrivateProfileStringW(L"SCREEN", L"TEXT", L"", wide, 100, Wide(m_path).c_str());
    EXPECT_EQ(std::wstring(wide), L"\u4FDD\u62A4\u89C6\u529B");
}

// What code page 936 itself makes of one character; empty when it has no code for it.
std::string System936(wchar_t w) {
    char out[8];
    BOOL lossy = FALSE;
    const int n = WideCharToMultiByte(936, WC_NO_BEST_FIT_CHARS, &w, 1, out, sizeof out, "?", &lossy);
    return lossy || n <= 0 ? std::string() : std::string(out, n);
}

// Beyond the basic plane, and input that is no text: unconvertible input costs one '?'.
TEST(Gb18030Conversion, FourByteCodesBothWaysAndUnconvertibleInput) {
    const struct { bool toUtf8; const char *in, *out; } cases[] = {
        {false, "密码𠀀😀", "\xC3\xDC\xC2\xEB\x95\x32\x82\x36\x94\x39\xFC\x36"}, {false, "\U0010FFFF", "\xE3\x32\x9A\x35"},
        {true, "\xC3\xDC\xC2\xEB\x95\x32\x82\x36\x94\x39\xFC\x36", "密码𠀀😀"}, {true, "\xE3\x32\x9A\x35", "\U0010FFFF"},
        {true, "ab\xFF" "cd", "ab?cd"}, {true, "\xB1\x7F\xB1\xA3", "?\x7F保"}, {true, "\xCA\xD3\xC1", "视?"},
        {true, "a\x81\x30\x7F\x30" "b", "a?0\x7F" "0b"}, {true, "\xCA\xD3\x84\x31\xA5\x30\xC1\xA6", "视?力"},
        {true, "\x95\x32\x82\x36\x95", "𠀀?"}, {false, "ab\xFF" "cd", "ab?cd"}, {false, "\xE8\xA7视", "??\xCA\xD3"},
        {false, "a\xED\xA0\x80" "b", "a?b"}, {false, "a\xF4\x90\x80\x80" "b", "a?b"}, {false, "a⺁b", "a?b"}};
    for (const auto& c : cases) EXPECT_EQ(c.toUtf8 ? GbkToUtf8(c.in) : Utf8ToGbk(c.in), c.out) << c.in;
}

// Each character alone and all of them in one text (which is not all 936): what code page 936
// could store keeps its bytes, and everything comes back but the 80 characters whose only
// GB18030 code is a two-byte one that 936 gives to a private-use character.
TEST(Gb18030Conversion, TheBasicPlaneKeepsCodePage936BytesAndComesBack) {
    const auto lostBlock = [](wchar_t cp) {
        return cp == 0x01F9 || (cp >= 0x2E81 && cp <= 0x2ECA) || (cp >= 0x2FF0 && cp <= 0x2FFB) || cp == 0x303E ||
               (cp >= 0x3447 && cp <= 0x4DAE);
    };
    std::string text, gbk, back;
    int lost = 0, failures = 0;
    for (wchar_t cp = 0x80; cp && failures < 20; ++cp) {  // to 0xFFFF, where it wraps to 0
        if (cp >= 0xD800 && cp < 0xE000) continue;
        const std::string utf8 = Utf8({&cp, 1}), bytes = Utf8ToGbk(utf8), again = GbkToUtf8(bytes);
        const std::string system = System936(cp);
        const bool in936 = !system.empty() && system != "\xFF";  // 936 cannot read back its U+F8F5
        bool ok = again == utf8 && (in936 ? bytes == system : bytes.size() == 4);
        if (!ok && again == "?" && lostBlock(cp) && system.empty()) ok = true, ++lost;
        EXPECT_TRUE(ok) << std::hex << unsigned(cp) << ": " << again << " from " << bytes.size() << " bytes";
        failures += !ok;
        text += utf8, gbk += bytes, back += again;
    }
    EXPECT_EQ(lost, 80);
    EXPECT_TRUE(Utf8ToGbk(text) == gbk);
    EXPECT_TRUE(GbkToUtf8(gbk) == back);
}

}  // namespace
}  // namespace lumivar
