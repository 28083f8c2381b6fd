#include "settings/Gbk.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

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

// glibc's converters as the reference, each opened once; empty when one refuses the input.
std::string Convert(const char* to, const char* from, const std::string& in) {
    static std::map<std::pair<std::string, std::string>, iconv_t> opened;
    auto [it, added] = opened.try_emplace({to, from});
    if (added) it->second = iconv_open(to, from);
    iconv(it->second, nullptr, nullptr, nullptr, nullptr);
    char buf[16];
    char* src = const_cast<char*>(in.data());
    char* dst = buf;
    std::size_t srcLeft = in.size(), dstLeft = sizeof buf;
    if (iconv(it->second, &src, &srcLeft, &dst, &dstLeft) == static_cast<std::size_t>(-1)) return {};
    return std::string(buf, dst);
}
std::string Utf32(char32_t cp) { return std::string(reinterpret_cast<const char*>(&cp), 4); }

// The basic-plane slots where GB18030-2000 differs from glibc.
bool SlotAsIn2000(char32_t cp) { return cp == 0x1E3F || (cp >= 0x9FB4 && cp <= 0x9FBB) || (cp >= 0xFE10 && cp <= 0xFE19); }

// Every basic-plane character outside the private-use area (glibc's CP936 has none of it) goes out as
// code page 936 or else GB18030 has it and comes back, except those whose only GB18030 code is a
// two-byte one that code page 936 spends on something else.
TEST(GbkConversion, TheBasicPlaneRoundTripsInOneText) {
    std::vector<char32_t> cps;
    std::string text;
    for (char32_t cp = 0x80; cp <= 0xFFFF; ++cp) {
        if (cp >= 0xD800 && cp < 0xF900) continue;
        cps.push_back(cp);
        text += Convert("UTF-8", "UTF-32LE", Utf32(cp)) + "\n";
    }
    // A line feed is never part of a GBK character, so both texts split into the same lines.
    const std::string gbk = Utf8ToGbk(text), back = GbkToUtf8(gbk);
    std::size_t in = 0, out = 0;
    int lost = 0, wrong = 0, slots = 0;
    for (const char32_t cp : cps) {
        const std::size_t inEnd = gbk.find('\n', in), outEnd = back.find('\n', out);
        ASSERT_NE(outEnd, std::string::npos);
        const std::string sent = gbk.substr(in, inEnd - in), got = back.substr(out, outEnd - out);
        const std::string gb18030 = Convert("GB18030", "UTF-32LE", Utf32(cp));
        const std::string cp936 = Convert("CP936", "UTF-32LE", Utf32(cp));
        const bool twoByteOnly = gb18030.size() == 2 && cp936.empty() && !SlotAsIn2000(cp);
        lost += twoByteOnly;
        slots += SlotAsIn2000(cp) && sent.size() == 4;
        const std::string wantSent = twoByteOnly ? "?" : cp936.empty() ? gb18030 : cp936;
        const std::string wantBack = twoByteOnly ? "?" : Convert("UTF-8", "UTF-32LE", Utf32(cp));
        if ((got != wantBack || (sent != wantSent && !SlotAsIn2000(cp))) && ++wrong <= 5)
            ADD_FAILURE() << "U+" << std::hex << std::uint32_t(cp) << " went out in " << sent.size()
                          << " bytes and came back as \"" << got << "\"";
        in = inEnd + 1, out = outEnd + 1;
    }
    EXPECT_EQ(out, back.size());
    EXPECT_EQ(lost, 80);
    EXPECT_EQ(slots, 19);
}

}  // namespace
}  // namespace lumivar
