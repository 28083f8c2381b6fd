// A test double for every port, driven by a virtual clock.
#pragma once

#include <algorithm>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "fake/FakeTcp.h"
#include "net/HttpTransport.h"
#include "ports/Ports.h"
#include "tasks/RemindDlg.h"
#include "tasks/TaskDialogs.h"

namespace lumivar::fake {

// A scripted look-up: the value found goes to out.
template <class Map, class Key, class Value>
bool Find(const Map& map, const Key& key, Value& out) {
    auto it = map.find(key);
    if (it != map.end()) out = it->second;
    return it != map.end();
}

// The next scripted answer, or the fallback once they have run out.
template <class T>
T Next(std::deque<T>& answers, T fallback) {
    if (answers.empty()) return fallback;
    T next = std::move(answers.front());
    answers.pop_front();
    return next;
}

struct Clock {
    uint64_t ms = 0;                  // virtual milliseconds since the shell started
    std::time_t epoch = 1733036400;   // wall clock at ms 0: 2024-12-01 15:00:00 in UTC+8
    uint32_t tickBase = 5000;         // TickCount at ms 0
};

struct Timer {
    uint32_t period = 0;
    uint64_t due = 0;
    bool operator==(const Timer&) const = default;
};

class FakeWindow : public IMainWindow {
public:
    explicit FakeWindow(Clock& clock) : m_clock(clock) {}
    enum class Show { Hidden, Minimized, FullScreen };

    void SetTimer(int id, uint32_t ms) override {
        if (trace) trace->push_back("timer " + std::to_string(id));
        timers[id] = {ms, m_clock.ms + std::max<uint32_t>(ms, 10)};  // the platform's minimum
    }
    void KillTimer(int id) override {
        if (trace) trace->push_back("kill " + std::to_string(id));
        timers.erase(id);
    }
    void SetIcon(int) override {}
    void PlaceOnDesktop() override { show = Show::Hidden; }
    void ShowMinimized() override { show = Show::Minimized; }
    void ShowFullScreen() override { show = Show::FullScreen; }
    void Hide() override { show = Show::Hidden; }
    void Animate(uint32_t ms, uint32_t effect) override {
        animations.push_back({ms, effect});
        show = (effect & AW_HIDE) ? Show::Hidden : Show::FullScreen;
    }
    Rect WindowRect() override { return screen; }
    Rect PrimaryRect() override { return primary.Width() ? primary : screen; }
    int Dpi() override { return 96; }
    void Invalidate() override { invalidated.push_back(screen); }
    void Invalidate(const Rect& rc) override { invalidated.push_back(rc); }
    void BringToFront() override {}
    void KeepTopmost() override { ++keptTopmost; }
    void HideOtherWindows(bool hide) override { othersHidden = hide; }
    void ActivateForegroundWindow() override {}
    Focus FocusOwner() override { return focus; }
    void FocusMain() override { focus = Focus::Main; }
    void FocusPassword() override { focus = Focus::Password; }
    std::string PasswordText() override { return passwordText; }
    void SetPasswordText(const std::string& t) override { passwordText = t; }
    Rect PasswordRect() override { return passwordRect; }
    void MovePasswordBox(int x, int y) override {
        passwordRect = {x, y, x + passwordRect.Width(), y + passwordRect.Height()};
    }
    void ShowPasswordBox(bool on) override { passwordBoxShown = on; }
    void EndDialog(int result) override { endResult = result; }
    void PostScreenSaver() override { ++screenSavers; }

    bool Running(int id) const { return timers.count(id) != 0; }
    uint32_t Period(int id) const { return Running(id) ? timers.at(id).period : 0; }  // 0: stopped

