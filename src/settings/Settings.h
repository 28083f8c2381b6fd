// Every configuration value of the program, with its default.
#pragma once

#include <string>

#include "ports/Geometry.h"
#include "version.h"

namespace lumivar {

inline constexpr const char* kDefaultHomepageAddress = "http://www.baidu.com/";
inline constexpr const char* kVersionText = LUMIVAR_VERSION_TEXT;

struct Settings {
    std::string m_strVersion = kVersionText;
    int m_bStartup = 1;
    int m_bAutoCheckNewVersion = 1;
    int m_bConfigPass = 0;
    int m_bLockPass = 0;
    int m_bExitPass = 0;
    std::string m_strSystemPwd;
    int m_bAutoLock = 0;
    int m_nAutoLockTimeout = 5;  // minutes

    int m_nWorkTime = 5;         // minutes
    int m_nBreakTime = 6;        // seconds
    int m_bDisplayTxt = 1;
    std::string m_strText = "保护视力";
    Colorref m_crTextColor = Rgb(250, 174, 192);
    Colorref m_crBackColor = Rgb(11, 65, 104);
    int m_bBackKey = 1;
    int m_bPicture = 0;
    std::string m_strPicFile = "bk.jpg";
    int m_bStretch = 1;
    int m_bAltPic = 0;
    int m_bAnimate = 1;
    int m_nNaturalBreak = 5;     // minutes without input that count as a rest; 0: off
    int m_nFullScreenWait = 30;  // minutes a rest waits for a full-screen program; 0: never
    int m_nPrewarn = 30;         // seconds of warning before a rest; 0: none

    int m_bPlaySound = 1;
    std::string m_strBreakWav = "break.wav";
    std::string m_strWorkWav = "backwork.wav";
    std::string m_strRemindWav = "remind.wav";

    int m_bRemind = 1;
    int m_nRemindTimeout = 50;   // seconds

    int m_bHomepageWatch = 0;
    int m_nHomepageInterval = 2;  // minutes
    std::string m_strHomepageAddress = kDefaultHomepageAddress;
    int m_bHomepageProxy = 1;
    std::string m_strProxyUser;
    std::string m_strProxyPass;

    int m_bMailCheck = 0;
    int m_nMailInterval = 2;     // minutes
    std::string m_strMailServer = "pop3mailserver";
    std::string m_strMailUser = "username";
    std::string m_strMailPass = "######";

    int m_bHostMonitor = 0;
    std::string m_strHostName = "localhost";
    int m_nHostInterval = 1;     // minutes
};


}  // namespace lumivar
