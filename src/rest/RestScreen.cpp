#include "rest/RestScreen.h"

#include <cstdio>

#include "base/LocalTime.h"
#include "rest/PictureRect.h"

namespace lumivar {

namespace {
constexpr Colorref kCornerTextColor = Rgb(249, 249, 224);
}  // namespace

std::string CountdownText(int restLeft) {
    const long long s = (long long)restLeft + 1;
    char buf[48];
    std::snprintf(buf, sizeof buf, "%02lld:%02lld:%02lld", s / 3600, (s % 3600) / 60, s % 60);
    return buf;
}

std::string ClockText(std::time_t t) {
    const std::tm tm = LocalTime(t);
    char buf[16];
    std::strftime(buf, sizeof buf, "%H:%M:%S", &tm);
    return buf;
}

void CRestScreen::LoadPicture() {
    if (m_bPictureLoaded) m_picture.Release();
    m_bPictureLoaded = m_picture.Load(m_settings.m_strPicFile);
}

void CRestScreen::ReleasePicture() {
    if (!m_bPictureLoaded) return;
    m_picture.Release();
    m_bPictureLoaded = false;
}

void CRestScreen::ShowForRest() {
    m_screen.BringToFront();
    ShowForLock();
    m_screen.Invalidate();
    m_screen.FocusMain();
}

void CRestScreen::ShowForLock() {
    if (m_settings.m_bAnimate) m_screen.Animate(kAnimateMs, kAnimEffects[m_nAnimEffect]);
    m_screen.ShowFullScreen();
}

void CRestScreen::Hide(bool quiet) {
    if (m_settings.m_bAnimate && !quiet)
        m_screen.Animate(kAnimateMs, kAnimEffects[m_nAnimEffect] | AW_HIDE);
    else
        m_screen.Hide();
}

void CRestScreen::Countdown() {
    m_screen.BringToFront();
    if (m_screen.FocusOwner() == IScreen::Focus::Other) m_screen.FocusMain();
    m_screen.Invalidate(m_rcCountdown);
    m_screen.Invalidate(m_rcClock);
}

Rect CRestScreen::PictureRect() {
    // A picture shown at its size keeps its size on the screen, whatever the scaling.
    const int dpi = m_screen.Dpi();
    const Size size = m_picture.GetImageSize();
    return FitPictureRect(m_screen.PrimaryRect(), {ScaleForDpi(size.cx, dpi), ScaleForDpi(size.cy, dpi)},
                          m_settings.m_bStretch);
}

void CRestScreen::OnPaint(IPainter& painter, std::time_t now, bool locked, int restLeft) {
    const Settings& s = m_settings;
    // The window spans every monitor; what there is to read stays on the primary one.
    const Rect wnd = m_screen.WindowRect();
    const Rect p = m_screen.PrimaryRect();
    const bool picture = s.m_bPicture && m_bPictureLoaded;
    if (!(picture && s.m_bStretch && p == wnd)) painter.FillRect(wnd, s.m_crBackColor);
    if (picture) painter.DrawPicture(PictureRect());
    if (s.m_bDisplayTxt) {
        const Size sz = painter.MeasureText(IPainter::Font::Text, s.m_strText);
        painter.DrawString(IPainter::Font::Text, p.left + (p.Width() - sz.cx) / 2,
                           p.top + (p.Height() - sz.cy) / 2 - sz.cy, s.m_strText, s.m_crTextColor);
    }
    if (!locked) {
        const std::string text = CountdownText(restLeft);
        const Size sz = painter.MeasureText(IPainter::Font::Default, text);
        m_rcCountdown = {p.left, p.top, p.left + sz.cx, p.top + sz.cy};
        painter.DrawString(IPainter::Font::Default, p.left, p.top, text, kCornerTextColor);
    }
    const std::string clock = ClockText(now);
    const Size sz = painter.MeasureText(IPainter::Font::Default, clock);
    m_rcClock = {p.right - sz.cx, p.top, p.right, p.top + sz.cy};
    painter.DrawString(IPainter::Font::Default, p.right - sz.cx, p.top, clock, kCornerTextColor);
}

bool CRestScreen::OnEraseBkgnd(IPainter& painter) {
    painter.FillRect(m_screen.WindowRect(), m_settings.m_crBackColor);
    if (m_settings.m_bPicture && m_bPictureLoaded) painter.DrawPicture(PictureRect());
    return true;
}

}  // namespace lumivar
