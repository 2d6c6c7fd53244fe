#include "installer/settings_file.h"

#include "installer/cerror.h"
#include "installer/undo_log.h"
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

void SettingsFile::append(std::string_view section, std::string_view key, std::string_view value) {
    Profile profile = load();
    std::string text = profile.getString(section, key, "");
    if (!text.empty() && text.back() != ';') {
        text += ';';
    }
    text += expand(value);
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
    const std::string key = name.substr(0, name.find('.'));
    profile_.set("INSTALLED-" + extension, key, "1");
    const std::string folder = folderPart(path_);
    if (!folder.empty() && !sys_.folderExists(folder)) {
        undo_.createFolders(folder);
    }
    if (!profile_.save(sys_, path_)) {
        throw CError(CError::kCannotWrite, path_);
    }
}

}  // namespace installer
