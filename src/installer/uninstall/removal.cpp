#include "installer/uninstall/removal.h"

#include <algorithm>

#include "installer/cerror.h"
#include "installer/integration/registry_values.h"
#include "installer/messages.h"
#include "installer/uninstall/record_installation.h"
#include "installer/win_path.h"

namespace installer {

namespace {

using Kind = RecordEntry::Kind;
using system::RegRoot;

system::RegValue dword(std::uint32_t n) {
    system::RegValue value{system::kRegDword, {}};
    for (int i = 0; i < 4; ++i) {
        value.data += static_cast<char>((n >> (8 * i)) & 0xFF);
    }
    return value;
}

bool unchanged(system::System& sys, const RecordEntry& e) {
    const auto print = fingerprintOf(sys, e.path);
    return print && print->size == e.size && print->crc == e.crc;
}

}  // namespace

Removal::Removal(system::System& sys, RemovalSink& sink, InstallRecord record,
                 RemovalSettings settings)
    : sys_(sys),
      sink_(sink),
      record_(std::move(record)),
      settings_(std::move(settings)),
      undo_(sys, sys.windowsDirectory()),
      running_(sys.runningProgram()),
      fontsKey_(systemFontsKey(sys)) {
    for (const auto& e : record_.entries) {
        if (e.kind == Kind::UninstallEntry) {
            entryKey_ = e.path;
        }
    }
    plan();
}

void Removal::plan() {
    for (const auto& e : record_.entries) {
        if (e.kind == Kind::Generated) {
            if (sys_.fileExists(e.path)) {
                files_.push_back(e.path);
            }
            continue;
        }
        if (e.kind == Kind::SharedFile) {
            if (!sys_.fileExists(e.path)) {
                continue;
            }
            const auto users =
                dwordOf(sys_.regQueryValue(RegRoot::LocalMachine, kSharedDllsKey, e.path));
            shared_.push_back({e.path, users.value_or(1), !unchanged(sys_, e)});
            continue;
        }
        if (e.kind != Kind::File || !sys_.fileExists(e.path) ||
            iequals(e.path, settings_.recordPath)) {
            continue;
        }
        if (!unchanged(sys_, e)) {
            kept_.push_back(e.path);  // the user's now
        } else if (iendsWith(e.path, ".lnk")) {
            shortcuts_.push_back(e.path);
        } else {
            files_.push_back(e.path);
        }
    }
}

std::vector<std::string> Removal::filesToRemove() const {
    std::vector<std::string> all = files_;
    all.insert(all.end(), shortcuts_.begin(), shortcuts_.end());
    for (const auto& file : shared_) {
        if (file.users <= 1 && !file.changed) {
            all.push_back(file.path);
        }
    }
    if (sys_.fileExists(settings_.recordPath)) {
        all.push_back(settings_.recordPath);
    }
    return all;
}

std::optional<std::string> Removal::fileInUse() {
    for (const auto& path : filesToRemove()) {
        if ((!running_ || !iequals(path, *running_)) && sys_.fileInUse(path)) {
            return path;
        }
    }
    return std::nullopt;
}

void Removal::step(std::string_view text) {
    if (sink_.isCancelRequested()) {
        throw CError(CError::kCancelled);
    }
    sink_.step(text);
}

void Removal::removeFile(const std::string& path) {
    if (!sys_.fileExists(path)) {
        return;  // gone already
    }
    // The running installer's own file may be renamed, never deleted, while it runs: it is
    // moved aside here and its backup goes once the process has ended.
    if (!running_ || !iequals(path, *running_)) {
        while (sys_.fileInUse(path)) {
            if (!settings_.retryInUse || !settings_.retryInUse(path)) {
                throw FileInUseError{path};
            }
        }
    }
    if (!undo_.removeFile(path)) {
        throw CError(CError::kCannotWrite, path);
    }
}

bool Removal::inEntry(const RecordEntry& e) const {
    if (entryKey_.empty() || e.root != RegRoot::LocalMachine) {
        return false;
    }
    return iequals(e.path, entryKey_) ||
           (e.path.size() > entryKey_.size() && istartsWith(e.path, entryKey_ + "\\"));
}

bool Removal::isFontValue(const RecordEntry& e) const {
    if (e.kind != Kind::Value || e.root != RegRoot::LocalMachine || !iequals(e.path, fontsKey_)) {
        return false;
    }
    for (const auto& font : record_.entries) {
        if (font.kind == Kind::Font && iequals(font.path, e.valueName)) {
            return true;
        }
    }
    return false;
}

// Whether the file is gone once the files and the shared files have been removed.
bool Removal::goesAway(const std::string& path) const {
    const auto listed = [&](const std::vector<std::string>& list) {
        return std::any_of(list.begin(), list.end(),
                           [&](const std::string& p) { return iequals(p, path); });
    };
    if (listed(files_) || !sys_.fileExists(path)) {
        return true;
    }
    for (const auto& file : shared_) {
        if (iequals(file.path, path)) {
            return file.users <= 1 && !file.changed;
        }
    }
    return false;
}

void Removal::restoreValue(const RecordEntry& value) {
    if (!value.oldValue) {
        if (!undo_.removeRegistryValue(value.root, value.path, value.valueName)) {
            throw CError(CError::kCannotWrite, value.path);
        }
        return;
    }
    if (!sys_.regKeyExists(value.root, value.path)) {
        return;  // the key went with something else; nothing to put the value in
    }
    undo_.prepareRegistryValue(value.root, value.path, value.valueName);
    if (!sys_.regSetValue(value.root, value.path, value.valueName, *value.oldValue)) {
        throw CError(CError::kCannotWrite, value.path);
    }
}

void Removal::run() {
    if (!settings_.journalPath.empty()) {
        undo_.startJournal(settings_.journalPath, record_.productName);
    }
    undo_.startRemoval();
    const auto& entries = record_.entries;
    std::vector<const RecordEntry*> fonts;
    std::vector<const RecordEntry*> values;
    std::vector<const RecordEntry*> keys;
    std::vector<const RecordEntry*> entryValues;
    std::vector<const RecordEntry*> entryKeys;
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
        const RecordEntry& e = *it;
        if (e.kind == Kind::Font) {
            fonts.insert(fonts.begin(), &e);
        } else if (e.kind == Kind::Value && !isFontValue(e)) {
            (inEntry(e) ? entryValues : values).push_back(&e);
        } else if (e.kind == Kind::Key) {
            (inEntry(e) ? entryKeys : keys).push_back(&e);
        }
    }
    sink_.setSteps(files_.size() + shortcuts_.size() + shared_.size() + fonts.size() + 4);

