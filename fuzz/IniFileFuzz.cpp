// The INI reader and writer on any bytes: file, then section, key and value, split at NULs.
#include <cstdint>
#include <string>
#include <vector>

#include "Check.h"
#include "settings/IniFile.h"

using lumivar::IniFile;

namespace {

// Trimmed and in upper case, as names compare.
std::string Name(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t\v\f\x1A");
    if (first == std::string::npos) return {};
    std::string s = text.substr(first, text.find_last_not_of(" \t\v\f\x1A") + 1 - first);
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = char(c - 32);
    return s;
}

// Names the file can hold: one line, and a key line that stays a key line.
bool Storable(const std::string& section, const std::string& key) {
    if (section.find_first_of("\r\n") != std::string::npos || key.find_first_of("\r\n=") != std::string::npos)
        return false;
    const std::string k = Name(key);
    return !k.empty() && k[0] != ';' && k[0] != '[' && !Name(section).empty();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> parts(1);
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0 && parts.size() < 4) parts.emplace_back();
        else parts.back() += char(data[i]);
    }
    parts.resize(4);
    const std::string &section = parts[1], &key = parts[2], &value = parts[3];

    IniFile ini(parts[0]);
    std::string got;
    ini.Get(section, key, got);
    ini.GetInt(section, key, 0);
    if (!Storable(section, key)) return 0;

    const bool other = Name(section) != "S" || Name(key) != "K";
    const std::string before = ini.GetString("S", "K", "<none>");
    ini.Set(section, key, value);
    std::string expected = value.substr(0, value.find('\0'));
    for (char& c : expected)
        if (c == '\r' || c == '\n') c = ' ';
    FUZZ_CHECK(ini.Get(section, key, got) && got == expected);
    if (other) FUZZ_CHECK(ini.GetString("S", "K", "<none>") == before);
    // What was written reads the same from the saved bytes.
    FUZZ_CHECK(IniFile(ini.Text()).GetString(section, key, "<none>") == expected);

    ini.ClearSection(section);
    FUZZ_CHECK(!ini.Get(section, key, got));
    return 0;
}
