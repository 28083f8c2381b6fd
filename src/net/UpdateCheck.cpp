#include "net/UpdateCheck.h"

#include <memory>

#include "base/Strings.h"
#include "settings/Gbk.h"
#include "tasks/RemindDlg.h"

namespace lumivar {

bool AcceptUpdateBody(const std::string& body) { return body.size() <= 50 && body.find("Build") != std::string::npos; }

UpdateAnswer FetchUpdateFile(CRobotInternet& robot, const std::string& fileA, const std::string& fileB) {
    std::string body, text;
    int code = 0;
    if (robot.HttpGet(fileA, body, code, text) && AcceptUpdateBody(body)) return {UpdateAnswer::Site::A, body};
    body.clear();
    if (robot.HttpGet(fileB, body, code, text) && AcceptUpdateBody(body)) return {UpdateAnswer::Site::B, body};
    return {};
}

void CUpdateCheck::Start(bool manual, CRobotInternet robot, const std::string& versionUtf8,
                         std::function<void(const Result&, bool)> then) {
    if (m_bRunning) {
        m_bManual = m_bManual || manual;
        return;
    }
    m_bRunning = 1;
    m_bManual = manual;
    auto answer = std::make_shared<UpdateAnswer>();
    m_ports.background.Run([robot, answer]() mutable { *answer = FetchUpdateFile(robot, kStrUpdateFileA, kStrUpdateFileB); },
                           [this, answer, versionUtf8, then = std::move(then), ticket = m_guard.Issue()] {
                               if (ticket.OwnerGone()) return;
                               m_bRunning = 0;
                               const bool asked = m_bManual != 0;
                               then(Report(*answer, versionUtf8, asked), asked);
                           });
}

CUpdateCheck::Result CUpdateCheck::Report(const UpdateAnswer& answer, const std::string& versionUtf8, bool manual) {
    Result result{false, kStrNoUpdateYet};
    CRemindDlg dlg;
    dlg.m_nCountdown = kPromptSeconds;
    dlg.m_bAnimated = 1;
    if (answer.site == UpdateAnswer::Site::None) {
        dlg.m_strTitle = "抱歉";
        dlg.m_strMessage = "由于网络连接的状况或其他原因，现在不能确定您所用的软件是否最新的版本! 请稍侯再试";
        if (manual) m_ports.notices.RunRemind(dlg);
    } else if (answer.body != Utf8ToGbk(versionUtf8)) {  // bytes as sent, a trailing CR LF included
        result = {true, GbkToUtf8(answer.body)};
        dlg.m_strTitle = "本软件有更新版本";
        dlg.m_strMessage = "最新的版本为" + result.statusText + "\r\n而这个版本是" + versionUtf8 +
                           " \r\n现在就去软件主页进行下载升级？\r\n(提示：升级之前需先退出本程序，否则可能会失败)";
        if (manual && m_ports.notices.RunRemind(dlg) == IDOK)
            m_ports.shell.ShellOpen(answer.site == UpdateAnswer::Site::A ? kStrHomepageA : kStrHomepageB);
    } else {
        result.statusText = kStrIsLatest;
        dlg.m_strTitle = "恭喜";
        dlg.m_strMessage = "您所用的软件是当前最新版本! enjoy!";
        if (manual) m_ports.notices.RunRemind(dlg);
    }
    return result;
}

}  // namespace lumivar
