#pragma once

// The TeX system's built-in tables: the folder variables of KORVO.INI, its font sets and its
// formats, and the format variants made from the last two.

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace installer::tex {

struct FolderVariable {
    std::string_view key;
    std::string_view pattern;  // "*" stands for the root folder
};

struct FontSet {
    std::string_view displayName;
    std::string_view shortName;
    std::string_view suffix;
};

struct Format {
    std::string_view title;
    std::string_view baseName;
    std::string_view folder;  // relative to the root
};

// A format combined with a font set.
struct FormatVariant {
    std::string title;     // format title + " " + font set name
    std::string fileBase;  // format base name + font set suffix
    const Format* format;
    bool build;  // "Korvo" and "LaTeX 2E" with "Quillon Vector"
};

// [Directories], in the order written.
std::span<const FolderVariable> folderVariables();
// [FontSet], 18 rows.
std::span<const FontSet> fontSets();
// [Format], 7 rows.
std::span<const Format> formats();
// Every format with every font set, format-major.
std::vector<FormatVariant> formatVariants();

}  // namespace installer::tex
