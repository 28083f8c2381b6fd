// What the main window shows during a rest or a lock.
#include <cstdio>

#include "base/LocalTime.h"
#include "app/MainDlg.h"
#include "rest/RestTexts.h"

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

void CMainDlg::OnPaint(IPainter& painter) {
    // The window spans every monitor; what there is to read stays on the primary one.
    const Rect wnd = m_wnd.WindowRect();
    const Rect p = m_wnd.PrimaryRect();
    const bool pictureCovers = m_bPicture && m_bPictureLoaded && m_bStretch && p == wnd;
    if (!pictureCovers) painter.FillRect(wnd, m_crBackColor);
    if (m_bPicture && m_bPictureLoaded) painter.DrawPicture(ComputePictureRect());
    if (m_bDisplayTxt) {
        const Size sz = painter.MeasureText(IPainter::Font::Text, m_strText);
        painter.DrawString(IPainter::Font::Text, p.left + (p.Width() - sz.cx) / 2,
                           p.top + (p.Height() - sz.cy) / 2 - sz.cy, m_strText, m_crTextColor);
    }
    if (!m_bLocked) {
        const std::string text = CountdownText(m_nRestLeft);
        const Size sz = painter.MeasureText(IPainter::Font::Default, text);
        m_rcCountdown = {p.left, p.top, p.left + sz.cx, p.top + sz.cy};
        painter.DrawString(IPainter::Font::Default, p.left, p.top, text, kCornerTextColor);
    }
    const std::string clock = ClockText(m_ports.system.Now());
    const Size sz = painter.MeasureText(IPainter::Font::Default, clock);
    m_rcClock = {p.right - sz.cx, p.top, p.right, p.top + sz.cy};
    painter.DrawString(IPainter::Font::Default, p.right - sz.cx, p.top, clock, kCornerTextColor);
}

bool CMainDlg::OnEraseBkgnd(IPainter& painter) {
    painter.FillRect(m_wnd.WindowRect(), m_crBackColor);
    if (m_bPicture && m_bPictureLoaded) painter.DrawPicture(ComputePictureRect());
    return true;
}

}  // namespace lumivar
