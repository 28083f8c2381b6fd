// GBK conversion for the native build, through iconv.
#include <iconv.h>

#include <cerrno>

#include "settings/Gbk.h"

namespace lumivar {
namespace {

using UnitLength = std::size_t (*)(std::string_view s, std::size_t i);

std::string Convert(std::string_view in, const char* to, const char* from, UnitLength unit) {
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
        // EILSEQ or a sequence cut short at the end: mark it and go on after it.
        out += '?';
        pos += unit(in, pos);
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    iconv_close(cd);
    return out;
}

}  // namespace

std::string GbkToUtf8(std::string_view gbk) { return Convert(gbk, "UTF-8", "CP936", detail::GbkUnitLength); }

std::string Utf8ToGbk(std::string_view utf8) { return Convert(utf8, "CP936", "UTF-8", detail::Utf8UnitLength); }

}  // namespace lumivar
