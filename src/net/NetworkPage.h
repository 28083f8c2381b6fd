// The network page of the settings dialog (resource 138), without its view: the members the
// controls exchange, the enable rule and the interval's range.
#pragma once

#include <string>

#include "settings/Settings.h"

namespace lumivar {

class CNetworkPage {
public:
    enum { IDD = 138 };
    enum {
        IDC_HOST_NAME = 1015,
        IDC_HOST_INTERVAL = 1016,
        IDC_HOST_MONITOR = 1017,
        IDC_HOST_SPIN = 1065,
    };
    // The spin reaches further than the check accepts, as the page always did.
    static constexpr int kSpinLow = 1, kSpinHigh = 240;
    static constexpr int kIntervalLow = 1, kIntervalHigh = 120;
    static constexpr const char* kMonitorText = "监测同以下网络主机之间的连接状态";
    static const char* const kExplanation;

    // In the order of the data exchange.
    int m_nHostInterval = 2;  // minutes
    std::string m_strHostName;
    int m_bHostMonitor = 0;

    // The interval and host edits are enabled exactly when the monitor is on.
    bool FieldsEnabled() const { return m_bHostMonitor != 0; }
    void OnHostMonitorClicked() { m_bHostMonitor = !m_bHostMonitor; }
    // The interval's check in the data exchange; false with the message to show.
    bool ValidateInterval(std::string& message) const;

    void FromSettings(const Settings& s);
};

}  // namespace lumivar
