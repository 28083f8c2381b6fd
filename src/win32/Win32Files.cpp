// Files, by their UTF-8 names.
#include "win32/Win32Ports.h"

#include <direct.h>
#include <io.h>
#include <stdlib.h>

#include <iterator>

#include "win32/Wide.h"

namespace lumivar {

bool Win32Files::ReadFile(const std::string& path, std::string& bytes) {
    const KernelHandle f(CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f) return false;
    LARGE_INTEGER size{};
    bool ok = GetFileSizeEx(f.Get(), &size) && size.QuadPart < (64LL << 20);  // no settings file is that large
    if (ok) {
        bytes.assign(size_t(size.QuadPart), '\0');
        DWORD got = 0;
        ok = bytes.empty() ||
             (::ReadFile(f.Get(), bytes.data(), DWORD(bytes.size()), &got, nullptr) && got == bytes.size());
    }
    return ok;
}

bool Win32Files::WriteFileAtomic(const std::string& path, const std::string& bytes) {
    const std::wstring target = Wide(path);
    // Replacing by rename would get past a read-only file, which the user set to keep it as it is.
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return false;
    const std::wstring temp = target + L".tmp";
    KernelHandle f(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f) return false;
    DWORD written = 0;
    bool ok = WriteFile(f.Get(), bytes.data(), DWORD(bytes.size()), &written, nullptr) && written == bytes.size();
    ok = FlushFileBuffers(f.Get()) && ok;
    f.Reset();  // closed before the rename, which an open file would stop
    ok = ok && MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok) DeleteFileW(temp.c_str());
    return ok;
}

bool Win32Files::FullPath(const std::string& path, std::string& full) {
    wchar_t buf[MAX_PATH * 4];
    if (!_wfullpath(buf, Wide(path).c_str(), std::size(buf))) return false;
    full = Utf8(buf);
    return true;
}

bool Win32Files::ChangeDir(const std::string& dir) { return _wchdir(Wide(dir).c_str()) == 0; }

// The search is the caller's from FindFirst to FindClose, across calls, so no owner holds it here.
namespace {
FindEntry Entry(const _wfinddata64_t& d) { return {Utf8(d.name), (d.attrib & _A_SUBDIR) != 0}; }
}  // namespace

intptr_t Win32Files::FindFirst(const std::string& pattern, FindEntry& entry) {
    _wfinddata64_t data;
    const intptr_t h = _wfindfirst64(Wide(pattern).c_str(), &data);
    if (h != -1) entry = Entry(data);
    return h;
}

bool Win32Files::FindNext(intptr_t handle, FindEntry& entry) {
    _wfinddata64_t data;
    if (_wfindnext64(handle, &data) != 0) return false;
    entry = Entry(data);
    return true;
}

void Win32Files::FindClose(intptr_t handle) { _findclose(handle); }

}  // namespace lumivar
