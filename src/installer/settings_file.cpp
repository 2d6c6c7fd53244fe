#include "installer/settings_file.h"

#include "installer/cerror.h"
#include "installer/journal/undo_log.h"
#include "installer/win_path.h"

namespace installer {

SettingsFile::SettingsFile(system::System& sys, std::string path, std::string root)
    : sys_(sys), path_(std::move(path)), root_(withBackslash(root)) {}

void SettingsFile::create() {
    if (path_.empty()) {
        throw CError(CError::kBadIniName);
    }
}

std::string SettingsFile::expand(std::string_view value) const {
    std::string out;
    for (char c : value) {
        if (c == '!') {
            out += root_;
        } else {
            out += c;
        }
    }
    return out;
}

Profile SettingsFile::load() const {
    if (path_.empty()) {
        throw CError(CError::kBadIniName);
    }
    auto profile = Profile::load(sys_, path_, true);
    if (!profile) {
        throw CError(CError::kCannotRead, path_);
    }
    return *profile;
}

void SettingsFile::save(const Profile& profile) const {
    if (!profile.save(sys_, path_)) {
        throw CError(CError::kCannotWrite, path_);
    }
}

void SettingsFile::set(std::string_view section, std::string_view key, std::string_view value) {
    Profile profile = load();
    profile.set(section, key, expand(value));
    save(profile);
}

namespace {

// One element of a ";" list as it compares: blanks and one trailing backslash left out, so
// that "C:\X\" and "c:\x" are the same folder.
std::string_view listElement(std::string_view element) {
    element = trim(element);
    if (element.size() > 1 && element.back() == '\\') {
        element.remove_suffix(1);
    }
    return element;
}

// Whether the ";" list holds `item`, compared without regard to case as Windows paths are.
bool listHolds(std::string_view list, std::string_view item) {
    const std::string_view wanted = listElement(item);
    std::size_t start = 0;
    while (start <= list.size()) {
        auto end = list.find(';', start);
        if (end == std::string_view::npos) {
            end = list.size();
        }
        if (iequals(listElement(list.substr(start, end - start)), wanted)) {
            return true;
        }
        start = end + 1;
    }
    return false;
}

}  // namespace

void SettingsFile::append(std::string_view section, std::string_view key, std::string_view value) {
    Profile profile = load();
    std::string text = profile.getString(section, key, "");
    const std::string added = expand(value);
    // A repair install runs the same programs again: the list must not grow each time.
    if (!listElement(added).empty() && listHolds(text, added)) {
        return;
    }
    if (!text.empty() && text.back() != ';') {
        text += ';';
    }
    text += added;
    profile.set(section, key, text);
    save(profile);
}

void SettingsFile::appendFolder(std::string_view folder) {
    Profile profile = load();
    std::string text = profile.getString("Directories", "INCDIR", "");
    if (!text.empty()) {
        text += ';';
    }
    text += withBackslash(root_ + expand(folder));
    profile.set("Directories", "INCDIR", text);
    save(profile);
}

InstalledRegister::InstalledRegister(system::System& sys, UndoLog& undo, std::string path)
    : sys_(sys), undo_(undo), path_(std::move(path)) {}

void InstalledRegister::load() {
    auto profile = Profile::load(sys_, path_, true);
    if (!profile) {
        throw CError(CError::kCannotRead, path_);
    }
    profile_ = std::move(*profile);
}

void InstalledRegister::record(std::string_view file) {
    const std::string name = fileNamePart(file);
    const auto dot = name.rfind('.');
    const std::string extension = dot == std::string::npos ? std::string() : name.substr(dot + 1);
    std::string section = "INSTALLED-" + extension;
    std::string key = name.substr(0, name.find('.'));
    if (recorded_.insert(upper(section) + '\t' + upper(trim(key))).second) {
        pending_.push_back({std::move(section), std::move(key), "1"});
    }
}

void InstalledRegister::merge() {
    if (!pending_.empty()) {
        profile_.setAll(pending_);
        pending_.clear();
    }
}

std::string InstalledRegister::text() const {
    Profile merged = profile_;
    merged.setAll(pending_);
    return merged.text();
}

void InstalledRegister::save() {
    merge();
    const std::string folder = folderPart(path_);
    if (!folder.empty() && !sys_.folderExists(folder)) {
        undo_.createFolders(folder);
    }
    const std::string fresh = path_ + ".new";
    undo_.prepareOverwrite(fresh);
    const std::string bytes = profile_.text();
    auto out = sys_.openWrite(fresh);
    if (!out || !out->write(bytes.data(), bytes.size()) || !out->flush() || !out->close() ||
        !sys_.replaceFile(fresh, path_)) {
        throw CError(CError::kCannotWrite, path_);
    }
}

}  // namespace installer
