#include <gtest/gtest.h>

#include <string>

#include "settings/IniFile.h"
#include "settings/SettingsIo.h"

namespace lumivar {
namespace {

TEST(PasswordScramble, ShiftsEachByteByThree) {
    EXPECT_EQ(ScramblePassword("abc", true), "def");
    EXPECT_EQ(ScramblePassword("def", false), "abc");
    // A double-byte character is shifted as two bytes.
    EXPECT_EQ(ScramblePassword("\xB1\xA3", true), "\xB4\xA6");
    EXPECT_EQ(ScramblePassword("\xB4\xA6", false), "\xB1\xA3");
}

TEST(PasswordScramble, TrimsBlanksFromBothEndsOnly) {
    EXPECT_EQ(ScramblePassword(" \t\r\n\v\fabc \t\r\n\v\f", true), "def");
    EXPECT_EQ(ScramblePassword("  a b  ", true), "d#e");
    EXPECT_EQ(ScramblePassword("  def ", false), "abc");
}

TEST(PasswordScramble, NothingLeftGivesEmpty) {
    EXPECT_EQ(ScramblePassword("", true), "");
    EXPECT_EQ(ScramblePassword("   \t ", true), "");
    EXPECT_EQ(ScramblePassword(" \r\n", false), "");
}

TEST(PasswordScramble, SecondByteOfADoubleByteCharacterIsNeverTrimmed) {
    // 0x81 leads a double-byte character, so the blank after it belongs to it.
    EXPECT_EQ(ScramblePassword("ab\x81 ", true), "de\x84#");
    EXPECT_EQ(ScramblePassword("  \x81 x", true), "\x84#{");
    EXPECT_EQ(ScramblePassword("de\x84# ", false), "ab\x81 ");
    // A lead byte alone at the end is an ordinary byte.
    EXPECT_EQ(ScramblePassword("ab\x81", true), "de\x84");
}

TEST(PasswordScramble, HighBytesSurviveTheFile) {
    // 0xFD would encode to NUL, which ends a value; it is stored as 0x03.
    EXPECT_EQ(ScramblePassword("a\xFD" "b", true), "d\x03" "e");
    EXPECT_EQ(ScramblePassword("d\x03" "e", false), "a\xFD" "b");
    EXPECT_EQ(ScramblePassword("\xFE\xFF", true), "\x01\x02");
    EXPECT_EQ(ScramblePassword("\x01\x02", false), "\xFE\xFF");
}

TEST(PasswordScramble, EveryVisibleOrHighByteRoundTripsThroughTheFile) {
    for (int b = 0x21; b <= 0xFF; ++b) {
        const char c = static_cast<char>(b);
        for (const std::string& pw : {std::string(1, c), std::string("x") + c + "y", std::string("$") + c + "$"}) {
            IniFile ini;
            ini.Set("MAIL", "PASS", ScramblePassword(pw, true));
            std::string stored;
            ASSERT_TRUE(ini.Get("MAIL", "PASS", stored));
            EXPECT_EQ(ScramblePassword(stored, false), pw) << "byte " << b << " in " << ini.Text();
        }
    }
}

}  // namespace
}  // namespace lumivar
