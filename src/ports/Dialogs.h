// Modal windows: the notices every part may show, the program's own dialogs, the picture.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "ports/Geometry.h"

namespace lumivar {

class CRemindDlg;
class CTaskListDlg;
class CSettingsDlg;

// Notices and message boxes.
class INotices {
public:
    virtual ~INotices() = default;
    virtual int RunRemind(CRemindDlg& dlg) = 0;   // IDOK or IDCANCEL
    virtual void ShowMessage(const std::string& text, const std::string& title) = 0;  // OK button only
};

struct OpenFileRequest {
    std::string title;
    std::vector<std::pair<std::string, std::string>> filters;  // label, pattern
    int filterIndex = 1;                                        // 1-based, as the dialog counts
};

class IDialogs : public INotices {
public:
    virtual bool OpenFile(const OpenFileRequest& request, std::string& path) = 0;  // false on cancel
    virtual void RunAbout(const std::string& currentVersion, const std::string& latestVersion) = 0;
    virtual int RunTaskList(CTaskListDlg& dlg) = 0;           // IDOK or IDCANCEL
    virtual int RunSettings(CSettingsDlg& dlg) = 0;           // IDOK or IDCANCEL
    virtual bool AskPassword(std::string& typed) = 0;         // the password prompt; false on cancel
};

// The decoded background picture.
class IBackgroundPicture {
public:
    virtual ~IBackgroundPicture() = default;
    // False when the file cannot be opened (the held picture stays) or cannot be decoded (it is gone).
    virtual bool Load(const std::string& path) = 0;
    virtual void Release() = 0;
    virtual Size GetImageSize() = 0;  // screen pixels; {0, 0} when empty
};

}  // namespace lumivar
