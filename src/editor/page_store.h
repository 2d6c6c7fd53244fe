#pragma once

// The document in memory: fifteen pages, numbered 1 to 15, each holding a Latex-mode text and
// a Braille-mode text. Texts are code page 1252 with CR LF line breaks; empty means an empty
// page. The current page, the mode and the modified flag belong to the main window.

#include <array>
#include <string>

namespace editor {

constexpr int kPageCount = 15;

using PageTexts = std::array<std::string, kPageCount>;

struct PageStore {
    PageTexts latex;    // index page - 1
    PageTexts braille;  // index page - 1

    // Page numbers run from 1 to 15; a number outside that range is a programming error.
    std::string& latexOf(int page) { return latex.at(static_cast<std::size_t>(page - 1)); }
    std::string& brailleOf(int page) { return braille.at(static_cast<std::size_t>(page - 1)); }
    const std::string& latexOf(int page) const {
        return latex.at(static_cast<std::size_t>(page - 1));
    }
    const std::string& brailleOf(int page) const {
        return braille.at(static_cast<std::size_t>(page - 1));
    }

    void clear() {
        latex.fill({});
        braille.fill({});
    }

    bool operator==(const PageStore&) const = default;
};

}  // namespace editor
