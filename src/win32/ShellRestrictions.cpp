// The lock's restrictions: the task bar and the task manager policy, and the record that
// lets the next start undo them after a crash.
#include "win32/Win32Ports.h"

#include "win32/Handles.h"

namespace lumivar {

namespace {

constexpr const wchar_t* kPoliciesKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies";
constexpr const wchar_t* kPolicyKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";
constexpr const wchar_t* kPolicyValue = L"DisableTaskMgr";
// Our own per-user key, like the policy it guards; the INI file is only written at exit and may
// be read-only, so it could not be trusted to hold the record through a crash.
constexpr const wchar_t* kRecordKey = L"Software\\Lumivar";
constexpr const wchar_t* kRecordValue = L"PolicyBeforeLock";

bool ReadValue(const wchar_t* keyPath, const wchar_t* name, DWORD& type, std::string& data, bool& keyExists) {
    RegKey key;
    keyExists = RegOpenKeyExW(HKEY_CURRENT_USER, keyPath, 0, KEY_QUERY_VALUE, key.Put()) == ERROR_SUCCESS;
    if (!keyExists) return false;
    DWORD size = 0;
    bool found = RegQueryValueExW(key.Get(), name, nullptr, &type, nullptr, &size) == ERROR_SUCCESS;
    if (found) {
        data.assign(size, '\0');
        found = RegQueryValueExW(key.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) ==
                ERROR_SUCCESS;
        data.resize(size);
    }
    return found;
}

void WriteValue(const wchar_t* keyPath, const wchar_t* name, DWORD type, const std::string& data) {
    RegKey key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, keyPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.Put(), nullptr) !=
        ERROR_SUCCESS)
        return;
    RegSetValueExW(key.Get(), name, 0, type, reinterpret_cast<const BYTE*>(data.data()), DWORD(data.size()));
}

void DeleteKeyIfEmpty(const wchar_t* keyPath) {
    DWORD subkeys = 1, values = 1;
    {
        RegKey key;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, keyPath, 0, KEY_QUERY_VALUE, key.Put()) != ERROR_SUCCESS) return;
        RegQueryInfoKeyW(key.Get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr, nullptr,
                         nullptr, nullptr);
    }  // closed before the key is deleted
    if (subkeys == 0 && values == 0) RegDeleteKeyW(HKEY_CURRENT_USER, keyPath);
}

// Deletes the value; with dropEmptyKey, the key too once nothing else lives in it.
void DeleteValue(const wchar_t* keyPath, const wchar_t* name, bool dropEmptyKey) {
    {
        RegKey key;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, keyPath, 0, KEY_SET_VALUE, key.Put()) != ERROR_SUCCESS) return;
        RegDeleteValueW(key.Get(), name);
    }
    if (dropEmptyKey) DeleteKeyIfEmpty(keyPath);
}

}  // namespace

// The primary monitor's task bar, and the one of every other monitor.
void Win32System::ShowTaskBar(bool show) {
    const int how = show ? SW_SHOW : SW_HIDE;
    if (HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr)) ShowWindow(taskbar, how);
    for (HWND bar = nullptr; (bar = FindWindowExW(nullptr, bar, L"Shell_SecondaryTrayWnd", nullptr));)
        ShowWindow(bar, how);
}

RegistryValue Win32System::ReadTaskMgrPolicy() {
    RegistryValue v;
    DWORD type = 0;
    v.exists = ReadValue(kPolicyKey, kPolicyValue, type, v.data, v.keyExists);
    v.type = v.exists ? type : 0;
    return v;
}

void Win32System::WriteTaskMgrPolicy(const RegistryValue& v) {
    if (v.exists)
        WriteValue(kPolicyKey, kPolicyValue, v.type, v.data);
    else if (v.keyExists)
        DeleteValue(kPolicyKey, kPolicyValue, false);
    else {
        // Setting the value created the key, and its parent where that was missing too.
        DeleteValue(kPolicyKey, kPolicyValue, true);
        DeleteKeyIfEmpty(kPoliciesKey);
    }
}

// The record: key existed, value existed, the type as four bytes (little-endian), the data.
bool Win32System::ReadLockRecord(RegistryValue& before) {
    DWORD type = 0;
    std::string bytes;
    bool keyExists = false;
    if (!ReadValue(kRecordKey, kRecordValue, type, bytes, keyExists) || type != REG_BINARY || bytes.size() < 6)
        return false;
    before.keyExists = bytes[0] != 0;
    before.exists = bytes[1] != 0;
    before.type = 0;
    for (int i = 0; i < 4; ++i) before.type |= uint32_t(uint8_t(bytes[2 + i])) << (8 * i);
    before.data = bytes.substr(6);
    return true;
}

void Win32System::WriteLockRecord(const RegistryValue* before) {
    if (!before) {
        DeleteValue(kRecordKey, kRecordValue, true);
        return;
    }
    std::string bytes{char(before->keyExists), char(before->exists)};
    for (int i = 0; i < 4; ++i) bytes += char((before->type >> (8 * i)) & 0xFF);
    bytes += before->data;
    WriteValue(kRecordKey, kRecordValue, REG_BINARY, bytes);
}

}  // namespace lumivar
