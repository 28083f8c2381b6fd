// The proxy of the user's Internet Settings, the same one the browser uses.
#include <windows.h>

#include "net/HttpProxy.h"
#include "win32/Handles.h"
#include "win32/Wide.h"

namespace lumivar {

namespace {
std::string ReadText(HKEY key, const wchar_t* name) {
    wchar_t buffer[2048];
    DWORD size = sizeof buffer - sizeof(wchar_t), type = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return {};
    std::wstring_view text(buffer, size / sizeof(wchar_t));
    while (!text.empty() && text.back() == L'\0') text.remove_suffix(1);
    return Utf8(text);
}
}  // namespace

ProxyConfig SystemProxyConfig() {
    RegKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings", 0,
                      KEY_QUERY_VALUE, key.Put()) != ERROR_SUCCESS)
        return {};
    DWORD enable = 0, size = sizeof enable, type = 0;
    if (RegQueryValueExW(key.Get(), L"ProxyEnable", nullptr, &type, reinterpret_cast<BYTE*>(&enable), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD)
        enable = 0;
    const std::string server = ReadText(key.Get(), L"ProxyServer");
    const std::string override = ReadText(key.Get(), L"ProxyOverride");
    return ParseInternetSettings(enable != 0, server, override);
}

std::shared_ptr<const IProxySettings> SystemProxy() { return std::make_shared<CProxySettingsOf<SystemProxyConfig>>(); }

}  // namespace lumivar
