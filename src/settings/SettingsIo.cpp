#include "settings/SettingsIo.h"

#include <algorithm>
#include <climits>
#include <string>

#include "base/Text.h"
#include "settings/Gbk.h"

namespace lumivar {
namespace {

constexpr const char* kMain = "Lumivar2003";
constexpr const char* kScreen = "SCREEN";
constexpr const char* kSound = "SOUND";
constexpr const char* kTasks = "NOTES AND TASKS";
constexpr const char* kHomepage = "HOMEPAGE";
constexpr const char* kMail = "MAIL";
constexpr const char* kHost = "HOSTSTATUS";

bool IsSpace(unsigned char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

std::string Indexed(const char* key, int i) { return key + std::to_string(i); }

// Line breaks cannot stand in an INI value, so a note carries them as "$r" and "$n".
std::string EscapeBreaks(std::string_view note) {
    std::string out;
    for (const char c : note) {
        if (c == '\r') out += "$r";
        else if (c == '\n') out += "$n";
        else out += c;
    }
    return out;
}

std::string UnescapeBreaks(std::string_view note) {
    std::string out;
    for (std::size_t i = 0; i < note.size(); ++i) {
        if (note[i] == '$' && i + 1 < note.size() && (note[i + 1] == 'r' || note[i + 1] == 'n')) {
            out += note[++i] == 'r' ? '\r' : '\n';
        } else {
            out += note[i];
        }
    }
    return out;
}

void ReadInt(const IniFile& ini, const char* section, const char* key, int& field) {
    field = ini.GetInt(section, key, field);
}

void ReadColor(const IniFile& ini, const char* section, const char* key, Colorref& field) {
    field = static_cast<Colorref>(ini.GetInt(section, key, static_cast<int>(field)));
}

void ReadText(const IniFile& ini, const char* section, const char* key, std::string& field) {
    std::string raw;
    if (ini.Get(section, key, raw)) field = GbkToUtf8(raw);
}

void ReadPassword(const IniFile& ini, const char* section, const char* key, std::string& field) {
    std::string raw;
    if (ini.Get(section, key, raw)) field = GbkToUtf8(ScramblePassword(raw, false));
}

void WriteInt(IniFile& ini, const char* section, const std::string& key, int value) {
    ini.Set(section, key, std::to_string(value));
}

void WriteText(IniFile& ini, const char* section, const std::string& key, std::string_view value) {
    ini.Set(section, key, Utf8ToGbk(value));
}

void WritePassword(IniFile& ini, const char* section, const char* key, std::string_view value) {
    ini.Set(section, key, ScramblePassword(Utf8ToGbk(value), true));
}

// count: TOTALITEM as the file says it, cut to MAX_TASKS.
void ReadTasks(const IniFile& ini, int count, TaskList& tasks) {
    const int n = std::clamp(count, 0, MAX_TASKS);
    TaskList kept;
    for (int i = 0; i < n; ++i) {
        TaskItem item{kDaily, "", "", 0, 0};
        std::string note;
        ReadText(ini, kTasks, Indexed("NOTE", i).c_str(), note);
        item.note = UnescapeBreaks(note);
        ReadText(ini, kTasks, Indexed("Date", i).c_str(), item.date);
        ReadText(ini, kTasks, Indexed("TASK", i).c_str(), item.task);

        const std::string time = ini.GetString(kTasks, Indexed("TIME", i), "");
        const std::size_t colon = time.find(':');
        if (colon == std::string::npos || (item.note.empty() && item.task.empty())) continue;
        // Taken as written, odd hours too: the schedule normalises them as mktime does.
        item.hour = LeadingInt(std::string_view(time).substr(0, colon));
        item.minute = LeadingInt(std::string_view(time).substr(colon + 1));
        kept.push_back(std::move(item));
    }
    tasks = std::move(kept);
}

// A hand-edited file must not leave the program unusable or spinning: every
// time and interval is brought into the range the settings dialog allows.
void KeepInRange(Settings& s) {
    s.m_nWorkTime = std::clamp(s.m_nWorkTime, 1, 1439);
    s.m_nBreakTime = std::clamp(s.m_nBreakTime, 0, 86399);  // 0 still rests for a second
    // No timeout of its own: lock a little after a rest would have ended.
    if (s.m_nAutoLockTimeout <= 0) s.m_nAutoLockTimeout = s.m_nBreakTime / 60 + 1;
    s.m_nAutoLockTimeout = std::clamp(s.m_nAutoLockTimeout, 1, 120);
    s.m_nHomepageInterval = std::clamp(s.m_nHomepageInterval, 1, 240);
    s.m_nMailInterval = std::clamp(s.m_nMailInterval, 1, 120);
    if (s.m_nHostInterval <= 0) s.m_bHostMonitor = 0;  // the way a file switches the monitor off
    s.m_nHostInterval = std::clamp(s.m_nHostInterval, 1, 120);
    s.m_nRemindTimeout = std::clamp(s.m_nRemindTimeout, 0, 3600);  // 0: the prompt waits for the user
    s.m_nNaturalBreak = std::clamp(s.m_nNaturalBreak, 0, 120);
    s.m_nFullScreenWait = std::clamp(s.m_nFullScreenWait, 0, 240);
    s.m_nPrewarn = std::clamp(s.m_nPrewarn, 0, 300);
}

}  // namespace

std::string ScramblePassword(std::string_view gbkBytes, bool encode) {
    // Trim by characters: the second byte of a double-byte character is never a blank.
    std::size_t begin = std::string_view::npos, end = 0;
    for (std::size_t i = 0; i < gbkBytes.size();) {
        const std::size_t n = GbkCharLength(gbkBytes, i);
        if (n == 2 || !IsSpace(static_cast<unsigned char>(gbkBytes[i]))) {
            if (begin == std::string_view::npos) begin = i;
            end = i + n;
        }
        i += n;
    }
    if (begin == std::string_view::npos) return {};

    std::string out(gbkBytes.substr(begin, end - begin));
    for (char& c : out) {
        const auto b = static_cast<unsigned char>(c);
        unsigned char r;
        if (encode) r = b == 0xFD ? 0x03 : static_cast<unsigned char>(b + 3);
        else r = b == 0x03 ? 0xFD : static_cast<unsigned char>(b - 3);
        c = static_cast<char>(r);
    }
    return out;
}

void ReadSettings(const IniFile& ini, Settings& s, TaskList& tasks) {
    ReadInt(ini, kMain, "STARTUP", s.m_bStartup);
    ReadInt(ini, kMain, "CONFIGPASS", s.m_bConfigPass);
    ReadInt(ini, kMain, "LOCKPASS", s.m_bLockPass);
    ReadInt(ini, kMain, "EXITPASS", s.m_bExitPass);
    ReadPassword(ini, kMain, "SYSTEMPWD", s.m_strSystemPwd);
    ReadInt(ini, kMain, "AUTOCHECKNEWVERSION", s.m_bAutoCheckNewVersion);
    ReadInt(ini, kMain, "AUTOLOCK", s.m_bAutoLock);
    ReadInt(ini, kMain, "TIMEOUT", s.m_nAutoLockTimeout);

    ReadInt(ini, kScreen, "WORKTIME", s.m_nWorkTime);
    ReadInt(ini, kScreen, "BREAKTIME", s.m_nBreakTime);
    ReadInt(ini, kScreen, "DISPLAYTXT", s.m_bDisplayTxt);
    ReadColor(ini, kScreen, "TEXTCOLOR", s.m_crTextColor);
    ReadColor(ini, kScreen, "BACKCOLOR", s.m_crBackColor);
    ReadInt(ini, kScreen, "BACKKEY", s.m_bBackKey);
    ReadText(ini, kScreen, "TEXT", s.m_strText);
    ReadInt(ini, kScreen, "ALTPIC", s.m_bAltPic);
    ReadInt(ini, kScreen, "PICTURE", s.m_bPicture);
    ReadText(ini, kScreen, "PICFILE", s.m_strPicFile);
    ReadInt(ini, kScreen, "STRETCH", s.m_bStretch);
    ReadInt(ini, kScreen, "ANIMATE", s.m_bAnimate);
    ReadInt(ini, kScreen, "NATURALBREAK", s.m_nNaturalBreak);
    ReadInt(ini, kScreen, "FULLSCREENWAIT", s.m_nFullScreenWait);
    ReadInt(ini, kScreen, "PREWARN", s.m_nPrewarn);

    ReadInt(ini, kSound, "PLAYSOUND", s.m_bPlaySound);
    ReadText(ini, kSound, "BREAKWAV", s.m_strBreakWav);
    ReadText(ini, kSound, "WORKWAV", s.m_strWorkWav);
    ReadText(ini, kSound, "REMINDWAV", s.m_strRemindWav);

    ReadInt(ini, kTasks, "REMIND", s.m_bRemind);
    ReadInt(ini, kTasks, "TIMEOUT", s.m_nRemindTimeout);
    // Without a count the file's entries are read up to the count already held.
    int count = int(tasks.size());
    ReadInt(ini, kTasks, "TOTALITEM", count);
    ReadTasks(ini, count, tasks);

    ReadInt(ini, kHomepage, "WATCH", s.m_bHomepageWatch);
    ReadInt(ini, kHomepage, "INTERVAL", s.m_nHomepageInterval);
    ReadInt(ini, kHomepage, "PROXY", s.m_bHomepageProxy);
    ReadText(ini, kHomepage, "ADDRESS", s.m_strHomepageAddress);
    ReadText(ini, kHomepage, "USER", s.m_strProxyUser);
    ReadPassword(ini, kHomepage, "PASS", s.m_strProxyPass);

    ReadInt(ini, kMail, "CHECK", s.m_bMailCheck);
    ReadInt(ini, kMail, "INTERVAL", s.m_nMailInterval);
    ReadText(ini, kMail, "SERVER", s.m_strMailServer);
    ReadText(ini, kMail, "USER", s.m_strMailUser);
    ReadPassword(ini, kMail, "PASS", s.m_strMailPass);

    ReadInt(ini, kHost, "MONITOR", s.m_bHostMonitor);
    ReadInt(ini, kHost, "INTERVAL", s.m_nHostInterval);
    ReadText(ini, kHost, "HOSTNAME", s.m_strHostName);

    KeepInRange(s);
}

void WriteSettings(IniFile& ini, const Settings& s, const TaskList& tasks) {
    WriteText(ini, kMain, "VERSION", s.m_strVersion);
    WriteInt(ini, kMain, "STARTUP", s.m_bStartup);
    WriteInt(ini, kMain, "AUTOCHECKNEWVERSION", s.m_bAutoCheckNewVersion);
    WriteInt(ini, kMain, "CONFIGPASS", s.m_bConfigPass);
    WriteInt(ini, kMain, "LOCKPASS", s.m_bLockPass);
    WriteInt(ini, kMain, "EXITPASS", s.m_bExitPass);
    WritePassword(ini, kMain, "SYSTEMPWD", s.m_strSystemPwd);
    WriteInt(ini, kMain, "AUTOLOCK", s.m_bAutoLock);
    WriteInt(ini, kMain, "TIMEOUT", s.m_nAutoLockTimeout);

    WriteInt(ini, kScreen, "WORKTIME", s.m_nWorkTime);
    WriteInt(ini, kScreen, "BREAKTIME", s.m_nBreakTime);
    WriteInt(ini, kScreen, "DISPLAYTXT", s.m_bDisplayTxt);
    WriteText(ini, kScreen, "TEXT", s.m_strText);
    WriteInt(ini, kScreen, "TEXTCOLOR", static_cast<int>(s.m_crTextColor));
    WriteInt(ini, kScreen, "BACKCOLOR", static_cast<int>(s.m_crBackColor));
    WriteInt(ini, kScreen, "BACKKEY", s.m_bBackKey);
    WriteInt(ini, kScreen, "PICTURE", s.m_bPicture);
    WriteText(ini, kScreen, "PICFILE", s.m_strPicFile);
    WriteInt(ini, kScreen, "STRETCH", s.m_bStretch);
    WriteInt(ini, kScreen, "ALTPIC", s.m_bAltPic);
    WriteInt(ini, kScreen, "ANIMATE", s.m_bAnimate);
    WriteInt(ini, kScreen, "NATURALBREAK", s.m_nNaturalBreak);
    WriteInt(ini, kScreen, "FULLSCREENWAIT", s.m_nFullScreenWait);
    WriteInt(ini, kScreen, "PREWARN", s.m_nPrewarn);

    WriteInt(ini, kSound, "PLAYSOUND", s.m_bPlaySound);
    WriteText(ini, kSound, "BREAKWAV", s.m_strBreakWav);
    WriteText(ini, kSound, "WORKWAV", s.m_strWorkWav);
    WriteText(ini, kSound, "REMINDWAV", s.m_strRemindWav);

    // Cleared first, so that keys of entries deleted since the last save go.
    ini.ClearSection(kTasks);
    const int n = std::min(int(tasks.size()), MAX_TASKS);
    WriteInt(ini, kTasks, "REMIND", s.m_bRemind);
    WriteInt(ini, kTasks, "TIMEOUT", s.m_nRemindTimeout);
    WriteInt(ini, kTasks, "TOTALITEM", n);
    for (int i = 0; i < n; ++i) {
        const TaskItem& t = tasks[i];
        WriteText(ini, kTasks, Indexed("Date", i), t.date);
        ini.Set(kTasks, Indexed("TIME", i), std::to_string(t.hour) + ":" + std::to_string(t.minute));
        WriteText(ini, kTasks, Indexed("NOTE", i), EscapeBreaks(t.note));
        WriteText(ini, kTasks, Indexed("TASK", i), t.task);
    }

    WriteInt(ini, kHomepage, "WATCH", s.m_bHomepageWatch);
    WriteText(ini, kHomepage, "ADDRESS", s.m_strHomepageAddress);
    WriteInt(ini, kHomepage, "INTERVAL", s.m_nHomepageInterval);
    WriteInt(ini, kHomepage, "PROXY", s.m_bHomepageProxy);
    WriteText(ini, kHomepage, "USER", s.m_strProxyUser);
    WritePassword(ini, kHomepage, "PASS", s.m_strProxyPass);

    WriteInt(ini, kMail, "CHECK", s.m_bMailCheck);
    WriteInt(ini, kMail, "INTERVAL", s.m_nMailInterval);
    WriteText(ini, kMail, "SERVER", s.m_strMailServer);
    WriteText(ini, kMail, "USER", s.m_strMailUser);
    WritePassword(ini, kMail, "PASS", s.m_strMailPass);

    WriteInt(ini, kHost, "MONITOR", s.m_bHostMonitor);
    WriteText(ini, kHost, "HOSTNAME", s.m_strHostName);
    WriteInt(ini, kHost, "INTERVAL", s.m_nHostInterval);
}

}  // namespace lumivar