    std::map<int, Timer> timers;
    std::vector<std::string>* trace = nullptr;  // the shell's record of calls in order
    Show show = Show::Hidden;
    std::vector<std::pair<uint32_t, uint32_t>> animations;
    std::vector<Rect> invalidated;
    Focus focus = Focus::Other;
    std::string passwordText;
    Rect passwordRect{0, 0, 100, 20};
    Rect screen{0, 0, 1024, 768};  // every monitor, in the window's coordinates
    Rect primary;                  // empty: the one monitor is the whole screen
    bool passwordBoxShown = false, othersHidden = false;
    int keptTopmost = 0, endResult = -1, screenSavers = 0;

private:
    Clock& m_clock;
};

class FakeTray : public ITray {
public:
    void Notify(TrayOp op, const TrayIcon& icon) override {
        if (op == TrayOp::Add || (op == TrayOp::Modify && icons.count(icon.id))) icons[icon.id] = icon;
        if (op == TrayOp::Delete) icons.erase(icon.id);
    }
    void Balloon(const TrayIcon& icon, const std::string& title, const std::string& text) override {
        balloons.push_back(std::to_string(icon.id) + " " + title + ": " + text);
    }
    std::vector<std::string> balloons;
    void PopupMenu(int, int, int, bool) override {}
    std::map<int, TrayIcon> icons;  // what the notification area shows now
};

class FakeSystem : public ISystem {
public:
    explicit FakeSystem(Clock& clock) : m_clock(clock) {}
    std::time_t Now() override { return m_clock.epoch + std::time_t(m_clock.ms / 1000); }
    uint32_t TickCount() override { return uint32_t(m_clock.tickBase + m_clock.ms); }
    uint32_t LastInputTick() override { return lastInput; }
    bool IsWin9x() override { return win9x; }
    std::string ModuleFileName() override { return modulePath; }
    std::string UserDataFolder() override { return userFolder; }
    std::string userFolder = "C:\\Users\\张三\\AppData\\Roaming\\Lumivar";
    void RegisterHotKey(int id, unsigned mods, unsigned vk) override { hotkeys[id] = {mods, vk}; }
    void UnregisterHotKey(int id) override { hotkeys.erase(id); }
    void PlayWave(const std::string& file, uint32_t flags) override { sounds.push_back({file, flags}); }
    void MessageBeep(uint32_t) override { ++beeps; }
    void Sleep(uint32_t ms) override { m_clock.ms += ms; }
    void ShellOpen(const std::string& file) override { opened.push_back(file); }
    void RunCommandLine(const std::string& cmd) override { commandLines.push_back(cmd); }
    bool SetRunValue(const std::string& name, const std::string* path) override {
        if (!runWritable) return false;
        if (path) runValues[name] = *path;
        else runValues.erase(name);
        return true;
    }
    bool runWritable = true;
    void ShowTaskBar(bool show) override { taskBarShown = show; }
    void TrapShellKeys(bool trap) override { keysTrapped = trap; }
    bool FullScreenInFront() override { return fullScreen; }
    RegistryValue ReadTaskMgrPolicy() override { return policy; }
    void WriteTaskMgrPolicy(const RegistryValue& v) override {
        policy = v;
        // A value keeps its key; a key that did not exist goes with its value.
        policy.keyExists = v.keyExists || v.exists;
        if (!v.exists) policy.type = 0, policy.data.clear();
    }
    bool ReadLockRecord(RegistryValue& before) override { if (lockRecord) before = *lockRecord; return lockRecord.has_value(); }
    void WriteLockRecord(const RegistryValue* before) override { lockRecord = before ? std::optional(*before) : std::nullopt; }
    bool EnableShutdownPrivilege() override { return true; }
    bool ExitSession(unsigned flags) override { exitWindows.push_back(flags); return true; }
    // The lock's restrictions as a user sees them.
    bool Restricted() const { return !taskBarShown || policy.data == std::string("\x01\0\0\0", 4); }
    // Input "now": the idle time starts from this moment.
    void UserInput() { lastInput = TickCount(); }

