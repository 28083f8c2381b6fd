// Programs started as WinExec would, with a wide command line.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <string>

#include "win32/ShellHelpers.h"
#include "win32/Wide.h"

namespace lumivar {
namespace {

TEST(ShellHelpers, ACommandLineStartsAsWinExecWouldWithItsWideName) {
    const std::filesystem::path made = std::filesystem::temp_directory_path() / L"眸安星-started.txt";
    std::filesystem::remove(made);
    const int started = StartCommandLine("cmd.exe /c echo started> \"" + Utf8(made.wstring()) + "\"", SW_HIDE);
    EXPECT_GT(started, 31);
    for (int i = 0; i < 100 && !std::filesystem::exists(made); ++i) Sleep(50);  // it runs on its own
    EXPECT_TRUE(std::filesystem::exists(made)) << Utf8(made.wstring());
    std::filesystem::remove(made);

    EXPECT_EQ(StartCommandLine("lumivar-no-such-program-anywhere.exe", SW_SHOWNORMAL), 2);
}

}  // namespace
}  // namespace lumivar
