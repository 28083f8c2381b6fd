#include "system/ScreenLock.h"

namespace lumivar {

// The box sits on the primary monitor, centred, 10 pixels above its bottom edge.
void CScreenLock::PlaceBox() {
    const Rect w = m_screen.PrimaryRect();
    const Rect e = m_box.PasswordRect();
    const int margin = ScaleForDpi(10, m_screen.Dpi());
    m_box.MovePasswordBox(w.left + (w.Width() - e.Width()) / 2, w.bottom - e.Height() - margin);
}

void CScreenLock::Show() {
    PlaceBox();
    m_box.ShowPasswordBox(true);
    m_screen.HideOtherWindows(true);
    m_screen.BringToFront();
    m_box.FocusPassword();
    m_screen.Invalidate();
}

void CScreenLock::ScreensChanged() {
    m_screen.KeepTopmost();
    PlaceBox();
    m_restrictions.TaskBarsAppeared();
    m_screen.Invalidate();
}

void CScreenLock::Upkeep() {
    // Another program's topmost window, or one of ours that opened since, must not stay above.
    m_screen.KeepTopmost();
    m_screen.HideOtherWindows(true);
    if (m_screen.FocusOwner() == IScreen::Focus::Other) {
        m_screen.BringToFront();
        m_box.FocusPassword();
    }
}

bool CScreenLock::Accepts(bool passwordRequired, const std::string& password) {
    if (!passwordRequired || m_box.PasswordText() == password) return true;
    m_box.SetPasswordText("");
    m_box.FocusPassword();
    return false;
}

void CScreenLock::Leave() {
    m_box.ShowPasswordBox(false);
    m_restrictions.Lift();
}

}  // namespace lumivar
