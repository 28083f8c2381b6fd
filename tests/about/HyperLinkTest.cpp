#include <gtest/gtest.h>

#include "about/HyperLink.h"

namespace lumivar {
namespace {

TEST(HyperLink, TheControlFitsItsTextKeepingItsAnchorAndHalvingTowardZero) {
    const Rect rc{10, 40, 110, 56};  // 100 x 16
    const struct { Rect rc; Size text; unsigned style; Rect fitted; } cases[] = {
        {rc, {60, 12}, kStaticCenter, {30, 40, 90, 52}}, {rc, {60, 12}, kStaticRight, {50, 40, 110, 52}},
        {rc, {60, 12}, 0, {10, 40, 70, 52}}, {rc, {140, 12}, kStaticRight, {-30, 40, 110, 52}},
        {{0, 0, 101, 31}, {60, 12}, kStaticCenter | kStaticCenterImage, {20, 9, 81, 22}},  // 41 spare: 20 a side
        {{0, 0, 50, 12}, {61, 12}, kStaticCenter, {-5, 0, 55, 12}},                        // 11 short: 5 a side
    };
    for (const auto& c : cases) EXPECT_EQ(FitToText(c.rc, c.text, c.style), c.fitted) << c.style;
}

// Without a browser association the link opens through the registered command, cut at its placeholder.
TEST(HyperLink, TheFallbackCommandIsCutAtThePlaceholder) {
    const struct { const char *command, *target, *line; } cases[] = {
        {R"("C:\Program Files\b.exe" -nohome "%1")", "http://a.b/", R"("C:\Program Files\b.exe" -nohome  http://a.b/)"},
        {R"(C:\b.exe %1 -new)", "http://a.b/", R"(C:\b.exe  http://a.b/)"},
        {R"(b.exe %1x "%1")", "t", R"(b.exe %1x  t)"},  // the quoted form wins even behind a bare one
        {R"("C:\b.exe" -url)", "mailto:x@y", R"("C:\b.exe" -url mailto:x@y)"},
        {"\xe4\xaf\xc0\xc0\xc6\xf7 %1", "u", "\xe4\xaf\xc0\xc0\xc6\xf7  u"},  // GBK bytes of 浏览器
    };
    for (const auto& c : cases) EXPECT_EQ(FallbackCommandLine(c.command, c.target), c.line) << c.command;
    EXPECT_EQ(OpenErrorText(26), "Unable to open hyperlink:\n\nA sharing violation occurred. ");
    EXPECT_EQ(OpenErrorText(-1), "Unable to open hyperlink:\n\nUnknown Error (-1) occurred.");
    EXPECT_EQ(LinkTextColor(true, true, Rgb(1, 2, 3)), Rgb(1, 2, 3)) << "hover wins over visited";
}

}  // namespace
}  // namespace lumivar
