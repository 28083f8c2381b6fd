// The settings dialog's tab strip: which pages it holds and which one shows.
#pragma once

#include <string>
#include <vector>

#include "ports/Geometry.h"

namespace lumivar {

class CSettingsTab {
public:
    static constexpr int kMaxPages = 16;

    // False when the strip is full.
    bool AddPage(const std::string& title, int dialogResource);
    // Ignores an index out of range and the page already shown; true when the page changed.
    bool SelectPage(int index);
    int Current() const { return m_nCurrent; }
    int Count() const { return int(m_titles.size()); }
    const std::string& Title(int i) const { return m_titles[std::size_t(i)]; }
    int Resource(int i) const { return m_resources[std::size_t(i)]; }

    // Where every page sits: below the strip, inside the control's client area.
    static Rect PageRect(const Rect& client, const Rect& firstTab);

private:
    std::vector<std::string> m_titles;
    std::vector<int> m_resources;
    int m_nCurrent = 0;
};

}  // namespace lumivar