    uint32_t lastInput = 5000;
    bool win9x = false;
    bool taskBarShown = true, keysTrapped = false, fullScreen = false;
    std::string modulePath = "C:\\Program Files\\Lumivar\\Lumivar.exe";
    std::map<int, std::pair<unsigned, unsigned>> hotkeys;
    std::vector<std::pair<std::string, uint32_t>> sounds;
    int beeps = 0;
    std::vector<std::string> opened, commandLines;
    std::map<std::string, std::string> runValues;
    RegistryValue policy;                     // DisableTaskMgr; absent, in an absent key, at first
    std::optional<RegistryValue> lockRecord;  // survives a crash: the next start finds it
    std::vector<unsigned> exitWindows;

private:
    Clock& m_clock;
};

// Paths are Windows paths; a folder's listing is set by hand.
class FakeFiles : public IFileSystem {
public:
    bool ReadFile(const std::string& path, std::string& bytes) override { return Find(files, path, bytes); }
    bool WriteFileAtomic(const std::string& path, const std::string& bytes) override {
        if (trace) trace->push_back("write");
        ++writes;
        if (path.rfind(readOnly, 0) == 0 && !readOnly.empty()) return false;
        files[path] = bytes;
        return true;
    }
    bool FullPath(const std::string& path, std::string& full) override {
        full = path.size() > 1 && path[1] == ':' ? path : cwd + (cwd.back() == '\\' ? "" : "\\") + path;
        return true;
    }
    bool ChangeDir(const std::string& dir) override {
        const std::string d = dir.size() > 3 && dir.back() == '\\' ? dir.substr(0, dir.size() - 1) : dir;
        if (folders.count(d)) cwd = d;
        return folders.count(d) != 0;
    }
    intptr_t FindFirst(const std::string& pattern, FindEntry& entry) override {
        m_listing.clear();
        const std::string ext = pattern.substr(1);  // "*.jpg"
        for (const FindEntry& e : listings[cwd])
            if (e.name.ends_with(ext)) m_listing.push_back(e);
        if (m_listing.empty()) return -1;
        m_next = 0;
        ++openCursors;
        return FindNext(7, entry) ? 7 : -1;
    }
    bool FindNext(intptr_t, FindEntry& entry) override {
        if (m_next >= m_listing.size()) return false;
        entry = m_listing[m_next++];
        return true;
    }
    void FindClose(intptr_t) override { --openCursors; }

    std::map<std::string, std::string> files;
    int writes = 0, openCursors = 0;
    std::string readOnly;  // a folder no write may change
    std::vector<std::string>* trace = nullptr;
    std::string cwd = "C:\\Program Files\\Lumivar";
    std::set<std::string> folders{"C:\\Program Files\\Lumivar"};
    std::map<std::string, std::vector<FindEntry>> listings;  // folder -> entries in listing order

private:
    std::vector<FindEntry> m_listing;
    size_t m_next = 0;
};

class FakePicture : public IBackgroundPicture {
public:
    bool Load(const std::string& path) override { return Find(pictures, path, size); }
    void Release() override { size = {}; }
    Size GetImageSize() override { return size; }
    std::map<std::string, Size> pictures;  // the files that decode, with their sizes
    Size size;
};

class FakeDialogs : public IDialogs {
public:
    int RunRemind(CRemindDlg& dlg) override {
        shown.push_back(dlg);
        if (during) during(dlg);
        return Next(answers, IDCANCEL);
    }
    bool OpenFile(const OpenFileRequest& request, std::string& path) override {
        fileRequests.push_back(request);
        if (!fileAnswer.empty()) path = fileAnswer;
        return !fileAnswer.empty();
    }
    void RunAbout(const std::string& current, const std::string& latest) override { abouts.push_back({current, latest}); }
    int RunTaskList(CTaskListDlg& dlg) override { ++taskLists; return taskList ? taskList(dlg) : IDCANCEL; }
    int RunSettings(CSettingsDlg& dlg) override { ++settingsRuns; return settings ? settings(dlg) : IDCANCEL; }
    bool AskPassword(std::string& typed) override {
        if (passwordAnswers.empty()) return false;
        typed = Next(passwordAnswers, {});
        return true;
    }
    void ShowMessage(const std::string& text, const std::string& title) override { messages.push_back({text, title}); }

