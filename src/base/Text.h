// Small text and number helpers the whole program shares, each with one rule.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace lumivar {

// The C library's blanks: space, tab, LF, VT, FF, CR.
inline constexpr std::string_view kBlanks = " \t\n\v\f\r";

// Without the given characters at either end. Bytes only: a GBK trail byte is never a blank.
std::string_view Trim(std::string_view s, std::string_view blanks = kBlanks);

// ASCII letters lowered; every other byte as it is.
std::string Lower(std::string_view s);

// Equal when ASCII case is ignored.
bool EqualsNoCase(std::string_view a, std::string_view b);

// What atoi reads: blanks, a sign, decimal digits up to the first other character; 0 when there
// are none. A value beyond int saturates at INT_MAX or INT_MIN instead of wrapping.
int LeadingInt(std::string_view s);

// Every line end (LF, CR or CR LF) as CR LF, as Windows writes them.
std::string WithCrLf(std::string_view text);

// Longest interval one platform timer can carry; later due times are reached in steps.
inline constexpr uint32_t kMaxTimerMs = 0x7FFFFFFF;

// A period of whole minutes as a timer interval: 0 for none, never wrapping.
constexpr uint32_t MinutesMs(int minutes) {
    if (minutes <= 0) return 0;
    return minutes >= int(kMaxTimerMs / 60000) ? kMaxTimerMs : uint32_t(minutes) * 60000u;
}

}  // namespace lumivar
