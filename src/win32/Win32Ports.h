// The ports implemented with the Windows API, each in the file named after it unless noted.
#pragma once

#include <windows.h>

#include <thread>
#include <vector>

#include "base/Worker.h"
#include "ports/Ports.h"
#include "win32/Handles.h"

namespace lumivar {

class Win32MainWindow : public IMainWindow {
public:
    void Attach(HWND hwnd);
    HWND Handle() const { return m_hwnd; }

    void SetTimer(int id, uint32_t ms) override;
    void KillTimer(int id) override;
    void SetIcon(int iconResource) override;
    void PlaceOnDesktop() override;
    void ShowMinimized() override;
    void ShowFullScreen() override;
    void Hide() override;
    void Animate(uint32_t ms, uint32_t effect) override;
    Rect WindowRect() override;
    Rect PrimaryRect() override;
    int Dpi() override;
    void Invalidate() override;
    void Invalidate(const Rect& rc) override;
    void BringToFront() override;
    void KeepTopmost() override;
    void HideOtherWindows(bool hide) override;
    void ActivateForegroundWindow() override;
    Focus FocusOwner() override;
    void FocusMain() override;
    void FocusPassword() override;
    std::string PasswordText() override;
    void SetPasswordText(const std::string& text) override;
    Rect PasswordRect() override;
    void MovePasswordBox(int x, int y) override;
    void ShowPasswordBox(bool visibleAndEnabled) override;
    void EndDialog(int result) override;
    void PostScreenSaver() override;

private:
    HWND Password() const;  // null until the first lock
    HWND PasswordBox();     // made when missing
    void LeaveIconic();
    Rect FromScreen(const RECT& rc) const;
    HWND m_hwnd = nullptr;
    std::vector<HWND> m_hidden;  // the program's windows put out of sight by the lock
    bool m_wasDisabled = false;
};

class Win32Tray : public ITray {
public:
    explicit Win32Tray(Win32MainWindow& owner) : m_owner(owner) {}
    void Notify(TrayOp op, const TrayIcon& icon) override;
    void Balloon(const TrayIcon& icon, const std::string& title, const std::string& text) override;
    void PopupMenu(int menuResource, int defaultCommand, int checkCommand, bool checked) override;

private:
    Win32MainWindow& m_owner;
};

class Win32System : public ISystem {
public:
    explicit Win32System(Win32MainWindow& owner) : m_owner(owner) {}
    ~Win32System() override { TrapShellKeys(false); }
    Win32System(const Win32System&) = delete;
    Win32System& operator=(const Win32System&) = delete;
    std::time_t Now() override;
    uint32_t TickCount() override;
    uint32_t LastInputTick() override;
    bool IsWin9x() override;
    std::string ModuleFileName() override;
    std::string UserDataFolder() override;
    void RegisterHotKey(int id, unsigned modifiers, unsigned vk) override;
    void UnregisterHotKey(int id) override;
    void PlayWave(const std::string& file, uint32_t flags) override;
    void MessageBeep(uint32_t type) override;
    void Sleep(uint32_t ms) override;
    void ShellOpen(const std::string& file) override;
    void RunCommandLine(const std::string& cmd) override;
    bool SetRunValue(const std::string& name, const std::string* path) override;
    void ShowTaskBar(bool show) override;                       // ShellRestrictions.cpp
    RegistryValue ReadTaskMgrPolicy() override;                 // ShellRestrictions.cpp
    void WriteTaskMgrPolicy(const RegistryValue& value) override;  // ShellRestrictions.cpp
    bool ReadLockRecord(RegistryValue& before) override;        // ShellRestrictions.cpp
    void WriteLockRecord(const RegistryValue* before) override; // ShellRestrictions.cpp
    void TrapShellKeys(bool trap) override;                     // ShellKeyTrap.cpp
    bool FullScreenInFront() override;
    bool EnableShutdownPrivilege() override;
    bool ExitSession(unsigned flags) override;

private:
    Win32MainWindow& m_owner;
    // The keyboard hook runs on a thread of its own: Windows drops a low-level hook whose thread
    // is slow to answer, and the GUI thread may be busy painting a picture or in a beep.
    std::thread m_keyTrap;
    DWORD m_keyTrapThread = 0;
};

class Win32Files : public IFileSystem {
public:
    bool ReadFile(const std::string& path, std::string& bytes) override;
    bool WriteFileAtomic(const std::string& path, const std::string& bytes) override;
    bool FullPath(const std::string& path, std::string& full) override;
    bool ChangeDir(const std::string& dir) override;
    intptr_t FindFirst(const std::string& pattern, FindEntry& entry) override;
    bool FindNext(intptr_t handle, FindEntry& entry) override;
    void FindClose(intptr_t handle) override;
};

// One decoded picture, held as a bitmap of at most the screen's size (BackgroundPicture.cpp).
class CBackgroundPicture : public IBackgroundPicture {
public:
    CBackgroundPicture() = default;
    ~CBackgroundPicture() override { Release(); }
    CBackgroundPicture(const CBackgroundPicture&) = delete;
    CBackgroundPicture& operator=(const CBackgroundPicture&) = delete;
    bool Load(const std::string& path) override;
    void Release() override;
    Size GetImageSize() override;
    bool Render(HDC dc, const Rect& rc);

private:
    GdiObject<HBITMAP> m_bitmap;
    Size m_size;        // the picture's own size
    Size m_bitmapSize;  // what is held
};

// A background job's outcome, posted to the main window: lParam is the call to make.
constexpr UINT WM_BACKGROUND_DONE = WM_APP + 1;

class Win32Background : public IBackground {
public:
    explicit Win32Background(Win32MainWindow& owner) : m_owner(owner) {}
    void Run(std::function<void()> work, std::function<void()> done) override;  // Background.cpp
    static void Deliver(LPARAM call);

private:
    Win32MainWindow& m_owner;
    CWorker m_worker;
};

// The open-file dialog, owned by `owner`; false on cancel.
bool ChooseFileToOpen(HWND owner, const OpenFileRequest& request, std::string& path);

class Win32Dialogs : public IDialogs {
public:
    explicit Win32Dialogs(Win32MainWindow& owner) : m_owner(owner) {}
    int RunRemind(CRemindDlg& dlg) override;
    bool OpenFile(const OpenFileRequest& request, std::string& path) override;
    void RunAbout(const std::string& currentVersion, const std::string& latestVersion) override;  // AboutDlg.cpp
    int RunTaskList(CTaskListDlg& dlg) override;                // TaskDialogs.cpp
    int RunSettings(CSettingsDlg& dlg) override;                // SettingsDialog.cpp
    bool AskPassword(std::string& typed) override;              // TaskDialogs.cpp
    void ShowMessage(const std::string& text, const std::string& title) override;   // TaskDialogs.cpp

private:
    Win32MainWindow& m_owner;
};

// Paints with GDI into one device context.
class GdiPainter : public IPainter {
public:
    // dpi: the fonts' scale, 96 at 100 %.
    explicit GdiPainter(HDC dc, CBackgroundPicture* picture = nullptr, int dpi = 96);
    ~GdiPainter() override;
    GdiPainter(const GdiPainter&) = delete;
    GdiPainter& operator=(const GdiPainter&) = delete;
    void FillRect(const Rect& rc, Colorref color) override;
    Size MeasureText(Font font, const std::string& text) override;
    void DrawString(Font font, int x, int y, const std::string& text, Colorref color) override;
    void DrawPicture(const Rect& rc) override;

private:
    void Select(Font font);
    HDC m_dc;
    CBackgroundPicture* m_picture;
    GdiObject<HFONT> m_textFont;
    HGDIOBJ m_defaultFont = nullptr;
    GdiObject<HFONT> m_cornerFont;  // the window's own font, scaled; none at 96 DPI
};

}  // namespace lumivar
