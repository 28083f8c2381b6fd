// The general page of the settings dialog: the cycle's times, the rest screen, the sounds and
// the odds and ends. The window that shows it only moves values in and out and forwards clicks.
#pragma once

#include <string>

#include "ports/Dialogs.h"

namespace lumivar {

// What the page asks of its window and of the user.
class IGeneralPageUi {
public:
    virtual ~IGeneralPageUi() = default;
    virtual bool PickColor(Colorref& color) = 0;  // the full colour dialog; false on cancel
    virtual bool ChooseFile(const OpenFileRequest& request, std::string& path) = 0;  // false on cancel
    virtual void RangeError(int low, int high) = 0;  // "Please enter an integer between %1 and %2."
};

// What a time-of-day picker shows.
struct PickerTime {
    int hour = 0, minute = 0, second = 0;
    bool operator==(const PickerTime&) const = default;
};

class CGeneralPage {
public:
    // Copies of the settings, in before the run and out after OK.
    int m_nWorkTime = 5;   // minutes
    int m_nBreakTime = 6;  // seconds
    int m_bDisplayTxt = 1;
    std::string m_strText;
    int m_bAnimate = 1;
    Colorref m_crBackColor = 0, m_crTextColor = 0;
    int m_bPicture = 0, m_bStretch = 1, m_bAltPic = 0;
    std::string m_strPicFile;
    int m_bPlaySound = 1;
    std::string m_strBreakWav, m_strWorkWav, m_strRemindWav;
    int m_bBackKey = 1, m_bStartup = 1, m_bAutoCheckNewVersion = 1, m_bAutoLock = 0;
    int m_nAutoLockTimeout = 5;  // 1..120 minutes

    // The two pickers; the window moves them in and out.
    PickerTime m_workPicker, m_restPicker;
    static constexpr PickerTime kWorkFirst{0, 1, 0}, kRestFirst{0, 0, 1}, kLast{23, 59, 59};
    static constexpr int kAutoLockMin = 1, kAutoLockMax = 120;

    void OnInitDialog();

    // What the window enables and shows.
    bool TextEnabled() const { return m_bDisplayTxt; }
    bool PictureEnabled() const { return m_bPicture; }    // 1042, 1043, 1020, 1024
    bool SoundsEnabled() const { return m_bPlaySound; }   // 1035..1040
    bool AutoLockEnabled() const { return m_bAutoLock; }  // 1071, 1073
    std::string PreviewText() const;

    // Clicks. The window takes the controls into the members before each and puts them back after.
    void OnColorButton(bool background, IGeneralPageUi& ui);
    enum Sound { BreakSound, WorkSound, RemindSound };
    void OnSoundButton(Sound which, IGeneralPageUi& ui);
    void OnPictureButton(IGeneralPageUi& ui);

    bool OnOK(IGeneralPageUi& ui);  // false: the dialog stays open on this page
};

}  // namespace lumivar