    // 1, 2. The files, then the folders, which go at the commit once empty.
    for (const auto& path : files_) {
        step(std::string(msg::kRemovingFile) + path);
        removeFile(path);
    }
    step(msg::kRemovingFolders);
    for (const auto& e : entries) {
        if (e.kind == Kind::Folder && sys_.folderExists(e.path)) {
            undo_.removeFolderAtCommit(e.path);
        }
    }
    // 3. The shortcuts.
    for (const auto& path : shortcuts_) {
        step(std::string(msg::kRemovingShortcut) + path);
        removeFile(path);
    }
    // 4. The fonts, and the shared files with their counts.
    const auto fontPath = [&](const std::string& registered) {
        return registered.find('\\') == std::string::npos
                   ? withBackslash(sys_.windowsDirectory()) + "Fonts\\" + registered
                   : registered;
    };
    for (const RecordEntry* font : fonts) {
        step(std::string(msg::kRemovingFont) + font->path);
        const std::string file = fontPath(font->fontFile);
        if (!goesAway(file)) {
            continue;  // another product still uses it, or the user changed it
        }
        for (const auto& e : entries) {
            if (e.kind != Kind::Value || !isFontValue(e) || !iequals(e.valueName, font->path)) {
                continue;
            }
            // What was registered before comes back, unless it was this very file (another
            // product's registration of it goes with it).
            const bool sameFile =
                e.oldValue && e.oldValue->type == system::kRegSz &&
                iequals(fontPath(e.oldValue->data.substr(0, e.oldValue->data.find('\0'))), file);
            if (sameFile) {
                if (!undo_.removeRegistryValue(e.root, e.path, e.valueName)) {
                    throw CError(CError::kCannotWrite, e.path);
                }
            } else {
                restoreValue(e);
            }
        }
    }
    for (const auto& file : shared_) {
        step(std::string(msg::kRemovingFile) + file.path);
        if (file.users > 1) {
            undo_.prepareRegistryValue(RegRoot::LocalMachine, kSharedDllsKey, file.path);
            if (!sys_.regSetValue(RegRoot::LocalMachine, kSharedDllsKey, file.path,
                                  dword(file.users - 1))) {
                throw CError(CError::kCannotWrite, std::string(kSharedDllsKey));
            }
            continue;
        }
        if (!undo_.removeRegistryValue(RegRoot::LocalMachine, kSharedDllsKey, file.path)) {
            throw CError(CError::kCannotWrite, std::string(kSharedDllsKey));
        }
        if (!file.changed) {
            removeFile(file.path);
        }
    }
    // 5. The registry values; 6. the record; 7. the entry in the list of programs; then the
    // keys, each after those below it (one that holds anything else stays).
    step(msg::kRemovingRegistry);
    for (const RecordEntry* value : values) {
        restoreValue(*value);
    }
    step(std::string(msg::kRemovingFile) + settings_.recordPath);
    removeFile(settings_.recordPath);
    step(msg::kRemovingEntry);
    for (const RecordEntry* value : entryValues) {
        restoreValue(*value);
    }
    keys.insert(keys.end(), entryKeys.begin(), entryKeys.end());
    std::stable_sort(keys.begin(), keys.end(), [](const RecordEntry* a, const RecordEntry* b) {
        return a->path.size() > b->path.size();
    });
    for (const RecordEntry* key : keys) {
        undo_.removeRegistryKey(key->root, key->path);
    }
}

