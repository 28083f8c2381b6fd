#include <gtest/gtest.h>

#include "about/HyperLink.h"

namespace lumivar {
namespace {

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
    EXPECT_EQ(LinkTextColor(true, true, Rgb(1, 2, 3)), Rgb(1, 2, 3)) << "hover wins over visited";
}

}  // namespace
}  // namespace lumivar
