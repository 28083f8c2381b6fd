// The web page settings page (dialog 137): its members, enable rules and the address test.
// The view moves control values in and out and forwards the clicks.
#pragma once

#include <memory>
#include <string>

#include "base/JobGuard.h"
#include "net/HomepageMonitor.h"
#include "net/HttpTransport.h"
#include "ports/Background.h"
#include "ports/Dialogs.h"
#include "ports/System.h"

namespace lumivar {

// What the page's address test uses of the shell.
struct HomepagePagePorts {
    IShell& shell;
    INotices& notices;
    IBackground& background;
    std::shared_ptr<const IHttpTransport> http;
};

class CHomepagePage {
public:
    enum Control {
        IDC_HOMEPAGE_ADDRESS = 1009, IDC_HOMEPAGE_INTERVAL = 1010, IDC_PROXY_USER = 1011,
        IDC_PROXY_PASS = 1012, IDC_HOMEPAGE_WATCH = 1013, IDC_HOMEPAGE_PROXY = 1014,
        IDC_HOMEPAGE_TEST = 1053, IDC_HOMEPAGE_SPIN = 1065,
    };
    static constexpr int kSpinMin = 1, kSpinMax = 240;
    static constexpr const char* kReachable = "网址正确，可以使用！";
    static constexpr const char* kUnreachable = "网址不可到达，请检查网络设置！";

    explicit CHomepagePage(HomepagePagePorts ports) : m_ports(std::move(ports)) {}

    // In the order of data exchange.
    int m_bWatch = 0;
    unsigned m_nInterval = 5;
    std::string m_strProxyPass;
    int m_bProxy = 0;
    std::string m_strAddress = kDefaultHomepageAddress;
    std::string m_strProxyUser;

    // Enable state of the controls, as the view shows it.
    bool m_bAddressEnabled = false;  // 1009 and 1010
    bool m_bSpinEnabled = false;     // 1065: set at start only
    bool m_bProxyEnabled = false;    // 1011 and 1012

    void OnInitDialog();
    void OnClickWatch();   // 1013
    void OnClickProxy();   // 1014
    // 1053, after the view took the control values: opens the browser, then tries the
    // address in the background and tells the outcome in a message box.
    void OnTest();
    bool Testing() const { return m_bTesting != 0; }

    HomepageSettings Values() const;
    void SetValues(const HomepageSettings& values);

private:
    HomepagePagePorts m_ports;
    int m_bTesting = 0;
    CJobGuard m_guard;  // the test's answer may come after the page is gone
};

}  // namespace lumivar