bool Removal::commit() {
    return undo_.commit();
}

bool Removal::rollBack() {
    return undo_.rollBack();
}

std::vector<std::string> Removal::keptFolders() {
    std::vector<std::string> folders;
    const auto add = [&](const std::string& folder) {
        if (std::none_of(folders.begin(), folders.end(),
                         [&](const std::string& f) { return iequals(f, folder); })) {
            folders.push_back(folder);
        }
    };
    for (const auto& path : kept_) {
        add(folderPart(path));
    }
    for (const auto& file : shared_) {
        if (file.changed && file.users <= 1) {
            add(folderPart(file.path));
        }
    }
    // The folders the installation made that are still there, and every folder in them,
    // that holds a file (the installer's own leftovers are not the user's).
    const auto& left = undo_.leftovers();
    std::vector<std::string> pending;
    for (const auto& e : record_.entries) {
        if (e.kind == Kind::Folder && sys_.folderExists(e.path)) {
            pending.push_back(withBackslash(e.path));
        }
    }
    std::vector<std::string> walked;
    while (!pending.empty()) {
        const std::string folder = pending.back();
        pending.pop_back();
        if (std::any_of(walked.begin(), walked.end(),
                        [&](const std::string& f) { return iequals(f, folder); })) {
            continue;
        }
        walked.push_back(folder);
        bool holdsFile = false;
        for (const auto& name : sys_.listFolder(folder).value_or(std::vector<std::string>())) {
            const std::string path = folder + name;
            if (sys_.folderExists(path)) {
                pending.push_back(path + "\\");
            } else if (std::none_of(left.begin(), left.end(),
                                    [&](const std::string& l) { return iequals(l, path); })) {
                holdsFile = true;
            }
        }
        if (holdsFile) {
            add(folder);
        }
    }
    std::sort(folders.begin(), folders.end(),
              [](const std::string& a, const std::string& b) { return upper(a) < upper(b); });
    return folders;
}

}  // namespace installer
