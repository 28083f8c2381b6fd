#include <gtest/gtest.h>

#include <string>

#include "settings/IniFile.h"
#include "settings/SettingsIo.h"

namespace lumivar {
namespace {

TEST(PasswordScramble, ShiftsByThreeAfterTrimmingWholeCharacters) {
    // The blank after a lead byte is its second byte; a lead byte alone at the end is an ordinary byte.
    // 0xFD would encode to NUL, which ends a value in the file: it is stored as 0x03.
    const struct { const char* in; bool encode; const char* out; } cases[] = {
        {"abc", true, "def"}, {"def", false, "abc"}, {"\xB1\xA3", true, "\xB4\xA6"}, {"  a b  ", true, "d#e"},
        {" \t\r\n\v\fabc \t\r\n\v\f", true, "def"}, {"  def ", false, "abc"}, {"", true, ""}, {"   \t ", true, ""},
        {" \r\n", false, ""}, {"ab\x81 ", true, "de\x84#"}, {"  \x81 x", true, "\x84#{"}, {"de\x84# ", false, "ab\x81 "},
        {"ab\x81", true, "de\x84"}, {"a\xFD" "b", true, "d\x03" "e"}, {"d\x03" "e", false, "a\xFD" "b"},
        {"\xFE\xFF", true, "\x01\x02"}, {"\x01\x02", false, "\xFE\xFF"}};
    for (const auto& c : cases) EXPECT_EQ(ScramblePassword(c.in, c.encode), c.out) << '"' << c.in << "\" encode " << c.encode;
}

TEST(PasswordScramble, EveryVisibleOrHighByteRoundTripsThroughTheFile) {
    for (int b = 0x21; b <= 0xFF; ++b) {
        const char c = static_cast<char>(b);
        for (const std::string& pw : {std::string(1, c), std::string("x") + c + "y", std::string("$") + c + "$"}) {
            IniFile ini;
            ini.Set("MAIL", "PASS", ScramblePassword(pw, true));
            EXPECT_EQ(ScramblePassword(ini.GetString("MAIL", "PASS", "<missing>"), false), pw) << "byte " << b << " in " << ini.Text();
        }
    }
}

}  // namespace
}  // namespace lumivar
