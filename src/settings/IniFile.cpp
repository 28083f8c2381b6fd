#include "settings/IniFile.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "base/Text.h"
#include "settings/Gbk.h"

namespace lumivar {
namespace {

// The profile reader's blanks; ^Z is one too (DOS end-of-file padding).
bool IsBlank(unsigned char c) { return c == ' ' || (c >= '\t' && c <= '\r') || c == 0x1A; }

// The profile reader also drops ^Z, the padding DOS editors left at the end.
constexpr std::string_view kProfileBlanks = " \t\n\v\f\r\x1A";
std::string_view ProfileTrim(std::string_view s) { return Trim(s, kProfileBlanks); }

unsigned char Fold(unsigned char c) { return c >= 'a' && c <= 'z' ? static_cast<unsigned char>(c - 32) : c; }

// ASCII case is ignored, but the second byte of a double-byte character is
// compared as it is: it is part of a different character, not a letter.
bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size();) {
        const std::size_t n = GbkCharLength(a, i);
        if (n == 2) {
            if (a.substr(i, 2) != b.substr(i, 2)) return false;
        } else if (Fold(static_cast<unsigned char>(a[i])) != Fold(static_cast<unsigned char>(b[i]))) {
            return false;
        }
        i += n;
    }
    return true;
}

enum class Kind { Blank, Comment, Header, Key };

struct Line {
    std::size_t begin = 0;  // first byte
    std::size_t end = 0;    // end of the text, before the line break
    std::size_t next = 0;   // after the line break
    Kind kind = Kind::Blank;
    std::string_view name;  // section or key name, trimmed
    bool hasValue = false;  // a key line with '='
    std::size_t valueBegin = 0;  // value without surrounding blanks
    std::size_t valueEnd = 0;
};

// CR LF, LF and a lone CR all end a line, as for the profile reader.
std::vector<Line> Parse(std::string_view text) {
    std::vector<Line> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        Line line;
        line.begin = pos;
        std::size_t e = text.find_first_of("\r\n", pos);
        if (e == std::string_view::npos) e = text.size();
        line.end = e;
        if (e < text.size()) e += text[e] == '\r' && e + 1 < text.size() && text[e + 1] == '\n' ? 2 : 1;
        line.next = pos = e;

        const std::string_view content = text.substr(line.begin, line.end - line.begin);
        const std::string_view t = ProfileTrim(content);
        const std::size_t tOff = line.begin + static_cast<std::size_t>(t.data() - content.data());
        const std::size_t close = t.rfind(']');
        if (t.empty()) {
            line.kind = Kind::Blank;
        } else if (t.front() == ';') {
            line.kind = Kind::Comment;
        } else if (t.front() == '[' && close != std::string_view::npos) {
            line.kind = Kind::Header;
            line.name = ProfileTrim(t.substr(1, close - 1));
        } else {
            line.kind = Kind::Key;
            const std::size_t eq = t.find('=');
            line.name = ProfileTrim(t.substr(0, eq));
            if (eq != std::string_view::npos) {
                const std::string_view v = ProfileTrim(t.substr(eq + 1));
                line.hasValue = true;
                line.valueBegin = v.empty() ? tOff + t.size() : tOff + static_cast<std::size_t>(v.data() - t.data());
                line.valueEnd = line.valueBegin + v.size();
            }
        }
        lines.push_back(line);
    }
    return lines;
}

// Lines [first, last) of a section's body; first == npos when it is absent.
struct Body {
    std::size_t header = std::string_view::npos;
    std::size_t first = 0;
    std::size_t last = 0;
};

Body FindSection(const std::vector<Line>& lines, std::string_view section) {
    Body b;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].kind == Kind::Header && SameName(lines[i].name, section)) {
            b.header = i;
            b.first = b.last = i + 1;
            while (b.last < lines.size() && lines[b.last].kind != Kind::Header) ++b.last;
            break;
        }
    }
    return b;
}

const Line* FindKey(const std::vector<Line>& lines, const Body& b, std::string_view key) {
    if (b.header == std::string_view::npos) return nullptr;
    for (std::size_t i = b.first; i < b.last; ++i)
        if (lines[i].kind == Kind::Key && SameName(lines[i].name, key)) return &lines[i];
    return nullptr;
}

bool IsQuote(char c) { return c == '"' || c == '\''; }

