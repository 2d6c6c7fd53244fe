#include "installer/uninstall/record_installation.h"

#include <algorithm>

#include "installer/cerror.h"
#include "installer/integration/registry_values.h"
#include "installer/journal/undo_log.h"
#include "installer/uninstall/install_record.h"
#include "installer/win_path.h"

namespace installer {

namespace {

using system::RegRoot;

constexpr int kNumber = 2;
constexpr int kString = 3;

bool countedBefore(const InstallRecord* previous, const std::string& path) {
    if (!previous) {
        return false;
    }
    for (const auto& e : previous->entries) {
        if (e.kind == RecordEntry::Kind::SharedFile && iequals(e.path, path)) {
            return true;
        }
    }
    return false;
}

bool existedBefore(const std::vector<JournalRecord>& changes, const std::string& path) {
    for (const auto& r : changes) {
        if ((r.kind == JournalRecord::Kind::MovedAside ||
             r.kind == JournalRecord::Kind::CopyBegun) &&
            iequals(r.path, path)) {
            return true;
        }
    }
    return false;
}

void countSharedFiles(IntegrationContext& context, const std::vector<JournalRecord>& changes,
                      const InstallRecord* previous, const std::vector<InstalledFile>& files) {
    const std::string key = "HKEY_LOCAL_MACHINE\\" + std::string(kSharedDllsKey);
    for (const auto& file : files) {
        if (!file.shared || countedBefore(previous, file.path)) {
            continue;
        }
        const auto count =
            dwordOf(context.sys.regQueryValue(RegRoot::LocalMachine, kSharedDllsKey, file.path));
        const std::uint32_t users = count ? *count + 1 : existedBefore(changes, file.path) ? 2 : 1;
        RegistryEntry(key, file.path, kNumber, std::to_string(users)).perform(context);
    }
}

// The icon the list of programs shows: the first shortcut's icon, else the first program a
// shortcut opens, else the uninstaller's.
std::string displayIcon(system::System& sys, const DeferredActions& deferred,
                        const std::string& uninstaller) {
    for (const auto& group : deferred.groups) {
        for (const auto& shortcut : group.shortcuts) {
            if (!shortcut.iconFile.empty()) {
                return shortcut.iconFile;
            }
        }
    }
    for (const auto& group : deferred.groups) {
        for (const auto& shortcut : group.shortcuts) {
            if (iendsWith(shortcut.target, ".exe")) {
                return shortcut.target;
            }
        }
    }
    return sys.fileExists(uninstaller) ? uninstaller : std::string();
}

void writeEntry(InstallJob& job, const Product& product, IntegrationContext& context,
                const std::string& entryKey, std::uint64_t bytes) {
    auto& sys = job.sys();
    const DeferredActions& deferred = job.deferred();
    const auto writtenByProgram = [&](std::string_view name) {
        for (const auto& value : deferred.registryValues) {
            const auto split = splitKeyPath(value.keyPath);
            if (value.written && split && split->first == RegRoot::LocalMachine &&
                iequals(split->second, entryKey) && iequals(value.valueName, name)) {
                return true;
            }
        }
        return false;
    };
    const std::string keyPath = "HKEY_LOCAL_MACHINE\\" + entryKey;
    const auto put = [&](std::string_view name, int type, const std::string& data) {
        if (!writtenByProgram(name)) {
            RegistryEntry(keyPath, std::string(name), type, data).perform(context);
        }
    };
    const std::string uninstaller = product.installPath + "BIN\\INSTELLO.EXE";
    put("DisplayName", kString,
        product.version.empty() ? product.name : product.name + " " + product.version);
    if (!product.version.empty()) {
        put("DisplayVersion", kString, product.version);
    }
    put("Publisher", kString, std::string(kPublisher));
    if (sys.fileExists(uninstaller)) {
        put("UninstallString", kString, "\"" + uninstaller + "\" --uninstall");
        put("QuietUninstallString", kString, "\"" + uninstaller + "\" --unattended --uninstall");
    }
    const std::string icon = displayIcon(sys, deferred, uninstaller);
    if (!icon.empty()) {
        put("DisplayIcon", kString, icon);
    }
    put("InstallLocation", kString, product.installPath);
    put("EstimatedSize", kNumber, std::to_string((bytes + 1023) / 1024));
    put("NoModify", kNumber, "1");
    put("NoRepair", kNumber, "1");
}

// The records of the vendor's other products on this machine (their keys under
// HKEY_LOCAL_MACHINE "SOFTWARE\Quillon\" name the folders they were installed in).
std::vector<InstallRecord> otherRecords(system::System& sys, const Product& product) {
    std::vector<InstallRecord> records;
    const std::string vendor = "SOFTWARE\\Quillon";
    for (const auto& name :
         sys.regSubKeys(RegRoot::LocalMachine, vendor).value_or(std::vector<std::string>())) {
        if (name == product.name) {
            continue;
        }
        const auto path =
            sys.regQueryValue(RegRoot::LocalMachine, vendor + "\\" + name, "InstallPath");
        if (!path || path->type != system::kRegSz) {
            continue;
        }
        const std::string folder = path->data.substr(0, path->data.find('\0'));
        if (auto record = readInstallRecord(sys, installRecordPath(folder))) {
            records.push_back(std::move(*record));
        }
    }
    return records;
}

// The keys this installation wrote in (and those above them) that it found there, made by
// another product of the vendor whose record still has them.
std::vector<std::pair<RegRoot, std::string>> sharedKeysOf(system::System& sys,
                                                          const Product& product,
                                                          const std::vector<JournalRecord>& changes,
                                                          bool sharedFiles,
                                                          const std::string& entryKey) {
    std::vector<std::pair<RegRoot, std::string>> used;
    const auto use = [&](RegRoot root, std::string key, bool itself) {
        for (bool first = true;; first = false) {
            if (!first || itself) {
                used.emplace_back(root, key);
            }
            const auto cut = key.rfind('\\');
            if (cut == std::string::npos) {
                return;
            }
            key.resize(cut);
        }
    };
    for (const auto& r : changes) {
        if (r.kind == JournalRecord::Kind::RegistryValue) {
            use(r.root, r.path, true);
        } else if (r.kind == JournalRecord::Kind::RegistryKey) {
            use(r.root, r.path, false);
        }
    }
    if (sharedFiles) {
        use(RegRoot::LocalMachine, std::string(kSharedDllsKey), true);
    }
    use(RegRoot::LocalMachine, entryKey, false);
    const auto createdHere = [&](RegRoot root, const std::string& key) {
        return std::any_of(changes.begin(), changes.end(), [&](const JournalRecord& r) {
            return r.kind == JournalRecord::Kind::RegistryKey && r.root == root &&
                   iequals(r.path, key);
        });
    };
    const std::vector<InstallRecord> others = otherRecords(sys, product);
    const auto madeByAnother = [&](RegRoot root, const std::string& key) {
        for (const auto& record : others) {
            for (const auto& e : record.entries) {
                if (e.kind == RecordEntry::Kind::Key && e.root == root && iequals(e.path, key)) {
                    return true;
                }
            }
        }
        return false;
    };
    std::vector<std::pair<RegRoot, std::string>> shared;
    for (const auto& entry : used) {
        const auto& [root, key] = entry;
        const bool seen = std::any_of(shared.begin(), shared.end(), [&entry](const auto& k) {
            return k.first == entry.first && iequals(k.second, entry.second);
        });
        if (!seen && !createdHere(root, key) && sys.regKeyExists(root, key) &&
            madeByAnother(root, key)) {
            shared.emplace_back(root, key);
        }
    }
    return shared;
}

}  // namespace

void recordInstallation(InstallJob& job, const Product& product, IntegrationContext& context) {
    auto& sys = job.sys();
    const std::string path = installRecordPath(product.installPath);
    std::optional<InstallRecord> previous = readInstallRecord(sys, path);
    if (previous && previous->productName != product.name) {
        previous.reset();  // another product's: not this one's history
    }
    const InstallRecord* earlier = previous ? &*previous : nullptr;

    RecordSources sources;
    sources.previous = earlier;
    sources.files =
        installedFiles(sys, job.undo().records(), earlier, sys.windowsDirectory(), path);
    std::uint64_t bytes = 0;
    for (const auto& file : sources.files) {
        const auto print = fingerprintOf(sys, file.path);
        if (!print) {
            throw CError(CError::kCannotRead, file.path);
        }
        sources.fingerprints[upper(file.path)] = *print;
        bytes += print->size;
    }
    countSharedFiles(context, job.undo().records(), earlier, sources.files);
    if (product.writesUninstallEntry()) {
        // The product's own uninstaller is named there; the entry is still the product's.
        sources.entryKey = uninstallKey(product.uninstallKeyName());
    } else {
        sources.entryKey = uninstallKey(product.name);
        writeEntry(job, product, context, sources.entryKey, bytes);
    }
    sources.changes = &job.undo().records();
    const bool sharedFiles = std::any_of(sources.files.begin(), sources.files.end(),
                                         [](const InstalledFile& f) { return f.shared; });
    sources.sharedKeys =
        sharedKeysOf(sys, product, job.undo().records(), sharedFiles, sources.entryKey);
    sources.sharedKey = std::string(kSharedDllsKey);
    sources.fontsKey = systemFontsKey(sys);
    sources.generated = job.programOutputs;
    const InstallRecord record = buildInstallRecord(
        sys, InstallRecord{product.name, product.version, product.installPath, {}}, sources);

    job.undo().prepareChange(path);
    const std::string text = encodeInstallRecord(record);
    auto out = sys.openWrite(path);
    if (!out) {
        job.undo().createFolders(folderPart(path));
        out = sys.openWrite(path);
    }
    if (!out || !out->write(text.data(), text.size()) || !out->close()) {
        throw CError(CError::kCannotWrite, path);
    }
}

}  // namespace installer
