#include "installer/system/sandbox/registry_file.h"

#include <algorithm>
#include <cstdio>

#include "installer/win_path.h"
#include "ui/hex_digit.h"

namespace installer::system {

namespace {

// Reads a quoted string starting at text[at] == '"'; returns the index after the closing quote.
std::optional<std::size_t> readQuoted(std::string_view text, std::size_t at, std::string& out) {
    if (at >= text.size() || text[at] != '"') {
        return std::nullopt;
    }
    for (std::size_t i = at + 1; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            out += text[++i];
        } else if (text[i] == '"') {
            return i + 1;
        } else {
            out += text[i];
        }
    }
    return std::nullopt;
}

std::string quote(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '\\' || c == '"') {
            out += '\\';
        }
        out += c;
    }
    return out + "\"";
}

std::optional<std::string> parseHexBytes(std::string_view text) {
    std::string bytes;
    int high = -1;
    for (char c : text) {
        if (c == ',' || c == ' ' || c == '\t') {
            continue;
        }
        const int digit = ui::hexDigit(c);
        if (digit < 0) {
            return std::nullopt;
        }
        if (high < 0) {
            high = digit;
        } else {
            bytes += static_cast<char>(high * 16 + digit);
            high = -1;
        }
    }
    if (high >= 0) {
        return std::nullopt;
    }
    return bytes;
}

std::optional<RegValue> parseData(std::string_view data) {
    RegValue value;
    if (!data.empty() && data.front() == '"') {
        std::string text;
        const auto end = readQuoted(data, 0, text);
        if (!end) {
            return std::nullopt;
        }
        value.type = kRegSz;
        value.data = text + '\0';
        return value;
    }
    if (istartsWith(data, "dword:")) {
        std::uint32_t number = 0;
        const std::string_view digits = data.substr(6);
        if (digits.empty() || digits.size() > 8) {
            return std::nullopt;
        }
        for (char c : digits) {
            const int d = ui::hexDigit(c);
            if (d < 0) {
                return std::nullopt;
            }
            number = number * 16 + static_cast<std::uint32_t>(d);
        }
        value.type = kRegDword;
        for (int i = 0; i < 4; ++i) {
            value.data += static_cast<char>((number >> (8 * i)) & 0xFF);
        }
        return value;
    }
    std::size_t colon = data.find(':');
    if (colon == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view head = data.substr(0, colon);
    if (iequals(head, "hex")) {
        value.type = kRegBinary;
    } else if (istartsWith(head, "hex(") && head.back() == ')') {
        std::uint32_t type = 0;
        for (char c : head.substr(4, head.size() - 5)) {
            const int d = ui::hexDigit(c);
            if (d < 0) {
                return std::nullopt;
            }
            type = type * 16 + static_cast<std::uint32_t>(d);
        }
        value.type = type;
    } else {
        return std::nullopt;
    }
    auto bytes = parseHexBytes(data.substr(colon + 1));
    if (!bytes) {
        return std::nullopt;
    }
    value.data = std::move(*bytes);
    return value;
}

std::string formatData(const RegValue& value) {
    if (value.type == kRegSz && !value.data.empty() && value.data.back() == '\0' &&
        value.data.find('\0') == value.data.size() - 1) {
        return quote(std::string_view(value.data).substr(0, value.data.size() - 1));
    }
    if (value.type == kRegDword && value.data.size() == 4) {
        std::uint32_t number = 0;
        for (int i = 3; i >= 0; --i) {
            number = number * 256 + static_cast<unsigned char>(value.data[static_cast<size_t>(i)]);
        }
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "dword:%08x", number);
        return buffer;
    }
    std::string out;
    if (value.type == kRegBinary) {
        out = "hex:";
    } else {
        char buffer[24];
        std::snprintf(buffer, sizeof buffer, "hex(%x):", value.type);
        out = buffer;
    }
    for (std::size_t i = 0; i < value.data.size(); ++i) {
        char buffer[4];
        std::snprintf(buffer, sizeof buffer, "%02x", static_cast<unsigned char>(value.data[i]));
        if (i > 0) {
            out += ',';
        }
        out += buffer;
    }
    return out;
}

}  // namespace

std::string RegistryFile::fullPath(RegRoot root, std::string_view key) {
    std::string path(regRootName(root));
    for (const auto& part : splitPath(key)) {
        path += '\\';
        path += part;
    }
    return path;
}

