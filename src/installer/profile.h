#pragma once

// INI files read and written with the rules of the Windows profile functions: section and key
// names compared without regard to case, blanks around names and values ignored, a value
// quoted at both ends loses its quotes, the first of two equal sections or keys wins, a
// missing value gives the caller's default. Writing keeps every other line as it was: a
// changed key is replaced in place, a new key goes after the last key of its section, a new
// section goes at the end. Lines are written with CR LF.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace installer {

namespace system {
class System;
}

class Profile {
public:
    Profile() = default;
    // Parses the bytes of an INI file (CR LF or LF line ends).
    explicit Profile(std::string_view text);

    // The value of section/key, or nullopt when the key is absent.
    std::optional<std::string> find(std::string_view section, std::string_view key) const;
    std::string getString(std::string_view section, std::string_view key,
                          std::string_view fallback) const;
    // The value read as an integer: blanks, an optional sign, then decimal digits or "0x" and
    // hexadecimal digits, up to the first other character. An absent or empty value gives
    // `fallback`; a value without digits gives 0.
    int getInt(std::string_view section, std::string_view key, int fallback) const;
    // The key=value pairs of a section in file order (lines without "=" left out).
    std::vector<std::pair<std::string, std::string>> section(std::string_view name) const;
    // The lines of a section as the Windows section query gives them: every line that is not
    // blank or a comment, trimmed, key lines as "key=value".
    std::vector<std::string> sectionLines(std::string_view name) const;
    bool hasSection(std::string_view name) const;

    void set(std::string_view section, std::string_view key, std::string_view value);
    void erase(std::string_view section, std::string_view key);

    struct Entry {
        std::string section;
        std::string key;
        std::string value;
    };
    // The same as set() for each entry in order, in time linear in the file and the entries.
    void setAll(const std::vector<Entry>& entries);

    // The file's bytes.
    std::string text() const;

    // Loads a file through the system; nullopt when it cannot be read. A missing file is an
    // empty profile when `missingIsEmpty`.
    static std::optional<Profile> load(system::System& sys, std::string_view path,
                                       bool missingIsEmpty);
    // Writes the whole file; false when it could not be written completely.
    bool save(system::System& sys, std::string_view path) const;

private:
    struct Line {
        std::string raw;
        // For "[name]" lines: the section name; for key lines: the key. Empty otherwise.
        std::string name;
        std::string value;
        enum Kind { Other, Section, Key } kind = Other;
    };
    // Index of the first line of the section's header, or npos.
    std::size_t findSection(std::string_view section) const;
    // Index of the key line inside the section starting at `header`, or npos.
    std::size_t findKey(std::size_t header, std::string_view key) const;

    std::vector<Line> lines_;
};

}  // namespace installer
