// The icons in the notification area and their menus.
#include "win32/Win32Ports.h"

#include <shellapi.h>

#include <iterator>

#include "win32/ShellHelpers.h"
#include "win32/Wide.h"

namespace lumivar {

void Win32Tray::Notify(TrayOp op, const TrayIcon& icon) {
    NOTIFYICONDATAW nid{};
    nid.cbSize = sizeof nid;
    nid.hWnd = m_owner.Handle();
    nid.uID = UINT(icon.id);
    if (op != TrayOp::Delete) {
        nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
        nid.uCallbackMessage = icon.callbackMessage;
        // The small size at the system's DPI: the icon's own image of that size, not a 32 px one shrunk.
        nid.hIcon = HICON(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(icon.iconResource), IMAGE_ICON,
                                     GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_SHARED));
        lstrcpynW(nid.szTip, Wide(icon.tip).c_str(), int(std::size(nid.szTip)));
    }
    Shell_NotifyIconW(op == TrayOp::Add ? NIM_ADD : op == TrayOp::Modify ? NIM_MODIFY : NIM_DELETE, &nid);
}

void Win32Tray::Balloon(const TrayIcon& icon, const std::string& title, const std::string& text) {
    NOTIFYICONDATAW nid{};
    nid.cbSize = sizeof nid;
    nid.hWnd = m_owner.Handle();
    nid.uID = UINT(icon.id);
    nid.uFlags = NIF_INFO;
    nid.dwInfoFlags = NIIF_INFO;
    lstrcpynW(nid.szInfoTitle, Wide(title).c_str(), int(std::size(nid.szInfoTitle)));
    lstrcpynW(nid.szInfo, Wide(text).c_str(), int(std::size(nid.szInfo)));
    Shell_NotifyIconW(NIM_MODIFY, &nid);
}

void Win32Tray::PopupMenu(int menuResource, int defaultCommand, int checkCommand, bool checked) {
    PopupMenuAtCursor(GetModuleHandleW(nullptr), menuResource, m_owner.Handle(), [&](HMENU popup) {
        if (defaultCommand) SetMenuDefaultItem(popup, UINT(defaultCommand), FALSE);
        if (checkCommand)
            CheckMenuItem(popup, UINT(checkCommand), MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
    });
}

}  // namespace lumivar
