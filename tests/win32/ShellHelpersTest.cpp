// The shell's shared pieces: window text, programs started as WinExec would, and the menus
// popped up at the cursor.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <thread>

#include "resource.h"
#include "win32/ShellHelpers.h"
#include "win32/Wide.h"

namespace lumivar {
namespace {

template <class Done>
bool WaitFor(Done done) {
    for (int i = 0; i < 100; ++i, Sleep(50))
        if (done()) return true;
    return false;
}

TEST(ShellHelpers, WindowTextIsReadWholeAsUtf8) {
    HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_POPUP | ES_MULTILINE, 0, 0, 100, 20, nullptr, nullptr, nullptr,
                                nullptr);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(WindowTextUtf8(edit), "");
    EXPECT_EQ(WindowTextWide(edit), L"");

    std::string text;
    for (int i = 0; i < 500; ++i) text += "眸安星 rest 休息\r\n";  // far past any fixed buffer
    ASSERT_TRUE(SetWindowTextW(edit, Wide(text).c_str()));
    EXPECT_EQ(WindowTextUtf8(edit), text);
    EXPECT_EQ(WindowTextWide(edit), Wide(text));
    DestroyWindow(edit);
}

TEST(ShellHelpers, ACommandLineStartsAsWinExecWouldWithItsWideName) {
    const std::filesystem::path made = std::filesystem::temp_directory_path() / L"眸安星-started.txt";
    std::filesystem::remove(made);
    const int started = StartCommandLine("cmd.exe /c echo started> \"" + Utf8(made.wstring()) + "\"", SW_HIDE);
    EXPECT_GT(started, 31);
    EXPECT_TRUE(WaitFor([&] { return std::filesystem::exists(made); })) << Utf8(made.wstring());
    std::filesystem::remove(made);

    EXPECT_EQ(StartCommandLine("lumivar-no-such-program-anywhere.exe", SW_SHOWNORMAL), 2);
}

// Finds this process's visible popup menu.
HWND VisibleMenu() {
    for (HWND h = nullptr; (h = FindWindowExW(nullptr, h, L"#32768", nullptr));) {
        DWORD pid = 0;
        GetWindowThreadProcessId(h, &pid);
        if (pid == GetCurrentProcessId() && IsWindowVisible(h)) return h;
    }
    return nullptr;
}

TEST(ShellHelpers, AMenuPopsUpPreparedAtTheCursorAndIsGoneAfter) {
    const HMODULE exe = LoadLibraryExW(Wide(LUMIVAR_EXE).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(exe, nullptr);
    HWND window = CreateWindowExW(0, L"STATIC", L"menu owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                                  nullptr);
    ASSERT_NE(window, nullptr);
    SetCursorPos(400, 300);
    POINT cursor{};
    GetCursorPos(&cursor);

    std::atomic<HMENU> shown{nullptr};
    std::atomic<bool> seen{false}, checked{false}, isDefault{false};
    RECT placed{};
    std::thread driver([&] {
        HWND menu = nullptr;
        if (!WaitFor([&] { return (menu = VisibleMenu()) != nullptr; })) return;
        seen = true;
        GetWindowRect(menu, &placed);
        checked = (GetMenuState(shown, ID_EYE_CARE, MF_BYCOMMAND) & MF_CHECKED) != 0;
        isDefault = GetMenuDefaultItem(shown, FALSE, 0) == ID_REST_NOW;
        PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
        if (!WaitFor([] { return VisibleMenu() == nullptr; })) PostMessageW(window, WM_CANCELMODE, 0, 0);
    });
    PopupMenuAtCursor(exe, IDR_TRAY_MENU, window, [&](HMENU popup) {
        shown = popup;
        SetMenuDefaultItem(popup, ID_REST_NOW, FALSE);
        CheckMenuItem(popup, ID_EYE_CARE, MF_BYCOMMAND | MF_CHECKED);
    });
    driver.join();

    ASSERT_TRUE(seen);
    EXPECT_TRUE(checked);
    EXPECT_TRUE(isDefault);
    // Right-aligned a little right of the cursor, from its height down.
    EXPECT_EQ(placed.right, cursor.x + 20);
    EXPECT_EQ(placed.top, cursor.y);
    EXPECT_FALSE(IsMenu(shown));  // the loaded menu is destroyed once it is done with
    bool nullPosted = false;
    for (MSG msg; PeekMessageW(&msg, window, 0, 0, PM_REMOVE);) nullPosted = nullPosted || msg.message == WM_NULL;
    EXPECT_TRUE(nullPosted);

    DestroyWindow(window);
    FreeLibrary(exe);
}

// Without a menu of that number nothing is shown and nothing is asked of the caller.
TEST(ShellHelpers, AMissingMenuPopsUpNothing) {
    const HMODULE exe = LoadLibraryExW(Wide(LUMIVAR_EXE).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(exe, nullptr);
    bool prepared = false;
    PopupMenuAtCursor(exe, 1, nullptr, [&](HMENU) { prepared = true; });
    EXPECT_FALSE(prepared);
    FreeLibrary(exe);
}

}  // namespace
}  // namespace lumivar
