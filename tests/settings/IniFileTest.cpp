#include "settings/IniFile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lumivar {
namespace {

std::string Value(const IniFile& ini, const char* section, const char* key) {
    std::string v;
    return ini.Get(section, key, v) ? v : "<missing>";
}

// ---- Reading ------------------------------------------------------------

TEST(IniFileRead, BlanksAroundNamesAndValuesAreIgnored) {
    const IniFile ini("[ SCREEN ]\r\n  WORKTIME  =  12  \r\n\tTEXT\t=\tsome words\t\r\n");
    EXPECT_EQ(Value(ini, "SCREEN", "WORKTIME"), "12");
    EXPECT_EQ(Value(ini, "SCREEN", "TEXT"), "some words");
    EXPECT_EQ(Value(ini, " SCREEN ", " TEXT "), "some words");
}

TEST(IniFileRead, NamesMatchWithoutRegardToCase) {
    const IniFile ini("[Notes And Tasks]\r\ndate0=x\r\n");
    EXPECT_EQ(Value(ini, "NOTES AND TASKS", "Date0"), "x");
    EXPECT_EQ(Value(ini, "notes and tasks", "DATE0"), "x");
}

TEST(IniFileRead, SecondByteOfADoubleByteNameIsNotFoldedAsALetter) {
    // 0xB0 0x61 and 0xB0 0x41 are two different characters, not "a" and "A".
    const IniFile ini("[\xB0\x61]\r\nk=1\r\n[S]\r\n\xB0\xA1key=2\r\n");
    EXPECT_EQ(Value(ini, "\xB0\x61", "k"), "1");
    EXPECT_EQ(Value(ini, "\xB0\x41", "k"), "<missing>");
    EXPECT_EQ(Value(ini, "s", "\xB0\xA1KEY"), "2");
}

TEST(IniFileRead, OneEnclosingPairOfMatchingQuotesIsRemoved) {
    const IniFile ini(
        "[Q]\r\n"
        "dq=\"  two blanks  \"\r\n"
        "sq='single'\r\n"
        "nested=\"'inner'\"\r\n"
        "mixed=\"a'\r\n"
        "lone=\"\r\n"
        "empty=\"\"\r\n"
        "inside=a \"b\" c\r\n");
    EXPECT_EQ(Value(ini, "Q", "dq"), "  two blanks  ");
    EXPECT_EQ(Value(ini, "Q", "sq"), "single");
    EXPECT_EQ(Value(ini, "Q", "nested"), "'inner'");
    EXPECT_EQ(Value(ini, "Q", "mixed"), "\"a'");
    EXPECT_EQ(Value(ini, "Q", "lone"), "\"");
    EXPECT_EQ(Value(ini, "Q", "empty"), "");
    EXPECT_EQ(Value(ini, "Q", "inside"), "a \"b\" c");
}

TEST(IniFileRead, EmptyValueIsPresentButBareNameIsNot) {
    const IniFile ini("[S]\r\nEMPTY=\r\nBARE\r\nBARE=later\r\n");
    std::string v = "old";
    EXPECT_TRUE(ini.Get("S", "EMPTY", v));
    EXPECT_EQ(v, "");
    // The first line with the name decides, even when it has no value.
    EXPECT_FALSE(ini.Get("S", "BARE", v));
    EXPECT_EQ(ini.GetString("S", "BARE", "def"), "def");
}

TEST(IniFileRead, CommentLinesAreNotKeys) {
    const IniFile ini("; top comment\r\n[S]\r\n;A=1\r\n  ; B=2\r\nA=3\r\n");
    EXPECT_EQ(Value(ini, "S", "A"), "3");
    EXPECT_EQ(Value(ini, "S", "B"), "<missing>");
}

TEST(IniFileRead, ValueKeepsSemicolonsAndEqualSigns) {
    const IniFile ini("[S]\r\nURL=http://h/?a=1;b=2 ; not a comment\r\n");
    EXPECT_EQ(Value(ini, "S", "URL"), "http://h/?a=1;b=2 ; not a comment");
}

TEST(IniFileRead, FirstOccurrenceWinsForKeysAndSections) {
    const IniFile ini("[S]\r\nK=first\r\nk=second\r\n[s]\r\nK=third\r\nONLY=here\r\n");
    EXPECT_EQ(Value(ini, "S", "K"), "first");
    // A later section of the same name is not merged into the first.
    EXPECT_EQ(Value(ini, "S", "ONLY"), "<missing>");
}

TEST(IniFileRead, KeysAboveTheFirstSectionAreIgnored) {
    const IniFile ini("K=loose\r\n[S]\r\nJ=1\r\n");
    EXPECT_EQ(Value(ini, "", "K"), "<missing>");
    EXPECT_EQ(Value(ini, "S", "K"), "<missing>");
}

TEST(IniFileRead, AnyLineEndingSeparatesLines) {
    const IniFile lf("[S]\nA=1\nB=2\n[T]\nC=3");
    const IniFile crlf("[S]\r\nA=1\r\nB=2\r\n[T]\r\nC=3");
    const IniFile cr("[S]\rA=1\rB=2\r[T]\rC=3");
    for (const IniFile* ini : {&lf, &crlf, &cr}) {
        EXPECT_EQ(Value(*ini, "S", "A"), "1");
        EXPECT_EQ(Value(*ini, "S", "B"), "2");
        EXPECT_EQ(Value(*ini, "T", "C"), "3");
        EXPECT_EQ(Value(*ini, "S", "C"), "<missing>");
    }
}

TEST(IniFileRead, MissingSectionKeyOrFileGivesTheDefault) {
    const IniFile empty;
    EXPECT_EQ(empty.GetString("S", "K", "dflt"), "dflt");
    EXPECT_EQ(empty.GetInt("S", "K", 42), 42);
    const IniFile ini("[S]\r\nK=v\r\n");
    EXPECT_EQ(ini.GetString("S", "X", "dflt"), "dflt");
    EXPECT_EQ(ini.GetString("T", "K", "dflt"), "dflt");
    EXPECT_EQ(ini.GetString("S", "K", "dflt"), "v");
}

TEST(IniFileRead, GetIntFollowsTheProfileNumberRules) {
    const IniFile ini(
        "[N]\r\n"
        "neg=-5\r\nplus=+8\r\nhex=0x10\r\nneghex=-0x10\r\noct=0o17\r\nbin=0b101\r\n"
        "tail=55zz\r\nword=abc\r\nblanks= 7 \r\nquoted=\"12\"\r\nempty=\r\nwrap=4294967297\r\n"
        "colour=12627706\r\nhuge=99999999999999999999999999999999999\r\nhexonly=0x\r\n");
    EXPECT_EQ(ini.GetInt("N", "neg", 1), -5);
    EXPECT_EQ(ini.GetInt("N", "plus", 1), 8);
    EXPECT_EQ(ini.GetInt("N", "hex", 1), 16);
    EXPECT_EQ(ini.GetInt("N", "neghex", 1), -16);
    EXPECT_EQ(ini.GetInt("N", "oct", 1), 15);
    EXPECT_EQ(ini.GetInt("N", "bin", 1), 5);
    EXPECT_EQ(ini.GetInt("N", "tail", 1), 55);
    EXPECT_EQ(ini.GetInt("N", "word", 1), 0);
    EXPECT_EQ(ini.GetInt("N", "blanks", 1), 7);
    EXPECT_EQ(ini.GetInt("N", "quoted", 1), 12);
    EXPECT_EQ(ini.GetInt("N", "colour", 1), 12627706);
    EXPECT_EQ(ini.GetInt("N", "hexonly", 1), 0);
    // The prefix is lower case only: "0X10" reads as 0 followed by junk.
    EXPECT_EQ(IniFile("[N]\r\nk=0X10\r\n").GetInt("N", "k", 1), 0);
    // A present but empty value counts as missing.
    EXPECT_EQ(ini.GetInt("N", "empty", 77), 77);
    // 32-bit wrap, and only the first 29 characters are looked at.
    EXPECT_EQ(ini.GetInt("N", "wrap", 1), 1);
    EXPECT_EQ(ini.GetInt("N", "huge", 1), -1610612737);
}

// ---- Editing ------------------------------------------------------------

TEST(IniFileSet, ReplacesAValueInPlaceAndLeavesEveryOtherByte) {
    IniFile ini("; settings\r\n[A]\r\nX=1\r\n  Work Time  =  5  ; old\r\nY=2\r\n[B]\r\nX=1\r\n");
    ini.Set("a", "WORK TIME", "25");
    EXPECT_EQ(ini.Text(), "; settings\r\n[A]\r\nX=1\r\n  Work Time  =  25\r\nY=2\r\n[B]\r\nX=1\r\n");
    ini.Set("B", "x", "");
    EXPECT_EQ(ini.Text(), "; settings\r\n[A]\r\nX=1\r\n  Work Time  =  25\r\nY=2\r\n[B]\r\nX=\r\n");
    ini.Set("B", "X", "back");
    EXPECT_EQ(ini.Text(), "; settings\r\n[A]\r\nX=1\r\n  Work Time  =  25\r\nY=2\r\n[B]\r\nX=back\r\n");
}

TEST(IniFileSet, KeepsTheLineEndingOfTheEditedLine) {
    IniFile ini("[A]\nX=1\nY=2\n");
    ini.Set("A", "X", "9");
    EXPECT_EQ(ini.Text(), "[A]\nX=9\nY=2\n");
}

TEST(IniFileSet, GivesABareNameItsValue) {
    IniFile ini("[A]\r\nFLAG\r\n");
    ini.Set("A", "FLAG", "1");
    EXPECT_EQ(ini.Text(), "[A]\r\nFLAG=1\r\n");
}

TEST(IniFileSet, AddsANewKeyAfterTheLastKeyOfItsSection) {
    IniFile ini("[A]\r\nX=1\r\n; about B\r\n\r\n[B]\r\nY=2\r\n");
    ini.Set("A", "Z", "3");
    EXPECT_EQ(ini.Text(), "[A]\r\nX=1\r\nZ=3\r\n; about B\r\n\r\n[B]\r\nY=2\r\n");
    ini.Set("B", "W", "4");
    EXPECT_EQ(ini.Text(), "[A]\r\nX=1\r\nZ=3\r\n; about B\r\n\r\n[B]\r\nY=2\r\nW=4\r\n");
}

TEST(IniFileSet, AddsTheFirstKeyRightUnderTheHeader) {
    IniFile ini("[A]\r\n; nothing yet\r\n[B]\r\n");
    ini.Set("A", "X", "1");
    EXPECT_EQ(ini.Text(), "[A]\r\nX=1\r\n; nothing yet\r\n[B]\r\n");
}

TEST(IniFileSet, AddsAMissingSectionAtTheEnd) {
    IniFile ini;
    ini.Set("A", "X", "1");
    ini.Set("B", "Y", "2");
    ini.Set("A", "Z", "3");
    EXPECT_EQ(ini.Text(), "[A]\r\nX=1\r\nZ=3\r\n[B]\r\nY=2\r\n");
}

TEST(IniFileSet, EndsAnUnfinishedLastLineBeforeAdding) {
    IniFile a("[A]\r\nX=1");
    a.Set("A", "Y", "2");
    EXPECT_EQ(a.Text(), "[A]\r\nX=1\r\nY=2\r\n");

    IniFile b("[A]\r\nX=1");
    b.Set("B", "Y", "2");
    EXPECT_EQ(b.Text(), "[A]\r\nX=1\r\n[B]\r\nY=2\r\n");

    IniFile c("[A]");
    c.Set("A", "Y", "2");
    EXPECT_EQ(c.Text(), "[A]\r\nY=2\r\n");
}

TEST(IniFileSet, EditsOnlyTheFirstOfDuplicateSections) {
    IniFile ini("[A]\r\nX=1\r\n[A]\r\nX=2\r\n");
    ini.Set("A", "X", "9");
    ini.Set("A", "NEW", "n");
    EXPECT_EQ(ini.Text(), "[A]\r\nX=9\r\nNEW=n\r\n[A]\r\nX=2\r\n");
}

TEST(IniFileSet, EveryValueReadsBackExactly) {
    const std::vector<std::string> values = {
        "plain", "", " leading", "trailing ", "  both  ", "\tTab", "\"quoted\"", "'single'",
        "\"", "'", "\"\"", "''", "\"mixed'", "'a\"", "a=b", "; not a comment", "[not a section]",
        "\xB1\xA3\xBB\xA4\xCA\xD3\xC1\xA6", "\xA1\xA1ideographic blank\xA1\xA1", "\x1A" "eof\x1A",
        std::string(5000, 'n') + " long note",
    };
    for (const std::string& v : values) {
        IniFile fresh;
        fresh.Set("S", "K", v);
        EXPECT_EQ(Value(fresh, "S", "K"), v) << fresh.Text();

        IniFile existing("[S]\r\nK=old\r\nNEXT=1\r\n");
        existing.Set("S", "K", v);
        EXPECT_EQ(Value(existing, "S", "K"), v) << existing.Text();
        EXPECT_EQ(Value(existing, "S", "NEXT"), "1");
    }
}

TEST(IniFileSet, ALineBreakInAValueCannotStartANewLine) {
    IniFile ini;
    ini.Set("S", "K", "a\r\n[T]\nX=1\r");
    EXPECT_EQ(Value(ini, "S", "K"), "a  [T] X=1 ");
    EXPECT_EQ(Value(ini, "T", "X"), "<missing>");
}

TEST(IniFileSet, ValueEndsAtANulByte) {
    IniFile ini;
    ini.Set("S", "K", std::string("ab\0cd", 5));
    EXPECT_EQ(Value(ini, "S", "K"), "ab");
}

TEST(IniFileSet, EmptyNamesChangeNothing) {
    IniFile ini("[A]\r\nX=1\r\n");
    ini.Set("", "X", "2");
    ini.Set("A", "  ", "2");
    EXPECT_EQ(ini.Text(), "[A]\r\nX=1\r\n");
}

// ---- Clearing a section ---------------------------------------------------

TEST(IniFileClearSection, RemovesKeysAndCommentsButKeepsTheHeader) {
    IniFile ini(
        "; head comment\r\n[A]\r\nX=1\r\n; a comment\r\n[TASKS]\r\nDate0=d\r\n; gone\r\nTIME0=1:2\r\n\r\n"
        "[B]\r\n; stays\r\nY=2\r\n");
    ini.ClearSection("tasks");
    EXPECT_EQ(ini.Text(), "; head comment\r\n[A]\r\nX=1\r\n; a comment\r\n[TASKS]\r\n\r\n[B]\r\n; stays\r\nY=2\r\n");
    EXPECT_EQ(Value(ini, "TASKS", "Date0"), "<missing>");

    ini.Set("TASKS", "REMIND", "1");
    EXPECT_EQ(ini.Text(),
              "; head comment\r\n[A]\r\nX=1\r\n; a comment\r\n[TASKS]\r\nREMIND=1\r\n\r\n[B]\r\n; stays\r\nY=2\r\n");
}

TEST(IniFileClearSection, ClearsTheLastSectionOfAFile) {
    IniFile ini("[A]\r\nX=1\r\n[T]\r\nK=1\r\nL=2");
    ini.ClearSection("T");
    EXPECT_EQ(ini.Text(), "[A]\r\nX=1\r\n[T]\r\n");
}

TEST(IniFileClearSection, MissingSectionIsNotCreated) {
    IniFile ini("[A]\r\nX=1\r\n");
    ini.ClearSection("T");
    EXPECT_EQ(ini.Text(), "[A]\r\nX=1\r\n");
}

}  // namespace
}  // namespace lumivar
