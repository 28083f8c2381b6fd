#include "net/NetworkPage.h"

#include "base/Strings.h"

namespace lumivar {

const char* const CNetworkPage::kExplanation =
    "本功能通过检测本机能否连接到另一台网络主机，来判断本机的网络连接状态。\r\n"
    "主机可以是域名、计算机名或IP地址。有效的写法如：www.example.com、"
    "192.168.0.1、局域网内的计算机名（如 SERVER01）以及 localhost；"
    "无效的写法如：带有 http:// 前缀的地址，以及无法解析的主机名。";

bool CNetworkPage::ValidateInterval(std::string& message) const {
    return InRange(m_nHostInterval, kIntervalLow, kIntervalHigh, message);
}

void CNetworkPage::FromSettings(const Settings& s) {
    m_nHostInterval = s.m_nHostInterval;
    m_strHostName = s.m_strHostName;
    m_bHostMonitor = s.m_bHostMonitor;
}

}  // namespace lumivar