std::string Quoted(std::string_view value) {
    std::string v(value.substr(0, value.find('\0')));
    std::replace_if(v.begin(), v.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    const bool blankEnd = !v.empty() && (IsBlank(static_cast<unsigned char>(v.front())) ||
                                         IsBlank(static_cast<unsigned char>(v.back())));
    const bool quotedAlready = v.size() >= 2 && IsQuote(v.front()) && v.back() == v.front();
    return blankEnd || quotedAlready ? '"' + v + '"' : v;
}

}  // namespace

IniFile::IniFile(std::string bytes) : m_text(std::move(bytes)) {}

bool IniFile::Get(std::string_view section, std::string_view key, std::string& value) const {
    const std::vector<Line> lines = Parse(m_text);
    const Line* line = FindKey(lines, FindSection(lines, ProfileTrim(section)), ProfileTrim(key));
    if (!line || !line->hasValue) return false;  // a bare name without '=' has no value
    std::string_view v = std::string_view(m_text).substr(line->valueBegin, line->valueEnd - line->valueBegin);
    if (v.size() >= 2 && IsQuote(v.front()) && v.back() == v.front()) v = v.substr(1, v.size() - 2);
    // The profile functions hand values out as C strings; Set could not write the rest back.
    value.assign(v.substr(0, v.find('\0')));
    return true;
}

std::string IniFile::GetString(std::string_view section, std::string_view key, std::string_view def) const {
    std::string value;
    return Get(section, key, value) ? value : std::string(def);
}

int IniFile::GetInt(std::string_view section, std::string_view key, int def) const {
    std::string text;
    if (!Get(section, key, text) || text.empty()) return def;
    // The system reads the value through a 30-character buffer.
    std::string_view s = std::string_view(text).substr(0, 29);

    while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);
    bool minus = false;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        minus = s.front() == '-';
        s.remove_prefix(1);
    }
    uint32_t base = 10;
    if (s.size() >= 2 && s[0] == '0') {
        if (s[1] == 'x') base = 16;
        else if (s[1] == 'o') base = 8;
        else if (s[1] == 'b') base = 2;
        if (base != 10) s.remove_prefix(2);
    }
    uint32_t total = 0;
    for (const char c : s) {
        uint32_t digit = 99;
        if (c >= '0' && c <= '9') digit = static_cast<uint32_t>(c - '0');
        else if (c >= 'A' && c <= 'Z') digit = static_cast<uint32_t>(c - 'A' + 10);
        else if (c >= 'a' && c <= 'z') digit = static_cast<uint32_t>(c - 'a' + 10);
        if (digit >= base) break;
        total = total * base + digit;
    }
    return static_cast<int>(minus ? 0u - total : total);
}

void IniFile::Set(std::string_view section, std::string_view key, std::string_view value) {
    section = ProfileTrim(section);
    key = ProfileTrim(key);
    if (section.empty() || key.empty()) return;
    const std::string v = Quoted(value);
    const std::vector<Line> lines = Parse(m_text);
    const Body body = FindSection(lines, section);

    if (const Line* line = FindKey(lines, body, key)) {
        if (line->hasValue) {
            m_text.replace(line->valueBegin, line->end - line->valueBegin, v);
        } else {
            const std::size_t nameEnd = static_cast<std::size_t>(line->name.data() - m_text.data()) + line->name.size();
            m_text.replace(nameEnd, line->end - nameEnd, "=" + v);
        }
        return;
    }

    const std::string keyLine = std::string(key) + "=" + v + "\r\n";
    if (body.header != std::string_view::npos) {
        std::size_t after = body.header;
        for (std::size_t i = body.first; i < body.last; ++i)
            if (lines[i].kind == Kind::Key) after = i;
        const Line& at = lines[after];
        m_text.insert(at.next, (at.next == at.end ? "\r\n" : "") + keyLine);
        return;
    }

    if (!m_text.empty() && m_text.back() != '\n' && m_text.back() != '\r') m_text += "\r\n";
    m_text += "[" + std::string(section) + "]\r\n" + keyLine;
}

void IniFile::ClearSection(std::string_view section) {
    const std::vector<Line> lines = Parse(m_text);
    const Body body = FindSection(lines, ProfileTrim(section));
    if (body.header == std::string_view::npos) return;
    // From the back, so the offsets of the lines still to go stay valid.
    for (std::size_t i = body.last; i-- > body.first;)
        if (lines[i].kind != Kind::Blank) m_text.erase(lines[i].begin, lines[i].next - lines[i].begin);
}

}  // namespace lumivar
