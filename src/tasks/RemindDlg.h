// The general notice box: a text, and an OK button that counts down and confirms by itself.
#pragma once

#include <cstdint>
#include <string>

namespace lumivar {

// What the notice box's model asks of its window.
class IRemindView {
public:
    virtual ~IRemindView() = default;
    virtual void SetTitle(const std::string& text) = 0;
    virtual void SetOkText(const std::string& text) = 0;
    virtual void SetSmallIcon(int iconResource) = 0;
    virtual void SetTimer(int id, uint32_t ms) = 0;
    virtual void KillTimer(int id) = 0;
    virtual void CaretToStart() = 0;                 // EM_SETSEL 0,0 + EM_SCROLLCARET
    virtual void Animate(uint32_t ms, uint32_t effect) = 0;
    virtual void InvalidateErase() = 0;
    virtual void End(int result) = 0;                // ends the modal run
};

class CRemindDlg {
public:
    std::string m_strTitle;
    int m_nCountdown = 0;     // seconds; 0 or less: no countdown
    int m_bAnimated = 0;
    std::string m_strOkText;
    std::string m_strMessage; // line breaks are CR LF

    void OnInitDialog(IRemindView& view);
    void OnTimer(IRemindView& view);
    void OnOK(IRemindView& view);
    void OnCancel(IRemindView& view);
    void OnDestroy(IRemindView& view);
};

}  // namespace lumivar
