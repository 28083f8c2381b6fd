// The mail page of the settings dialog (resource 146), without its view: the members the
// controls exchange, the enable rule, the interval's range and the account test.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "base/JobGuard.h"
#include "net/MailMonitor.h"
#include "net/TcpStream.h"
#include "ports/Background.h"

namespace lumivar {

class CMailPage {
public:
    enum { IDD = 146 };
    enum {
        IDC_MAIL_CHECK = 1045,
        IDC_MAIL_INTERVAL = 1047,
        IDC_MAIL_SERVER = 1046,
        IDC_MAIL_USER = 1011,
        IDC_MAIL_PASS = 1012,
        IDC_MAIL_SPIN = 1065,
        IDC_MAIL_TEST = 1053,
    };
    // The spin reaches further than the check accepts, as the page always did.
    static constexpr int kSpinLow = 1, kSpinHigh = 240;
    static constexpr unsigned kIntervalLow = 1, kIntervalHigh = 120;
    static constexpr const char* kTestPassed = "成功连接，可以继续！";
    static constexpr const char* kTestFailed = "连接错误，请重新检查服务器设置！";

    // tcp: the account test's connections.
    explicit CMailPage(std::shared_ptr<const ITcpConnector> tcp) : m_tcp(std::move(tcp)) {}

    int m_bMailCheck = 0;
    unsigned m_nMailInterval = 2;  // minutes
    std::string m_strMailServer;
    std::string m_strMailUser;
    std::string m_strMailPass;

    // Server, interval, account and password are enabled exactly when the monitor is on.
    bool FieldsEnabled() const { return m_bMailCheck != 0; }
    void OnMailCheckClicked() { m_bMailCheck = !m_bMailCheck; }
    // The interval's check in the data exchange; false with the message to show.
    bool ValidateInterval(std::string& message) const;

    void FromSettings(const Settings& s);
    MailSettings Edited() const;

    // Logs in with the page's values and out again, in the background; done gets the line
    // to show. False, and nothing starts, while a test is still out. done never comes
    // after the page is gone.
    bool StartAccountTest(IBackground& background, std::function<void(bool ok, const std::string& message)> done);
    bool AccountTestRunning() const { return m_bTesting != 0; }

private:
    std::shared_ptr<const ITcpConnector> m_tcp;
    int m_bTesting = 0;
    CJobGuard m_guard;
};

}  // namespace lumivar