    std::deque<int> answers;                     // to the prompts; IDCANCEL when empty
    std::function<void(CRemindDlg&)> during;     // runs while a prompt is "open"
    std::vector<CRemindDlg> shown;
    std::function<int(CTaskListDlg&)> taskList;  // what the user does in the task list
    std::function<int(CSettingsDlg&)> settings;  // what the user does in the settings dialog
    int settingsRuns = 0, taskLists = 0;
    std::deque<std::string> passwordAnswers;     // typed passwords; cancelled when empty
    std::vector<std::pair<std::string, std::string>> messages, abouts;
    std::string fileAnswer;                      // chosen file; empty: cancelled
    std::vector<OpenFileRequest> fileRequests;
};

// Records what a paint draws; text measures 10 px a byte, 20 px high (40 in the text font).
class FakePainter : public IPainter {
public:
    void FillRect(const Rect& rc, Colorref color) override { ops.push_back("fill " + Str(rc) + " " + std::to_string(color)); }
    Size MeasureText(Font font, const std::string& text) override {
        return {int(text.size()) * 10, font == Font::Text ? 40 : 20};
    }
    void DrawString(Font font, int x, int y, const std::string& text, Colorref) override {
        ops.push_back(std::string(font == Font::Text ? "text " : "small ") + std::to_string(x) + "," +
                      std::to_string(y) + " " + text);
    }
    void DrawPicture(const Rect& rc) override { ops.push_back("picture " + Str(rc)); }
    static std::string Str(const Rect& r) {
        return "{" + std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
               std::to_string(r.bottom) + "}";
    }
    std::vector<std::string> ops;
};

// Jobs wait until the shell's loop comes round to them (see Advance) or a test finishes them:
// each runs its work and then its done, as the GUI thread would see it.
class FakeBackground : public IBackground {
public:
    void Run(std::function<void()> work, std::function<void()> done) override {
        if (trace) trace->push_back("background");
        jobs.push_back({std::move(work), std::move(done)});
        ++started;
    }
    void Finish() {
        while (!jobs.empty()) {
            Job job = Next(jobs, {});
            job.work();
            job.done();
        }
    }
    struct Job {
        std::function<void()> work, done;
    };
    std::deque<Job> jobs;
    int started = 0;
    bool manual = false;  // true: jobs wait for Finish
    std::vector<std::string>* trace = nullptr;
};

// A scripted ICMP library and name service: what the echoes answer, which names resolve,
// and a record of everything asked of it.
struct EchoScript {
    IEchoSession::State state = IEchoSession::State::Ready;
    std::string computerName = "DESKPC";  // empty: gethostname fails
    std::map<std::string, std::vector<IpAddress>> names;  // forward look-ups that succeed
    std::map<IpAddress, std::string> reverse;             // reverse look-ups that succeed
    // Replies in order, then `standing` for every later echo; nullopt writes no record.
    std::deque<std::optional<EchoReply>> replies;
    std::optional<EchoReply> standing = TimedOut();

    struct Sent {
        IpAddress address;
        std::string payload;
        uint32_t timeoutMs;
    };
    std::vector<Sent> sent;
    std::vector<std::string> lookUps;
    std::vector<IpAddress> reverseLookUps;
    int opened = 0, closed = 0;

