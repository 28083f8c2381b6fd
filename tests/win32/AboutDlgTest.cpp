// The About dialog from the program's own resources, inspected while it runs.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "../../res/about_ids.h"
#include "app/Strings.h"
#include "win32/AboutDlg.h"
#include "win32/Wide.h"

namespace lumivar {
namespace {

std::wstring ClassOf(HWND hwnd) {
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    return name;
}

std::wstring TextOf(HWND hwnd) {
    wchar_t text[256] = {};
    GetWindowTextW(hwnd, text, 256);
    return text;
}

std::vector<HWND> ThreadWindows() {
    std::vector<HWND> all;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND h, LPARAM p) {
            reinterpret_cast<std::vector<HWND>*>(p)->push_back(h);
            return TRUE;
        },
        LPARAM(&all));
    return all;
}

// Runs the dialog and calls `inspect` with it from inside its modal loop, then cancels it.
std::function<void(HWND)> g_inspect;

void CALLBACK InspectAndClose(HWND, UINT, UINT_PTR timer, DWORD) {
    for (HWND h : ThreadWindows()) {
        if (ClassOf(h) != L"#32770") continue;
        KillTimer(nullptr, timer);
        g_inspect(h);
        PostMessageW(h, WM_COMMAND, IDCANCEL, 0);
        return;
    }
}

void RunAboutAndInspect(const std::string& current, const std::string& latest, std::function<void(HWND)> inspect) {
    HMODULE exe = LoadLibraryExW(Wide(LUMIVAR_EXE).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(exe, nullptr);
    bool inspected = false;
    g_inspect = [&](HWND dlg) {
        inspected = true;
        inspect(dlg);
    };
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, InspectAndClose);
    // A dialog that cannot be built returns -1 at once; one that opens is found by the first tick.
    EXPECT_EQ(RunAboutDialog(exe, current, latest), IDCANCEL);
    KillTimer(nullptr, timer);
    EXPECT_TRUE(inspected);
    FreeLibrary(exe);
}

std::wstring TooltipText(HWND link) {
    for (HWND h : ThreadWindows()) {
        if (ClassOf(h) != TOOLTIPS_CLASSW) continue;
        wchar_t buf[256] = {};
        TTTOOLINFOW ti{};
        ti.cbSize = TTTOOLINFOW_V2_SIZE;
        ti.hwnd = link;
        ti.uId = 1;
        ti.lpszText = buf;
        SendMessageW(h, TTM_GETTEXTW, 256, LPARAM(&ti));
        if (buf[0]) return buf;
    }
    return L"<no tool>";
}

TEST(AboutDlg, ShowsBothVersionsAndThePicture) {
    RunAboutAndInspect("V1.25 2004贺岁版 Build12.18", "V1.30 Build05.01", [](HWND dlg) {
        EXPECT_EQ(TextOf(dlg), L"关于眸安星");
        EXPECT_EQ(Utf8(TextOf(GetDlgItem(dlg, IDC_CUR_VERSION))), "V1.25 2004贺岁版 Build12.18");
        EXPECT_EQ(Utf8(TextOf(GetDlgItem(dlg, IDC_NEW_VERSION))), "V1.30 Build05.01");
        EXPECT_NE(SendDlgItemMessageW(dlg, IDC_ABOUT_PICTURE, STM_GETIMAGE, IMAGE_BITMAP, 0), 0);
    });
}

TEST(AboutDlg, LinksAreUnderlinedFittedToTheirTextAndTipTheirTarget) {
    RunAboutAndInspect("a", "b", [](HWND dlg) {
        const std::pair<int, const char*> links[] = {
            {IDC_LINK_HOMEPAGE1, kStrHomepageB}, {IDC_LINK_HOMEPAGE2, kStrHomepageA}, {IDC_LINK_EMAIL, kStrEmail}};
        for (const auto& [id, target] : links) {
            SCOPED_TRACE(id);
            HWND link = GetDlgItem(dlg, id);
            HFONT font = HFONT(SendMessageW(link, WM_GETFONT, 0, 0));
            LOGFONTW lf{};
            ASSERT_NE(GetObjectW(font, sizeof lf, &lf), 0);
            EXPECT_TRUE(lf.lfUnderline);
            EXPECT_NE(GetWindowLongPtrW(link, GWL_STYLE) & SS_NOTIFY, 0);

            const std::wstring text = TextOf(link);
            HDC dc = GetDC(link);
            HGDIOBJ old = SelectObject(dc, font);
            SIZE ext{};
            GetTextExtentPoint32W(dc, text.c_str(), int(text.size()), &ext);
            SelectObject(dc, old);
            ReleaseDC(link, dc);
            RECT rc{};
            GetClientRect(link, &rc);
            EXPECT_EQ(rc.right, ext.cx);
            EXPECT_EQ(rc.bottom, ext.cy);

            EXPECT_EQ(Utf8(TooltipText(link)), target);
        }
    });
}

TEST(AboutDlg, LinkColourFollowsTheMouse) {
    RunAboutAndInspect("a", "b", [](HWND dlg) {
        HWND link = GetDlgItem(dlg, IDC_LINK_EMAIL);
        HDC dc = CreateCompatibleDC(nullptr);
        auto colour = [&] {
            const auto brush = SendMessageW(dlg, WM_CTLCOLORSTATIC, WPARAM(dc), LPARAM(link));
            EXPECT_EQ(HGDIOBJ(brush), GetStockObject(NULL_BRUSH));
            EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
            return GetTextColor(dc);
        };
        EXPECT_EQ(colour(), RGB(0, 0, 238));
        SendMessageW(link, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
        EXPECT_EQ(GetCapture(), link);
        EXPECT_EQ(colour(), GetSysColor(COLOR_HIGHLIGHT));
        SendMessageW(link, WM_MOUSEMOVE, 0, MAKELPARAM(-3, -3));
        EXPECT_NE(GetCapture(), link);
        EXPECT_EQ(colour(), RGB(0, 0, 238));
        DeleteDC(dc);
    });
}

}  // namespace
}  // namespace lumivar
