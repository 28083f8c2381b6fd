// The lock screen: the password box on the full-screen window, kept above everything, and the
// system restrictions while it stands. When the lock begins and ends is the cycle's to say.
#pragma once

#include <string>

#include "ports/System.h"
#include "ports/Window.h"
#include "system/LockRestrictions.h"

namespace lumivar {

class CScreenLock {
public:
    CScreenLock(IScreen& screen, IPasswordBox& box, ILockPolicy& policy)
        : m_screen(screen), m_box(box), m_restrictions(policy) {}

    // The screen is already shown full screen; this adds the box and takes the foreground.
    void Show();
    // The monitors changed: the box goes to the new primary monitor, new task bars are hidden.
    void ScreensChanged();
    // Once a second: nothing may stay above the lock, and the box keeps the focus.
    void Upkeep();
    // The typed text against the password; a wrong one is cleared for the next try.
    bool Accepts(bool passwordRequired, const std::string& password);
    void Leave();                 // the box goes and the restrictions are lifted
    void ShowOtherWindows() { m_screen.HideOtherWindows(false); }
    void ClearPassword() { m_box.SetPasswordText(""); }

    CLockRestrictions& Restrictions() { return m_restrictions; }

private:
    void PlaceBox();

    IScreen& m_screen;
    IPasswordBox& m_box;
    CLockRestrictions m_restrictions;
};

}  // namespace lumivar
