// An INI file held as bytes, read and edited with the text rules of the
// Windows profile functions. Edits touch only the lines they concern, so
// comments, unknown sections and unknown keys survive a save.
#pragma once

#include <string>
#include <string_view>

namespace lumivar {

class IniFile {
public:
    explicit IniFile(std::string bytes = {});

    std::string Text() const { return m_text; }

    // Section and key names match without regard to ASCII case and to blanks
    // around them; the first matching section, and in it the first matching
    // key, wins. A value loses its surrounding blanks and one enclosing pair of
    // matching quotes, and ends at a NUL byte. Keys above the first section
    // header are not reachable.
    bool Get(std::string_view section, std::string_view key, std::string& value) const;
    std::string GetString(std::string_view section, std::string_view key, std::string_view def) const;
    // As GetPrivateProfileInt: an empty or missing value gives def; otherwise
    // the leading number of the text ("-5", "+7", "0x10", "0o17", "0b101"; the
    // prefixes are lower case only), 0 when there is none, wrapping at 32 bits.
    int GetInt(std::string_view section, std::string_view key, int def) const;

    // Replaces the value of the first matching key where it stands, else adds
    // the key after the last key of the section, else adds the section at the
    // end. The value is quoted when the reader would otherwise change it, so
    // Get gives back exactly what was set; a line break in it becomes a blank
    // and it ends at a NUL byte, as the file cannot carry those. Empty names
    // are ignored.
    void Set(std::string_view section, std::string_view key, std::string_view value);

    // Removes the keys and comments of the first matching section; its header
    // and blank lines stay.
    void ClearSection(std::string_view section);

private:
    std::string m_text;
};

}  // namespace lumivar
