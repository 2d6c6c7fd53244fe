#include "notation/filter_table.h"

#include <fstream>
#include <iterator>

#include "notation/text_scan.h"

namespace notation {

void FilterTable::clear() {
    for (auto& section : sections_) {
        section.clear();
    }
}

bool FilterTable::add(FilterSection section, std::string_view line) {
    auto& rules = sections_[static_cast<std::size_t>(section)];
    if (rules.size() >= kRulesPerSection) {
        return false;
    }
    FilterRule rule;
    rule.text = std::string(line.substr(0, kRuleLength));
    const std::string_view text = rule.text;
    rule.pattern = std::string(trimBlanks(text.substr(0, kColumnWidth)));
    if (text.size() > kColumnWidth) {
        rule.replacement = std::string(trimBlanks(text.substr(kColumnWidth)));
    }
    rules.push_back(std::move(rule));
    return true;
}

bool FilterTable::empty() const {
    for (const auto& section : sections_) {
        if (!section.empty()) {
            return false;
        }
    }
    return true;
}

void readFilterText(std::string_view fileText, FilterTable& table) {
    table.clear();
    int section = -1;  // before the first header
    std::size_t pos = 0;
    while (pos < fileText.size()) {
        std::size_t end = fileText.find('\n', pos);
        if (end == std::string_view::npos) {
            end = fileText.size();
        }
        std::string_view line = fileText.substr(pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (line == "[inizio riga]" || line == "[fine riga]" || line == "[corpo riga]") {
            ++section;
            continue;
        }
        if (line.empty() || section < 0 || section > 2) {
            continue;
        }
        table.add(static_cast<FilterSection>(section), line);
    }
}

FilterLoad loadFilterFile(const std::filesystem::path& file, FilterTable& table) {
    table.clear();
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) {
        return FilterLoad::Missing;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return FilterLoad::Missing;
    }
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        return FilterLoad::Missing;
    }
    readFilterText(text, table);
    return FilterLoad::Loaded;
}

FilterLoad loadFilterTable(const std::filesystem::path& programDir, std::string_view name,
                           FilterTable& table) {
    if (name.empty()) {
        table.clear();
        return FilterLoad::Missing;
    }
    return loadFilterFile(programDir / std::filesystem::path(std::string(name)), table);
}

}  // namespace notation
