#include "settings/DayPage.h"

namespace lumivar {

void CDayPage::FromSettings(const Settings& s) {
    for (int i = 0; i < 3; ++i) m_values[i] = s.*kBoxes[i].value;
}

void CDayPage::ToSettings(Settings& s) const {
    for (int i = 0; i < 3; ++i) s.*kBoxes[i].value = m_values[i];
}

bool CDayPage::OnOK(IGeneralPageUi& ui) const {
    for (int i = 0; i < 3; ++i) {
        if (m_values[i] >= kBoxes[i].low && m_values[i] <= kBoxes[i].high) continue;
        ui.RangeError(kBoxes[i].low, kBoxes[i].high);
        return false;
    }
    return true;
}

}  // namespace lumivar
