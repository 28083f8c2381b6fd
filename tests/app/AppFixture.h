// A main window on the fake shell, started the way the program starts.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>

#include "app/MainDlg.h"
#include "fake/FakeShell.h"

namespace lumivar::test {

class AppTest : public ::testing::Test {
protected:
    static constexpr const char* kIni = "C:\\Program Files\\Lumivar\\Lumivar.ini";

    void SetUp() override {
        setenv("TZ", "Asia/Shanghai", 1);
        tzset();
        g_bHomepageWatch = 0;
        g_nHomepageInterval = 2;
        g_strHomepageAddress = kDefaultHomepageAddress;
    }

    // The INI file as it lies beside the program before the start (UTF-8 here, GBK on disk).
    void WriteIni(const std::string& text);
    std::string IniText();

    CMainDlg& Start() {
        dlg = std::make_unique<CMainDlg>(shell.ports());
        shell.onTimer = [this](int id) { dlg->OnTimer(id); };
        dlg->OnInitDialog();
        return *dlg;
    }
    // Start, and let the silent start-up pass finish.
    CMainDlg& StartWorking() {
        Start();
        shell.Advance(10);
        return *dlg;
    }
    void Seconds(uint64_t s) { shell.Advance(s * 1000); }

    fake::FakeShell shell;
    std::unique_ptr<CMainDlg> dlg;
};

}  // namespace lumivar::test
