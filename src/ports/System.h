// What the program asks of the system beyond its windows, one small port a concern.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>

namespace lumivar {

class IClock {
public:
    virtual ~IClock() = default;
    virtual std::time_t Now() = 0;                    // wall clock, seconds
    virtual uint32_t TickCount() = 0;                 // milliseconds since boot, wraps
    virtual uint32_t LastInputTick() = 0;             // TickCount of the last key or mouse input
};

class IHotkeys {
public:
    virtual ~IHotkeys() = default;
    virtual void RegisterHotKey(int id, unsigned modifiers, unsigned vk) = 0;
    virtual void UnregisterHotKey(int id) = 0;
};

class ISound {
public:
    virtual ~ISound() = default;
    virtual void PlayWave(const std::string& file, uint32_t flags) = 0;
    virtual void MessageBeep(uint32_t type) = 0;
    virtual void Sleep(uint32_t ms) = 0;              // between beeps
};

// The program file, and opening documents and programs as the shell does.
class IShell {
public:
    virtual ~IShell() = default;
    virtual std::string ModuleFileName() = 0;         // full path of the program file
    virtual void ShellOpen(const std::string& file) = 0;     // ShellExecute "open", SW_SHOWNORMAL
    virtual void RunCommandLine(const std::string& cmd) = 0; // WinExec, SW_SHOWNORMAL
    // The user's own folder for the program's files (%APPDATA%\Lumivar), made if missing; empty
    // when there is none.
    virtual std::string UserDataFolder() = 0;
};

class IStartup {
public:
    virtual ~IStartup() = default;
    // The per-user HKCU\Software\Microsoft\Windows\CurrentVersion\Run: set `name` to `path`,
    // or delete it when path is null; a machine-wide value of that name goes too where it may.
    // False when the per-user value could not be set or removed.
    virtual bool SetRunValue(const std::string& name, const std::string* path) = 0;
};

// A registry value as it stood: whether its key and the value existed, its type and bytes.
struct RegistryValue {
    bool keyExists = false;
    bool exists = false;
    uint32_t type = 0;
    std::string data;
    bool operator==(const RegistryValue&) const = default;
};
inline constexpr uint32_t kRegDword = 4;  // REG_DWORD

// The lock's restrictions: the task bar, and the per-user policy value DisableTaskMgr
// (HKCU\Software\Microsoft\Windows\CurrentVersion\Policies\System).
class ILockPolicy {
public:
    virtual ~ILockPolicy() = default;
    virtual void ShowTaskBar(bool show) = 0;          // the task bars of every monitor
    // The keys that open the shell's own ways out (the Windows keys, Alt+Tab, Alt+Esc, Ctrl+Esc)
    // reach nobody while trapped.
    virtual void TrapShellKeys(bool trap) = 0;
    virtual RegistryValue ReadTaskMgrPolicy() = 0;
    // Puts the value back exactly: absent is deleted, and a key that did not exist goes if empty.
    virtual void WriteTaskMgrPolicy(const RegistryValue& value) = 0;
    // The policy as it was before a lock, kept where a crash cannot lose it; null removes it.
    virtual bool ReadLockRecord(RegistryValue& before) = 0;
    virtual void WriteLockRecord(const RegistryValue* before) = 0;
};

class IPower {
public:
    virtual ~IPower() = default;
    virtual bool IsWin9x() = 0;
    virtual bool EnableShutdownPrivilege() = 0;
    virtual bool ExitSession(unsigned flags) = 0;     // ExitWindowsEx(flags, 0)
};

// Whether a program in front fills its whole monitor, as a film, a presentation or a video
// call does; the desktop and the task bar do not count.
class IForeground {
public:
    virtual ~IForeground() = default;
    virtual bool FullScreenInFront() = 0;
};

// All of them, as one shell object implements them.
class ISystem : public IClock, public IHotkeys, public ISound, public IShell, public IStartup,
                public ILockPolicy, public IPower, public IForeground {};

}  // namespace lumivar
