// ReadSettings, the task entry loader with it, over any file; then what it read is saved and read again.
#include <cstdint>
#include <string>

#include "Check.h"
#include "settings/Gbk.h"
#include "settings/SettingsIo.h"

using namespace lumivar;

namespace {

struct Loaded {
    Settings s;
    TaskTable t;
};

Loaded Load(const IniFile& ini) {
    Loaded l;
    ReadSettings(ini, l.s, l.t);
    return l;
}

IniFile Save(const Loaded& l) {
    IniFile ini;
    WriteSettings(ini, l.s, l.t);
    return ini;
}

bool SameTexts(const Loaded& a, const Loaded& b) {
    const Settings &x = a.s, &y = b.s;
    return x.m_strText == y.m_strText && x.m_strPicFile == y.m_strPicFile && x.m_strBreakWav == y.m_strBreakWav &&
           x.m_strMailServer == y.m_strMailServer && x.m_strMailUser == y.m_strMailUser &&
           x.m_strHostName == y.m_strHostName && x.m_strProxyUser == y.m_strProxyUser &&
           x.m_strHomepageAddress == y.m_strHomepageAddress &&
           x.m_nWorkTime == y.m_nWorkTime && x.m_nBreakTime == y.m_nBreakTime &&
           x.m_crBackColor == y.m_crBackColor && x.m_nRemindTimeout == y.m_nRemindTimeout;
}

// Text read from GBK bytes converts back to bytes that read as the same text.
bool Converts(const std::string& utf8) { return GbkToUtf8(Utf8ToGbk(utf8)) == utf8; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const Loaded first = Load(IniFile(std::string(reinterpret_cast<const char*>(data), size)));
    const int n = first.s.m_nTaskCount;
    FUZZ_CHECK(n >= 0 && n <= MAX_TASKS);
    FUZZ_CHECK(first.s.m_nWorkTime >= 1 && first.s.m_nHostInterval >= 1 && first.s.m_nHomepageInterval >= 1);
    for (int i = 0; i < n; ++i) {
        FUZZ_CHECK(!first.t.m_strTaskNote[i].empty() || !first.t.m_strTaskCmd[i].empty());
        FUZZ_CHECK(Converts(first.t.m_strTaskNote[i]) && Converts(first.t.m_strTaskCmd[i]) &&
                   Converts(first.t.m_strTaskDate[i]));
    }
    for (int i = n; i < MAX_TASKS; ++i) FUZZ_CHECK(first.t.m_strTaskNote[i].empty() && first.t.m_strTaskCmd[i].empty());
    FUZZ_CHECK(Converts(first.s.m_strText) && Converts(first.s.m_strMailPass) &&
               Converts(first.s.m_strHomepageAddress));

    // Saving loses nothing that was read: every entry comes back, in its slot.
    const Loaded second = Load(Save(first));
    FUZZ_CHECK(second.s.m_nTaskCount == n && SameTexts(first, second));
    for (int i = 0; i < n; ++i) FUZZ_CHECK(second.t.Item(i) == first.t.Item(i));
    return 0;
}
