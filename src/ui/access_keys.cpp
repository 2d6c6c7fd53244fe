#include "ui/access_keys.h"

#include <algorithm>

namespace ui {
namespace {

char capital(char c) {
    if (c >= 'a' && c <= 'z') {
        return static_cast<char>(c - 'a' + 'A');
    }
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ? c : 0;
}

}  // namespace

char markedAccessKey(std::string_view caption) {
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') {
            continue;
        }
        if (caption[i + 1] == '&') {
            ++i;  // an ampersand shown as such
            continue;
        }
        return capital(caption[i + 1]);
    }
    return 0;
}

std::vector<std::string> withAccessKeys(const std::vector<std::string_view>& captions) {
    std::string taken;
    for (std::string_view c : captions) {
        if (const char key = markedAccessKey(c); key != 0) {
            taken += key;
        }
    }
    std::vector<std::string> out;
    for (std::string_view c : captions) {
        std::string caption(c);
        const bool marked = markedAccessKey(c) != 0 || c.find('&') != std::string_view::npos;
        const auto first =
            std::find_if(caption.begin(), caption.end(), [](char ch) { return capital(ch) != 0; });
        if (!marked && first != caption.end() && taken.find(capital(*first)) == std::string::npos) {
            taken += capital(*first);
            caption.insert(first, '&');
        }
        out.push_back(std::move(caption));
    }
    return out;
}

char altLetter(const KeyEvent& event) {
    if ((event.shift & shift::kAlt) == 0 || (event.shift & shift::kCtrl) != 0) {
        return 0;
    }
    const int k = event.key;
    const bool letter = k >= vk::kA && k <= vk::kA + 25;
    const bool digit = k >= vk::k0 && k <= vk::k0 + 9;
    return letter || digit ? static_cast<char>(k) : 0;
}

}  // namespace ui