    static EchoReply TimedOut() { return {11010, 0, 0, 0}; }
    static EchoReply Answer(uint32_t ms = 1) { return {0, ms, 40, 128}; }
};

class FakeEchoSession : public IEchoSession {
public:
    explicit FakeEchoSession(std::shared_ptr<EchoScript> script) : m_script(std::move(script)) { ++m_script->opened; }
    ~FakeEchoSession() override { ++m_script->closed; }
    State GetState() const override { return m_script->state; }
    void SendEcho(const IpAddress& address, const std::string& payload, uint32_t timeoutMs, EchoReply& reply) override {
        m_script->sent.push_back({address, payload, timeoutMs});
        if (const auto next = Next(m_script->replies, m_script->standing)) reply = *next;
    }
    bool LocalHostName(std::string& name) override { name = m_script->computerName; return !name.empty(); }
    bool LookUp(const std::string& name, std::vector<IpAddress>& addresses) override {
        m_script->lookUps.push_back(name);
        return Find(m_script->names, name, addresses);
    }
    bool ReverseLookUp(const IpAddress& address, std::string& name) override {
        m_script->reverseLookUps.push_back(address);
        return Find(m_script->reverse, address, name);
    }

private:
    std::shared_ptr<EchoScript> m_script;
};

class FakeIcmp : public IIcmp {
public:
    std::unique_ptr<IEchoSession> OpenEcho() override { return std::make_unique<FakeEchoSession>(script); }
    std::shared_ptr<EchoScript> script = std::make_shared<EchoScript>();
};

// A scripted HTTP transport: answers by URL, records every request. Safe from any thread.
class FakeHttp : public IHttpTransport {
public:
    HttpReply Get(const HttpRequest& request) const override {
        std::lock_guard lock(m_mutex);
        m_requests.push_back(request);
        auto it = m_replies.find(request.url.Absolute());
        return it == m_replies.end() ? HttpReply{} : it->second;  // unscripted: unreachable
    }
    // The answer for one absolute URL from now on.
    void Answer(const std::string& url, HttpReply reply) {
        std::lock_guard lock(m_mutex);
        m_replies[url] = std::move(reply);
    }
    void Page(const std::string& url, const std::string& body, int status = 200) {
        HttpReply reply;
        reply.outcome = HttpReply::Outcome::Complete;
        reply.status = status;
        reply.body = body;
        Answer(url, reply);
    }
    std::vector<HttpRequest> Requests() const {
        std::lock_guard lock(m_mutex);
        return m_requests;
    }
    std::vector<std::string> Urls() const {
        std::vector<std::string> urls;
        for (const HttpRequest& r : Requests()) urls.push_back(r.url.Absolute());
        return urls;
    }

private:
    mutable std::mutex m_mutex;
    std::map<std::string, HttpReply> m_replies;
    mutable std::vector<HttpRequest> m_requests;
};

// All ports together, and the clock that drives the timers.
class FakeShell {
public:
    FakeShell() : window(clock), system(clock) { window.trace = files.trace = background.trace = &calls; }
    FakeShell(const FakeShell&) = delete;
    FakeShell& operator=(const FakeShell&) = delete;
    Ports ports() { return {window, tray, system, files, dialogs, picture, background, icmp, http, tcp}; }

    // Moves virtual time on, delivering each timer when it is due, in order; periodic until killed.
    void Advance(uint64_t ms) {
        const uint64_t target = clock.ms + ms;
        for (;;) {
            auto next = window.timers.end();
            for (auto it = window.timers.begin(); it != window.timers.end(); ++it)
                if (it->second.due <= target && (next == window.timers.end() || it->second.due < next->second.due))
                    next = it;
            if (next == window.timers.end()) break;
            const int id = next->first;
            clock.ms = std::max(clock.ms, next->second.due);
            next->second.due = clock.ms + std::max<uint32_t>(next->second.period, 10);
            if (onTimer) onTimer(id);
            if (!background.manual) background.Finish();
        }
        clock.ms = std::max(clock.ms, target);
    }
    std::function<void(int)> onTimer;

    Clock clock;
    FakeWindow window;
    FakeTray tray;
    FakeSystem system;
    FakeFiles files;
    FakeDialogs dialogs;
    FakePicture picture;
    FakeBackground background;
    std::vector<std::string> calls;  // timers, background jobs and file writes, in order
    FakeIcmp icmp;
    std::shared_ptr<FakeHttp> http = std::make_shared<FakeHttp>();  // unreachable until scripted
    std::shared_ptr<FakeTcp> tcp = std::make_shared<FakeTcp>();     // nobody listens until scripted
};

}  // namespace lumivar::fake
