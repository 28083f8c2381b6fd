#include "settings/Gbk.h"

#include <gtest/gtest.h>

namespace lumivar {
namespace {

TEST(GbkConversion, ChineseTextBothWays) {
    EXPECT_EQ(Utf8ToGbk("保护视力"), "\xB1\xA3\xBB\xA4\xCA\xD3\xC1\xA6");
    EXPECT_EQ(GbkToUtf8("\xB1\xA3\xBB\xA4\xCA\xD3\xC1\xA6"), "保护视力");
    EXPECT_EQ(GbkToUtf8(Utf8ToGbk("V1.25 2004贺岁版 Build12.18")), "V1.25 2004贺岁版 Build12.18");
    EXPECT_EQ(Utf8ToGbk("每天"), "\xC3\xBF\xCC\xEC");
}

TEST(GbkConversion, AsciiAndEmptyPassUnchanged) {
    EXPECT_EQ(GbkToUtf8(""), "");
    EXPECT_EQ(Utf8ToGbk(""), "");
    EXPECT_EQ(Utf8ToGbk("C:\\Sounds\\break.wav"), "C:\\Sounds\\break.wav");
    EXPECT_EQ(GbkToUtf8("C:\\Sounds\\break.wav"), "C:\\Sounds\\break.wav");
}

TEST(GbkConversion, LongTextIsConvertedWhole) {
    std::string utf8, gbk;
    for (int i = 0; i < 3000; ++i) {
        utf8 += "视力";
        gbk += "\xCA\xD3\xC1\xA6";
    }
    EXPECT_EQ(Utf8ToGbk(utf8), gbk);
    EXPECT_EQ(GbkToUtf8(gbk), utf8);
}

TEST(GbkConversion, BadGbkBecomesQuestionMarkAndTheRestSurvives) {
    EXPECT_EQ(GbkToUtf8("ab\xFF" "cd"), "ab?cd");
    // A lead byte whose partner is not a second byte: only the lead is lost.
    EXPECT_EQ(GbkToUtf8("\xB1\x7F\xB1\xA3"), "?\x7F保");
    EXPECT_EQ(GbkToUtf8("x\xB1\x20y"), "x? y");
    // A lead byte cut off at the end.
    EXPECT_EQ(GbkToUtf8("\xCA\xD3\xC1"), "视?");
}

TEST(GbkConversion, BadOrUnmappableUtf8BecomesQuestionMark) {
    EXPECT_EQ(Utf8ToGbk("ab\xFF" "cd"), "ab?cd");
    EXPECT_EQ(Utf8ToGbk("\x80视"), "?\xCA\xD3");
    // A character GBK does not have costs one '?', not one per byte.
    EXPECT_EQ(Utf8ToGbk("a😀b"), "a?b");
    // A sequence cut short.
    EXPECT_EQ(Utf8ToGbk("\xE8\xA7视"), "??\xCA\xD3");
}

}  // namespace
}  // namespace lumivar
