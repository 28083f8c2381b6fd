// The base helpers: the program's name from its path, the tickets of background jobs, and the
// text and time helpers.
#include <gtest/gtest.h>

#include <climits>
#include <memory>

#include "base/AppName.h"
#include "base/JobGuard.h"
#include "base/Text.h"

namespace lumivar {
namespace {

TEST(AppNameFromPath, KeepsOnlyTheFileNameWithoutItsExtension) {
    const struct { const char* path; const char* name; } rows[] = {
        {"C:\\Apps\\护眼.exe", "护眼"}, {"Lumivar.exe", "Lumivar"}, {"C:\\Apps\\Lumivar", "Lumivar"},
        {"C:\\my.tools\\v1.2\\Lumivar", "Lumivar"}, {"C:\\my.tools\\eye.care.exe", "eye.care"},
        {"C:\\Apps\\Lumivar.", "Lumivar"}, {"\\\\server\\share\\rest.EXE", "rest"}, {"C:/Apps/slashed.exe", "slashed"},
        {"C:\\Apps\\", ""}, {"", ""},
    };
    for (const auto& r : rows) EXPECT_EQ(AppNameFromPath(r.path), r.name) << r.path;
}

// Tickets handed out between invalidations, and once the owner is gone.
TEST(JobGuard, ATicketIsCurrentUntilItsOwnerInvalidatesItOrGoes) {
    auto guard = std::make_unique<CJobGuard>();
    const CJobGuard::Ticket first = guard->Issue(), alsoFirst = guard->Issue(), none;
    guard->Invalidate();
    guard->Invalidate();
    const CJobGuard::Ticket latest = guard->Issue();
    EXPECT_FALSE(first.Current() || alsoFirst.Current() || first.OwnerGone());
    EXPECT_TRUE(latest.Current() && !latest.OwnerGone());
    EXPECT_TRUE(!none.Current() && none.OwnerGone()) << "a ticket of nobody's";
    guard.reset();
    EXPECT_TRUE(!latest.Current() && latest.OwnerGone() && first.OwnerGone());
}

TEST(Text, LeadingIntReadsAsAtoiAndSaturates) {
    const struct { const char* text; int value; } rows[] = {
        {"42", 42}, {"  -7x", -7}, {"+9", 9}, {"", 0}, {"abc", 0}, {"\t12 34", 12},
        {"2147483647", INT_MAX}, {"2147483648", INT_MAX}, {"99999999999999999999999", INT_MAX},
        {"-2147483648", INT_MIN}, {"-99999999999999999999", INT_MIN}, {"- 5", 0},
    };
    for (const auto& r : rows) EXPECT_EQ(LeadingInt(r.text), r.value) << r.text;
}

TEST(Text, MinutesMsNeverWraps) {
    const struct { int minutes; uint32_t ms; } rows[] = {
        {0, 0}, {-3, 0}, {5, 300000}, {35790, 35790u * 60000u}, {35791, kMaxTimerMs}, {INT_MAX, kMaxTimerMs}};
    for (const auto& r : rows) EXPECT_EQ(MinutesMs(r.minutes), r.ms) << r.minutes;
}

}  // namespace
}  // namespace lumivar
