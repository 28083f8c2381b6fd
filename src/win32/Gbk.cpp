// GBK conversion for the Windows build, through code page 936.
#include <windows.h>

#include "settings/Gbk.h"

namespace lumivar {
namespace {

constexpr UINT kGbk = 936;

// Converts one run strictly; false when the run holds a sequence the code page refuses.
bool ToWide(UINT codePage, std::string_view in, std::wstring& out) {
    if (in.empty()) return true;
    const int n = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, in.data(), static_cast<int>(in.size()), nullptr, 0);
    if (n <= 0) return false;
    const std::size_t at = out.size();
    out.resize(at + static_cast<std::size_t>(n));
    MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, in.data(), static_cast<int>(in.size()), out.data() + at, n);
    return true;
}

// The whole text at once when it is clean, else unit by unit so that a bad
// unit costs only itself.
std::wstring Decode(UINT codePage, std::string_view in, std::size_t (*unit)(std::string_view, std::size_t)) {
    std::wstring out;
    if (ToWide(codePage, in, out)) return out;
    out.clear();
    for (std::size_t i = 0; i < in.size();) {
        const std::size_t n = unit(in, i);
        if (!ToWide(codePage, in.substr(i, n), out)) out += L'?';
        i += n;
    }
    return out;
}

std::string Encode(UINT codePage, const std::wstring& in) {
    if (in.empty()) return {};
    // No best-fit guesses: a character without a GBK form becomes '?', as natively.
    const DWORD flags = codePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
    const char* fallback = codePage == CP_UTF8 ? nullptr : "?";
    const int n = WideCharToMultiByte(codePage, flags, in.data(), static_cast<int>(in.size()), nullptr, 0, fallback, nullptr);
    std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    if (n > 0) WideCharToMultiByte(codePage, flags, in.data(), static_cast<int>(in.size()), out.data(), n, fallback, nullptr);
    return out;
}

}  // namespace

std::string GbkToUtf8(std::string_view gbk) { return Encode(CP_UTF8, Decode(kGbk, gbk, detail::GbkUnitLength)); }

std::string Utf8ToGbk(std::string_view utf8) {
    std::wstring wide = Decode(CP_UTF8, utf8, detail::Utf8UnitLength);
    // Code page 936 has nothing beyond the basic plane: one '?' per character,
    // not one per surrogate.
    std::wstring bmp;
    for (std::size_t i = 0; i < wide.size(); ++i) {
        const bool pair = IS_HIGH_SURROGATE(wide[i]) && i + 1 < wide.size() && IS_LOW_SURROGATE(wide[i + 1]);
        bmp += pair ? L'?' : wide[i];
        i += pair ? 1 : 0;
    }
    return Encode(kGbk, bmp);
}

}  // namespace lumivar
