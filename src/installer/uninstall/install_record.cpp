#include "installer/uninstall/install_record.h"

#include <zlib.h>

#include <cstdio>
#include <unordered_set>

#include "installer/win_path.h"

namespace installer {

namespace {

using Kind = RecordEntry::Kind;
using JKind = JournalRecord::Kind;

constexpr std::string_view kMagic = "INSTELLO INSTALLED 1";

std::string hex32(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%08x", value);
    return text;
}

std::optional<std::uint64_t> parseNumber(std::string_view text, int base) {
    if (text.empty() || text.size() > 20) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    for (char c : text) {
        int digit = -1;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (base == 16 && c >= 'a' && c <= 'f') {
            digit = c - 'a' + 10;
        } else if (base == 16 && c >= 'A' && c <= 'F') {
            digit = c - 'A' + 10;
        }
        if (digit < 0) {
            return std::nullopt;
        }
        value = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
    }
    return value;
}

std::string rootName(system::RegRoot root) {
    return std::string(system::regRootName(root));
}

std::string encodeEntry(const RecordEntry& e) {
    const std::string kind(1, static_cast<char>(e.kind));
    switch (e.kind) {
        case Kind::Folder:
        case Kind::Generated:
            return encodeLine({kind, e.path});
        case Kind::File:
        case Kind::SharedFile:
            return encodeLine({kind, e.path, std::to_string(e.size), hex32(e.crc)});
        case Kind::Key:
        case Kind::UninstallEntry:
        case Kind::Value:
            return encodeKeyLine(kind, e, e.kind == Kind::Value);
        case Kind::Font:
            return encodeLine({kind, e.path, e.fontFile});
    }
    return {};
}

std::optional<RecordEntry> decodeEntry(const std::vector<std::string>& f) {
    if (f.empty() || f[0].size() != 1) {
        return std::nullopt;
    }
    RecordEntry e;
    e.kind = static_cast<Kind>(f[0][0]);
    switch (e.kind) {
        case Kind::Folder:
        case Kind::Generated:
            if (f.size() != 2) {
                return std::nullopt;
            }
            e.path = f[1];
            return e;
        case Kind::File:
        case Kind::SharedFile: {
            if (f.size() != 4) {
                return std::nullopt;
            }
            const auto size = parseNumber(f[2], 10);
            const auto crc = parseNumber(f[3], 16);
            if (!size || !crc || *crc > 0xFFFFFFFFu) {
                return std::nullopt;
            }
            e.path = f[1];
            e.size = *size;
            e.crc = static_cast<std::uint32_t>(*crc);
            return e;
        }
        case Kind::Key:
        case Kind::UninstallEntry:
        case Kind::Value:
            if (!decodeKeyFields(f, e.kind == Kind::Value, e)) {
                return std::nullopt;
            }
            return e;
        case Kind::Font:
            if (f.size() != 3) {
                return std::nullopt;
            }
            e.path = f[1];
            e.fontFile = f[2];
            return e;
    }
    return std::nullopt;
}

std::string keyId(system::RegRoot root, std::string_view key) {
    return upper(rootName(root) + "\\" + std::string(key));
}

// One identity per thing the record can name, so that an entry is recorded once.
std::string identity(const RecordEntry& e) {
    switch (e.kind) {
        case Kind::Folder:
            return "F" + upper(withBackslash(e.path));
        case Kind::File:
        case Kind::SharedFile:
        case Kind::Generated:
            return "I" + upper(e.path);
        case Kind::Key:
            return "K" + keyId(e.root, e.path);
        case Kind::Value:
            return "V" + keyId(e.root, e.path) + "\t" + upper(e.valueName);
        case Kind::Font:
            return "T" + upper(e.path);
        case Kind::UninstallEntry:
            return "E" + keyId(e.root, e.path);
    }
    return {};
}

bool below(std::string_view path, std::string_view folder) {
    const std::string prefix = withBackslash(folder);
    return !prefix.empty() && path.size() > prefix.size() && istartsWith(path, prefix);
}

}  // namespace

std::optional<std::uint32_t> dwordOf(const std::optional<system::RegValue>& value) {
    if (!value || value->type != system::kRegDword || value->data.size() != 4) {
        return std::nullopt;
    }
    std::uint32_t n = 0;
    for (int i = 3; i >= 0; --i) {
        n = (n << 8) | static_cast<unsigned char>(value->data[static_cast<std::size_t>(i)]);
    }
    return n;
}

std::string installRecordPath(std::string_view installPath) {
    return withBackslash(installPath) + "BIN\\INSTALL.LOG";
}

std::string encodeInstallRecord(const InstallRecord& record) {
    std::string text =
        encodeLine({std::string(kMagic), record.productName, record.version, record.installPath});
    for (const auto& entry : record.entries) {
        text += encodeEntry(entry);
    }
    return text;
}

std::optional<InstallRecord> parseInstallRecord(std::string_view bytes) {
    InstallRecord record;
    bool header = true;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const auto end = bytes.find('\n', start);
        if (end == std::string_view::npos) {
            return std::nullopt;  // a record is written whole: a cut one is damaged
        }
        std::string_view text = bytes.substr(start, end - start);
        start = end + 1;
        if (!text.empty() && text.back() == '\r') {
            text.remove_suffix(1);
        }
        const auto f = decodeLine(text);
        if (!f) {
            return std::nullopt;
        }
        if (header) {
            if (f->size() != 4 || (*f)[0] != kMagic) {
                return std::nullopt;
            }
            record.productName = (*f)[1];
            record.version = (*f)[2];
            record.installPath = (*f)[3];
            header = false;
            continue;
        }
        auto entry = decodeEntry(*f);
        if (!entry) {
            return std::nullopt;
        }
        record.entries.push_back(std::move(*entry));
    }
    if (header) {
        return std::nullopt;
    }
    return record;
}

