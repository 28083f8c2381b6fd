// The Windows build's text conversion: code page 936, plus GB18030's
// four-byte sequences for what 936 lacks.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <utility>

#include "settings/Gbk.h"

namespace lumivar {
namespace {

std::string Utf8(char32_t cp) {
    wchar_t w[2];
    int n = 1;
    if (cp < 0x10000) {
        w[0] = static_cast<wchar_t>(cp);
    } else {
        w[0] = static_cast<wchar_t>(0xD800 + ((cp - 0x10000) >> 10));
        w[1] = static_cast<wchar_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
        n = 2;
    }
    char out[8];
    return std::string(out, WideCharToMultiByte(CP_UTF8, 0, w, n, out, sizeof out, nullptr, nullptr));
}

// What code page 936 itself makes of one character; empty when it has no code for it.
std::string System936(char32_t cp) {
    const wchar_t w = static_cast<wchar_t>(cp);
    char out[8];
    BOOL lossy = FALSE;
    const int n = WideCharToMultiByte(936, WC_NO_BEST_FIT_CHARS, &w, 1, out, sizeof out, "?", &lossy);
    return lossy || n <= 0 ? std::string() : std::string(out, n);
}

std::string Hex(char32_t cp) {
    char name[16];
    std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(cp));
    return name;
}

TEST(Gb18030Conversion, ConvertsBothWaysWithTheSameBytesAsNatively) {
    const std::pair<std::string, std::string> cases[] = {{"保护视力", "\xB1\xA3\xBB\xA4\xCA\xD3\xC1\xA6"}, {"", ""},
        {"€", "\x80"}, {"\u0080", "\x81\x30\x81\x30"}, {"£¤¥", "\x81\x30\x84\x35\xA1\xE8\x81\x30\x84\x36"},
        {"㐀", "\x81\x39\xEE\x39"}, {"\uFFFD\uFFFF", "\x84\x31\xA4\x37\x84\x31\xA4\x39"},
        {"\uFE10", "\x84\x31\x82\x36"}, {"\uF8F5", "\x83\x39\xFE\x30"}, {"\u1E3F", "\x81\x35\xF4\x37"},
        {"\U00010000", "\x90\x30\x81\x30"}, {"𠀀", "\x95\x32\x82\x36"}, {"a😀b", "a\x94\x39\xFC\x36" "b"},
        {"\U0010FFFF", "\xE3\x32\x9A\x35"},
        {"密码𠀀㐀😀", "\xC3\xDC\xC2\xEB\x95\x32\x82\x36\x81\x39\xEE\x39\x94\x39\xFC\x36"},
        // Two-byte codes read as code page 936 reads them, so that older files read as before.
        {"\uE76C\uE815", "\xA2\xE3\xFE\x50"}};
    for (const auto& [utf8, gbk] : cases) {
        EXPECT_EQ(Utf8ToGbk(utf8), gbk) << utf8;
        EXPECT_EQ(GbkToUtf8(gbk), utf8) << utf8;
    }
}

TEST(Gb18030Conversion, UnconvertibleInputCostsOneQuestionMarkAndTheRestSurvives) {
    const struct { bool toUtf8; const char *in, *out; } cases[] = {
        {true, "\xB1\x7F\xB1\xA3", "?\x7F保"}, {true, "x\xB1\x20y", "x? y"}, {true, "\xCA\xD3\xC1", "视?"},
        {true, "a\x81\x30\x7F\x30" "b", "a?0\x7F" "0b"}, {true, "a\x81\x30\x81\x7F", "a?0?\x7F"},
        {true, "\xCA\xD3\x84\x31\xA5\x30\xC1\xA6", "视?力"}, {true, "x\x8F\x39\xFE\x39y", "x?y"},
        {true, "x\xE3\x32\x9A\x36y", "x?y"}, {true, "x\xFE\x39\xFE\x39y", "x?y"},
        {true, "a\x95\x32\x82", "a?"}, {true, "a\x95\x32", "a?"}, {true, "\x95\x32\x82\x36\x95", "𠀀?"},
        {false, "\x80视", "?\xCA\xD3"}, {false, "\xE8\xA7视", "??\xCA\xD3"}, {false, "a\xED\xA0\x80" "b", "a?b"},
        {false, "a\xE0\x80\xAF" "b", "a?b"}, {false, "a\xF4\x90\x80\x80" "b", "a?b"}, {false, "a⺁b", "a?b"}};
    for (const auto& c : cases) EXPECT_EQ(c.toUtf8 ? GbkToUtf8(c.in) : Utf8ToGbk(c.in), c.out) << c.in;
}

// Whatever code page 936 could store is stored exactly as before, whether or
// not the text also holds a character it lacks. U+F8F5 it stores as 0xFF but
// reads back as nothing, so that one has moved to its four-byte code.
TEST(Gb18030Conversion, CharactersOfCodePage936KeepTheirBytes) {
    EXPECT_EQ(System936(0xF8F5), "\xFF");
    EXPECT_EQ(GbkToUtf8("\xFF"), "?");
    EXPECT_EQ(GbkToUtf8(Utf8ToGbk(Utf8(0xF8F5))), Utf8(0xF8F5));
    std::string utf8, gbk;
    for (char32_t cp = 1; cp <= 0xFFFF; ++cp) {
        if ((cp >= 0xD800 && cp < 0xE000) || cp == 0xF8F5) continue;
        const std::string bytes = System936(cp);
        if (bytes.empty()) continue;
        utf8 += Utf8(cp), gbk += bytes;
    }
    EXPECT_GT(gbk.size(), 40000u);
    EXPECT_TRUE(Utf8ToGbk(utf8) == gbk);
    EXPECT_TRUE(GbkToUtf8(gbk) == utf8);
    EXPECT_TRUE(Utf8ToGbk(utf8 + "😀") == gbk + "\x94\x39\xFC\x36");
    EXPECT_TRUE(GbkToUtf8("\x94\x39\xFC\x36" + gbk) == "😀" + utf8);
}

// Every character of the basic plane comes back but the 80 whose only GB18030
// code is a two-byte one that code page 936 gives to a private-use character.
TEST(Gb18030Conversion, TheBasicPlaneRoundTripsInOneText) {
    std::string text;
    for (char32_t cp = 0x80; cp <= 0xFFFF; ++cp)
        if (cp < 0xD800 || cp >= 0xE000) text += Utf8(cp) + "\n";
    const std::string back = GbkToUtf8(Utf8ToGbk(text));
    const auto twoByteBlock = [](char32_t cp) {
        return cp == 0x01F9 || (cp >= 0x2E81 && cp <= 0x2ECA) || (cp >= 0x2FF0 && cp <= 0x2FFB) || cp == 0x303E ||
               (cp >= 0x3447 && cp <= 0x4DAE);
    };
    std::size_t pos = 0;
    int lost = 0;
    std::string wrong;
    for (char32_t cp = 0x80; cp <= 0xFFFF; ++cp) {
        if (cp >= 0xD800 && cp < 0xE000) continue;
        const std::size_t eol = back.find('\n', pos);
        ASSERT_NE(eol, std::string::npos);
        const std::string got = back.substr(pos, eol - pos);
        pos = eol + 1;
        if (got == Utf8(cp)) continue;
        if (got == "?" && twoByteBlock(cp) && System936(cp).empty()) ++lost;
        else if (wrong.size() < 200) wrong += Hex(cp) + " as \"" + got + "\"; ";
    }
    EXPECT_EQ(wrong, "");
    EXPECT_EQ(pos, back.size());
    EXPECT_EQ(lost, 80);
}

}  // namespace
}  // namespace lumivar
