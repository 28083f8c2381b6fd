#include "settings/IniFile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lumivar {
namespace {

std::string Value(const IniFile& ini, const std::string& section, const std::string& key) {
    std::string v;
    return ini.Get(section, key, v) ? v : "<missing>";
}

TEST(IniFileRead, NamesValuesQuotesAndCommentsUnderEveryLineEnding) {
    const std::vector<std::string> lines = {
        "K=loose", "; top comment", "[ SCREEN ]", "  WORKTIME  =  12  ", "\tTEXT\t=\tsome words\t",
        ";A=1", "  ; B=2", "A=3", "dq=\"  two blanks  \"", "sq='single'", "nested=\"'inner'\"",
        "mixed=\"a'", "lone=\"", "empty=\"\"", "inside=a \"b\" c", "EMPTY=", "BARE", "BARE=later",
        "URL=http://h/?a=1;b=2 ; not a comment", "K=first", "k=second", "\xB0\xA1key=2",
        std::string("nul=\"ab\0cd\"", 11),
        "[\xB0\x61]", "k=1", "[screen]", "ONLY=here"};
    const struct { const char *section, *key, *expected; } cases[] = {
        {"SCREEN", "WORKTIME", "12"}, {" screen ", " text ", "some words"}, {"Screen", "a", "3"},
        {"SCREEN", "B", "<missing>"}, {"SCREEN", "dq", "  two blanks  "}, {"SCREEN", "sq", "single"},
        {"SCREEN", "nested", "'inner'"}, {"SCREEN", "mixed", "\"a'"}, {"SCREEN", "lone", "\""},
        {"SCREEN", "empty", ""}, {"SCREEN", "inside", "a \"b\" c"}, {"SCREEN", "EMPTY", ""},
        {"SCREEN", "BARE", "<missing>"},  // the first line with the name decides
        {"SCREEN", "URL", "http://h/?a=1;b=2 ; not a comment"}, {"SCREEN", "K", "first"},
        {"SCREEN", "nul", "ab"},  // as the system's C string; Set could not write the rest
        {"SCREEN", "ONLY", "<missing>"},  // a later section of the same name is not merged
        {"", "K", "<missing>"}, {"screen", "\xB0\xA1KEY", "2"}, {"\xB0\x61", "k", "1"},
        {"\xB0\x41", "k", "<missing>"},  // a second byte is part of a character, not a letter
        {"NOSUCH", "K", "<missing>"}};
    for (const char* eol : {"\r\n", "\n", "\r"}) {
        std::string text;
        for (const std::string& line : lines) text += line + eol;
        const IniFile ini(text);
        for (const auto& c : cases)
            EXPECT_EQ(Value(ini, c.section, c.key), c.expected) << c.section << "/" << c.key << " eol " << int(*eol);
    }
}

TEST(IniFileRead, GetIntFollowsTheProfileNumberRules) {
    const struct { const char* text; int expected; } cases[] = {
        {"-5", -5}, {"+8", 8}, {"0x10", 16}, {"-0x10", -16}, {"0o17", 15}, {"0b101", 5}, {"55zz", 55}, {"abc", 0},
        {" 7 ", 7}, {"\"12\"", 12}, {"0x", 0}, {"0X10", 0}, {"", 77}, {"4294967297", 1},
        {"99999999999999999999999999999999999", -1610612737}};
    for (const auto& c : cases)
        EXPECT_EQ(IniFile(std::string("[N]\r\nk=") + c.text + "\r\n").GetInt("n", "K", 77), c.expected) << c.text;
}

// A cleared section keeps its header, the blank lines and the other sections, but loses keys and comments.
TEST(IniFileSet, ReplacesInPlaceAppendsToTheSectionOrAddsTheSectionAtTheEnd) {
    const struct { const char *start, *section, *key, *value, *expected, *cleared = nullptr; } cases[] = {
        {"; c\r\n[A]\r\nX=1\r\n  Work Time  =  5  ; old\r\nY=2\r\n[B]\r\nX=1\r\n", "a", "WORK TIME", "25",
         "; c\r\n[A]\r\nX=1\r\n  Work Time  =  25\r\nY=2\r\n[B]\r\nX=1\r\n"},
        {"[A]\r\nX=1\r\n[B]\r\nX=1\r\nZ=0\r\n", "B", "x", "", "[A]\r\nX=1\r\n[B]\r\nX=\r\nZ=0\r\n"},
        {"[A]\nX=1\nY=2\n", "A", "X", "9", "[A]\nX=9\nY=2\n"},
        {"[A]\r\nFLAG\r\n", "A", "FLAG", "1", "[A]\r\nFLAG=1\r\n"},
        {"[A]\r\nX=1\r\n; about B\r\n\r\n[B]\r\nY=2\r\n", "A", "Z", "3",
         "[A]\r\nX=1\r\nZ=3\r\n; about B\r\n\r\n[B]\r\nY=2\r\n"},
        {"[A]\r\nX=1", "A", "Y", "2", "[A]\r\nX=1\r\nY=2\r\n"},
        {"; keep\r\n[A]\r\nX=1", "B", "Y", "2", "; keep\r\n[A]\r\nX=1\r\n[B]\r\nY=2\r\n"},
        {"", "B", "Y", "2", "[B]\r\nY=2\r\n"},
        {"[A]\r\nX=1\r\n[A]\r\nX=2\r\n", "A", "NEW", "n", "[A]\r\nX=1\r\nNEW=n\r\n[A]\r\nX=2\r\n"},
        {"[A]\r\nX=1\r\n", "", "X", "2", "[A]\r\nX=1\r\n"},
        {"[A]\r\nX=1\r\n", "A", "  ", "2", "[A]\r\nX=1\r\n"},
        {"; head\r\n[A]\r\nX=1\r\n; a\r\n[TASKS]\r\nDate0=d\r\n; gone\r\nTIME0=1:2\r\n\r\n[B]\r\n; stays\r\nY=2\r\n", "TASKS",
         "REMIND", "1", "; head\r\n[A]\r\nX=1\r\n; a\r\n[TASKS]\r\nREMIND=1\r\n\r\n[B]\r\n; stays\r\nY=2\r\n", "tasks"}};
    for (const auto& c : cases) {
        IniFile ini(c.start);
        if (c.cleared) ini.ClearSection(c.cleared);
        ini.Set(c.section, c.key, c.value);
        EXPECT_EQ(ini.Text(), c.expected) << "start: " << c.start << " set " << c.section << "/" << c.key;
    }
}

}  // namespace
}  // namespace lumivar
