// A main window on the fake shell, started the way the program starts; and one whose monitors check
// every two minutes, the web page, the host and the mailbox's POP3 server scripted on the shell.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "app/MainDlg.h"
#include "resource.h"
#include "fake/FakeShell.h"
#include "net/Ping.h"
#include "settings/Gbk.h"

namespace lumivar::test {

using Strings = std::vector<std::string>;
using Sounds = std::vector<std::pair<std::string, uint32_t>>;
using Show = fake::FakeWindow::Show;

// One program on a shell of its own. The fake clock starts on 2024-12-01 at 15:00:00 local time.
struct App {
    static constexpr const char* kIni = "C:\\Program Files\\Lumivar\\Lumivar.ini";

    App() = default;
    // Started from this INI file, past the start-up pass.
    explicit App(const std::string& ini) { StartWorking(ini); }
    // The INI file as it lies beside the program (UTF-8 here, GBK on disk).
    void WriteIni(const std::string& text) { shell.files.files[kIni] = Utf8ToGbk(text); }
    std::string IniText() const { return shell.files.files.count(kIni) ? GbkToUtf8(shell.files.files.at(kIni)) : ""; }
    void Start() {
        dlg = std::make_unique<CMainDlg>(shell.ports());
        shell.onTimer = [this](int id) { dlg->OnTimer(id); };
        dlg->OnInitDialog();
    }
    // Start, and let the silent start-up pass finish.
    void StartWorking() { Start(), shell.Advance(10); }
    void StartWorking(const std::string& ini) { WriteIni(ini), StartWorking(); }
    void Seconds(uint64_t s) { shell.Advance(s * 1000); }
    void Minutes(uint64_t m) { shell.Advance(m * 60000); }
    size_t Prompts() const { return shell.dialogs.shown.size(); }
    // Every prompt so far as "title (countdown): message", one a line.
    std::string Seen() const {
        std::string seen;
        for (const CRemindDlg& p : shell.dialogs.shown)
            seen += (p.m_bAnimated ? "" : "[still] ") + p.m_strTitle + " (" + std::to_string(p.m_nCountdown) +
                    "): " + p.m_strMessage + "\n";
        return seen;
    }
    std::string Tip() const { return shell.tray.icons.at(0).tip; }
    bool TipHas(const std::string& line) const { return Tip().find(line) != std::string::npos; }

    fake::FakeShell shell;
    std::unique_ptr<CMainDlg> dlg;
};

class AppTest : public ::testing::Test, public App {
protected:
    void SetUp() override {
        setenv("TZ", "Asia/Shanghai", 1);
        tzset();
    }
};

constexpr const char* kPage = "http://h.test/page";
constexpr const char* kWeb = "[HOMEPAGE]\nWATCH=1\nINTERVAL=2\nADDRESS=http://h.test/page\n";
constexpr const char* kHost = "[HOSTSTATUS]\nMONITOR=1\nINTERVAL=2\nHOSTNAME=localhost\n";
constexpr const char* kMail = "[MAIL]\nCHECK=1\nINTERVAL=2\nSERVER=127.0.0.1\nUSER=张三\n";
constexpr int kCheckHost = ID_CHECK_HOST, kCheckWeb = ID_CHECK_HOMEPAGE, kCheckMail = ID_CHECK_MAIL, kCheckUpdate = ID_CHECK_UPDATE;

struct Monitors : App {
    // Started as App(ini) is, with the shell's TCP peer for the mail checks.
    explicit Monitors(const std::string& ini) : App("[Lumivar2003]\nAUTOCHECKNEWVERSION=0\n" + ini) { Pop3(); }
    void Page(const std::string& body, int status = 200) { shell.http->Page(kPage, body, status); }
    void HostAnswers(bool on) {
        shell.icmp.script->standing = on ? fake::EchoScript::Answer() : fake::EchoScript::TimedOut();
    }
    // A menu command, and the check it started.
    void Command(int id) {
        dlg->OnCommand(id);
        shell.background.Finish();
    }
    MailSettings Mail() const {
        const Settings& s = dlg->Config();
        return {s.m_bMailCheck, s.m_nMailInterval, s.m_strMailPass, s.m_strMailServer, s.m_strMailUser};
    }
    // The mailbox's server, as FakeTcp::Pop3 has it.
    void Pop3(const std::string& word = "", const std::string& reply = "") {
        shell.tcp->SetScript(fake::FakeTcp::Pop3(word, reply));
    }
    void Mails(int count) {
        shell.tcp->SetReply("STAT", "+OK " + std::to_string(count) + " " + std::to_string(count * 1200) + "\r\n");
    }
};

}  // namespace lumivar::test
