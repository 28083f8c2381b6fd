// GB18030's four-byte sequences: lead byte, digit, lead byte, digit. They
// carry every character code page 936 has no code for, and no GBK text holds
// one, since a digit is never the second byte of a GBK character.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace lumivar {

// What a sequence that is not a character decodes to.
inline constexpr char32_t kNotGb18030 = 0xFFFFFFFF;

constexpr bool IsGb18030Lead(unsigned char c) { return c >= 0x81 && c <= 0xFE; }
constexpr bool IsGb18030Digit(unsigned char c) { return c >= 0x30 && c <= 0x39; }

// True when s holds a four-byte sequence at i, assigned or not.
constexpr bool IsGb18030FourByte(std::string_view s, std::size_t i) {
    return i + 4 <= s.size() && IsGb18030Lead(static_cast<unsigned char>(s[i])) &&
           IsGb18030Digit(static_cast<unsigned char>(s[i + 1])) &&
           IsGb18030Lead(static_cast<unsigned char>(s[i + 2])) && IsGb18030Digit(static_cast<unsigned char>(s[i + 3]));
}

// The character of a four-byte sequence; kNotGb18030 for anything else,
// including the sequences GB18030 leaves unassigned.
char32_t Gb18030FourByteToCodePoint(std::string_view bytes);

// The four-byte sequence of a character that has one: everything beyond the
// basic plane, and the basic plane's characters without a one- or two-byte
// code. Empty for every other value.
std::string CodePointToGb18030FourByte(char32_t cp);

}  // namespace lumivar
