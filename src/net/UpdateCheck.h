// The update check: asks site A, then site B, for the text of the newest version and compares
// it with ours. Both fetches run in the background; prompts come on the GUI thread.
#pragma once

#include <functional>
#include <string>

#include "base/JobGuard.h"
#include "net/RobotInternet.h"
#include "ports/Background.h"
#include "ports/Dialogs.h"
#include "ports/System.h"

namespace lumivar {

struct UpdateAnswer {
    enum class Site { None, A, B };
    Site site = Site::None;
    std::string body;  // GBK bytes, as the site sent them
};

// An update file is one version text: at most 50 bytes, with "Build" in it.
bool AcceptUpdateBody(const std::string& body);
// Site A's file, else site B's; blocks, so it runs off the GUI thread.
UpdateAnswer FetchUpdateFile(CRobotInternet& robot, const std::string& fileA, const std::string& fileB);

// What the update check uses of the shell.
struct UpdatePorts {
    INotices& notices;
    IShell& shell;
    IBackground& background;
};

class CUpdateCheck {
public:
    static constexpr int kPromptSeconds = 30;
    struct Result {
        bool newer = false;       // an accepted version text differs from ours
        std::string statusText;   // for m_strLatestVersion
    };
    explicit CUpdateCheck(UpdatePorts ports) : m_ports(ports) {}

    // versionUtf8: our own version text. The manual prompts are shown before then(result, manual).
    // A request while a check is out joins it: it then answers with the prompts if either asked.
    void Start(bool manual, CRobotInternet robot, const std::string& versionUtf8,
               std::function<void(const Result&, bool manual)> then);
    bool Busy() const { return m_bRunning != 0; }

private:
    Result Report(const UpdateAnswer& answer, const std::string& versionUtf8, bool manual);
    UpdatePorts m_ports;
    int m_bRunning = 0;
    int m_bManual = 0;
    CJobGuard m_guard;  // never invalidated: it only tells whether the check is still there
};

}  // namespace lumivar
