// Conversion between the program's UTF-8 text and the GBK (code page 936)
// bytes of the INI file, extended the GB18030 way: a character 936 lacks is
// stored as its GB18030 four-byte sequence, so files of earlier versions read
// as before and new text keeps its characters. What is not a character
// (invalid UTF-8, a bad or unassigned byte sequence) becomes '?' and the rest
// of the text is kept; so do the 80 characters whose only GB18030 code is a
// two-byte one that 936 gives to a private-use character (U+2E81, U+2FF0...).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "settings/Gb18030.h"

namespace lumivar {

std::string GbkToUtf8(std::string_view gbk);
std::string Utf8ToGbk(std::string_view utf8);

// Code page 936 lead bytes: such a byte and the next one form one character
// (the same units the multibyte string routines walk by).
constexpr bool IsGbkLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }
constexpr bool IsGbkTrailByte(unsigned char c) { return c >= 0x40 && c <= 0xFE && c != 0x7F; }

// Length in bytes of the character starting at s[i]: 2 for a lead byte with a
// following byte, else 1.
constexpr std::size_t GbkCharLength(std::string_view s, std::size_t i) {
    return IsGbkLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size() ? 2 : 1;
}

namespace detail {

// The unit a converter skips when it refuses a sequence at s[i]: a whole
// character when the bytes are shaped like one (so an unmapped character
// becomes a single '?'), else one byte. A four-byte sequence cut short by the
// end of the text is one unit too.
constexpr std::size_t GbkUnitLength(std::string_view s, std::size_t i) {
    const auto at = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    if (!IsGbkLeadByte(at(i)) || i + 1 == s.size()) return 1;
    if (IsGbkTrailByte(at(i + 1))) return 2;
    if (!IsGb18030Digit(at(i + 1))) return 1;
    if (i + 2 == s.size()) return 2;
    if (!IsGb18030Lead(at(i + 2))) return 1;
    if (i + 3 == s.size()) return 3;
    return IsGb18030Digit(at(i + 3)) ? 4 : 1;
}

// True when the unit at s[i] is, or starts as, a four-byte sequence: code
// page 936 does not decode it.
constexpr bool IsGb18030Unit(std::string_view s, std::size_t i) {
    return GbkUnitLength(s, i) > 1 && IsGb18030Digit(static_cast<unsigned char>(s[i + 1]));
}

constexpr std::size_t Utf8UnitLength(std::string_view s, std::size_t i) {
    const auto c = static_cast<unsigned char>(s[i]);
    const std::size_t n = c >= 0xF0 && c <= 0xF4 ? 4 : c >= 0xE0 && c < 0xF0 ? 3 : c >= 0xC2 && c < 0xE0 ? 2 : 1;
    if (n == 1 || i + n > s.size()) return 1;
    for (std::size_t k = 1; k < n; ++k)
        if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return 1;
    return n;
}

}  // namespace detail

}  // namespace lumivar
