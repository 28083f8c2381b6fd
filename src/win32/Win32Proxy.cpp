// The proxy of the user's Internet Settings, the same one the browser uses: the automatic
// configuration script when one is set and answers, else the proxy typed in.
#include <windows.h>
#include <winhttp.h>

#include <mutex>

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
// What the script at scriptUrl says for url, through WinHTTP (loaded only when a script is
// set). False when the script cannot be had or run.
bool AskScript(const std::string& scriptUrl, const std::string& url, std::string& answer) {
    // One session for the program's life: WinHTTP keeps the script it fetched in it.
    static HINTERNET session = [] {
        HINTERNET h = WinHttpOpen(L"Mozilla", WINHTTP_ACCESS_TYPE_NO_PROXY, WINHTTP_NO_PROXY_NAME,
                                  WINHTTP_NO_PROXY_BYPASS, 0);
        if (h) WinHttpSetTimeouts(h, 10000, 10000, 10000, 10000);
        return h;
    }();
    static std::mutex one;  // a script is fetched and run once at a time
    if (!session) return false;
    const std::wstring script = Wide(scriptUrl), target = Wide(url);
    WINHTTP_AUTOPROXY_OPTIONS options{};
    options.dwFlags = WINHTTP_AUTOPROXY_CONFIG_URL;
    options.lpszAutoConfigUrl = script.c_str();
    WINHTTP_PROXY_INFO info{};
    {
        std::lock_guard lock(one);
        if (!WinHttpGetProxyForUrl(session, target.c_str(), &options, &info)) return false;
    }
    answer = info.dwAccessType == WINHTTP_ACCESS_TYPE_NAMED_PROXY && info.lpszProxy ? Utf8(info.lpszProxy) : "";
    if (info.lpszProxy) GlobalFree(info.lpszProxy);
    if (info.lpszProxyBypass) GlobalFree(info.lpszProxyBypass);
    return true;
}
}  // namespace

ProxyConfig SystemProxyConfig(const HttpUrl& url) {
    RegKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings", 0,
                      KEY_QUERY_VALUE, key.Put()) != ERROR_SUCCESS)
        return {};
    DWORD enable = 0, size = sizeof enable, type = 0;
    if (RegQueryValueExW(key.Get(), L"ProxyEnable", nullptr, &type, reinterpret_cast<BYTE*>(&enable), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD)
        enable = 0;
    const std::string script = ReadText(key.Get(), L"AutoConfigURL");
    std::string answer;
    if (!script.empty() && AskScript(script, url.Absolute(), answer)) return ParseScriptAnswer(answer);
    const std::string server = ReadText(key.Get(), L"ProxyServer");
    const std::string override = ReadText(key.Get(), L"ProxyOverride");
    return ParseInternetSettings(enable != 0, server, override);
}

std::shared_ptr<const IProxySettings> SystemProxy() { return std::make_shared<CProxySettingsOf<SystemProxyConfig>>(); }

}  // namespace lumivar
