// A program whose monitors check every two minutes, with the network scripted: the web page
// and the host on the fake shell, mail on a POP3 server of its own.
#pragma once

#include "app/AppFixture.h"
#include "net/Ping.h"
#include "net/Pop3Responder.h"

namespace lumivar::test {

using fake::EchoScript;
constexpr const char* kPage = "http://h.test/page";
constexpr const char* kWeb = "[HOMEPAGE]\nWATCH=1\nINTERVAL=2\nADDRESS=http://h.test/page\n";
constexpr const char* kHost = "[HOSTSTATUS]\nMONITOR=1\nINTERVAL=2\nHOSTNAME=localhost\n";
constexpr const char* kMail = "[MAIL]\nCHECK=1\nINTERVAL=2\nSERVER=127.0.0.1\nUSER=张三\n";
constexpr int kCheckHost = 32787, kCheckWeb = 32788, kCheckMail = 32794, kMailNoticeOk = 32795, kCheckUpdate = 32799;

struct Monitors : App {
    explicit Monitors(const std::string& ini) : App("[Lumivar2003]\nAUTOCHECKNEWVERSION=0\n" + ini) {
        dlg->MailMonitor().UsePortForTests(pop3.Port());
    }
    void Page(const std::string& body, int status = 200) { shell.http->Page(kPage, body, status); }
    void HostAnswers(bool on) {
        shell.icmp.script->standing = on ? EchoScript::Answer(AddressOf(127, 0, 0, 1)) : EchoScript::TimedOut();
    }
    void Pop3(std::string Pop3Responder::Script::*step, const std::string& reply) {
        Pop3Responder::Script script;
        script.*step = reply;
        pop3.SetScript(script);
    }
    // A menu command, and the check it started.
    void Command(int id) {
        dlg->OnCommand(id);
        shell.background.Finish();
    }
    MailSettings Mail() const {
        return {dlg->m_bMailCheck, dlg->m_nMailInterval, dlg->m_strMailPass, dlg->m_strMailServer, dlg->m_strMailUser};
    }

    Pop3Responder pop3;
};

}  // namespace lumivar::test
