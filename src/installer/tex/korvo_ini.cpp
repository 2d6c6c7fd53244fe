#include "installer/tex/korvo_ini.h"

#include <algorithm>

#include "installer/cerror.h"
#include "installer/tex/tex_tables.h"
#include "installer/win_path.h"

namespace installer::tex {

namespace {

constexpr std::string_view kFontSet = "FontSet";
constexpr std::string_view kInclude = "FINCLUDE";
constexpr std::string_view kFormat = "Format";
constexpr std::string_view kCount = "Count";
constexpr std::string_view kSize = "Size";

std::string slashes(std::string text) {
    std::replace(text.begin(), text.end(), '\\', '/');
    return text;
}

std::string replaceStar(std::string_view pattern, std::string_view root) {
    std::string out;
    for (char c : pattern) {
        if (c == '*') {
            out += root;
        } else {
            out += c;
        }
    }
    return out;
}

// The bytes a Windows section query puts into a buffer of `size` bytes: every line followed
// by a zero, and one more zero; cut to size - 2 bytes when the lines do not fit. Returns the
// query's result (the length of the lines without the last zero).
std::size_t querySection(const std::vector<std::string>& lines, std::size_t size,
                         std::string& buffer) {
    std::string all;
    for (const auto& line : lines) {
        all += line;
        all += '\0';
    }
    if (all.size() + 1 <= size) {
        buffer = all;
        return all.size();
    }
    const std::size_t kept = size >= 2 ? size - 2 : 0;
    buffer = all.substr(0, kept);
    return kept;
}

void writeWithBookkeeping(Profile& profile, std::string_view section, const IncludeList& pairs) {
    profile.erase(section, kCount);
    profile.erase(section, kSize);
    for (const auto& [key, value] : pairs) {
        profile.set(section, key, value);
    }
    profile.set(section, kCount, std::to_string(pairs.size()));
    profile.set(section, kSize, std::to_string(sectionSize(pairs)));
}

}  // namespace

int sectionSize(const IncludeList& pairs) {
    std::size_t size = 0;
    for (const auto& [key, value] : pairs) {
        size += key.size() + value.size() + 2;
    }
    size += kCount.size() + std::to_string(pairs.size()).size() + 22;
    return static_cast<int>(size);
}

IncludeList loadIncludeList(const Profile& profile) {
    IncludeList list;
    if (!profile.find(kInclude, kSize)) {
        return list;
    }
    // A buffer that cannot hold anything would double forever from zero.
    std::size_t size = static_cast<std::size_t>(std::max(profile.getInt(kInclude, kSize, 0), 2));
    const auto lines = profile.sectionLines(kInclude);
    std::string buffer;
    std::size_t got = querySection(lines, size, buffer);
    while (got + 2 == size) {
        size *= 2;
        got = querySection(lines, size, buffer);
    }
    std::size_t start = 0;
    while (start < got) {
        const auto end = buffer.find('\0', start);
        const std::string_view entry(buffer.data() + start,
                                     (end == std::string::npos ? got : end) - start);
        start = end == std::string::npos ? got : end + 1;
        const auto eq = entry.find('=');
        if (eq == std::string_view::npos) {
            break;
        }
        const std::string_view key = entry.substr(0, eq);
        if (iequals(key, kCount) || iequals(key, kSize)) {
            break;
        }
        list.emplace_back(std::string(key), std::string(entry.substr(eq + 1)));
    }
    return list;
}

void writeIncludeList(Profile& profile, const IncludeList& list) {
    writeWithBookkeeping(profile, kInclude, list);
}

KorvoIni::KorvoIni(system::System& sys, std::string root)
    : SettingsFile(sys, withBackslash(root) + "BIN\\KORVO.INI", root) {}

KorvoIni::KorvoIni(system::System& sys, std::string path, std::string root)
    : SettingsFile(sys, std::move(path), std::move(root)) {}

void KorvoIni::create() {
    if (path().empty()) {
        throw CError(CError::kBadIniName);
    }
    if (sys_.fileExists(path())) {
        return;
    }
    Profile profile = load();
    for (const auto& variable : folderVariables()) {
        profile.set("Directories", variable.key, replaceStar(variable.pattern, root()));
    }
    for (const auto& set : fontSets()) {
        profile.set(kFontSet, set.displayName,
                    std::string(set.shortName) + "," + std::string(set.suffix));
    }
    profile.set(kFontSet, kCount, std::to_string(fontSets().size()));
    IncludeList formatPairs;
    IncludeList includePairs;
    for (const auto& format : formats()) {
        const std::string folder = upper(slashes(root() + std::string(format.folder) + "\\"));
        const std::string base(format.baseName);
        formatPairs.emplace_back(format.title, base + "%s;" + folder + base + "%s.tex");
        includePairs.emplace_back(upper(base), folder + ";*");
        profile.set(kFormat, formatPairs.back().first, formatPairs.back().second);
        profile.set(kInclude, includePairs.back().first, includePairs.back().second);
    }
    writeWithBookkeeping(profile, kFormat, formatPairs);
    writeWithBookkeeping(profile, kInclude, includePairs);
    save(profile);
}

void KorvoIni::set(std::string_view section, std::string_view key, std::string_view value) {
    if (section == kFontSet) {
        Profile profile = load();
        const auto old = profile.find(kFontSet, key);
        if (old && !old->empty()) {
            return;
        }
        profile.set(kFontSet, key, expand(value));
        if (!old) {
            const int count = profile.getInt(kFontSet, kCount, 0);
            profile.erase(kFontSet, kCount);
            profile.set(kFontSet, kCount, std::to_string(count + 1));
        }
        save(profile);
    } else if (section == kInclude) {
        Profile profile = load();
        IncludeList list = loadIncludeList(profile);
        const std::string folder = slashes(expand(value));
        // Keys of an INI file ignore case; two spellings would be one key in the file.
        auto at = std::find_if(list.begin(), list.end(),
                               [&](const auto& pair) { return iequals(pair.first, key); });
        if (at != list.end()) {
            at->second = folder;
        } else {
            list.emplace_back(std::string(key), folder);
        }
        writeIncludeList(profile, list);
        save(profile);
    } else {
        SettingsFile::set(section, key, value);
    }
}

void KorvoIni::append(std::string_view section, std::string_view key, std::string_view value) {
    if (section != kInclude) {
        SettingsFile::append(section, key, value);
        return;
    }
    Profile profile = load();
    IncludeList list = loadIncludeList(profile);
    const std::string folder = slashes(expand(value));
    auto at = std::find_if(list.begin(), list.end(),
                           [&](const auto& pair) { return iequals(pair.first, key); });
    if (at == list.end()) {
        list.emplace_back(std::string(key), folder);
    } else {
        std::string_view bare = folder;
        if (!bare.empty() && bare.back() == '/') {
            bare.remove_suffix(1);
        }
        std::string& current = at->second;
        if (current.find(bare) != std::string::npos) {
            return;
        }
        const auto star = current.rfind('*');
        if (star != std::string::npos) {
            current.insert(star, folder + ";");
        } else {
            current += ";" + folder;
        }
    }
    writeIncludeList(profile, list);
    save(profile);
}

}  // namespace installer::tex
