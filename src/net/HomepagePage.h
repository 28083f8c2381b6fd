// The web page settings page (dialog 137): its members, enable rules and the address test.
// The view moves control values in and out and forwards the clicks.
#pragma once

#include <memory>
#include <string>

#include "net/HomepageMonitor.h"
#include "ports/Ports.h"

namespace lumivar {

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

    explicit CHomepagePage(Ports ports) : m_ports(ports) {}

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
    bool Testing() const { return *m_testing != 0; }

    HomepageSettings Values() const;
    void SetValues(const HomepageSettings& values);

private:
    Ports m_ports;
    // Shared with the test's completion, which may come after the page is gone.
    std::shared_ptr<int> m_testing = std::make_shared<int>(0);
};

}  // namespace lumivar
