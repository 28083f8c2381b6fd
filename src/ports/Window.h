// The main window as the core sees it: its timers, the screen it shows during a rest or a
// lock, the lock's password box, the tray and painting. Each component gets only its part.
#pragma once

#include <cstdint>
#include <string>

#include "ports/Geometry.h"

namespace lumivar {

// The main window's timers. Setting a running timer restarts it; timers repeat until killed.
class ITimers {
public:
    virtual ~ITimers() = default;
    virtual void SetTimer(int id, uint32_t ms) = 0;
    virtual void KillTimer(int id) = 0;
};

// One timer of the main window, handed to the component that owns it; the hub keeps the ids.
class CTimer {
public:
    CTimer(ITimers& timers, int id) : m_timers(timers), m_id(id) {}
    void Set(uint32_t ms) { m_timers.SetTimer(m_id, ms); }
    void Kill() { m_timers.KillTimer(m_id); }
    int Id() const { return m_id; }

private:
    ITimers& m_timers;
    int m_id;
};

// The full-screen window of the rest and the lock. Rectangles are in its client coordinates;
// it spans every monitor.
class IScreen {
public:
    virtual ~IScreen() = default;
    virtual void ShowFullScreen() = 0;                 // shown over every monitor, topmost
    virtual void Hide() = 0;
    virtual void Animate(uint32_t ms, uint32_t effect) = 0;
    virtual Rect WindowRect() = 0;
    virtual Rect PrimaryRect() = 0;                    // the primary monitor
    virtual int Dpi() = 0;                             // the primary monitor's; 96 at 100 %
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
};

// The lock screen's password box (control IDC_PASSWORD) on the main window.
class IPasswordBox {
public:
    virtual ~IPasswordBox() = default;
    virtual std::string PasswordText() = 0;
    virtual void SetPasswordText(const std::string& text) = 0;
    virtual Rect PasswordRect() = 0;
    virtual void MovePasswordBox(int x, int y) = 0;    // keeps size, HWND_TOP, shows it
    virtual void ShowPasswordBox(bool visibleAndEnabled) = 0;
    virtual void FocusPassword() = 0;
};

// The whole main window, for the hub and the shells.
class IMainWindow : public ITimers, public IScreen, public IPasswordBox {
public:
    virtual void SetIcon(int iconResource) = 0;        // big and small
    virtual void PlaceOnDesktop() = 0;                 // over every monitor, topmost, hidden
    virtual void ShowMinimized() = 0;
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
    // A balloon from the icon, which goes by itself.
    virtual void Balloon(const TrayIcon& icon, const std::string& title, const std::string& text) = 0;
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

}  // namespace lumivar
