#include "base/Text.h"

#include <gtest/gtest.h>

#include <climits>

namespace lumivar {
namespace {

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
