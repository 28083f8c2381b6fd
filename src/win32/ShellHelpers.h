// Small pieces of the Windows API that several of the shell's windows need the same way.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "ports/Geometry.h"

namespace lumivar {

inline RECT ToRECT(const Rect& r) { return {r.left, r.top, r.right, r.bottom}; }
inline Rect FromRECT(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

std::wstring WindowTextWide(HWND hwnd);
std::string WindowTextUtf8(HWND hwnd);

// What WinExec does, with a wide command line: the process is started and not waited for.
// The result follows WinExec's codes: above 31 once started, else 2, 3, 11 or 0.
int StartCommandLine(const std::string& cmd, int showCmd);

// Pops up the first submenu of a menu from `module`'s resources at the cursor, as a context
// menu; `prepare` may check or grey its items first. Its commands go to `window`.
void PopupMenuAtCursor(HINSTANCE module, int menuId, HWND window, const std::function<void(HMENU)>& prepare);

}  // namespace lumivar
