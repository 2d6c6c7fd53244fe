#pragma once

// Access keys of a window's menu bar and the Alt keys that reach a window, as the original
// platform treats them. A menu caption marks its access key with "&" before a letter ("&&" is
// an ampersand). A caption without one is opened by its first letter or digit, unless an
// earlier caption, or any caption's own "&", already has that key: of two captions with the
// same first letter the first one wins. Alt with a letter or digit never types a character.
// Letters are compared without case; captions are code page 1252, only ASCII letters and
// digits are access keys.

#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ui/keys.h"

namespace ui {

// The access key a caption marks with "&", as a capital; 0 when it marks none.
char markedAccessKey(std::string_view caption);

// The menu bar's captions in order, each with "&" put before the key that opens it; a caption
// that can have none (no free letter or digit) stays as it is.
std::vector<std::string> withAccessKeys(const std::vector<std::string_view>& captions);

// The capital letter or digit of a key down with Alt (and maybe Shift) held, no Ctrl; 0 for
// any other key. A keypad key is not one: with Alt it types the keypad's Alt cells.
char altLetter(const KeyEvent& event);

// A menu table's bar captions with their access keys: (id, caption) of each entry whose parent
// is the table's "none" id (0), in table order. `Entry` has id, parent and caption.
template <class Entry>
std::vector<std::pair<int, std::string>> menuBarCaptions(std::span<const Entry> table) {
    std::vector<int> ids;
    std::vector<std::string_view> captions;
    for (const Entry& e : table) {
        if (static_cast<int>(e.parent) == 0) {
            ids.push_back(static_cast<int>(e.id));
            captions.push_back(e.caption);
        }
    }
    const std::vector<std::string> marked = withAccessKeys(captions);
    std::vector<std::pair<int, std::string>> out;
    for (std::size_t i = 0; i < ids.size(); ++i) {
        out.emplace_back(ids[i], marked[i]);
    }
    return out;
}

// The keys that open the menus of a menu table's bar, as capitals.
template <class Entry>
std::string menuBarKeys(std::span<const Entry> table) {
    std::string keys;
    for (const auto& [id, caption] : menuBarCaptions(table)) {
        if (const char key = markedAccessKey(caption); key != 0) {
            keys += key;
        }
    }
    return keys;
}

}  // namespace ui
