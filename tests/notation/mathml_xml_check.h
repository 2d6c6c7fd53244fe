#pragma once

// A strict well-formedness check for the files the MathML export writes, used by the tests
// and the fuzz target: plain ASCII, tags that nest and close, quoted attributes, and no
// entity that the file's own internal subset does not declare.

#include <cctype>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace mathml_check {

inline bool isNameChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' || c == ':' ||
           c == '.';
}

// The names the internal subset declares with <!ENTITY name "...">.
inline std::set<std::string> declaredEntities(std::string_view xml) {
    std::set<std::string> names{"lt", "gt", "amp", "quot", "apos"};
    const std::size_t open = xml.find('[');
    const std::size_t close = xml.find("]>");
    if (open == std::string_view::npos || close == std::string_view::npos) {
        return names;
    }
    std::string_view subset = xml.substr(open, close - open);
    std::size_t pos = 0;
    while ((pos = subset.find("<!ENTITY ", pos)) != std::string_view::npos) {
        pos += 9;
        std::size_t end = pos;
        while (end < subset.size() && isNameChar(subset[end])) {
            ++end;
        }
        names.emplace(subset.substr(pos, end - pos));
    }
    return names;
}

// Checks the content (after the prologue, or a fragment when `entities` is given). Returns an
// empty string when well-formed, else a description of the first fault.
inline std::string checkContent(std::string_view xml, const std::set<std::string>& entities) {
    std::vector<std::string> open;
    std::size_t i = 0;
    while (i < xml.size()) {
        const auto byte = static_cast<unsigned char>(xml[i]);
        if (byte >= 0x80 || (byte < 0x20 && byte != '\r' && byte != '\n' && byte != '\t')) {
            return "byte " + std::to_string(byte) + " at " + std::to_string(i);
        }
        if (xml[i] == '>') {
            return "bare > at " + std::to_string(i);
        }
        if (xml[i] == '&') {
            const std::size_t semi = xml.find(';', i);
            if (semi == std::string_view::npos || semi - i > 40) {
                return "unterminated entity at " + std::to_string(i);
            }
            const std::string name(xml.substr(i + 1, semi - i - 1));
            if (name.starts_with('#')) {
                const bool hex = name.size() > 1 && name[1] == 'x';
                const std::string digits = name.substr(hex ? 2 : 1);
                if (digits.empty()) {
                    return "empty character reference at " + std::to_string(i);
                }
                for (char d : digits) {
                    if (!(hex ? std::isxdigit(static_cast<unsigned char>(d))
                              : std::isdigit(static_cast<unsigned char>(d)))) {
                        return "bad character reference " + name;
                    }
                }
                const unsigned long code = std::stoul(digits, nullptr, hex ? 16 : 10);
                if (code < 0x20 && code != 0x9 && code != 0xA && code != 0xD) {
                    return "control character reference " + name;
                }
            } else if (entities.count(name) == 0) {
                return "undeclared entity &" + name + ";";
            }
            i = semi + 1;
            continue;
        }
        if (xml[i] != '<') {
            ++i;
            continue;
        }
        const std::size_t close = xml.find('>', i);
        if (close == std::string_view::npos) {
            return "unterminated tag at " + std::to_string(i);
        }
        std::string_view tag = xml.substr(i + 1, close - i - 1);
        const bool closing = tag.starts_with('/');
        const bool empty = tag.ends_with('/');
        if (closing) {
            tag.remove_prefix(1);
        }
        if (empty) {
            tag.remove_suffix(1);
        }
        std::size_t nameEnd = 0;
        while (nameEnd < tag.size() && isNameChar(tag[nameEnd])) {
            ++nameEnd;
        }
        const std::string name(tag.substr(0, nameEnd));
        if (name.empty()) {
            return "tag without name at " + std::to_string(i);
        }
        // Attributes: name="value" pairs, values without < or bare &.
        std::string_view rest = tag.substr(nameEnd);
        while (!rest.empty()) {
            if (rest.front() == ' ') {
                rest.remove_prefix(1);
                continue;
            }
            const std::size_t eq = rest.find("=\"");
            if (eq == std::string_view::npos || eq == 0) {
                return "bad attribute in <" + name + ">";
            }
            const std::size_t endQuote = rest.find('"', eq + 2);
            if (endQuote == std::string_view::npos) {
                return "unquoted attribute in <" + name + ">";
            }
            const std::string_view value = rest.substr(eq + 2, endQuote - eq - 2);
            if (value.find('<') != std::string_view::npos) {
                return "< in attribute of <" + name + ">";
            }
            rest.remove_prefix(endQuote + 1);
        }
        if (closing) {
            if (open.empty() || open.back() != name) {
                return "</" + name + "> does not close " +
                       (open.empty() ? "anything" : "<" + open.back() + ">");
            }
            open.pop_back();
        } else if (!empty) {
            open.push_back(name);
        }
        i = close + 1;
    }
    if (!open.empty()) {
        return "<" + open.back() + "> never closed";
    }
    return {};
}

// A whole export: the prologue line, then content that closes the html element it opens.
inline std::string checkDocument(std::string_view xml) {
    const std::string_view declaration = "<?xml version='1.0'?><!DOCTYPE html PUBLIC ";
    if (!xml.starts_with(declaration)) {
        return "no XML declaration and document type";
    }
    const std::size_t subsetEnd = xml.find("]>");
    if (subsetEnd == std::string_view::npos) {
        return "no internal subset";
    }
    return checkContent(xml.substr(subsetEnd + 2), declaredEntities(xml));
}

}  // namespace mathml_check
