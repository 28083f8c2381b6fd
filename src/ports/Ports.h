// The narrow interfaces through which the core reaches the operating system.
// The Win32 shell implements them for the real program, the fake shell for tests.
#pragma once

#include <cstdint>
#include <ctime>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace lumivar {

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const Rect&) const = default;
};

struct Size {
    int cx = 0, cy = 0;
    bool operator==(const Size&) const = default;
};

using Colorref = uint32_t;  // 0x00BBGGRR
constexpr Colorref Rgb(int r, int g, int b) { return uint32_t(r) | uint32_t(g) << 8 | uint32_t(b) << 16; }

// The Windows values, for the core; a Windows source has them from <windows.h>.
#ifndef AW_HIDE
constexpr uint32_t AW_HOR_POSITIVE = 0x1, AW_VER_POSITIVE = 0x4, AW_VER_NEGATIVE = 0x8,
                   AW_CENTER = 0x10, AW_HIDE = 0x10000, AW_BLEND = 0x80000;
#endif
#ifndef SND_ASYNC
constexpr uint32_t SND_ASYNC = 0x1, SND_NOWAIT = 0x2000, SND_FILENAME = 0x20000;
#endif
#ifndef IDOK
constexpr int IDOK = 1, IDCANCEL = 2;
#endif

// The main window: its timers, its placement and visibility, and the lock
// screen's password box (control 1055) that lives on it.
class IMainWindow {
public:
    virtual ~IMainWindow() = default;

    // Setting a running timer restarts it with the new period; timers repeat until killed.
    virtual void SetTimer(int id, uint32_t ms) = 0;
    virtual void KillTimer(int id) = 0;

    virtual void SetIcon(int iconResource) = 0;        // big and small
    virtual void PlaceOnDesktop() = 0;                 // over every monitor, topmost, hidden
    virtual void ShowMinimized() = 0;
    virtual void ShowFullScreen() = 0;                 // shown over every monitor, topmost
    virtual void Hide() = 0;
    virtual void Animate(uint32_t ms, uint32_t effect) = 0;
    // Rectangles are in the window's client coordinates; the window spans every monitor.
    virtual Rect WindowRect() = 0;
    virtual Rect PrimaryRect() = 0;                    // the primary monitor
    virtual void Invalidate() = 0;                     // whole window, no erase
    virtual void Invalidate(const Rect& rc) = 0;       // no erase

    // Takes the foreground, also from a background process, and activates the window.
    virtual void BringToFront() = 0;
    virtual void KeepTopmost() = 0;                    // back to the top of the topmost band
    // Hides the program's other windows (dialogs, prompts, menus) while the screen is locked,
    // and shows them again afterwards.
    virtual void HideOtherWindows(bool hide) = 0;
    virtual void ActivateForegroundWindow() = 0;       // SetActiveWindow(GetForegroundWindow())
    enum class Focus { Main, Password, Other };
    virtual Focus FocusOwner() = 0;
    virtual void FocusMain() = 0;
    virtual void FocusPassword() = 0;

    virtual std::string PasswordText() = 0;            // UpdateData(TRUE)
    virtual void SetPasswordText(const std::string& text) = 0;  // UpdateData(FALSE)
    virtual Rect PasswordRect() = 0;
    virtual void MovePasswordBox(int x, int y) = 0;    // keeps size, HWND_TOP, shows it
    virtual void ShowPasswordBox(bool visibleAndEnabled) = 0;

    virtual void EndDialog(int result) = 0;
    virtual void PostScreenSaver() = 0;                // WM_SYSCOMMAND SC_SCREENSAVE
};

// One notification-area icon record.
struct TrayIcon {
    int id = 0;
    unsigned callbackMessage = 0;
    int iconResource = 0;
    std::string tip;  // UTF-8; the shell shows at most 127 characters
    bool operator==(const TrayIcon&) const = default;
};
enum class TrayOp { Add = 0, Modify = 1, Delete = 2 };

class ITray {
public:
    virtual ~ITray() = default;
    virtual void Notify(TrayOp op, const TrayIcon& icon) = 0;
    // Pops up the first sub-menu of a menu resource at the cursor; the choice comes back as a command.
    virtual void PopupMenu(int menuResource, int defaultCommand, int checkCommand, bool checked) = 0;
};

// Drawing on the main window during one paint.
class IPainter {
public:
    virtual ~IPainter() = default;
    enum class Font { Default, Text };  // Text: 40x20 "Brush Script MT"
    virtual void FillRect(const Rect& rc, Colorref color) = 0;
    virtual Size MeasureText(Font font, const std::string& text) = 0;
    virtual void DrawString(Font font, int x, int y, const std::string& text, Colorref color) = 0;
    virtual void DrawPicture(const Rect& rc) = 0;  // the background picture, upright, scaled into rc
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

// Everything else the program asks of the system.
class ISystem {
public:
    virtual ~ISystem() = default;

    virtual std::time_t Now() = 0;                    // wall clock, seconds
    virtual uint32_t TickCount() = 0;                 // milliseconds since boot, wraps
    virtual uint32_t LastInputTick() = 0;             // TickCount of the last key or mouse input
    virtual bool IsWin9x() = 0;
    virtual std::string ModuleFileName() = 0;         // full path of the program file

    virtual void RegisterHotKey(int id, unsigned modifiers, unsigned vk) = 0;
    virtual void UnregisterHotKey(int id) = 0;

    virtual void PlayWave(const std::string& file, uint32_t flags) = 0;
    virtual void MessageBeep(uint32_t type) = 0;
    virtual void Sleep(uint32_t ms) = 0;
    virtual void ShellOpen(const std::string& file) = 0;     // ShellExecute "open", SW_SHOWNORMAL
    virtual void RunCommandLine(const std::string& cmd) = 0; // WinExec, SW_SHOWNORMAL

    // HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Run: set `name` to `path`,
    // or delete it when path is null. Silently does nothing without the rights.
    virtual void SetRunValue(const std::string& name, const std::string* path) = 0;
    // The lock's restrictions: the task bar, and the per-user policy value DisableTaskMgr
    // (HKCU\Software\Microsoft\Windows\CurrentVersion\Policies\System).
    virtual void ShowTaskBar(bool show) = 0;
    virtual RegistryValue ReadTaskMgrPolicy() = 0;
    // Puts the value back exactly: absent is deleted, and a key that did not exist goes if empty.
    virtual void WriteTaskMgrPolicy(const RegistryValue& value) = 0;
    // The policy as it was before a lock, kept where a crash cannot lose it; null removes it.
    virtual bool ReadLockRecord(RegistryValue& before) = 0;
    virtual void WriteLockRecord(const RegistryValue* before) = 0;

    virtual bool EnableShutdownPrivilege() = 0;
    virtual bool ExitSession(unsigned flags) = 0;     // ExitWindowsEx(flags, 0)
};

struct FindEntry {
    std::string name;
    bool directory = false;
};

class IFileSystem {
public:
    virtual ~IFileSystem() = default;
    virtual bool ReadFile(const std::string& path, std::string& bytes) = 0;
    // Replaces the file as a whole: afterwards it holds either the old or the new bytes.
    virtual bool WriteFileAtomic(const std::string& path, const std::string& bytes) = 0;

    // The process's current directory and a directory listing (_fullpath, _chdir, _findfirst...).
    virtual bool FullPath(const std::string& path, std::string& full) = 0;
    virtual bool ChangeDir(const std::string& dir) = 0;
    virtual intptr_t FindFirst(const std::string& pattern, FindEntry& entry) = 0;  // -1 when nothing matches
    virtual bool FindNext(intptr_t handle, FindEntry& entry) = 0;
    virtual void FindClose(intptr_t handle) = 0;
};

// The decoded background picture.
class IBackgroundPicture {
public:
    virtual ~IBackgroundPicture() = default;
    // False when the file cannot be opened (the held picture stays) or cannot be decoded (it is gone).
    virtual bool Load(const std::string& path) = 0;
    virtual void Release() = 0;
    virtual Size GetImageSize() = 0;  // screen pixels; {0, 0} when empty
};

class CRemindDlg;
class CTaskListDlg;
class CSettingsDlg;

struct OpenFileRequest {
    std::string title;
    std::vector<std::pair<std::string, std::string>> filters;  // label, pattern
    int filterIndex = 1;                                        // 1-based, as the dialog counts
};

class IDialogs {
public:
    virtual ~IDialogs() = default;
    virtual int RunRemind(CRemindDlg& dlg) = 0;   // IDOK or IDCANCEL
    virtual bool OpenFile(const OpenFileRequest& request, std::string& path) = 0;  // false on cancel
    virtual void RunAbout(const std::string& currentVersion, const std::string& latestVersion) = 0;
    virtual int RunTaskList(CTaskListDlg& dlg) = 0;           // IDOK or IDCANCEL
    virtual int RunSettings(CSettingsDlg& dlg) = 0;           // IDOK or IDCANCEL
    virtual bool AskPassword(std::string& typed) = 0;         // the password prompt; false on cancel
    virtual void ShowMessage(const std::string& text, const std::string& title) = 0;  // OK button only
};

// Work that may wait on the network runs on a thread of its own; what it found comes back
// to the GUI thread, where prompts, the tip and state change. The work must touch only what
// it was given, never the program's objects, as it may outlive them.
class IBackground {
public:
    virtual ~IBackground() = default;
    // work() on a new thread, then done() on the GUI thread; done never runs once the main
    // window is gone.
    virtual void Run(std::function<void()> work, std::function<void()> done) = 0;
};

// The first record of an ICMP echo reply, the fields the program reads.
struct EchoReply {
    uint32_t address = 0;        // network byte order
    uint32_t status = 0;         // the platform's IP status: 0, or 11000 and up
    uint32_t roundTripTime = 0;  // ms
    uint16_t dataSize = 0;
    uint8_t ttl = 0;
};

// One host check's hold on the system's ICMP library and name service. It is used on the
// check's own thread and may outlive the port that opened it.
class IEchoSession {
public:
    enum class State { Ready, NoLibrary, MissingFunctions, NoHandle };
    virtual ~IEchoSession() = default;
    virtual State GetState() const = 0;
    // Sends one echo and waits at most timeoutMs; reply keeps what it held when nothing was written.
    virtual void SendEcho(uint32_t address, const std::string& payload, uint32_t timeoutMs, EchoReply& reply) = 0;
    virtual bool LocalHostName(std::string& name) = 0;                    // gethostname
    virtual bool LookUp(const std::string& name, uint32_t& address) = 0;  // first IPv4 address
    virtual bool ReverseLookUp(uint32_t address, std::string& name) = 0;  // the official name
};

class IHttpTransport;

class IIcmp {
public:
    virtual ~IIcmp() = default;
    virtual std::unique_ptr<IEchoSession> OpenEcho() = 0;  // never null; see its state
};

// What the core is given at construction.
struct Ports {
    IMainWindow& window;
    ITray& tray;
    ISystem& system;
    IFileSystem& files;
    IDialogs& dialogs;
    IBackgroundPicture& picture;
    IBackground& background;
    IIcmp& icmp;
    // HTTP GET (net/HttpTransport.h); shared, as a request may outlive the main window.
    std::shared_ptr<const IHttpTransport> http;
};

}  // namespace lumivar
