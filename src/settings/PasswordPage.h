// The password page of the settings dialog: the three guards and the system password.
#pragma once

#include <string>

namespace lumivar {

class IPasswordPageUi {
public:
    virtual ~IPasswordPageUi() = default;
    virtual void ShowMessage(const std::string& text) = 0;  // owned by the page, OK only
};

class CPasswordPage {
public:
    int m_bLockPass = 0, m_bConfigPass = 0, m_bExitPass = 0;
    std::string m_strPassword;  // box 1056; both boxes open with the current password
    std::string m_strConfirm;   // box 1057

    // Trims both boxes; false with the message when they differ. Both empty clears the password.
    bool OnOK(IPasswordPageUi& ui);
};

}  // namespace lumivar
