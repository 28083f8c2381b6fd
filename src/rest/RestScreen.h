// What the full-screen window shows during a rest or a lock: the background and its picture,
// the text, the countdown and the clock, drawn on the primary monitor; and how it comes and goes.
#pragma once

#include <ctime>
#include <string>

#include "ports/Dialogs.h"
#include "ports/Window.h"
#include "settings/Settings.h"

namespace lumivar {

// "hh:mm:ss" of the seconds still shown; hours are not limited to two digits.
std::string CountdownText(int restLeft);
// Local time "%H:%M:%S".
std::string ClockText(std::time_t t);

class CRestScreen {
public:
    static constexpr uint32_t kAnimateMs = 1500;

    CRestScreen(IScreen& screen, IBackgroundPicture& picture, const Settings& settings)
        : m_screen(screen), m_picture(picture), m_settings(settings) {}

    // The picture of the settings, decoded anew; or none.
    void LoadPicture();
    void ReleasePicture();
    bool PictureLoaded() const { return m_bPictureLoaded; }

    void ShowForRest();          // in front, with the chosen effect, over every monitor
    void ShowForLock();
    void Hide(bool quiet);       // quiet: at once, without the effect
    void Countdown();            // in front again; the countdown and the clock repainted
    void InvalidateClock() { m_screen.Invalidate(m_rcClock); }

    void OnPaint(IPainter& painter, std::time_t now, bool locked, int restLeft);
    bool OnEraseBkgnd(IPainter& painter);
    Rect PictureRect();
    const Rect& CountdownRect() const { return m_rcCountdown; }
    const Rect& ClockRect() const { return m_rcClock; }

private:
    IScreen& m_screen;
    IBackgroundPicture& m_picture;
    const Settings& m_settings;
    bool m_bPictureLoaded = false;
    Rect m_rcCountdown{0, 0, 20, 20};  // where the last paint put them
    Rect m_rcClock{0, 0, 20, 20};
    int m_nAnimEffect = 0;  // which of the effects below; always the first
    static constexpr uint32_t kAnimEffects[5] = {AW_BLEND, AW_CENTER, AW_HOR_POSITIVE, AW_VER_POSITIVE, AW_VER_NEGATIVE};
};

}  // namespace lumivar