std::optional<InstallRecord> readInstallRecord(system::System& sys, std::string_view path) {
    const auto bytes = system::readWholeFile(sys, path);
    return bytes ? parseInstallRecord(*bytes) : std::nullopt;
}

std::optional<Fingerprint> fingerprintOf(system::System& sys, std::string_view path) {
    Fingerprint print;
    uLong crc = crc32(0, Z_NULL, 0);
    const bool read = system::readInPieces(sys, path, [&](std::string_view piece) {
        crc = crc32(crc, reinterpret_cast<const Bytef*>(piece.data()),
                    static_cast<uInt>(piece.size()));
        print.size += piece.size();
    });
    if (!read) {
        return std::nullopt;
    }
    print.crc = static_cast<std::uint32_t>(crc);
    return print;
}

std::vector<InstalledFile> installedFiles(system::System& sys,
                                          const std::vector<JournalRecord>& changes,
                                          const InstallRecord* previous,
                                          std::string_view windowsDirectory,
                                          std::string_view exclude) {
    std::vector<InstalledFile> files;
    std::unordered_set<std::string> seen{upper(exclude)};
    auto add = [&](const std::string& path) {
        if (seen.insert(upper(path)).second && sys.fileExists(path)) {
            files.push_back({path, below(path, windowsDirectory)});
        }
    };
    if (previous) {
        for (const auto& e : previous->entries) {
            if (e.kind == Kind::File || e.kind == Kind::SharedFile) {
                add(e.path);
            }
        }
    }
    for (const auto& r : changes) {
        // A file that was there before is the product's own only when an earlier
        // installation of it had made it (then it is listed above already), or when it lies
        // below the Windows folder, where products share files and count their users.
        const bool replaced = r.kind == JKind::MovedAside || r.kind == JKind::CopyBegun;
        if (r.kind == JKind::NewFile || (replaced && below(r.path, windowsDirectory))) {
            add(r.path);
        }
    }
    return files;
}

InstallRecord buildInstallRecord(system::System& sys, InstallRecord record,
                                 const RecordSources& sources) {
    std::unordered_set<std::string> seen;
    auto add = [&](RecordEntry entry) {
        if (seen.insert(identity(entry)).second) {
            record.entries.push_back(std::move(entry));
        }
    };
    std::unordered_set<std::string> shared;
    for (const auto& file : sources.files) {
        RecordEntry e;
        e.kind = file.shared ? Kind::SharedFile : Kind::File;
        e.path = file.path;
        const auto print = sources.fingerprints.find(upper(file.path));
        if (print != sources.fingerprints.end()) {
            e.size = print->second.size;
            e.crc = print->second.crc;
        }
        if (file.shared) {
            shared.insert(upper(file.path));
        }
        add(std::move(e));
    }
    for (const auto& path : sources.generated) {
        RecordEntry e;
        e.kind = Kind::Generated;
        e.path = path;
        add(std::move(e));
    }
    // What the product had made before comes before this run's changes, with the state from
    // before the product came (a repair leaves the record as it was).
    if (sources.previous) {
        for (const auto& e : sources.previous->entries) {
            if (e.kind != Kind::File && e.kind != Kind::SharedFile) {
                add(e);
            }
        }
    }
    if (sources.changes) {
        for (const auto& r : *sources.changes) {
            RecordEntry e;
            e.root = r.root;
            e.path = r.path;
            switch (r.kind) {
                case JKind::Folder:
                    e.kind = Kind::Folder;
                    e.path = withBackslash(r.path);
                    add(std::move(e));
                    break;
                case JKind::RegistryKey:
                    e.kind = Kind::Key;
                    add(std::move(e));
                    break;
                case JKind::RegistryValue: {
                    // The shared files' counts are the S entries' business.
                    if (iequals(r.path, sources.sharedKey) && shared.count(upper(r.valueName))) {
                        break;
                    }
                    e.kind = Kind::Value;
                    e.valueName = r.valueName;
                    e.oldValue = r.oldValue;
                    add(std::move(e));
                    if (r.root == system::RegRoot::LocalMachine && !sources.fontsKey.empty() &&
                        iequals(r.path, sources.fontsKey)) {
                        RecordEntry font;
                        font.kind = Kind::Font;
                        font.path = r.valueName;
                        const auto value = sys.regQueryValue(r.root, r.path, r.valueName);
                        if (value && value->type == system::kRegSz) {
                            font.fontFile = value->data.substr(0, value->data.find('\0'));
                        }
                        add(std::move(font));
                    }
                    break;
                }
                default:
                    break;
            }
        }
    }
    for (const auto& [root, key] : sources.sharedKeys) {
        RecordEntry e;
        e.kind = Kind::Key;
        e.root = root;
        e.path = key;
        add(std::move(e));
    }
    if (!sources.entryKey.empty()) {
        RecordEntry e;
        e.kind = Kind::UninstallEntry;
        e.root = system::RegRoot::LocalMachine;
        e.path = sources.entryKey;
        add(std::move(e));
    }
    return record;
}

}  // namespace installer
