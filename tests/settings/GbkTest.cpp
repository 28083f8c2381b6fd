#include "settings/Gbk.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "settings/Gb18030.h"

namespace lumivar {
namespace {

TEST(GbkConversion, ConvertsBothWaysWhole) {
    std::string longUtf8, longGbk;
    for (int i = 0; i < 3000; ++i) longUtf8 += "视力", longGbk += "\xCA\xD3\xC1\xA6";
    // GB18030 codes as glibc's iconv and Python's gb18030 codec give them; U+FE10 and U+1E3F from the
    // latter, glibc has them as two-byte codes that code page 936 spends on private-use characters.
    const std::pair<std::string, std::string> cases[] = {{"保护视力", "\xB1\xA3\xBB\xA4\xCA\xD3\xC1\xA6"},
        {"每天", "\xC3\xBF\xCC\xEC"}, {"", ""}, {"C:\\Sounds\\break.wav", "C:\\Sounds\\break.wav"}, {longUtf8, longGbk},
        {"€", "\x80"}, {"\u0080", "\x81\x30\x81\x30"}, {"£¤¥", "\x81\x30\x84\x35\xA1\xE8\x81\x30\x84\x36"},
        {"㐀", "\x81\x39\xEE\x39"}, {"\uFFFD\uFFFF", "\x84\x31\xA4\x37\x84\x31\xA4\x39"},
        {"\uFE10", "\x84\x31\x82\x36"}, {"\uF8F5", "\x83\x39\xFE\x30"}, {"\u1E3F", "\x81\x35\xF4\x37"},
        {"\U00010000", "\x90\x30\x81\x30"}, {"𠀀", "\x95\x32\x82\x36"}, {"a😀b", "a\x94\x39\xFC\x36" "b"},
        {"\U0010FFFF", "\xE3\x32\x9A\x35"},
        {"密码𠀀㐀😀", "\xC3\xDC\xC2\xEB\x95\x32\x82\x36\x81\x39\xEE\x39\x94\x39\xFC\x36"},
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
        {true, "\xCA\xD3\xC1", "视?"}, {false, "ab\xFF" "cd", "ab?cd"}, {false, "\x80视", "?\xCA\xD3"},
        {false, "\xE8\xA7视", "??\xCA\xD3"},
        // Four-byte sequences: a bad third or fourth byte, unassigned between and after the planes, cut short.
        {true, "a\x81\x30\x7F\x30" "b", "a?0\x7F" "0b"}, {true, "a\x81\x30\x81\x7F", "a?0?\x7F"},
        {true, "\xCA\xD3\x84\x31\xA5\x30\xC1\xA6", "视?力"}, {true, "x\x8F\x39\xFE\x39y", "x?y"},
        {true, "x\xE3\x32\x9A\x36y", "x?y"}, {true, "x\xFE\x39\xFE\x39y", "x?y"},
        {true, "a\x95\x32\x82", "a?"}, {true, "a\x95\x32", "a?"}, {true, "\x95\x32\x82\x36\x95", "𠀀?"},
        // Not characters: a surrogate, an overlong form, past U+10FFFF.
        {false, "a\xED\xA0\x80" "b", "a?b"}, {false, "a\xE0\x80\xAF" "b", "a?b"}, {false, "a\xF4\x90\x80\x80" "b", "a?b"},
        // The only GB18030 code of U+2E81 is FE 50, which code page 936 reads as U+E815.
        {false, "a⺁b", "a?b"}};
    for (const auto& c : cases) EXPECT_EQ(c.toUtf8 ? GbkToUtf8(c.in) : Utf8ToGbk(c.in), c.out) << c.in;
}

std::string FourBytes(std::uint32_t index) {
    std::string s(4, '\0');
    s[3] = static_cast<char>(0x30 + index % 10), index /= 10;
    s[2] = static_cast<char>(0x81 + index % 126), index /= 126;
    s[1] = static_cast<char>(0x30 + index % 10), index /= 10;
    s[0] = static_cast<char>(0x81 + index);
    return s;
}

class Iconv {
public:
    Iconv(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~Iconv() { iconv_close(m_cd); }
    bool ok() const { return m_cd != reinterpret_cast<iconv_t>(-1); }
    // Empty when the converter refuses the input.
    std::string operator()(const std::string& in) const {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        char buf[16];
        char* src = const_cast<char*>(in.data());
        char* dst = buf;
        std::size_t srcLeft = in.size(), dstLeft = sizeof buf;
        if (iconv(m_cd, &src, &srcLeft, &dst, &dstLeft) == static_cast<std::size_t>(-1)) return {};
        return std::string(buf, dst);
    }

private:
    iconv_t m_cd;
};

std::string Utf32(char32_t cp) { return std::string(reinterpret_cast<const char*>(&cp), 4); }

// The basic-plane slots where the table follows GB18030-2000 instead of glibc.
char32_t SlotAsIn2000(std::uint32_t index) {
    if (index == 7457) return 0x1E3F;
    if (index >= 19057 && index <= 19064) return 0x9FB4 + (index - 19057);
    if (index >= 39076 && index <= 39085) return 0xFE10 + (index - 39076);
    return kNotGb18030;
}

TEST(Gb18030FourByte, BasicPlaneTableAgreesWithIconvBothWays) {
    const Iconv decode("UTF-32LE", "GB18030"), encode("GB18030", "UTF-32LE");
    ASSERT_TRUE(decode.ok() && encode.ok());
    int slots = 0;
    for (std::uint32_t index = 0; index < 39420; ++index) {
        const std::string bytes = FourBytes(index);
        const char32_t cp = Gb18030FourByteToCodePoint(bytes);
        if (SlotAsIn2000(index) != kNotGb18030) {
            EXPECT_EQ(cp, SlotAsIn2000(index)) << index;
            ++slots;
        } else {
            const std::string theirs = decode(bytes);
            ASSERT_EQ(theirs.size(), 4u) << "glibc leaves index " << index << " empty";
            EXPECT_EQ(Utf32(cp), theirs) << index;
        }
        EXPECT_EQ(CodePointToGb18030FourByte(cp), bytes) << index;
    }
    EXPECT_EQ(slots, 19);
    // Everything else in the basic plane has a shorter code, or none at all.
    for (char32_t cp = 0; cp <= 0xFFFF; ++cp) {
        const std::string ours = CodePointToGb18030FourByte(cp);
        if (ours.empty()) {
            const std::string theirs = cp >= 0xD800 && cp < 0xE000 ? "" : encode(Utf32(cp));
            // U+E7C7's slot went to U+1E3F; code page 936 stores it as A8 BC.
            EXPECT_TRUE(theirs.size() < 4 || cp == 0xE7C7) << std::hex << static_cast<std::uint32_t>(cp);
        }
    }
}

TEST(Gb18030FourByte, SupplementaryPlanesFollowOnLinearlyAndOtherSequencesAreNoCharacters) {
    const std::pair<std::string, char32_t> cases[] = {{"\x90\x30\x81\x30", 0x10000}, {"\x90\x30\x81\x39", 0x10009},
        {"\x90\x30\x82\x30", 0x1000A}, {"\x90\x31\x81\x30", 0x104EC}, {"\x95\x32\x82\x36", 0x20000},
        {"\xE3\x32\x9A\x35", 0x10FFFF}, {"\xE3\x32\x9A\x36", kNotGb18030}, {"\x8F\x39\xFE\x39", kNotGb18030},
        {"\x84\x31\xA5\x30", kNotGb18030}, {"\xFE\x39\xFE\x39", kNotGb18030}, {"\x81\x30\x81", kNotGb18030},
        {"\x81\x30\x81\x30\x30", kNotGb18030}, {"\x81\x3A\x81\x30", kNotGb18030}, {"\x81\x30\xFF\x30", kNotGb18030}};
    for (const auto& [bytes, cp] : cases) {
        EXPECT_EQ(Gb18030FourByteToCodePoint(bytes), cp) << std::hex << static_cast<std::uint32_t>(cp);
        if (cp != kNotGb18030) {
            EXPECT_EQ(CodePointToGb18030FourByte(cp), bytes) << std::hex << static_cast<std::uint32_t>(cp);
        }
    }
    for (const char32_t cp : {0x0U, 0x41U, 0x7FU, 0x4E00U, 0xD800U, 0xDFFFU, 0x110000U, 0xFFFFFFFFU})
        EXPECT_EQ(CodePointToGb18030FourByte(cp), "") << std::hex << static_cast<std::uint32_t>(cp);
}

// Every basic-plane character outside the private-use area (iconv's CP936 has none of it) comes back,
// except those whose only GB18030 code is a two-byte one that code page 936 spends on something else.
TEST(GbkConversion, TheBasicPlaneRoundTripsInOneText) {
    const Iconv gb18030("GB18030", "UTF-32LE"), cp936("CP936", "UTF-32LE"), utf8("UTF-8", "UTF-32LE");
    std::vector<char32_t> cps;
    std::string text;
    for (char32_t cp = 0x80; cp <= 0xFFFF; ++cp) {
        if (cp >= 0xD800 && cp < 0xF900) continue;
        cps.push_back(cp);
        text += utf8(Utf32(cp)) + "\n";
    }
    const std::string back = GbkToUtf8(Utf8ToGbk(text));
    std::size_t pos = 0;
    int lost = 0;
    std::string wrong;  // the first few characters that came back otherwise than expected
    for (const char32_t cp : cps) {
        const std::size_t eol = back.find('\n', pos);
        ASSERT_NE(eol, std::string::npos);
        const bool twoByteOnly = gb18030(Utf32(cp)).size() == 2 && cp936(Utf32(cp)).empty() &&
                                 !(cp == 0x1E3F || (cp >= 0x9FB4 && cp <= 0x9FBB) || (cp >= 0xFE10 && cp <= 0xFE19));
        lost += twoByteOnly;
        const std::string got = back.substr(pos, eol - pos);
        if (got != (twoByteOnly ? "?" : utf8(Utf32(cp))) && wrong.size() < 200) {
            char name[16];
            std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(cp));
            wrong += name + (" as \"" + got + "\"; ");
        }
        pos = eol + 1;
    }
    EXPECT_EQ(wrong, "");
    EXPECT_EQ(pos, back.size());
    EXPECT_EQ(lost, 80);
}

}  // namespace
}  // namespace lumivar
