#include "settings/SettingsTab.h"

namespace lumivar {

bool CSettingsTab::AddPage(const std::string& title, int dialogResource) {
    if (Count() >= kMaxPages) return false;
    m_titles.push_back(title);
    m_resources.push_back(dialogResource);
    return true;
}

bool CSettingsTab::SelectPage(int index) {
    if (index < 0 || index >= Count() || index == m_nCurrent) return false;
    m_nCurrent = index;
    return true;
}

Rect CSettingsTab::PageRect(const Rect& client, const Rect& firstTab) {
    const int left = firstTab.left, top = firstTab.bottom + 1;
    return {left, top, left + client.right - firstTab.left - 2, top + client.bottom - firstTab.bottom - 3};
}

}  // namespace lumivar
