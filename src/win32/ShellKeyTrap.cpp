// While the screen is locked, a low-level keyboard hook swallows the keys that would open the
// shell's own ways out. It lives only as long as the lock.
#include <future>

#include "system/ShellKeys.h"
#include "win32/Win32Ports.h"

namespace lumivar {

namespace {

// Short, as Windows wants it: nothing is asked of the system but the state of two keys.
LRESULT CALLBACK SwallowShellKeys(int code, WPARAM wp, LPARAM lp) {
    if (code == HC_ACTION) {
        const auto& key = *reinterpret_cast<const KBDLLHOOKSTRUCT*>(lp);
        const bool ctrl = (GetAsyncKeyState(VK_CONTROL) & 0x8000) != 0;
        // Wine leaves the Alt flag off for keys another program sends; the key state has it.
        const bool alt = (key.flags & LLKHF_ALTDOWN) || (GetAsyncKeyState(VK_MENU) & 0x8000);
        if (IsShellKey(key.vkCode, alt, ctrl)) return 1;
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

void RunKeyTrap(std::promise<DWORD> started) {
    MSG msg;
    PeekMessageW(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);  // the queue exists before we say so
    HHOOK hook = SetWindowsHookExW(WH_KEYBOARD_LL, SwallowShellKeys, GetModuleHandleW(nullptr), 0);
    started.set_value(GetCurrentThreadId());
    // The hook is called from within this loop.
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    }
    if (hook) UnhookWindowsHookEx(hook);
}

}  // namespace

void Win32System::TrapShellKeys(bool trap) {
    if (trap == m_keyTrap.joinable()) return;
    if (trap) {
        std::promise<DWORD> started;
        std::future<DWORD> id = started.get_future();
        m_keyTrap = std::thread(RunKeyTrap, std::move(started));
        m_keyTrapThread = id.get();
        return;
    }
    PostThreadMessageW(m_keyTrapThread, WM_QUIT, 0, 0);
    m_keyTrap.join();
    m_keyTrapThread = 0;
}

}  // namespace lumivar
