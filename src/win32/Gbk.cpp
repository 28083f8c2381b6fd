// GBK conversion for the Windows build: code page 936, and GB18030's
// four-byte sequences for what 936 lacks (Wine refuses code page 54936).
#include <windows.h>

#include "settings/Gb18030.h"
#include "settings/Gbk.h"

namespace lumivar {
namespace {

constexpr UINT kGbk = 936;

using UnitLength = std::size_t (*)(std::string_view, std::size_t);

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

// in[from, to) at once when it is clean, else unit by unit so that a bad unit
// costs only itself. Units are measured on the whole text, as the caller's are.
void Decode(UINT codePage, std::string_view in, std::size_t from, std::size_t to, UnitLength unit, std::wstring& out) {
    if (ToWide(codePage, in.substr(from, to - from), out)) return;
    for (std::size_t i = from; i < to;) {
        const std::size_t n = unit(in, i);
        if (!ToWide(codePage, in.substr(i, n), out)) out += L'?';
        i += n;
    }
}

// False when a character has no code in 936; no best-fit guesses, so that a
// character 936 lacks gets its own four-byte code instead of a look-alike.
bool ToGbk(std::wstring_view in, std::string& out) {
    if (in.empty()) return true;
    BOOL lossy = FALSE;
    const int n = WideCharToMultiByte(kGbk, WC_NO_BEST_FIT_CHARS, in.data(), static_cast<int>(in.size()), nullptr, 0,
                                      "?", &lossy);
    if (n <= 0 || lossy) return false;
    const std::size_t at = out.size();
    out.resize(at + static_cast<std::size_t>(n));
    WideCharToMultiByte(kGbk, WC_NO_BEST_FIT_CHARS, in.data(), static_cast<int>(in.size()), out.data() + at, n, "?",
                        &lossy);
    // 936 writes U+F8F5 as a lone 0xFF it cannot read back; that one takes its
    // four-byte code, as in the native build.
    if (!lossy && out.find('\xFF', at) == std::string::npos) return true;
    out.resize(at);
    return false;
}

void AppendCodePoint(char32_t cp, std::wstring& out) {
    if (cp < 0x10000) {
        out += static_cast<wchar_t>(cp);
    } else {
        cp -= 0x10000;
        out += static_cast<wchar_t>(0xD800 + (cp >> 10));
        out += static_cast<wchar_t>(0xDC00 + (cp & 0x3FF));
    }
}

}  // namespace

std::string GbkToUtf8(std::string_view gbk) {
    std::wstring wide;
    if (!ToWide(kGbk, gbk, wide)) {
        for (std::size_t i = 0; i < gbk.size();) {
            std::size_t end = i;
            while (end < gbk.size() && !detail::IsGb18030Unit(gbk, end)) end += detail::GbkUnitLength(gbk, end);
            Decode(kGbk, gbk, i, end, detail::GbkUnitLength, wide);
            if (end == gbk.size()) break;
            const std::size_t n = detail::GbkUnitLength(gbk, end);
            const char32_t cp = Gb18030FourByteToCodePoint(gbk.substr(end, n));
            if (cp == kNotGb18030) wide += L'?';
            else AppendCodePoint(cp, wide);
            i = end + n;
        }
    }
    if (wide.empty()) return {};
    const int size = static_cast<int>(wide.size());
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    if (n > 0) WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, out.data(), n, nullptr, nullptr);
    return out;
}

std::string Utf8ToGbk(std::string_view utf8) {
    std::wstring wide;
    Decode(CP_UTF8, utf8, 0, utf8.size(), detail::Utf8UnitLength, wide);
    std::string out;
    if (ToGbk(wide, out)) return out;
    for (std::size_t i = 0; i < wide.size(); ++i) {
        char32_t cp = wide[i];
        if (IS_HIGH_SURROGATE(wide[i]) && i + 1 < wide.size() && IS_LOW_SURROGATE(wide[i + 1])) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (wide[i + 1] - 0xDC00);
            ++i;
        } else if (ToGbk(std::wstring_view(wide).substr(i, 1), out)) {
            continue;
        }
        // A lone surrogate has no four-byte code either.
        const std::string four = CodePointToGb18030FourByte(cp);
        out += four.empty() ? "?" : four;
    }
    return out;
}

}  // namespace lumivar
