#pragma once

// The filter table: the user-editable rules of the return translation, read from the filter
// file. Three sections in this order: start-of-line rules, end-of-line rules, body rules.
//
// Filter file format (code page 1252, one rule per line):
// - a line reading exactly "[inizio riga]", "[fine riga]" or "[corpo riga]" starts the next
//   section; headers are counted, not recognised by name (the first starts the start-of-line
//   rules whatever word it carries);
// - every other non-empty line is a rule, cut to its first 40 characters: columns 1-20 hold
//   the pattern, columns 21-40 the replacement, each with the blanks around it removed (a
//   line of 20 characters or fewer deletes its pattern);
// - empty lines are skipped; lines before the first header, after a fourth header and rules
//   beyond 200 in a section are ignored.
// How the return translation matches a pattern is in return_translation.h.

#include <array>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace notation {

enum class FilterSection { Start = 0, End = 1, Body = 2 };

struct FilterRule {
    std::string text;         // the stored rule text, at most 40 characters
    std::string pattern;      // columns 1-20 without surrounding blanks
    std::string replacement;  // columns 21-40 without surrounding blanks
};

class FilterTable {
public:
    static constexpr std::size_t kRuleLength = 40;
    static constexpr std::size_t kColumnWidth = 20;
    static constexpr std::size_t kRulesPerSection = 200;

    void clear();

    // Stores one rule line (cut to 40 characters) at the end of `section`; false when the
    // section is full and the rule was dropped.
    bool add(FilterSection section, std::string_view line);

    const std::vector<FilterRule>& rules(FilterSection section) const {
        return sections_[static_cast<std::size_t>(section)];
    }

    bool empty() const;

private:
    std::array<std::vector<FilterRule>, 3> sections_;
};

// Fills `table` (emptied first) from the text of a filter file. Line ends may be LF or CR LF.
void readFilterText(std::string_view fileText, FilterTable& table);

enum class FilterLoad { Loaded, Missing };

// Loads the filter file `name` from `programDir`. When it does not exist or cannot be read
// the table is left empty and the result is Missing: the caller shows "File filtro non
// trovato. " (messages::kFilterMissing) and the return translation runs its fixed passes only.
FilterLoad loadFilterTable(const std::filesystem::path& programDir, std::string_view name,
                           FilterTable& table);

// Loads a filter file by its full path, as loadFilterTable does.
FilterLoad loadFilterFile(const std::filesystem::path& file, FilterTable& table);

}  // namespace notation
