// What of Windows a normal day never needs, started the first time it is needed (its DLLs are
// delay-loaded, so a tray that only keeps the cycle never maps them).
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

namespace lumivar {

// COM on the GUI thread, for the picture decoder and for ShellExecute's shell extensions.
inline void UseCom() {
    static const bool once = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
    (void)once;
}

inline void UseCommonControls(DWORD classes) {
    INITCOMMONCONTROLSEX icc{sizeof icc, classes};
    InitCommonControlsEx(&icc);
}

}  // namespace lumivar
