#include "settings/GeneralPage.h"

#include <algorithm>

#include "rest/PictureRect.h"

namespace lumivar {

void CGeneralPage::OnInitDialog() {
    // A length of 0 would put the pickers below their range.
    if (m_nWorkTime == 0) m_nWorkTime = 10;
    if (m_nBreakTime == 0) m_nBreakTime = 10;
    m_workPicker = {m_nWorkTime / 60, m_nWorkTime % 60, 0};
    m_restPicker = {m_nBreakTime / 3600, (m_nBreakTime / 60) % 60, m_nBreakTime % 60};
}

std::string CGeneralPage::PreviewText() const {
    return m_bDisplayTxt ? "        保护视力        " : std::string(25, ' ');
}

void CGeneralPage::OnColorButton(bool background, IGeneralPageUi& ui) {
    Colorref& color = background ? m_crBackColor : m_crTextColor;
    Colorref chosen = color;
    if (ui.PickColor(chosen)) color = chosen;
}

void CGeneralPage::OnSoundButton(Sound which, IGeneralPageUi& ui) {
    const OpenFileRequest request{"请选择音效文件", {{"音效文件(*.wav)", "*.wav"}, {"所有文件(*.*)", "*.*"}}, 1};
    std::string path;
    if (!ui.ChooseFile(request, path)) return;
    (which == BreakSound ? m_strBreakWav : which == WorkSound ? m_strWorkWav : m_strRemindWav) = path;
}

void CGeneralPage::OnPictureButton(IGeneralPageUi& ui) {
    std::string path;
    if (ui.ChooseFile(BackgroundPictureRequest(), path)) m_strPicFile = path;
}

bool CGeneralPage::OnOK(IGeneralPageUi& ui) {
    if (m_nAutoLockTimeout < kAutoLockMin || m_nAutoLockTimeout > kAutoLockMax) {
        ui.RangeError(kAutoLockMin, kAutoLockMax);
        return false;
    }
    // The pickers' ranges already hold these within 1..1439 minutes and 1..86399 seconds.
    m_nWorkTime = std::clamp(m_workPicker.hour * 60 + m_workPicker.minute, 1, 1439);
    m_nBreakTime = std::clamp((m_restPicker.hour * 60 + m_restPicker.minute) * 60 + m_restPicker.second, 1, 86399);
    return true;
}

}  // namespace lumivar
