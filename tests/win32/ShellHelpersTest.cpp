// The shell's shared pieces: window text, and programs started as WinExec would.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <string>

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

}  // namespace
}  // namespace lumivar
