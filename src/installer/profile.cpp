#include "installer/profile.h"

#include <unordered_map>

#include "installer/system/system.h"
#include "installer/win_path.h"

namespace installer {

namespace {

constexpr std::size_t npos = std::string::npos;

std::string unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return std::string(value.substr(1, value.size() - 2));
    }
    return std::string(value);
}

}  // namespace

Profile::Profile(std::string_view text) {
    std::size_t start = 0;
    while (start < text.size()) {
        auto end = text.find('\n', start);
        std::string_view raw =
            text.substr(start, end == std::string_view::npos ? npos : end - start);
        start = end == std::string_view::npos ? text.size() : end + 1;
        if (!raw.empty() && raw.back() == '\r') {
            raw.remove_suffix(1);
        }
        Line line;
        line.raw = std::string(raw);
        const std::string_view body = trim(raw);
        if (!body.empty() && body.front() == '[') {
            const auto close = body.find(']');
            line.kind = Line::Section;
            line.name = std::string(trim(body.substr(1, close == npos ? npos : close - 1)));
        } else if (!body.empty() && body.front() != ';') {
            const auto eq = body.find('=');
            if (eq != std::string_view::npos) {
                line.kind = Line::Key;
                line.name = std::string(trim(body.substr(0, eq)));
                line.value = unquote(trim(body.substr(eq + 1)));
            }
        }
        lines_.push_back(std::move(line));
    }
}

std::size_t Profile::findSection(std::string_view section) const {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (lines_[i].kind == Line::Section && iequals(lines_[i].name, trim(section))) {
            return i;
        }
    }
    return npos;
}

std::size_t Profile::findKey(std::size_t header, std::string_view key) const {
    for (std::size_t i = header + 1; i < lines_.size() && lines_[i].kind != Line::Section; ++i) {
        if (lines_[i].kind == Line::Key && iequals(lines_[i].name, trim(key))) {
            return i;
        }
    }
    return npos;
}

std::optional<std::string> Profile::find(std::string_view section, std::string_view key) const {
    const auto header = findSection(section);
    if (header == npos) {
        return std::nullopt;
    }
    const auto at = findKey(header, key);
    if (at == npos) {
        return std::nullopt;
    }
    return lines_[at].value;
}

std::string Profile::getString(std::string_view section, std::string_view key,
                               std::string_view fallback) const {
    auto value = find(section, key);
    return value ? *value : std::string(fallback);
}

int Profile::getInt(std::string_view section, std::string_view key, int fallback) const {
    const auto value = find(section, key);
    if (!value || value->empty()) {
        return fallback;
    }
    std::string_view text = trim(*value);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    unsigned base = 10;
    if (text.size() > 1 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    std::uint32_t result = 0;  // wraps like the 32-bit original
    for (char c : text) {
        unsigned digit;
        if (c >= '0' && c <= '9') {
            digit = static_cast<unsigned>(c - '0');
        } else if (base == 16 && upperChar(c) >= 'A' && upperChar(c) <= 'F') {
            digit = static_cast<unsigned>(upperChar(c) - 'A' + 10);
        } else {
            break;
        }
        result = result * base + digit;
    }
    if (negative) {
        result = 0u - result;
    }
    return static_cast<int>(result);
}

std::vector<std::pair<std::string, std::string>> Profile::section(std::string_view name) const {
    std::vector<std::pair<std::string, std::string>> pairs;
    const auto header = findSection(name);
    if (header == npos) {
        return pairs;
    }
    for (std::size_t i = header + 1; i < lines_.size() && lines_[i].kind != Line::Section; ++i) {
        if (lines_[i].kind == Line::Key) {
            pairs.emplace_back(lines_[i].name, lines_[i].value);
        }
    }
    return pairs;
}

std::vector<std::string> Profile::sectionLines(std::string_view name) const {
    std::vector<std::string> out;
    const auto header = findSection(name);
    if (header == npos) {
        return out;
    }
    for (std::size_t i = header + 1; i < lines_.size() && lines_[i].kind != Line::Section; ++i) {
        const Line& line = lines_[i];
        if (line.kind == Line::Key) {
            out.push_back(line.name + "=" + line.value);
        } else {
            const std::string_view body = trim(line.raw);
            if (!body.empty() && body.front() != ';') {
                out.emplace_back(body);
            }
        }
    }
    return out;
}

bool Profile::hasSection(std::string_view name) const {
    return findSection(name) != npos;
}

void Profile::set(std::string_view section, std::string_view key, std::string_view value) {
    Line line;
    line.kind = Line::Key;
    line.name = std::string(trim(key));
    line.value = std::string(value);
    line.raw = line.name + "=" + line.value;
    auto header = findSection(section);
    if (header == npos) {
        if (!lines_.empty() && !trim(lines_.back().raw).empty()) {
            lines_.push_back(Line{});
        }
        Line head;
        head.kind = Line::Section;
        head.name = std::string(trim(section));
        head.raw = "[" + head.name + "]";
        lines_.push_back(std::move(head));
        lines_.push_back(std::move(line));
        return;
    }
    const auto at = findKey(header, key);
    if (at != npos) {
        lines_[at] = std::move(line);
        return;
    }
    // After the last key (or the header) of the section, before its trailing blank lines.
    std::size_t insert = header + 1;
    for (std::size_t i = header + 1; i < lines_.size() && lines_[i].kind != Line::Section; ++i) {
        if (lines_[i].kind == Line::Key || !trim(lines_[i].raw).empty()) {
            insert = i + 1;
        }
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insert), std::move(line));
}

