// UTF-8 (the core's text) to and from UTF-16 (the wide Windows API), and the
// program's name as the shell's message boxes show it.
#pragma once

#include <windows.h>

#include <iterator>
#include <string>
#include <string_view>

#include "base/AppName.h"

namespace lumivar {

inline std::wstring Wide(std::string_view s) {
    if (s.empty()) return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), int(s.size()), nullptr, 0);
    std::wstring w(size_t(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s.data(), int(s.size()), w.data(), n);
    return w;
}

inline std::string Utf8(std::wstring_view w) {
    if (w.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), int(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(size_t(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), int(w.size()), s.data(), n, nullptr, nullptr);
    return s;
}

// Looked up each time: the title follows the program file, however it was renamed.
inline std::wstring AppTitle() {
    wchar_t path[MAX_PATH * 4];
    const DWORD n = GetModuleFileNameW(nullptr, path, DWORD(std::size(path)));
    return Wide(AppNameFromPath(Utf8(std::wstring_view(path, n))));
}

}  // namespace lumivar
