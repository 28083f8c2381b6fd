// The settings page of the person's day: time away that counts as a rest, how long a rest waits
// for a full-screen program, and the warning before a rest.
#pragma once

#include "settings/GeneralPage.h"
#include "settings/Settings.h"

namespace lumivar {

class CDayPage {
public:
    struct Box {
        int Settings::*value;
        int low, high;
    };
    // In the page's order; each box takes whole numbers within its range, 0 switching it off.
    static constexpr Box kBoxes[3] = {
        {&Settings::m_nNaturalBreak, 0, 120}, {&Settings::m_nFullScreenWait, 0, 240}, {&Settings::m_nPrewarn, 0, 300}};

    int m_values[3] = {};

    void FromSettings(const Settings& s);
    void ToSettings(Settings& s) const;
    bool OnOK(IGeneralPageUi& ui) const;  // false: the dialog stays open on this page
};

}  // namespace lumivar
