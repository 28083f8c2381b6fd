#include "settings/Gbk.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace lumivar {
namespace {

TEST(GbkConversion, ConvertsBothWaysWhole) {
    std::string longUtf8, longGbk;
    for (int i = 0; i < 3000; ++i) longUtf8 += "视力", longGbk += "\xCA\xD3\xC1\xA6";
    const std::pair<std::string, std::string> cases[] = {{"保护视力", "\xB1\xA3\xBB\xA4\xCA\xD3\xC1\xA6"},
        {"每天", "\xC3\xBF\xCC\xEC"}, {"", ""}, {"C:\\Sounds\\break.wav", "C:\\Sounds\\break.wav"}, {longUtf8, longGbk}};
    for (const auto& [utf8, gbk] : cases) {
        EXPECT_EQ(Utf8ToGbk(utf8), gbk) << utf8.substr(0, 20);
        EXPECT_EQ(GbkToUtf8(gbk), utf8) << utf8.substr(0, 20);
    }
}

TEST(GbkConversion, UnconvertibleInputCostsOneQuestionMarkAndTheRestSurvives) {
    // A lead byte without a second byte loses only itself; a character GBK lacks costs one '?', not one per byte.
    const struct { bool toUtf8; const char *in, *out; } cases[] = {
        {true, "ab\xFF" "cd", "ab?cd"}, {true, "\xB1\x7F\xB1\xA3", "?\x7F保"}, {true, "x\xB1\x20y", "x? y"},
        {true, "\xCA\xD3\xC1", "视?"}, {false, "ab\xFF" "cd", "ab?cd"}, {false, "\x80视", "?\xCA\xD3"},
        {false, "a😀b", "a?b"}, {false, "\xE8\xA7视", "??\xCA\xD3"}};
    for (const auto& c : cases) EXPECT_EQ(c.toUtf8 ? GbkToUtf8(c.in) : Utf8ToGbk(c.in), c.out) << c.in;
}

}  // namespace
}  // namespace lumivar
