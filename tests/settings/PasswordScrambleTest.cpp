#include <gtest/gtest.h>

#include <string>

#include "settings/IniFile.h"
#include "settings/SettingsIo.h"

namespace lumivar {
namespace {

// The blank after a lead byte is its second byte; a lead byte alone at the end is an ordinary byte.
// FD would encode to NUL, which ends a value in the file: it is stored as 03.
TEST(PasswordScramble, ShiftsByThreeAfterTrimmingWholeCharactersAndEveryByteSurvivesTheFile) {
    const struct { const char* in; bool encode; const char* out; } cases[] = {
        {"abc", true, "def"}, {"def", false, "abc"}, {"  a b  ", true, "d#e"}, {" \t\r\n\v\fabc \t\r\n\v\f", true, "def"},
        {"   \t ", true, ""}, {"ab\x81 ", true, "de\x84#"}, {"  \x81 x", true, "\x84#{"}, {"de\x84# ", false, "ab\x81 "},
        {"ab\x81", true, "de\x84"}, {"a\xFD" "b", true, "d\x03" "e"}, {"\xFE\xFF", true, "\x01\x02"}};
    for (const auto& c : cases) EXPECT_EQ(ScramblePassword(c.in, c.encode), c.out) << '"' << c.in << "\" " << c.encode;
    for (int b = 0x21; b <= 0xFF; ++b) {
        for (const std::string& pw : {std::string(1, char(b)), std::string("x") + char(b) + "$"}) {
            IniFile ini;
            ini.Set("MAIL", "PASS", ScramblePassword(pw, true));
            EXPECT_EQ(ScramblePassword(ini.GetString("MAIL", "PASS", "<missing>"), false), pw) << "byte " << b;
        }
    }
}

}  // namespace
}  // namespace lumivar
