// Every dialog of the program in the system's face colour with black text: with visual styles
// a fixed grey of our own would hide the theme's grey text of disabled controls.
#pragma once

#include <windows.h>

namespace lumivar {


// The answer to WM_CTLCOLORDLG / WM_CTLCOLORSTATIC / WM_CTLCOLORBTN, or 0 for a message or a
// control that keeps its own colours (edit boxes, read-only ones included, stay white).
inline INT_PTR GreyDialogColour(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg != WM_CTLCOLORDLG && msg != WM_CTLCOLORSTATIC && msg != WM_CTLCOLORBTN) return 0;
    if (msg == WM_CTLCOLORSTATIC) {
        wchar_t cls[16] = {};
        GetClassNameW(HWND(lp), cls, 16);
        if (lstrcmpiW(cls, L"Edit") == 0) return 0;
    }
    SetBkColor(HDC(wp), GetSysColor(COLOR_BTNFACE));
    SetTextColor(HDC(wp), RGB(0, 0, 0));
    return INT_PTR(GetSysColorBrush(COLOR_BTNFACE));
}

}  // namespace lumivar
