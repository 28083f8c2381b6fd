#include "settings/Gbk.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <cstdint>
#include <string>
#include <utility>

namespace lumivar {
namespace {

TEST(GbkConversion, ConvertsBothWaysWhole) {
    std::string longUtf8, longGbk;
    for (int i = 0; i < 3000; ++i) longUtf8 += "视力", longGbk += "\xCA\xD3\xC1\xA6";
    // U+FE10 and U+1E3F as GB18030-2000 has them; glibc gives them two-byte codes that code page
    // 936 spends on private-use characters.
    const std::pair<std::string, std::string> cases[] = {
        {"保护视力", "\xB1\xA3\xBB\xA4\xCA\xD3\xC1\xA6"}, {"", ""}, {"C:\\break.wav", "C:\\break.wav"}, {"€", "\x80"},
        {"\u0080", "\x81\x30\x81\x30"}, {"\uFFFF", "\x84\x31\xA4\x39"}, {"\uFE10", "\x84\x31\x82\x36"},
        {"\u1E3F", "\x81\x35\xF4\x37"}, {"\U00010000", "\x90\x30\x81\x30"}, {"\U0010FFFF", "\xE3\x32\x9A\x35"},
        {longUtf8 + "😀" + longUtf8, longGbk + "\x94\x39\xFC\x36" + longGbk}};
    for (const auto& [utf8, gbk] : cases) {
        EXPECT_EQ(Utf8ToGbk(utf8), gbk) << utf8.substr(0, 20);
        EXPECT_EQ(GbkToUtf8(gbk), utf8) << utf8.substr(0, 20);
    }
}

TEST(GbkConversion, UnconvertibleInputCostsOneQuestionMarkAndTheRestSurvives) {
    // A lead byte without a second byte loses only itself; a sequence shaped like a character costs one '?'.
    const struct { bool toUtf8; const char *in, *out; } cases[] = {
        {true, "ab\xFF" "cd", "ab?cd"}, {true, "\xB1\x7F\xB1\xA3", "?\x7F保"}, {true, "x\xB1\x20y", "x? y"},
        {true, "\xCA\xD3\xC1", "视?"}, {false, "ab\xFF" "cd", "ab?cd"}, {false, "\xE8\xA7视", "??\xCA\xD3"},
        // Four-byte sequences: a bad third or fourth byte, unassigned between and after the planes, cut short.
        {true, "a\x81\x30\x7F\x30" "b", "a?0\x7F" "0b"}, {true, "a\x81\x30\x81\x7F", "a?0?\x7F"},
        {true, "\xCA\xD3\x84\x31\xA5\x30\xC1\xA6", "视?力"}, {true, "x\xE3\x32\x9A\x36y", "x?y"},
        {true, "a\x95\x32\x82", "a?"}, {true, "\x95\x32\x82\x36\x95", "𠀀?"},
        // Not characters: a surrogate, an overlong form, past U+10FFFF.
        {false, "a\xED\xA0\x80" "b", "a?b"}, {false, "a\xE0\x80\xAF" "b", "a?b"}, {false, "a\xF4\x90\x80\x80" "b", "a?b"},
        // The only GB18030 code of U+2E81 is FE 50, which code page 936 reads as U+E815.
        {false, "a⺁b", "a?b"}};
    for (const auto& c : cases) EXPECT_EQ(c.toUtf8 ? GbkToUtf8(c.in) : Utf8ToGbk(c.in), c.out) << c.in;
}

// glibc's GB18030 as the reference for four-byte codes; empty when it refuses the character.
std::string Gb18030(char32_t cp) {
    static const iconv_t cd = iconv_open("GB18030", "UTF-32LE");
    char buf[8];
    char *src = reinterpret_cast<char*>(&cp), *dst = buf;
    std::size_t srcLeft = 4, dstLeft = sizeof buf;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    return iconv(cd, &src, &srcLeft, &dst, &dstLeft) == std::size_t(-1) ? std::string() : std::string(buf, dst);
}

// Every basic-plane character that goes out as a four-byte code has GB18030's and comes back, but for
// the 19 slots where GB18030-2000 differs from glibc (two checked by value above); lost are only the 80
// whose one GB18030 code is a two-byte one that code page 936 spends on something else. (The Windows
// build's converter meets the system's own code page 936 under Wine.)
TEST(GbkConversion, TheBasicPlanesFourByteCodes) {
    int fourByte = 0, slots = 0, lost = 0, wrong = 0;
    for (char32_t cp = 0x80; cp <= 0xFFFF; ++cp) {
        if (cp >= 0xD800 && cp < 0xE000) continue;
        const std::string utf8 = cp < 0x800 ? std::string{char(0xC0 | cp >> 6), char(0x80 | (cp & 0x3F))}
                                             : std::string{char(0xE0 | cp >> 12), char(0x80 | (cp >> 6 & 0x3F)),
                                                           char(0x80 | (cp & 0x3F))};
        const std::string gbk = Utf8ToGbk(utf8);
        lost += gbk == "?" && (cp < 0xE000 || cp > 0xF8FF);  // glibc's CP936 has no private-use area
        if (gbk.size() != 4) continue;
        ++fourByte;
        const bool slot = cp == 0x1E3F || (cp >= 0x9FB4 && cp <= 0x9FBB) || (cp >= 0xFE10 && cp <= 0xFE19);
        slots += slot;
        if (((gbk != Gb18030(cp) && !slot) || GbkToUtf8(gbk) != utf8) && ++wrong <= 5)
            ADD_FAILURE() << "U+" << std::hex << std::uint32_t(cp) << " went out as a wrong four-byte code";
    }
    EXPECT_EQ(slots, 19);
    EXPECT_EQ(lost, 80);
    EXPECT_EQ(fourByte, 39420) << "all that GB18030 codes in four bytes, 81 30 81 30 to 84 31 A4 39";
}

}  // namespace
}  // namespace lumivar