RegistryFile::RegistryFile(std::string_view text) {
    // Join continuation lines (a line ending in a backslash goes on in the next).
    std::vector<std::string> lines;
    std::string pending;
    std::size_t start = 0;
    while (start < text.size()) {
        auto end = text.find('\n', start);
        std::string_view line = text.substr(
            start, end == std::string_view::npos ? std::string_view::npos : end - start);
        start = end == std::string_view::npos ? text.size() : end + 1;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (!pending.empty()) {
            line = trim(line);
        }
        if (!line.empty() && line.back() == '\\' && line.find('=') != std::string_view::npos) {
            pending += line.substr(0, line.size() - 1);
            continue;
        }
        pending += line;
        lines.push_back(std::move(pending));
        pending.clear();
    }
    if (!pending.empty()) {
        lines.push_back(pending);
    }

    Key* current = nullptr;
    for (const auto& raw : lines) {
        const std::string_view line = trim(raw);
        if (line.empty() || line.front() == ';') {
            continue;
        }
        if (line.front() == '[') {
            current = nullptr;
            const auto close = line.rfind(']');
            if (close == std::string_view::npos || line.size() < 2 || line[1] == '-') {
                continue;
            }
            const std::string_view path = line.substr(1, close - 1);
            const auto slash = path.find('\\');
            const auto root = regRootFromName(path.substr(0, slash));
            if (!root) {
                continue;
            }
            const std::string sub(slash == std::string_view::npos ? std::string_view{}
                                                                  : path.substr(slash + 1));
            // Only the listed key: its parents exist through it.
            const std::string full = fullPath(*root, sub);
            current = findKey(full);
            if (!current) {
                keys_.push_back({full, {}});
                current = &keys_.back();
            }
            continue;
        }
        if (!current) {
            continue;
        }
        std::string name;
        std::size_t after;
        if (line.front() == '@') {
            after = 1;
        } else {
            const auto end = readQuoted(line, 0, name);
            if (!end) {
                continue;
            }
            after = *end;
        }
        const std::string_view rest = trim(line.substr(after));
        if (rest.empty() || rest.front() != '=') {
            continue;
        }
        auto value = parseData(trim(rest.substr(1)));
        if (!value) {
            continue;
        }
        bool replaced = false;
        for (auto& v : current->values) {
            if (iequals(v.name, name)) {
                v.value = *value;
                replaced = true;
            }
        }
        if (!replaced) {
            current->values.push_back({name, *value});
        }
    }
}

RegistryFile::Key* RegistryFile::findKey(std::string_view path) {
    for (auto& key : keys_) {
        if (iequals(key.path, path)) {
            return &key;
        }
    }
    return nullptr;
}

const RegistryFile::Key* RegistryFile::findKey(std::string_view path) const {
    for (const auto& key : keys_) {
        if (iequals(key.path, path)) {
            return &key;
        }
    }
    return nullptr;
}

bool RegistryFile::keyExists(RegRoot root, std::string_view key) const {
    const std::string path = fullPath(root, key);
    if (splitPath(key).empty()) {
        return true;  // the roots always exist
    }
    for (const auto& k : keys_) {
        if (iequals(k.path, path) || (k.path.size() > path.size() && istartsWith(k.path, path) &&
                                      k.path[path.size()] == '\\')) {
            return true;
        }
    }
    return false;
}

std::vector<std::string> RegistryFile::subKeys(RegRoot root, std::string_view key) const {
    const std::string path = fullPath(root, key);
    std::vector<std::string> names;
    for (const auto& k : keys_) {
        if (k.path.size() <= path.size() + 1 || !istartsWith(k.path, path) ||
            k.path[path.size()] != '\\') {
            continue;
        }
        const std::string rest = k.path.substr(path.size() + 1);
        const std::string name = rest.substr(0, rest.find('\\'));
        if (std::none_of(names.begin(), names.end(),
                         [&](const std::string& n) { return iequals(n, name); })) {
            names.push_back(name);
        }
    }
    return names;
}

void RegistryFile::createKey(RegRoot root, std::string_view key) {
    if (splitPath(key).empty()) {
        return;  // a root
    }
    const std::string path = fullPath(root, key);
    if (!findKey(path)) {
        keys_.push_back({path, {}});
    }
}

bool RegistryFile::deleteKey(RegRoot root, std::string_view key) {
    const std::string path = fullPath(root, key);
    for (const auto& k : keys_) {
        if (k.path.size() > path.size() && istartsWith(k.path, path) &&
            k.path[path.size()] == '\\') {
            return false;  // a sub-key
        }
    }
    for (auto it = keys_.begin(); it != keys_.end(); ++it) {
        if (iequals(it->path, path)) {
            if (!it->values.empty()) {
                return false;
            }
            keys_.erase(it);
            return true;
        }
    }
    return true;
}

std::optional<RegValue> RegistryFile::value(RegRoot root, std::string_view key,
                                            std::string_view name) const {
    const Key* k = findKey(fullPath(root, key));
    if (!k) {
        return std::nullopt;
    }
    for (const auto& v : k->values) {
        if (iequals(v.name, name)) {
            return v.value;
        }
    }
    return std::nullopt;
}

void RegistryFile::setValue(RegRoot root, std::string_view key, std::string_view name,
                            const RegValue& value) {
    createKey(root, key);
    Key* k = findKey(fullPath(root, key));
    if (!k) {
        keys_.push_back({fullPath(root, key), {}});
        k = &keys_.back();
    }
    for (auto& v : k->values) {
        if (iequals(v.name, name)) {
            v.value = value;
            return;
        }
    }
    k->values.push_back({std::string(name), value});
}

void RegistryFile::deleteValue(RegRoot root, std::string_view key, std::string_view name) {
    if (Key* k = findKey(fullPath(root, key))) {
        std::erase_if(k->values, [&](const Value& v) { return iequals(v.name, name); });
    }
}

std::string RegistryFile::text() const {
    // In the order of the paths, as regedit exports them: a key deleted and made again (a
    // removal put back) is written where it was.
    std::vector<const Key*> sorted;
    for (const auto& key : keys_) {
        sorted.push_back(&key);
    }
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const Key* a, const Key* b) { return upper(a->path) < upper(b->path); });
    std::string out = "REGEDIT4\r\n";
    for (const Key* k : sorted) {
        const Key& key = *k;
        out += "\r\n[" + key.path + "]\r\n";
        for (const auto& v : key.values) {
            out += v.name.empty() ? std::string("@") : quote(v.name);
            out += "=" + formatData(v.value) + "\r\n";
        }
    }
    return out;
}

}  // namespace installer::system
