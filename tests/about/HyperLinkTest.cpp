#include <gtest/gtest.h>

#include "about/HyperLink.h"

namespace lumivar {
namespace {

TEST(HyperLinkFit, HorizontalAlignmentKeepsItsAnchor) {
    const Rect rc{10, 40, 110, 56};  // 100 x 16
    const Size text{60, 12};
    EXPECT_EQ(FitToText(rc, text, kStaticCenter), (Rect{30, 40, 90, 52}));
    EXPECT_EQ(FitToText(rc, text, kStaticRight), (Rect{50, 40, 110, 52}));
    EXPECT_EQ(FitToText(rc, text, 0), (Rect{10, 40, 70, 52}));
    // Text wider than the control grows it the same way.
    EXPECT_EQ(FitToText(rc, {140, 12}, 0), (Rect{10, 40, 150, 52}));
    EXPECT_EQ(FitToText(rc, {140, 12}, kStaticRight), (Rect{-30, 40, 110, 52}));
}

TEST(HyperLinkFit, CentredImageCentresVertically) {
    EXPECT_EQ(FitToText({0, 0, 50, 30}, {50, 12}, kStaticCenterImage), (Rect{0, 9, 50, 21}));
    EXPECT_EQ(FitToText({0, 0, 100, 30}, {60, 12}, kStaticCenterImage | kStaticCenter), (Rect{20, 9, 80, 21}));
}

TEST(HyperLinkFit, OddDifferencesHalveTowardZero) {
    // 41 spare pixels: 20 off each side, the text gets one pixel more.
    EXPECT_EQ(FitToText({0, 0, 101, 31}, {60, 12}, kStaticCenter | kStaticCenterImage), (Rect{20, 9, 81, 22}));
    // 11 pixels short: 5 added on each side, the control stays one pixel short.
    EXPECT_EQ(FitToText({0, 0, 50, 12}, {61, 12}, kStaticCenter), (Rect{-5, 0, 55, 12}));
}

TEST(HyperLinkFallback, CommandIsCutAtThePlaceholder) {
    EXPECT_EQ(FallbackCommandLine(R"("C:\Program Files\Browser\browser.exe" -nohome "%1")", "http://a.b/"),
              R"("C:\Program Files\Browser\browser.exe" -nohome  http://a.b/)");
    EXPECT_EQ(FallbackCommandLine(R"(C:\browser.exe %1 -new)", "http://a.b/"), R"(C:\browser.exe  http://a.b/)");
    // The quoted form wins even when a bare %1 comes first.
    EXPECT_EQ(FallbackCommandLine(R"(b.exe %1x "%1")", "t"), R"(b.exe %1x  t)");
}

TEST(HyperLinkFallback, CommandWithoutPlaceholderKeepsAllItsText) {
    EXPECT_EQ(FallbackCommandLine(R"("C:\browser.exe" -url)", "mailto:x@y"), R"("C:\browser.exe" -url mailto:x@y)");
    EXPECT_EQ(FallbackCommandLine("", "t"), " t");
}

TEST(HyperLinkFallback, ChineseTextIsKept) {
    EXPECT_EQ(FallbackCommandLine(R"("D:\浏览器\启动.exe" "%1")", "http://眸安星/"), R"("D:\浏览器\启动.exe"  http://眸安星/)");
    // GBK bytes of 浏览器 followed by a bare placeholder.
    EXPECT_EQ(FallbackCommandLine("\xe4\xaf\xc0\xc0\xc6\xf7 %1", "u"), "\xe4\xaf\xc0\xc0\xc6\xf7  u");
}

TEST(HyperLinkError, KnownCodesHaveTheirTextOthersTheirNumber) {
    EXPECT_EQ(OpenErrorText(26), "Unable to open hyperlink:\n\nA sharing violation occurred. ");
    EXPECT_EQ(OpenErrorText(0), "Unable to open hyperlink:\n\nThe operating system is out\nof memory or resources.");
    EXPECT_EQ(OpenErrorText(32), "Unable to open hyperlink:\n\nThe specified dynamic-link library was not found.");
    EXPECT_EQ(OpenErrorText(4), "Unable to open hyperlink:\n\nUnknown Error (4) occurred.");
    EXPECT_EQ(OpenErrorText(-1), "Unable to open hyperlink:\n\nUnknown Error (-1) occurred.");
}

TEST(HyperLinkColour, HoverOverridesVisitedOverridesNormal) {
    const Colorref hover = Rgb(1, 2, 3);
    EXPECT_EQ(LinkTextColor(false, false, hover), Rgb(0, 0, 238));
    EXPECT_EQ(LinkTextColor(false, true, hover), Rgb(85, 26, 139));
    EXPECT_EQ(LinkTextColor(true, true, hover), hover);
}

}  // namespace
}  // namespace lumivar
