// GBK conversion for the native build: iconv's CP936, and GB18030's four-byte
// sequences for what CP936 lacks, done as the Windows build does them.
#include <iconv.h>

#include <cerrno>

#include "settings/Gb18030.h"
#include "settings/Gbk.h"

namespace lumivar {
namespace {

// Appends what stands for the sequence iconv refused at in[pos]; returns its length.
using Refused = std::size_t (*)(std::string_view in, std::size_t pos, std::string& out);

std::string Convert(std::string_view in, const char* to, const char* from, Refused refused) {
    std::string out;
    if (in.empty()) return out;
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(in);

    char buf[1024];
    std::size_t pos = 0;
    while (pos < in.size()) {
        char* src = const_cast<char*>(in.data() + pos);
        std::size_t srcLeft = in.size() - pos;
        char* dst = buf;
        std::size_t dstLeft = sizeof buf;
        const std::size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        const int err = errno;
        out.append(buf, static_cast<std::size_t>(dst - buf));
        pos = in.size() - srcLeft;
        if (rc != static_cast<std::size_t>(-1)) break;
        if (err == E2BIG) continue;
        // EILSEQ or a sequence cut short at the end.
        pos += refused(in, pos, out);
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    iconv_close(cd);
    return out;
}

// Strictly: overlong forms, surrogates and anything past U+10FFFF are not characters.
char32_t Utf8CodePoint(std::string_view unit) {
    const auto at = [&](std::size_t k) { return static_cast<unsigned char>(unit[k]); };
    if (unit.size() == 1) return at(0) < 0x80 ? at(0) : kNotGb18030;
    char32_t cp = at(0) & (0x7F >> unit.size());
    for (std::size_t k = 1; k < unit.size(); ++k) cp = cp << 6 | (at(k) & 0x3F);
    constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kLeast[unit.size()] || (cp >= 0xD800 && cp < 0xE000) || cp > 0x10FFFF) return kNotGb18030;
    return cp;
}

void AppendUtf8(char32_t cp, std::string& out) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
        return;
    }
    constexpr unsigned char kLead[] = {0, 0xC0, 0xE0, 0xF0};
    const int tail = cp < 0x800 ? 1 : cp < 0x10000 ? 2 : 3;
    out += static_cast<char>(kLead[tail] | (cp >> (6 * tail)));
    for (int k = tail - 1; k >= 0; --k) out += static_cast<char>(0x80 | ((cp >> (6 * k)) & 0x3F));
}

std::size_t RefusedGbk(std::string_view in, std::size_t pos, std::string& out) {
    const std::size_t n = detail::GbkUnitLength(in, pos);
    const char32_t cp = detail::IsGb18030Unit(in, pos) ? Gb18030FourByteToCodePoint(in.substr(pos, n)) : kNotGb18030;
    if (cp == kNotGb18030) out += '?';
    else AppendUtf8(cp, out);
    return n;
}

std::size_t RefusedUtf8(std::string_view in, std::size_t pos, std::string& out) {
    const std::size_t n = detail::Utf8UnitLength(in, pos);
    const std::string four = CodePointToGb18030FourByte(Utf8CodePoint(in.substr(pos, n)));
    out += four.empty() ? "?" : four;
    return n;
}

}  // namespace

std::string GbkToUtf8(std::string_view gbk) { return Convert(gbk, "UTF-8", "CP936", RefusedGbk); }

std::string Utf8ToGbk(std::string_view utf8) { return Convert(utf8, "CP936", "UTF-8", RefusedUtf8); }

}  // namespace lumivar