void Profile::setAll(const std::vector<Entry>& entries) {
    // The first block of each section (the one set() works on): its keys and where new keys
    // go (after its last line that is not blank).
    struct Block {
        std::unordered_map<std::string, std::size_t> keys;  // upper-case key -> line
        std::size_t insertAt = 0;
        std::vector<Line> added;
    };
    std::unordered_map<std::string, Block> blocks;
    Block* current = nullptr;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const Line& line = lines_[i];
        if (line.kind == Line::Section) {
            auto [it, first] = blocks.try_emplace(upper(line.name));
            current = first ? &it->second : nullptr;
            if (current) {
                current->insertAt = i + 1;
            }
        } else if (current) {
            if (line.kind == Line::Key) {
                current->keys.try_emplace(upper(line.name), i);
            }
            if (line.kind == Line::Key || !trim(line.raw).empty()) {
                current->insertAt = i + 1;
            }
        }
    }
    // New sections, in the order they first appear.
    std::vector<std::pair<std::string, Block*>> fresh;
    std::unordered_map<std::string, std::unique_ptr<Block>> freshBlocks;
    for (const auto& entry : entries) {
        Line line;
        line.kind = Line::Key;
        line.name = std::string(trim(entry.key));
        line.value = entry.value;
        line.raw = line.name + "=" + line.value;
        const std::string section = upper(trim(entry.section));
        const std::string key = upper(line.name);
        Block* block = nullptr;
        if (auto it = blocks.find(section); it != blocks.end()) {
            block = &it->second;
        } else {
            auto& made = freshBlocks[section];
            if (!made) {
                made = std::make_unique<Block>();
                fresh.emplace_back(std::string(trim(entry.section)), made.get());
            }
            block = made.get();
        }
        if (auto at = block->keys.find(key); at != block->keys.end()) {
            // Existing lines are replaced in place; added ones are indexed past the file.
            if (at->second < lines_.size()) {
                lines_[at->second] = std::move(line);
            } else {
                block->added[at->second - lines_.size()] = std::move(line);
            }
            continue;
        }
        block->keys.emplace(key, lines_.size() + block->added.size());
        block->added.push_back(std::move(line));
    }
    // One pass to put the added keys in place.
    std::vector<std::vector<Line>*> before(lines_.size() + 1, nullptr);
    for (auto& [name, block] : blocks) {
        if (!block.added.empty()) {
            before[block.insertAt] = &block.added;
        }
    }
    std::vector<Line> merged;
    merged.reserve(lines_.size() + entries.size() + 2 * fresh.size());
    for (std::size_t i = 0; i <= lines_.size(); ++i) {
        if (before[i]) {
            for (auto& line : *before[i]) {
                merged.push_back(std::move(line));
            }
        }
        if (i < lines_.size()) {
            merged.push_back(std::move(lines_[i]));
        }
    }
    for (auto& [name, block] : fresh) {
        if (!merged.empty() && !trim(merged.back().raw).empty()) {
            merged.push_back(Line{});
        }
        Line head;
        head.kind = Line::Section;
        head.name = name;
        head.raw = "[" + name + "]";
        merged.push_back(std::move(head));
        for (auto& line : block->added) {
            merged.push_back(std::move(line));
        }
    }
    lines_ = std::move(merged);
}

void Profile::erase(std::string_view section, std::string_view key) {
    const auto header = findSection(section);
    if (header == npos) {
        return;
    }
    const auto at = findKey(header, key);
    if (at != npos) {
        lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(at));
    }
}

std::string Profile::text() const {
    std::string out;
    for (const auto& line : lines_) {
        out += line.raw;
        out += "\r\n";
    }
    return out;
}

std::optional<Profile> Profile::load(system::System& sys, std::string_view path,
                                     bool missingIsEmpty) {
    auto bytes = system::readWholeFile(sys, path);
    if (!bytes) {
        if (missingIsEmpty && !sys.fileExists(path)) {
            return Profile();
        }
        return std::nullopt;
    }
    return Profile(*bytes);
}

bool Profile::save(system::System& sys, std::string_view path) const {
    auto file = sys.openWrite(path);
    if (!file) {
        return false;
    }
    const std::string bytes = text();
    if (!file->write(bytes.data(), bytes.size())) {
        return false;
    }
    return file->close();
}

}  // namespace installer
